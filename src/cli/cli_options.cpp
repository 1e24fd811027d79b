#include "cli/cli_options.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <limits>

#include "data/mod_input.h"

namespace kestavian::cli {

namespace {

const QCommandLineOption EffectsOption("effects",
                                       "Load-effect blocks per event, as in the viewer's box "
                                       "(1-32767, default 3).",
                                       "N");
const QCommandLineOption SpanOption("span",
                                    "Span in metres; by default the number between the first "
                                    "two \"_\" of the file name.",
                                    "S");
const QCommandLineOption DatumOption("datum", "Datum type: rhs (default) or mixed.", "rhs|mixed");
const QCommandLineOption DriveOption("drive", "Drive side: left or right (default).", "left|right");
const QCommandLineOption FlipOption("flip", "Mirror the picture (\"Flip datum\").");
const QCommandLineOption EventOption("event", "The event's position in the event list, from 1.",
                                     "I");
const QCommandLineOption RenderEffectOption(
    "effect",
    "The load-effect number, from 1: with --out the effect drawn, with --top or --bottom the "
    "only effects ranked.",
    "N");
const QCommandLineOption EffectFilterOption("effect", "Only the effects numbered N.", "N");
const QCommandLineOption TopOption("top",
                                   "The K rows of greatest value, greatest first; of equal values "
                                   "the first in the file.",
                                   "K");
const QCommandLineOption BottomOption("bottom", "The K rows of least value, least first.", "K");
const QCommandLineOption EventsOption("events",
                                      "Event positions in the file, from 1, such as "
                                      "3,17,250-260.",
                                      "LIST");
const QCommandLineOption RowFormatOption("format",
                                         "text (default: aligned columns and the time on the "
                                         "simulation's calendar), csv, or json (JSON Lines).",
                                         "text|csv|json");
const QCommandLineOption AtOption("at",
                                  "Scrubber value in hundredths of a second (default 0); a value "
                                  "past the effect's range stops at its end, as the scrubber does.",
                                  "V");
const QCommandLineOption CriticalOption("critical",
                                        "Draw at the effect's own time (\"Approx Critical "
                                        "Position\").");
const QCommandLineOption OutOption("out", "The picture file to write (.bmp or .png).", "PATH");
const QCommandLineOption ExtractOutOption("out", "The event file to write.", "OUT");
const QCommandLineOption AllOption("all",
                                   "Write every event and effect (or those chosen by --events, "
                                   "--top or --bottom) into DIR as Span_S_Ev_I_Ef_N.bmp, the "
                                   "viewer's save names.",
                                   "DIR");
const QCommandLineOption PictureFormatOption("format",
                                             "The pictures' format with --all: bmp (default, the "
                                             "viewer's) or png.",
                                             "bmp|png");

ParsedArguments failure(const std::string& message) {
    return {ParsedArguments::Error, message};
}

// A whole number within [low, high]; nothing for any other text.
std::optional<long> wholeNumber(const QString& text, long low, long high) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return static_cast<long>(value);
}

std::string quoted(const QString& text) {
    return "\"" + text.toStdString() + "\"";
}

// Runs the parser over the arguments and checks the one positional FILE. usage is the command's
// synopsis, for the help text.
ParsedArguments parseCommon(QCommandLineParser& parser, const QStringList& arguments,
                            const QString& usage, const QString& description, QString& file) {
    parser.setApplicationDescription(description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption: its --help-all lists Qt's own options, which this tool does not read.
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    parser.addOption(help);
    parser.addPositionalArgument("FILE", "The event file.");
    // The parser skips the first argument, the program's name.
    if (!parser.parse(QStringList{"kestavian-cli"} + arguments))
        return failure(parser.errorText().toStdString());
    if (parser.isSet(help)) {
        // The parser's own usage line names the running executable; ours names the command.
        const QString text = parser.helpText();
        return {ParsedArguments::Help,
                ("Usage: kestavian-cli " + usage + text.mid(text.indexOf('\n'))).toStdString()};
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return failure("an event file is needed (see --help)");
    if (positional.size() > 1)
        return failure("one event file only; unexpected " + quoted(positional.at(1)));
    file = positional.first();
    return {};
}

ParsedArguments readEffects(const QCommandLineParser& parser, std::int16_t& noEffects) {
    if (!parser.isSet(EffectsOption))
        return {};
    const auto value = wholeNumber(parser.value(EffectsOption), 1, 32767);
    if (!value)
        return failure("--effects must be a whole number from 1 to 32767, not " +
                       quoted(parser.value(EffectsOption)));
    noEffects = static_cast<std::int16_t>(*value);
    return {};
}

ParsedArguments readSpanAndDatum(const QCommandLineParser& parser, CommonOptions& options) {
    if (parser.isSet(SpanOption)) {
        options.span = UsableSpan(parser.value(SpanOption).toStdString());
        if (!options.span)
            return failure("--span must be a positive number of metres, not " +
                           quoted(parser.value(SpanOption)));
    }
    if (parser.isSet(DatumOption)) {
        const QString datum = parser.value(DatumOption).toLower();
        if (datum != "rhs" && datum != "mixed")
            return failure("--datum must be rhs or mixed, not " +
                           quoted(parser.value(DatumOption)));
        options.view.DatumRHS = datum == "rhs";
    }
    return {};
}

// --effect N as an effect number from 1.
ParsedArguments readEffectNumber(const QCommandLineParser& parser, const QCommandLineOption& option,
                                 long& effect) {
    const auto value = wholeNumber(parser.value(option), 1, 32767);
    if (!value)
        return failure("--effect must be an effect number from 1 to 32767, not " +
                       quoted(parser.value(option)));
    effect = *value;
    return {};
}

// --top K or --bottom K, and --effect N, which goes with them (and, in list, alone).
ParsedArguments readRowChoice(const QCommandLineParser& parser, const QCommandLineOption& effect,
                              bool effectAlone, RowChoice& rows) {
    if (parser.isSet(TopOption) && parser.isSet(BottomOption))
        return failure("--top and --bottom cannot be used together");
    for (const bool greatest : {true, false}) {
        const QCommandLineOption& option = greatest ? TopOption : BottomOption;
        if (!parser.isSet(option))
            continue;
        const auto count = wholeNumber(parser.value(option), 1, std::numeric_limits<long>::max());
        if (!count)
            return failure("--" + option.names().first().toStdString() +
                           " must be a whole number of rows from 1, not " +
                           quoted(parser.value(option)));
        rows.ranking = RowChoice::Ranking{static_cast<std::uint64_t>(*count), greatest};
    }
    if (!parser.isSet(effect))
        return {};
    if (!effectAlone && !rows.ranking)
        return failure("--effect goes with --top or --bottom here");
    long number = 0;
    ParsedArguments read = readEffectNumber(parser, effect, number);
    rows.effectNo = static_cast<std::int16_t>(number);
    return read;
}

// --events LIST or a ranking: the events extract and render --all take.
ParsedArguments readEventChoice(const QCommandLineParser& parser, const QCommandLineOption& effect,
                                EventChoice& choice) {
    ParsedArguments read = readRowChoice(parser, effect, false, choice.rows);
    if (read.kind != ParsedArguments::Run || !parser.isSet(EventsOption))
        return read;
    if (choice.rows.ranking)
        return failure("--events and --top or --bottom cannot be used together");
    choice.listed = EventList::parse(parser.value(EventsOption).toStdString());
    if (!choice.listed)
        return failure("--events must list positions from 1 such as 3,17,250-260, not " +
                       quoted(parser.value(EventsOption)));
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

ParsedArguments parseCheckArguments(const QStringList& arguments, CheckOptions& options) {
    QCommandLineParser parser;
    parser.addOption(EffectsOption);
    ParsedArguments parsed =
        parseCommon(parser, arguments, "check FILE [--effects N]",
                    "Reads an event file as the viewer does and counts its events, effects and "
                    "trucks. Exit status 1 when the file is taken only up to a bad line.",
                    options.file);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    return readEffects(parser, options.view.NoEffects);
}

ParsedArguments parseTimingsArguments(const QStringList& arguments, TimingsOptions& options) {
    QCommandLineParser parser;
    parser.addOptions({EffectsOption, SpanOption, DatumOption});
    ParsedArguments parsed = parseCommon(
        parser, arguments, "timings FILE [--effects N] [--span S] [--datum rhs|mixed]",
        "Lists, for every event and effect, the lines the viewer adds to its diagnostics box "
        "when it shows that effect, and an \"error:\" line where the viewer stops. Like the "
        "viewer's, the numbers carry the system's decimal separator (LC_ALL, LC_NUMERIC, LANG).",
        options.file);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    return firstFailure(
        {readEffects(parser, options.view.NoEffects), readSpanAndDatum(parser, options)});
}

ParsedArguments parseListArguments(const QStringList& arguments, ListOptions& options) {
    QCommandLineParser parser;
    parser.addOptions(
        {EffectFilterOption, TopOption, BottomOption, RowFormatOption, EffectsOption});
    ParsedArguments parsed = parseCommon(
        parser, arguments,
        "list FILE [--effect N] [--top K | --bottom K] [--format text|csv|json] [--effects N]",
        "Lists one row per stored load effect: the event's position in the file, its number, the "
        "effect's number, value, time and distance, and its number of trucks; every row in file "
        "order, or the best K. Numbers are written with a point, in the shortest form that reads "
        "back the same. Exit status 1 when the file is taken only up to a bad line.",
        options.file);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    if (parser.isSet(RowFormatOption)) {
        const QString format = parser.value(RowFormatOption).toLower();
        if (format != "text" && format != "csv" && format != "json")
            return failure("--format must be text, csv or json, not " +
                           quoted(parser.value(RowFormatOption)));
        options.format = format == "csv"    ? RowFormat::Csv
                         : format == "json" ? RowFormat::Json
                                            : RowFormat::Text;
    }
    return firstFailure({readEffects(parser, options.view.NoEffects),
                         readRowChoice(parser, EffectFilterOption, true, options.rows)});
}

ParsedArguments parseExtractArguments(const QStringList& arguments, ExtractOptions& options) {
    QCommandLineParser parser;
    parser.addOptions({EventsOption, TopOption, BottomOption, EffectFilterOption, ExtractOutOption,
                       EffectsOption});
    ParsedArguments parsed = parseCommon(
        parser, arguments,
        "extract FILE (--events LIST | --top K [--effect N] | --bottom K [--effect N]) --out OUT "
        "[--effects N]",
        "Writes the chosen events, in file order and each once, into OUT, every line as it "
        "stands in FILE, so that the viewer can open them. --top takes the events holding the "
        "top K rows of list. OUT is refused when it would hold more than the viewer's 32767 "
        "lines. Exit status 1 when FILE is taken only up to a bad line.",
        options.file);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    parsed = firstFailure({readEffects(parser, options.view.NoEffects),
                           readEventChoice(parser, EffectFilterOption, options.choice)});
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    if (!options.choice.listed && !options.choice.rows.ranking)
        return failure("--events LIST, --top K or --bottom K is needed");
    options.out = parser.value(ExtractOutOption);
    if (options.out.isEmpty())
        return failure("--out OUT is needed");
    return {};
}

ParsedArguments parseRenderArguments(const QStringList& arguments, RenderOptions& options) {
    QCommandLineParser parser;
    parser.addOptions({EventOption, RenderEffectOption, AtOption, CriticalOption, SpanOption,
                       EffectsOption, DriveOption, DatumOption, FlipOption, OutOption, AllOption,
                       EventsOption, TopOption, BottomOption, PictureFormatOption});
    ParsedArguments parsed = parseCommon(
        parser, arguments,
        "render FILE (--event I --effect N --out PATH | --all DIR [--events LIST | --top K "
        "[--effect N] | --bottom K [--effect N]] [--format bmp|png]) [--at V | --critical] "
        "[--span S] [--effects N] [--drive left|right] [--datum rhs|mixed] [--flip]",
        "Writes the picture the viewer shows for an event and effect. When the viewer cannot "
        "show the effect, the picture holds what it would (span and caption), the error goes to "
        "stderr and the exit status is 1.",
        options.file);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    parsed = firstFailure(
        {readEffects(parser, options.view.NoEffects), readSpanAndDatum(parser, options)});
    if (parsed.kind != ParsedArguments::Run)
        return parsed;

    if (parser.isSet(DriveOption)) {
        const QString drive = parser.value(DriveOption).toLower();
        if (drive != "left" && drive != "right")
            return failure("--drive must be left or right, not " +
                           quoted(parser.value(DriveOption)));
        options.view.DriveRight = drive == "right";
    }
    options.view.FlipDatum = parser.isSet(FlipOption);
    options.critPos = parser.isSet(CriticalOption);
    if (parser.isSet(AtOption)) {
        if (options.critPos)
            return failure("--at and --critical cannot be used together");
        const auto value = wholeNumber(parser.value(AtOption), 0, 32767);
        if (!value)
            return failure("--at must be a whole number of hundredths from 0 to 32767, not " +
                           quoted(parser.value(AtOption)));
        options.scrubberValue = static_cast<std::int16_t>(*value);
    }

    if (parser.isSet(AllOption)) {
        if (parser.isSet(OutOption) || parser.isSet(EventOption))
            return failure("--all writes the chosen events and effects; it takes no --out or "
                           "--event");
        options.allFolder = parser.value(AllOption);
        if (options.allFolder.isEmpty())
            return failure("--all needs a folder");
        if (parser.isSet(PictureFormatOption)) {
            options.allFormat = pictureFormat("." + parser.value(PictureFormatOption));
            if (options.allFormat.isEmpty())
                return failure("--format must be bmp or png, not " +
                               quoted(parser.value(PictureFormatOption)));
        }
        return readEventChoice(parser, RenderEffectOption, options.choice);
    }
    for (const QCommandLineOption& option :
         {EventsOption, TopOption, BottomOption, PictureFormatOption})
        if (parser.isSet(option))
            return failure("--" + option.names().first().toStdString() + " goes with --all");
    if (!parser.isSet(OutOption))
        return failure("--out PATH or --all DIR is needed");
    options.out = parser.value(OutOption);
    if (pictureFormat(options.out).isEmpty())
        return failure("--out must name a .bmp or .png file, not " + quoted(options.out));
    if (!parser.isSet(EventOption) || !parser.isSet(RenderEffectOption))
        return failure("--event and --effect are needed with --out");
    const auto event = wholeNumber(parser.value(EventOption), 1, std::numeric_limits<long>::max());
    if (!event)
        return failure("--event must be a list position from 1, not " +
                       quoted(parser.value(EventOption)));
    options.event = static_cast<std::uint64_t>(*event);
    return readEffectNumber(parser, RenderEffectOption, options.effect);
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

QByteArray pictureFormat(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "bmp")
        return "BMP";
    if (suffix == "png")
        return "PNG";
    return {};
}

} // namespace kestavian::cli
