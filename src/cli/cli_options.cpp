#include "cli/cli_options.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "cli/event_file.h"

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
const QCommandLineOption EffectOption("effect", "The load-effect number, from 1.", "N");
const QCommandLineOption AtOption("at",
                                  "Scrubber value in hundredths of a second (default 0); a value "
                                  "past the effect's range stops at its end, as the scrubber does.",
                                  "V");
const QCommandLineOption CriticalOption("critical",
                                        "Draw at the effect's own time (\"Approx Critical "
                                        "Position\").");
const QCommandLineOption OutOption("out", "The picture file to write (.bmp or .png).", "PATH");
const QCommandLineOption AllOption("all",
                                   "Write every event and effect into DIR as "
                                   "Span_S_Ev_I_Ef_N.bmp, the viewer's save names.",
                                   "DIR");

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
    parsed = readEffects(parser, options.view.NoEffects);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    return readSpanAndDatum(parser, options);
}

ParsedArguments parseRenderArguments(const QStringList& arguments, RenderOptions& options) {
    QCommandLineParser parser;
    parser.addOptions({EventOption, EffectOption, AtOption, CriticalOption, SpanOption,
                       EffectsOption, DriveOption, DatumOption, FlipOption, OutOption, AllOption});
    ParsedArguments parsed = parseCommon(
        parser, arguments,
        "render FILE (--event I --effect N --out PATH | --all DIR) [--at V | --critical] "
        "[--span S] [--effects N] [--drive left|right] [--datum rhs|mixed] [--flip]",
        "Writes the picture the viewer shows for an event and effect. When the viewer cannot "
        "show the effect, the picture holds what it would (span and caption), the error goes to "
        "stderr and the exit status is 1.",
        options.file);
    if (parsed.kind != ParsedArguments::Run)
        return parsed;
    for (const auto& read :
         {readEffects(parser, options.view.NoEffects), readSpanAndDatum(parser, options)})
        if (read.kind != ParsedArguments::Run)
            return read;

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
        if (parser.isSet(OutOption) || parser.isSet(EventOption) || parser.isSet(EffectOption))
            return failure("--all writes every event and effect; it takes no --out, --event or "
                           "--effect");
        options.allFolder = parser.value(AllOption);
        if (options.allFolder.isEmpty())
            return failure("--all needs a folder");
        return {};
    }
    if (!parser.isSet(OutOption))
        return failure("--out PATH or --all DIR is needed");
    options.out = parser.value(OutOption);
    if (pictureFormat(options.out).isEmpty())
        return failure("--out must name a .bmp or .png file, not " + quoted(options.out));
    if (!parser.isSet(EventOption) || !parser.isSet(EffectOption))
        return failure("--event and --effect are needed with --out");
    const auto event = wholeNumber(parser.value(EventOption), 1, 32767);
    if (!event)
        return failure("--event must be a list position from 1 to 32767, not " +
                       quoted(parser.value(EventOption)));
    const auto effect = wholeNumber(parser.value(EffectOption), 1, 32767);
    if (!effect)
        return failure("--effect must be an effect number from 1 to 32767, not " +
                       quoted(parser.value(EffectOption)));
    options.event = *event;
    options.effect = *effect;
    return {};
}

std::string generalHelp() {
    return "Usage: kestavian-cli COMMAND FILE [options]\n"
           "The viewer's reading, timings and pictures, without a window.\n"
           "\n"
           "Commands:\n"
           "  check     count the events, effects and trucks of an event file\n"
           "  timings   list the diagnostics lines of every event and effect\n"
           "  render    write the picture of an event and effect, or of all of them\n"
           "\n"
           "kestavian-cli COMMAND --help describes a command's options.\n"
           "Exit status: 0 done, 1 file taken only in part (check) or effect not shown "
           "(render), 2 usage error or a file that cannot be read or written.\n";
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
