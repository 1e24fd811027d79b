#include "cli/render_command.h"

#include <QDir>
#include <QFile>
#include <set>
#include <utility>

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "cli/view_options.h"
#include "drawing/headless_scene.h"
#include "drawing/picture_file.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {

struct RenderOptions : CommonOptions {
    bool critPos = false;
    std::int16_t scrubberValue = 0;
    std::uint64_t event = 0; // list position, from 1
    long effect = 0;         // effect number, from 1
    std::string out;         // a single picture, or
    std::string allFolder;   // the chosen events and effects under the window's save names
    EventChoice choice;
    std::string allFormat = "BMP";
};

const Option EventOption{"event", "I", "The event's position in the event list, from 1."};
const Option RenderEffectOption{"effect", "N",
                                "The load-effect number, from 1: with --out the effect drawn, "
                                "with --top or --bottom the only effects ranked."};
const Option AtOption{"at", "V",
                      "Scrubber value in hundredths of a second (default 0); a value past the "
                      "effect's range stops at its end, as the scrubber does."};
const Option CriticalOption{"critical", nullptr,
                            "Draw at the effect's own time (\"Approx Critical Position\")."};
const Option OutOption{"out", "PATH", "The picture file to write (.bmp or .png)."};
const Option AllOption{"all", "DIR",
                       "Write every event and effect (or those chosen by --events, --top or "
                       "--bottom) into DIR as Span_S_Ev_I_Ef_N.bmp, the viewer's save names."};
const Option PictureFormatOption{"format", "bmp|png",
                                 "The pictures' format with --all: bmp (default, the viewer's) "
                                 "or png."};

