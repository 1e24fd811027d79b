#include "cli/render_command.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <set>
#include <utility>

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "cli/view_options.h"
#include "drawing/headless_scene.h"
#include "drawing/picture_file.h"
#include "drawing/svg_picture.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {

struct RenderOptions : CommonOptions {
    bool critPos = false;
    std::int16_t scrubberValue = 0;
    EventChoice event;     // the one event, by number or by position
    long effect = 0;       // effect number, from 1
    bool yes = false;      // --all may write more than MostPicturesUnasked
    std::string out;       // a single picture, or
    std::string allFolder; // the chosen events and effects under the window's save names
    EventChoice choice;
    QByteArray allFormat = "BMP";
};

const Option EventOption{"event", "N",
                         "The event numbered N, as the viewer's event list and list's event column "
                         "show it; refused when no event or several events have that number."};
const Option PositionOption{"position", "I",
                            "The event at place I in the file, from 1, as list's position column "
                            "and the viewer's save names count it."};
const Option YesOption{"yes", nullptr,
                       "Write the pictures of --all even when there are more than 1000."};
const Option RenderEffectOption{"effect", "N",
                                "The load-effect number, from 1: with --out the effect drawn, "
                                "with --top or --bottom the only effects ranked."};
const Option AtOption{"at", "V",
                      "Scrubber value in hundredths of a second (default 0); a value past the "
                      "effect's range stops at its end, as the scrubber does."};
const Option CriticalOption{"critical", nullptr,
                            "Draw at the effect's own time (\"Approx Critical Position\")."};
const Option OutOption{"out", "PATH",
                       "The picture file to write: .bmp, .png or .svg (a drawing that stays sharp "
                       "at any size, for reports)."};
const Option AllOption{"all", "DIR",
                       "Write every event and effect (or those chosen by --events, --positions, "
                       "--top or --bottom) into DIR as Span_S_Ev_I_Ef_N.bmp, the viewer's save "
                       "names (I the position). More than 1000 pictures need --yes."};
const Option PictureFormatOption{"format", "bmp|png|svg",
                                 "The pictures' format with --all: bmp (default, the viewer's), "
                                 "png or svg."};

