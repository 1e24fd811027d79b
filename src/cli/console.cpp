#include "cli/console.h"

#include <algorithm>

namespace kestavian::cli {

namespace {
const char* const Prefix = "kestavian-cli: ";
} // namespace

void writeMessageLine(std::ostream& err, const std::string& text) {
    // One line, whatever the text holds.
    std::string oneLine = text;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    err << Prefix << oneLine << '\n';
}

void Console::line(const std::string& text) const {
    endProgress();
    writeMessageLine(err_, text);
}

void Console::error(const std::string& text) const {
    line(text);
}

int Console::fail(const std::string& text) const {
    line(text);
    return ExitUsage;
}

void Console::note(const std::string& text) const {
    line("note: " + text);
}

void Console::progress(const std::string& text) const {
    if (!errIsTerminal_)
        return;
    // Written over the last one; what a longer line left at its end is cleared.
    err_ << '\r' << text << "\033[K" << std::flush;
    progressShown_ = true;
}

void Console::endProgress(bool keep) const {
    if (!progressShown_)
        return;
    err_ << (keep ? "\n" : "\r\033[K") << std::flush;
    progressShown_ = false;
}

} // namespace kestavian::cli