// The image format a picture path asks for by its extension ("BMP", "PNG"); empty for others.
std::string pictureFormat(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    const std::string suffix = lowerCase(path.substr(dot + 1));
    if (suffix == "bmp")
        return "BMP";
    if (suffix == "png")
        return "PNG";
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
        if (line.isSet(OutOption) || line.isSet(EventOption))
            return failure("--all writes the chosen events and effects; it takes no --out or "
                           "--event");
        options.allFolder = line.value(AllOption);
        if (options.allFolder.empty())
            return failure("--all needs a folder");
        if (line.isSet(PictureFormatOption)) {
            options.allFormat = pictureFormat("." + line.value(PictureFormatOption));
            if (options.allFormat.empty())
                return line.mustBe(PictureFormatOption, "bmp or png");
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
        return failure("--out must name a .bmp or .png file, not " + inQuotes(options.out));
    if (!line.isSet(EventOption) || !line.isSet(RenderEffectOption))
        return failure("--event and --effect are needed with --out");
    return firstFailure(
        {line.readWhole(EventOption, 1, NoUpperLimit, "a list position from 1", options.event),
         readEffectNumber(line, RenderEffectOption, options.effect)});
}

// The picture after the window's steps: show the effect, then move the scrubber. failure gets the
// error that stopped the window, if any.
QImage drawEffect(const EffectData& effect, const RenderOptions& options, const ViewSettings& view,
                  std::string& failure) {
    HeadlessScene scene(view);
    try {
        scene.show(effect, options.critPos, [](const std::string&) {});
        scene.moveScrubber(effect, options.critPos, options.scrubberValue);
    } catch (const RuntimeError& error) {
        // An effect without trucks has nothing to time: the span and caption are all of it.
        if (effect.NoTrucks > 0)
            failure = error.what();
    }
    return scene.image();
}

bool writePicture(const QImage& image, const QString& path, const QByteArray& format,
                  const Console& console) {
    const QString reason = SavePicture(image, path, format);
    if (reason.isEmpty())
        return true;
    console.error("cannot write " + path.toStdString() + ": " + reason.toStdString());
    return false;
}

void reportNotShown(std::uint64_t position, long effectNo, const std::string& failure,
                    const Console& console) {
    console.error("event " + std::to_string(position) + ", effect " + std::to_string(effectNo) +
                  " cannot be shown (the picture holds the span and caption): " + failure);
}

int renderOne(const RenderOptions& options, const ViewSettings& view, const Console& console) {
    std::optional<EventData> event;
    const std::optional<StreamOutcome> read =
        streamCommandFile(options, console, [&](ParsedEvent& parsed) {
            if (parsed.position == options.event)
                event = std::move(parsed.event);
        });
    if (!read)
        return ExitUsage;
    noteStop(*read, console);
    if (!event)
        return console.fail("--event " + std::to_string(options.event) +
                            " is past the event list, which holds " + std::to_string(read->events));
    if (options.effect > view.NoEffects)
        return console.fail("--effect " + std::to_string(options.effect) +
                            " is past the effect list, which runs to " +
                            std::to_string(view.NoEffects));
    if (options.effect > event->EffectCount)
        return console.fail("event " + std::to_string(options.event) + " holds " +
                            std::to_string(event->EffectCount) + " effects; there is no effect " +
                            std::to_string(options.effect));
    std::string failure;
    const QImage image = drawEffect(event->Effects.at(options.effect), options, view, failure);
    if (!writePicture(image, QFile::decodeName(options.out.c_str()),
                      QByteArray::fromStdString(pictureFormat(options.out)), console))
        return ExitUsage;
    if (failure.empty())
        return ExitOk;
    reportNotShown(options.event, options.effect, failure, console);
    return ExitStopped;
}

// The effects --all draws, as (event position, effect's place in the event) pairs, found by a
// first reading of the file: those of the ranked rows, of the listed events, or all.
class ChosenEffects {
public:
    explicit ChosenEffects(const EventChoice& choice)
        : choice_(choice), ranking_(choice.rows.newRanking()) {}

    void add(const ParsedEvent& parsed) {
        if (ranking_)
            choice_.rows.forEachKept(parsed, [&](const EffectRow& row) { ranking_->add(row); });
        else if (contains(parsed.position, 1)) // then every effect of the event is taken
            count_ += static_cast<std::uint64_t>(parsed.event.EffectCount);
    }
    void finish() {
        if (ranking_)
            for (const EffectRow& row : ranking_->take())
                ranked_.emplace(row.position, row.index);
    }

    bool contains(std::uint64_t position, long index) const {
        if (choice_.rows.ranking)
            return ranked_.count({position, index}) > 0;
        return !choice_.listed || choice_.listed->contains(position);
    }
    std::uint64_t count() const { return choice_.rows.ranking ? ranked_.size() : count_; }

private:
    const EventChoice& choice_;
    std::optional<RowRanking> ranking_;
    std::set<std::pair<std::uint64_t, long>> ranked_;
    std::uint64_t count_ = 0;
};

int renderChosen(const RenderOptions& options, const ViewSettings& view, const Console& console) {
    ChosenEffects chosen(options.choice);
    const std::optional<StreamOutcome> firstRead =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) { chosen.add(parsed); });
    if (!firstRead)
        return ExitUsage;
    noteStop(*firstRead, console);
    chosen.finish();
    if (options.choice.listed && options.choice.listed->last() > firstRead->events)
        return console.fail("--events asks for event " +
                            std::to_string(options.choice.listed->last()) +
                            ", but the event list holds " + std::to_string(firstRead->events));
    const QDir folder(QFile::decodeName(options.allFolder.c_str()));
    if (!folder.mkpath("."))
        return console.fail("cannot make the folder " + options.allFolder);
    const QByteArray format = QByteArray::fromStdString(options.allFormat);
    const bool png = options.allFormat == "PNG";

    int status = ExitOk;
    std::uint64_t done = 0;
    const std::optional<StreamOutcome> secondRead =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) {
            for (long i = 1; i <= parsed.event.EffectCount && status != ExitUsage; ++i) {
                if (!chosen.contains(parsed.position, i))
                    continue;
                QString name = pictureFileName(view.Span, static_cast<long>(parsed.position),
                                               QString::number(i));
                if (png)
                    name = name.chopped(3) + "png";
                std::string failure;
                const QImage image = drawEffect(parsed.event.Effects.at(i), options, view, failure);
                if (!failure.empty()) {
                    reportNotShown(parsed.position, i, failure, console);
                    status = ExitStopped;
                }
                if (!writePicture(image, folder.filePath(name), format, console))
                    status = ExitUsage;
                else
                    console.progress("writing pictures: " + std::to_string(++done) + " of " +
                                     std::to_string(chosen.count()));
            }
        });
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