ParsedArguments parseRenderArguments(const Arguments& arguments, RenderOptions& options) {
    CommandLine line(
        {EventOption, PositionOption, RenderEffectOption, AtOption, CriticalOption, SpanOption,
         EffectsOption, DriveOption, DatumOption, FlipOption, OutOption, AllOption, EventsOption,
         PositionsOption, TopOption, BottomOption, PictureFormatOption, YesOption},
        "render FILE ((--event N | --position I) --effect N --out PATH | --all DIR [--events LIST "
        "| --positions LIST | --top K [--effect N] | --bottom K [--effect N]] [--format "
        "bmp|png|svg] "
        "[--yes]) [--at V | --critical] [--span S] [--effects N] [--drive left|right] [--datum "
        "rhs|mixed] [--flip]",
        "Writes the picture the viewer shows for an event and effect; --critical gives the one a "
        "report needs, the trucks where the effect peaks. When the viewer cannot show the effect, "
        "the picture holds what it would (span and caption), the error goes to stderr and the "
        "exit status is 1. FILE may be gzip-compressed; --all reads it twice, so it cannot be "
        "standard input.");
    ParsedArguments parsed =
        firstFailure({readFileAndEffects(line, arguments, options), readSpanAndDatum(line, options),
                      readDriveAndFlip(line, options)});
    if (!parsed.runs())
        return parsed;

    options.critPos = line.isSet(CriticalOption);
    if (line.isSet(AtOption)) {
        if (options.critPos)
            return failure("--at and --critical cannot be used together");
        if (parsed =
                line.readWhole(AtOption, 0, 32767, "a whole number of hundredths from 0 to 32767",
                               options.scrubberValue);
            !parsed.runs())
            return parsed;
    }

    if (line.isSet(AllOption)) {
        if (line.isSet(OutOption) || line.isSet(EventOption) || line.isSet(PositionOption))
            return failure("--all writes the chosen events and effects; it takes no --out, "
                           "--event or --position");
        options.yes = line.isSet(YesOption);
        options.allFolder = line.value(AllOption);
        if (options.allFolder.empty())
            return failure("--all needs a folder");
        if (line.isSet(PictureFormatOption)) {
            options.allFormat =
                pictureFormatOf("." + QString::fromStdString(line.value(PictureFormatOption)));
            if (options.allFormat.isEmpty())
                return line.mustBe(PictureFormatOption, "bmp, png or svg");
        }
        return readEventChoice(line, RenderEffectOption, options.choice);
    }
    for (const Option* option : {&EventsOption, &PositionsOption, &TopOption, &BottomOption,
                                 &PictureFormatOption, &YesOption})
        if (line.isSet(*option))
            return failure("--" + std::string(option->name) + " goes with --all");
    if (!line.isSet(OutOption))
        return failure("--out PATH or --all DIR is needed");
    options.out = line.value(OutOption);
    if (pictureFormatOf(QFile::decodeName(options.out.c_str())).isEmpty())
        return failure("--out must name a .bmp, .png or .svg file, not " + inQuotes(options.out));
    const bool byNumber = line.isSet(EventOption);
    if (byNumber == line.isSet(PositionOption) || !line.isSet(RenderEffectOption))
        return failure("--event N (or --position I) and --effect N are needed with --out");
    const Option& which = byNumber ? EventOption : PositionOption;
    std::uint64_t event = 0;
    if (parsed = byNumber ? line.readWhole(which, 0, NoUpperLimit, "an event number from 0", event)
                          : line.readWhole(which, 1, NoUpperLimit, "a position from 1", event);
        !parsed.runs())
        return parsed;
    options.event.byNumber = byNumber;
    options.event.listed = EventList::parse(std::to_string(event), 0);
    return readEffectNumber(line, RenderEffectOption, options.effect);
}

// The picture after the window's steps: show the effect, then move the scrubber. failure gets the
// error that stopped the window, if any.
void drawEffect(HeadlessScene& scene, const EffectData& effect, const RenderOptions& options,
                std::string& failure) {
    try {
        scene.show(effect, options.critPos, [](const std::string&) {});
        scene.moveScrubber(effect, options.critPos, options.scrubberValue);
    } catch (const RuntimeError& error) {
        // An effect without trucks has nothing to time: the span and caption are all of it.
        if (effect.NoTrucks > 0)
            failure = error.what();
    }
}

bool writePicture(const HeadlessScene& scene, const QString& path, const QByteArray& format,
                  const Console& console) {
    const QString reason = savePictureAs(scene.surface(), path, format);
    if (reason.isEmpty())
        return true;
    console.error("cannot write " + path.toStdString() + ": " + reason.toStdString());
    return false;
}

// "event 17018 (position 4263)".
std::string eventName(const ParsedEvent& event) {
    return "event " + std::to_string(event.event.EventNo) + " (position " +
           std::to_string(event.position) + ")";
}

void reportNotShown(const ParsedEvent& event, long effectNo, const std::string& failure,
                    const Console& console) {
    console.error(eventName(event) + ", effect " + std::to_string(effectNo) +
                  " cannot be shown (the picture holds the span and caption): " + failure);
}

