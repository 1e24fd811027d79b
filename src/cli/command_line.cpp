#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

namespace kestavian::cli {

namespace {

const Option HelpOption{"help", nullptr, "Show this help."};

// Appends text to out in lines of at most 80 columns, each further line indented to `indent`.
void wrapInto(std::string& out, const std::string& text, std::size_t indent) {
    std::size_t column = indent;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t to = text.find(' ', from);
        if (to == std::string::npos)
            to = text.size();
        if (column > indent && column + 1 + (to - from) > 80) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        }
        out.append(text, from, to - from);
        column += to - from;
        from = to + 1;
    }
    out += '\n';
}

} // namespace

ParsedArguments failure(const std::string& message) {
    return {ParsedArguments::Error, message};
}

ParsedArguments firstFailure(std::initializer_list<ParsedArguments> reads) {
    for (const ParsedArguments& read : reads)
        if (!read.runs())
            return read;
    return {};
}

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

CommandLine::CommandLine(std::initializer_list<Option> options, std::string usage,
                         std::string description, std::pair<std::string, std::string> positionals)
    : options_(options), usage_(std::move(usage)), description_(std::move(description)),
      positionalHelp_(std::move(positionals)) {
    options_.insert(options_.begin(), HelpOption);
}

ParsedArguments CommandLine::parse(const Arguments& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word.size() < 2 || word[0] != '-') {
            positionals_.push_back(word);
            continue;
        }
        // One dash or two, and a value after "=" or in the next word.
        const std::string named = word.substr(word[1] == '-' ? 2 : 1);
        const std::size_t equals = named.find('=');
        const std::string name = named.substr(0, equals);
        const Option* option = find(name == "h" ? "help" : name);
        if (option == nullptr)
            return failure("Unknown option '" + name + "'.");
        if (option->valueName == nullptr) {
            if (equals != std::string::npos)
                return failure("Unexpected value after '" + word + "'.");
            values_[option->name];
        } else if (equals != std::string::npos) {
            values_[option->name] = named.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            values_[option->name] = arguments[++i];
        } else {
            return failure("Missing value after '" + word + "'.");
        }
    }
    if (isSet(HelpOption))
        return {ParsedArguments::Help, help()};
    return {};
}

std::string CommandLine::value(const Option& option) const {
    const auto given = values_.find(option.name);
    return given == values_.end() ? std::string() : given->second;
}

ParsedArguments CommandLine::oneOf(const Option& option, std::initializer_list<const char*> words,
                                   std::string& chosen) const {
    const std::string given = lowerCase(value(option));
    for (const char* word : words)
        if (given == word) {
            chosen = given;
            return {};
        }
    std::string list;
    for (const char* word : words)
        list += (list.empty()                 ? ""
                 : word == *(words.end() - 1) ? " or "
                                              : ", ") +
                std::string(word);
    return mustBe(option, list);
}

ParsedArguments CommandLine::mustBe(const Option& option, const std::string& what) const {
    return failure("--" + std::string(option.name) + " must be " + what + ", not " +
                   inQuotes(value(option)));
}

std::optional<long> CommandLine::wholeNumber(const std::string& text, long low, long high) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const char* begin = text.data() + first + (text[first] == '+' ? 1 : 0);
    const char* end = text.data() + last + 1;
    long number = 0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end || number < low || number > high)
        return std::nullopt;
    return number;
}

const Option* CommandLine::find(const std::string& name) const {
    for (const Option& option : options_)
        if (name == option.name)
            return &option;
    return nullptr;
}

std::string CommandLine::help() const {
    std::string text = "Usage: kestavian-cli " + usage_ + "\n";
    wrapInto(text, description_, 0);
    text += "\nOptions:\n";
    std::size_t width = 0;
    const auto synopsis = [](const Option& option) {
        return std::string(option.name == HelpOption.name ? "-h, --" : "--") + option.name +
               (option.valueName != nullptr ? " <" + std::string(option.valueName) + ">" : "");
    };
    for (const Option& option : options_)
        width = std::max(width, synopsis(option).size());
    for (const Option& option : options_) {
        const std::string left = "  " + synopsis(option);
        text += left + std::string(width + 6 - left.size(), ' ');
        wrapInto(text, option.help, width + 6);
    }
    const auto& [name, help] = positionalHelp_;
    return text + "\nArguments:\n  " + name +
           std::string(width + 6 > 2 + name.size() ? width + 4 - name.size() : 1, ' ') + help +
           "\n";
}

} // namespace kestavian::cli
