#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <limits>
#include <map>

#include "data/mod_input.h"
#include "platform/local_numbers.h"

namespace kestavian::cli {

namespace {

// An option of a command: --name, with a value named valueName unless it is a switch.
struct Option {
    const char* name;
    const char* valueName; // nullptr for a switch
    const char* help;
};

const Option EffectsOption{"effects", "N",
                           "Load-effect blocks per event, as in the viewer's box (1-32767, "
                           "default 3)."};
const Option SpanOption{"span", "S",
                        "Span in metres; by default the number between the first two \"_\" of "
                        "the file name."};
const Option DatumOption{"datum", "rhs|mixed", "Datum type: rhs (default) or mixed."};
const Option DriveOption{"drive", "left|right", "Drive side: left or right (default)."};
const Option FlipOption{"flip", nullptr, "Mirror the picture (\"Flip datum\")."};
const Option EventOption{"event", "I", "The event's position in the event list, from 1."};
const Option RenderEffectOption{"effect", "N",
                                "The load-effect number, from 1: with --out the effect drawn, "
                                "with --top or --bottom the only effects ranked."};
const Option EffectFilterOption{"effect", "N", "Only the effects numbered N."};
const Option TopOption{"top", "K",
                       "The K rows of greatest value, greatest first; of equal values the first "
                       "in the file."};
const Option BottomOption{"bottom", "K", "The K rows of least value, least first."};
const Option EventsOption{"events", "LIST",
                          "Event positions in the file, from 1, such as 3,17,250-260."};
const Option RowFormatOption{"format", "text|csv|json",
                             "text (default: aligned columns and the time on the simulation's "
                             "calendar), csv, or json (JSON Lines)."};
const Option AtOption{"at", "V",
                      "Scrubber value in hundredths of a second (default 0); a value past the "
                      "effect's range stops at its end, as the scrubber does."};
const Option CriticalOption{"critical", nullptr,
                            "Draw at the effect's own time (\"Approx Critical Position\")."};
const Option OutOption{"out", "PATH", "The picture file to write (.bmp or .png)."};
const Option ExtractOutOption{"out", "OUT", "The event file to write."};
const Option AllOption{"all", "DIR",
                       "Write every event and effect (or those chosen by --events, --top or "
                       "--bottom) into DIR as Span_S_Ev_I_Ef_N.bmp, the viewer's save names."};
const Option PictureFormatOption{"format", "bmp|png",
                                 "The pictures' format with --all: bmp (default, the viewer's) "
                                 "or png."};
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

// The options given on a command line, and its one positional FILE.
class CommandLine {
public:
    CommandLine(std::initializer_list<Option> options, std::string usage, std::string description)
        : options_(options), usage_(std::move(usage)), description_(std::move(description)) {
        options_.insert(options_.begin(), HelpOption);
    }

    // Reads the arguments: a run with file set, the help, or what is wrong with them.
    ParsedArguments parse(const Arguments& arguments, std::string& file) {
        std::vector<std::string> positional;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string& word = arguments[i];
            if (word.size() < 2 || word[0] != '-') {
                positional.push_back(word);
                continue;
            }
            // One dash or two, and a value after "=" or in the next word.
            const std::string named = word.substr(word[1] == '-' ? 2 : 1);
            const std::size_t equals = named.find('=');
            const std::string name = named.substr(0, equals);
            const Option* option = find(name == "h" ? "help" : name);
            if (option == nullptr)
                return {ParsedArguments::Error, "Unknown option '" + name + "'."};
            if (option->valueName == nullptr) {
                if (equals != std::string::npos)
                    return {ParsedArguments::Error, "Unexpected value after '" + word + "'."};
                values_[option->name];
            } else if (equals != std::string::npos) {
                values_[option->name] = named.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                values_[option->name] = arguments[++i];
            } else {
                return {ParsedArguments::Error, "Missing value after '" + word + "'."};
            }
        }
        if (isSet(HelpOption))
            return {ParsedArguments::Help, help()};
        if (positional.empty())
            return {ParsedArguments::Error, "an event file is needed (see --help)"};
        if (positional.size() > 1)
            return {ParsedArguments::Error,
                    "one event file only; unexpected \"" + positional[1] + "\""};
        file = positional.front();
        return {};
    }