int renderOne(const RenderOptions& options, const ViewSettings& view, const Console& console) {
    std::optional<ParsedEvent> event;
    ListedNumbers numbers(options.event);
    const std::optional<StreamOutcome> read = streamCommandFile(
        options, console,
        [&](ParsedEvent& parsed) {
            numbers.add(parsed);
            if (!event && options.event.lists(parsed))
                event = std::move(parsed);
        },
        ParserOptions::Trucks::Fields);
    if (!read)
        return ExitUsage;
    noteStop(*read, options, console);
    if (reportNoEvent(*read, options, console))
        return ExitStopped;
    if (options.event.byNumber)
        if (const std::string problem = numbers.problem("--event"); !problem.empty())
            return console.fail(problem);
    if (!event)
        return console.fail("--position " + std::to_string(options.event.listed->last()) +
                            " is past the event list, which holds " + std::to_string(read->events));
    if (options.effect > view.NoEffects)
        return console.fail("--effect " + std::to_string(options.effect) +
                            " is past the effect list, which runs to " +
                            std::to_string(view.NoEffects));
    if (options.effect > event->event.EffectCount)
        return console.fail(eventName(*event) + " holds " +
                            std::to_string(event->event.EffectCount) +
                            (event->event.EffectCount == 1 ? " effect" : " effects") +
                            "; there is no effect " + std::to_string(options.effect));
    std::string failure;
    HeadlessScene scene(view);
    drawEffect(scene, event->event.Effects.at(options.effect), options, failure);
    const QString out = QFile::decodeName(options.out.c_str());
    if (!writePicture(scene, out, pictureFormatOf(out), console))
        return ExitUsage;
    if (failure.empty())
        return ExitOk;
    reportNotShown(*event, options.effect, failure, console);
    return ExitStopped;
}

// More pictures than anyone reads through are written only when asked for: a choice forgotten on a
// long run would fill the disk.
constexpr std::uint64_t MostPicturesUnasked = 1000;

// The effects --all draws, as (event position, effect's place in the event) pairs, found by a
// first reading of the file: those of the ranked rows, of the listed events, or all.
class ChosenEffects {
public:
    explicit ChosenEffects(const EventChoice& choice)
        : choice_(choice), ranking_(choice.rows.newRanking()) {}

    void add(const ParsedEvent& parsed) {
        if (ranking_)
            choice_.rows.forEachKept(parsed, [&](const EffectRow& row) { ranking_->add(row); });
        else if (contains(parsed, 1)) // then every effect of the event is taken
            count_ += static_cast<std::uint64_t>(parsed.event.EffectCount);
    }
    void finish() {
        if (ranking_)
            for (const EffectRow& row : ranking_->take())
                ranked_.emplace(row.position, row.index);
    }

    bool contains(const ParsedEvent& parsed, long index) const {
        if (choice_.rows.ranking)
            return ranked_.count({parsed.position, index}) > 0;
        return !choice_.listed || choice_.lists(parsed);
    }
    std::uint64_t count() const { return choice_.rows.ranking ? ranked_.size() : count_; }

private:
    const EventChoice& choice_;
    std::optional<RowRanking> ranking_;
    std::set<std::pair<std::uint64_t, long>> ranked_;
    std::uint64_t count_ = 0;
};

// "2.1 GB": a size as people read it.
std::string roughSize(double bytes) {
    const char* units[] = {"bytes", "kB", "MB", "GB", "TB"};
    int unit = 0;
    for (; bytes >= 1000 && unit < 4; ++unit)
        bytes /= 1000;
    char text[32];
    std::snprintf(text, sizeof text, bytes < 10 && unit > 0 ? "%.1f %s" : "%.0f %s", bytes,
                  units[unit]);
    return text;
}

// What one picture takes in the format: exact for BMP, which does not compress; for PNG and SVG
// that of a sample effect of the file, as the others will be drawn.
std::size_t pictureBytes(const RenderOptions& options, const ViewSettings& view,
                         const EffectData& sample) {
    const QByteArray& format = options.allFormat;
    HeadlessScene scene(view);
    std::string failure;
    drawEffect(scene, sample, options, failure);
    if (format == "SVG")
        return static_cast<std::size_t>(svgPicture(scene.surface()).size());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    scene.image().save(&buffer, format.constData());
    return static_cast<std::size_t>(buffer.size());
}

