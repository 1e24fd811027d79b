#pragma once

#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestavian::cli {

// The words after the command word.
using Arguments = std::vector<std::string>;

// An option of a command: --name, with a value named valueName unless it is a switch.
struct Option {
    const char* name;
    const char* valueName; // nullptr for a switch
    const char* help;
};

// What a command's arguments ask for: run the command, print its help, or report an error.
struct ParsedArguments {
    enum Kind { Run, Help, Error } kind = Run;
    std::string text; // the help text or the error message

    bool runs() const { return kind == Run; }
};

ParsedArguments failure(const std::string& message);
// The first reading that does not end in a run, or a run.
ParsedArguments firstFailure(std::initializer_list<ParsedArguments> reads);

// A command's options and its positional arguments as given: --name VALUE, --name=VALUE, -name,
// and -h for --help; every other word is positional. It knows nothing of what the options mean.
class CommandLine {
public:
    // usage: the synopsis after "kestavian-cli "; positionals: the name and help of what may
    // stand on its own ("FILE", "The event file.").
    CommandLine(std::initializer_list<Option> options, std::string usage, std::string description,
                std::pair<std::string, std::string> positionals = {"FILE", "The event file."});

    // Reads the arguments: a run, the help, or what is wrong with them.
    ParsedArguments parse(const Arguments& arguments);

    const std::vector<std::string>& positionals() const { return positionals_; }
    bool isSet(const Option& option) const { return values_.count(option.name) > 0; }
    // The option's value; empty when it was not given.
    std::string value(const Option& option) const;

    // The value of an option that is one of a few words (in any case), or an error naming them.
    ParsedArguments oneOf(const Option& option, std::initializer_list<const char*> words,
                          std::string& chosen) const;
    // The option's value as a whole number from low to high into target, or the error saying what
    // it must be (`what`, such as "a whole number from 1 to 32767").
    template <typename Whole>
    ParsedArguments readWhole(const Option& option, long low, long high, const char* what,
                              Whole& target) const {
        const std::optional<long> number = wholeNumber(value(option), low, high);
        if (!number)
            return mustBe(option, what);
        target = static_cast<Whole>(*number);
        return {};
    }
    // "--NAME must be WHAT, not "VALUE"".
    ParsedArguments mustBe(const Option& option, const std::string& what) const;

    // A whole number within [low, high], blanks around it allowed; nothing for any other text.
    static std::optional<long> wholeNumber(const std::string& text, long low, long high);

private:
    const Option* find(const std::string& name) const;
    std::string help() const;

    std::vector<Option> options_;
    std::string usage_;
    std::string description_;
    std::pair<std::string, std::string> positionalHelp_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> positionals_;
};

inline constexpr long NoUpperLimit = std::numeric_limits<long>::max();

// The text in double quotes.
std::string inQuotes(const std::string& text);
// The text in lower case (ASCII).
std::string lowerCase(std::string text);

} // namespace kestavian::cli