    bool isSet(const Option& option) const { return values_.count(option.name) > 0; }
    // The option's value; empty when it was not given.
    std::string value(const Option& option) const {
        const auto given = values_.find(option.name);
        return given == values_.end() ? std::string() : given->second;
    }

private:
    const Option* find(const std::string& name) const {
        for (const Option& option : options_)
            if (name == option.name)
                return &option;
        return nullptr;
    }

    std::string help() const {
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
        return text + "\nArguments:\n  FILE" + std::string(width, ' ') + "The event file.\n";
    }

    std::vector<Option> options_;
    std::string usage_;
    std::string description_;
    std::map<std::string, std::string> values_;
};

ParsedArguments failure(const std::string& message) {
    return {ParsedArguments::Error, message};
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A whole number within [low, high], blanks around it allowed; nothing for any other text.
std::optional<long> wholeNumber(const std::string& text, long low, long high) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const char* begin = text.data() + first + (text[first] == '+' ? 1 : 0);
    const char* end = text.data() + last + 1;
    long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The value of an option that is one of a few words, or an error naming them.
ParsedArguments oneOf(const CommandLine& line, const Option& option,
                      std::initializer_list<const char*> words, std::string& chosen) {
    const std::string value = lower(line.value(option));
    for (const char* word : words)
        if (value == word) {
            chosen = value;
            return {};
        }
    std::string list;
    for (const char* word : words)
        list += (list.empty()                 ? ""
                 : word == *(words.end() - 1) ? " or "
                                              : ", ") +
                std::string(word);
    return failure("--" + std::string(option.name) + " must be " + list + ", not " +
                   quoted(line.value(option)));
}

// The option's value as a whole number from low to high into target, or the error saying what it
// must be.
template <typename Whole>
ParsedArguments readWhole(const CommandLine& line, const Option& option, long low, long high,
                          const char* what, Whole& target) {
    const auto value = wholeNumber(line.value(option), low, high);
    if (!value)
        return failure("--" + std::string(option.name) + " must be " + what + ", not " +
                       quoted(line.value(option)));
    target = static_cast<Whole>(*value);
    return {};
}

constexpr long NoUpperLimit = std::numeric_limits<long>::max();

// Reads the command line and what every command takes: FILE and --effects.
ParsedArguments readFileAndEffects(CommandLine& line, const Arguments& arguments,
                                   CommonOptions& options) {
    const ParsedArguments parsed = line.parse(arguments, options.file);
    if (parsed.kind != ParsedArguments::Run || !line.isSet(EffectsOption))
        return parsed;
    return readWhole(line, EffectsOption, 1, 32767, "a whole number from 1 to 32767",
                     options.view.NoEffects);
}

ParsedArguments readSpanAndDatum(const CommandLine& line, CommonOptions& options) {
    if (line.isSet(SpanOption)) {
        options.span = usableSpan(line.value(SpanOption));
        if (!options.span)
            return failure("--span must be a positive number of metres, not " +
                           quoted(line.value(SpanOption)));
    }
    if (!line.isSet(DatumOption))
        return {};
    std::string datum;
    ParsedArguments read = oneOf(line, DatumOption, {"rhs", "mixed"}, datum);
    options.view.DatumRHS = datum == "rhs";
    return read;
}

// --effect N as an effect number from 1.
template <typename Whole>
ParsedArguments readEffectNumber(const CommandLine& line, const Option& option, Whole& effect) {
    return readWhole(line, option, 1, 32767, "an effect number from 1 to 32767", effect);
}

// --top K or --bottom K, and --effect N, which goes with them (and, in list, alone).
ParsedArguments readRowChoice(const CommandLine& line, const Option& effect, bool effectAlone,
                              RowChoice& rows) {
    if (line.isSet(TopOption) && line.isSet(BottomOption))
        return failure("--top and --bottom cannot be used together");
    for (const Option* option : {&TopOption, &BottomOption}) {
        if (!line.isSet(*option))
            continue;
        RowChoice::Ranking ranking{0, option == &TopOption};
        if (ParsedArguments read = readWhole(line, *option, 1, NoUpperLimit,
                                             "a whole number of rows from 1", ranking.count);
            read.kind != ParsedArguments::Run)
            return read;
        rows.ranking = ranking;
    }
    if (!line.isSet(effect))
        return {};
    if (!effectAlone && !rows.ranking)
        return failure("--effect goes with --top or --bottom here");
    return readEffectNumber(line, effect, rows.effectNo.emplace());
}

// --events LIST or a ranking: the events extract and render --all take.
ParsedArguments readEventChoice(const CommandLine& line, const Option& effect,
                                EventChoice& choice) {
    ParsedArguments read = readRowChoice(line, effect, false, choice.rows);
    if (read.kind != ParsedArguments::Run || !line.isSet(EventsOption))
        return read;
    if (choice.rows.ranking)
        return failure("--events and --top or --bottom cannot be used together");
    choice.listed = EventList::parse(line.value(EventsOption));
    if (!choice.listed)
        return failure("--events must list positions from 1 such as 3,17,250-260, not " +
                       quoted(line.value(EventsOption)));
    return {};
}

// The first failure of a command's option readers, or a run.
ParsedArguments firstFailure(std::initializer_list<ParsedArguments> reads) {
    for (const ParsedArguments& read : reads)
        if (read.kind != ParsedArguments::Run)
            return read;
    return {};
}

} // namespace

ParsedArguments parseCheckArguments(const Arguments& arguments, CheckOptions& options) {
    CommandLine line({EffectsOption}, "check FILE [--effects N]",
                     "Reads an event file as the viewer does and counts its events, effects and "
                     "trucks. Exit status 1 when the file is taken only up to a bad line.");
    return readFileAndEffects(line, arguments, options);
}

ParsedArguments parseTimingsArguments(const Arguments& arguments, TimingsOptions& options) {
    CommandLine line(
        {EffectsOption, SpanOption, DatumOption},
        "timings FILE [--effects N] [--span S] [--datum rhs|mixed]",
        "Lists, for every event and effect, the lines the viewer adds to its diagnostics box "
        "when it shows that effect, and an \"error:\" line where the viewer stops. Like the "
        "viewer's, the numbers carry the system's decimal separator (LC_ALL, LC_NUMERIC, LANG).");
    return firstFailure(
        {readFileAndEffects(line, arguments, options), readSpanAndDatum(line, options)});
}

ParsedArguments parseListArguments(const Arguments& arguments, ListOptions& options) {
    CommandLine line(
        {EffectFilterOption, TopOption, BottomOption, RowFormatOption, EffectsOption},
        "list FILE [--effect N] [--top K | --bottom K] [--format text|csv|json] [--effects N]",
        "Lists one row per stored load effect: the event's position in the file, its number, the "
        "effect's number, value, time and distance, and its number of trucks; every row in file "
        "order, or the best K. Numbers are written with a point, in the shortest form that reads "
        "back the same. Exit status 1 when the file is taken only up to a bad line.");
    ParsedArguments parsed = readFileAndEffects(line, arguments, options);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    if (line.isSet(RowFormatOption)) {
        std::string format;
        parsed = oneOf(line, RowFormatOption, {"text", "csv", "json"}, format);
        options.format = format == "csv"    ? RowFormat::Csv
                         : format == "json" ? RowFormat::Json
                                            : RowFormat::Text;
    }
    return firstFailure({parsed, readRowChoice(line, EffectFilterOption, true, options.rows)});
}

ParsedArguments parseExtractArguments(const Arguments& arguments, ExtractOptions& options) {
    CommandLine line(
        {EventsOption, TopOption, BottomOption, EffectFilterOption, ExtractOutOption,
         EffectsOption},
        "extract FILE (--events LIST | --top K [--effect N] | --bottom K [--effect N]) --out OUT "
        "[--effects N]",
        "Writes the chosen events, in file order and each once, into OUT, every line as it "
        "stands in FILE, so that the viewer can open them. --top takes the events holding the "
        "top K rows of list. OUT is refused when it would hold more than the viewer's 32767 "
        "lines. Exit status 1 when FILE is taken only up to a bad line.");
    const ParsedArguments parsed =
        firstFailure({readFileAndEffects(line, arguments, options),
                      readEventChoice(line, EffectFilterOption, options.choice)});
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    if (!options.choice.listed && !options.choice.rows.ranking)
        return failure("--events LIST, --top K or --bottom K is needed");
    options.out = line.value(ExtractOutOption);
    if (options.out.empty())
        return failure("--out OUT is needed");
    return {};
}

ParsedArguments parseRenderArguments(const Arguments& arguments, RenderOptions& options) {
    CommandLine line(
        {EventOption, RenderEffectOption, AtOption, CriticalOption, SpanOption, EffectsOption,
         DriveOption, DatumOption, FlipOption, OutOption, AllOption, EventsOption, TopOption,
         BottomOption, PictureFormatOption},
        "render FILE (--event I --effect N --out PATH | --all DIR [--events LIST | --top K "
        "[--effect N] | --bottom K [--effect N]] [--format bmp|png]) [--at V | --critical] "
        "[--span S] [--effects N] [--drive left|right] [--datum rhs|mixed] [--flip]",
        "Writes the picture the viewer shows for an event and effect. When the viewer cannot "
        "show the effect, the picture holds what it would (span and caption), the error goes to "
        "stderr and the exit status is 1.");
    ParsedArguments parsed = firstFailure(
        {readFileAndEffects(line, arguments, options), readSpanAndDatum(line, options)});
    if (parsed.kind != ParsedArguments::Run)
        return parsed;

    if (line.isSet(DriveOption)) {
        std::string drive;
        if (parsed = oneOf(line, DriveOption, {"left", "right"}, drive);
            parsed.kind != ParsedArguments::Run)
            return parsed;
        options.view.DriveRight = drive == "right";
    }
    options.view.FlipDatum = line.isSet(FlipOption);
    options.critPos = line.isSet(CriticalOption);
    if (line.isSet(AtOption)) {
        if (options.critPos)
            return failure("--at and --critical cannot be used together");
        if (parsed =
                readWhole(line, AtOption, 0, 32767, "a whole number of hundredths from 0 to 32767",
                          options.scrubberValue);
            parsed.kind != ParsedArguments::Run)
            return parsed;
    }

    if (line.isSet(AllOption)) {
        if (line.isSet(OutOption) || line.isSet(EventOption))
            return failure("--all writes the chosen events and effects; it takes no --out or "
                           "--event");
        options.allFolder = line.value(AllOption);
        if (options.allFolder.empty())
            return failure("--all needs a folder");
        if (line.isSet(PictureFormatOption)) {
            options.allFormat = pictureFormat("." + line.value(PictureFormatOption));
            if (options.allFormat.empty())
                return failure("--format must be bmp or png, not " +
                               quoted(line.value(PictureFormatOption)));
        }
        return readEventChoice(line, RenderEffectOption, options.choice);
    }
    for (const Option* option : {&EventsOption, &TopOption, &BottomOption, &PictureFormatOption})
        if (line.isSet(*option))
            return failure("--" + std::string(option->name) + " goes with --all");
    if (!line.isSet(OutOption))
        return failure("--out PATH or --all DIR is needed");
    options.out = line.value(OutOption);
    if (pictureFormat(options.out).empty())
        return failure("--out must name a .bmp or .png file, not " + quoted(options.out));
    if (!line.isSet(EventOption) || !line.isSet(RenderEffectOption))
        return failure("--event and --effect are needed with --out");
    return firstFailure(
        {readWhole(line, EventOption, 1, NoUpperLimit, "a list position from 1", options.event),
         readEffectNumber(line, RenderEffectOption, options.effect)});
}

std::string generalHelp() {
    return "Usage: kestavian-cli COMMAND FILE [options]\n"
           "The viewer's reading, timings and pictures, without a window, for event files of "
           "any size.\n"
           "\n"
           "Commands:\n"
           "  check     count the events, effects and trucks of an event file\n"
           "  timings   list the diagnostics lines of every event and effect\n"
           "  list      list every load effect's value, time and distance, or the largest\n"
           "  extract   copy chosen events into a file small enough for the viewer\n"
           "  render    write the picture of an event and effect, or of a chosen set\n"
           "\n"
           "kestavian-cli COMMAND --help describes a command's options.\n"
           "Exit status: 0 done, 1 file taken only up to a bad line (check, list, extract) or "
           "effect not shown (render), 2 usage error or a file that cannot be read or written.\n";
}

std::string pictureFormat(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    const std::string suffix = lower(path.substr(dot + 1));
    if (suffix == "bmp")
        return "BMP";
    if (suffix == "png")
        return "PNG";
    return {};
}

} // namespace kestavian::cli