int renderChosen(const RenderOptions& options, const ViewSettings& view, const Console& console) {
    if (refuseStandardInput(options, "render --all", console))
        return ExitUsage;
    ChosenEffects chosen(options.choice);
    ListedNumbers numbers(options.choice);
    EffectNumbers effects;
    EffectData sample; // the first effect with trucks, to tell the pictures' size by
    const std::optional<StreamOutcome> firstRead = streamCommandFile(
        options, console,
        [&](const ParsedEvent& parsed) {
            chosen.add(parsed);
            numbers.add(parsed);
            effects.add(parsed);
            for (const EffectData& effect : parsed.event.Effects)
                if (sample.NoTrucks == 0 && effect.NoTrucks > 0)
                    sample = effect;
        },
        ParserOptions::Trucks::Fields);
    if (!firstRead)
        return ExitUsage;
    noteStop(*firstRead, options, console);
    if (reportNoEvent(*firstRead, options, console))
        return ExitStopped;
    if (reportUnknownEffect(options.choice.rows.effectNo, effects, console))
        return ExitUsage;
    chosen.finish();
    if (options.choice.byNumber)
        if (const std::string problem = numbers.problem("--events"); !problem.empty())
            return console.fail(problem);
    if (options.choice.listed && !options.choice.byNumber &&
        options.choice.listed->last() > firstRead->events)
        return console.fail("--positions asks for event " +
                            std::to_string(options.choice.listed->last()) +
                            ", but the event list holds " + std::to_string(firstRead->events));
    const QByteArray& format = options.allFormat;
    if (chosen.count() > MostPicturesUnasked && !options.yes)
        return console.fail(
            "--all would write " + std::to_string(chosen.count()) + " pictures, about " +
            roughSize(static_cast<double>(chosen.count()) *
                      static_cast<double>(pictureBytes(options, view, sample))) +
            "; choose fewer with --events, --positions, --top or --bottom, or add --yes");
    const QDir folder(QFile::decodeName(options.allFolder.c_str()));
    if (!folder.mkpath("."))
        return console.fail("cannot make the folder " + options.allFolder);

    int status = ExitOk;
    std::uint64_t done = 0;
    const std::optional<StreamOutcome> secondRead = streamCommandFile(
        options, console,
        [&](const ParsedEvent& parsed) {
            for (long i = 1; i <= parsed.event.EffectCount && status != ExitUsage; ++i) {
                if (!chosen.contains(parsed, i))
                    continue;
                QString name = pictureFileName(view.Span, static_cast<long>(parsed.position),
                                               QString::number(i));
                if (format != "BMP")
                    name = name.chopped(3) + QString::fromLatin1(format).toLower();
                std::string failure;
                HeadlessScene scene(view);
                drawEffect(scene, parsed.event.Effects.at(i), options, failure);
                if (!failure.empty()) {
                    reportNotShown(parsed, i, failure, console);
                    status = ExitStopped;
                }
                if (!writePicture(scene, folder.filePath(name), format, console))
                    status = ExitUsage;
                else
                    console.progress("writing pictures: " + std::to_string(++done) + " of " +
                                     std::to_string(chosen.count()));
            }
        },
        ParserOptions::Trucks::Fields);
    console.endProgress(true);
    return secondRead ? status : ExitUsage;
}

int runRender(const RenderOptions& options, const Console& console) {
    const std::optional<float> span = spanForCommand(options, console);
    if (!span)
        return ExitUsage;
    ViewSettings view = options.view;
    view.Span = *span;
    if (!options.allFolder.empty())
        return renderChosen(options, view, console);
    return renderOne(options, view, console);
}

} // namespace

int runRenderCommand(const Arguments& arguments, const Console& console) {
    RenderOptions options;
    const ParsedArguments parsed = parseRenderArguments(arguments, options);
    return runParsed(parsed, console, [&] { return runRender(options, console); });
}

} // namespace kestavian::cli
