#pragma once

#include <ostream>
#include <string>

namespace kestavian::cli {

// Exit statuses of every command.
enum ExitStatus : int {
    ExitOk = 0,
    // The reading stopped on a bad line (check, list, extract) or an effect could not be shown
    // (render).
    ExitStopped = 1,
    // A usage error, or a file that cannot be read or written.
    ExitUsage = 2,
};

// Where a command writes: its output, and its messages. Every message is one line on the error
// stream that starts with the program's name, so that a script can tell them from the output and
// each other; on a terminal, a progress line is rewritten in place and gives way to any message.
class Console {
public:
    Console(std::ostream& out, std::ostream& err, bool errIsTerminal)
        : out(out), err_(err), errIsTerminal_(errIsTerminal) {}

    // The command's output.
    std::ostream& out;

    // "kestavian-cli: TEXT".
    void error(const std::string& text) const;
    // error(text), and the status of a usage error or a file that cannot be read or written.
    int fail(const std::string& text) const;
    // "kestavian-cli: note: TEXT": something the user should know; not an error.
    void note(const std::string& text) const;

    // Shows (or replaces) the progress line: only on a terminal, where someone watches it.
    void progress(const std::string& text) const;
    // Takes the progress line away (keep: leave it as it stands, on a line of its own).
    void endProgress(bool keep = false) const;

private:
    void line(const std::string& text) const;

    std::ostream& err_;
    bool errIsTerminal_;
    mutable bool progressShown_ = false;
};

// A message line of a program that has no console yet (or no longer one).
void writeMessageLine(std::ostream& err, const std::string& text);

} // namespace kestavian::cli
