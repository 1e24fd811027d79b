#include "cli/render_command.h"

#include <QDir>
#include <QFile>
#include <set>
#include <utility>

#include "drawing/headless_scene.h"
#include "drawing/picture_file.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {

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
                  std::ostream& err, const char* lineStart = "") {
    const QString reason = SavePicture(image, path, format);
    if (reason.isEmpty())
        return true;
    err << lineStart << "kestavian-cli: cannot write " << path.toStdString() << ": "
        << reason.toStdString() << '\n';
    return false;
}

void reportNotShown(std::uint64_t position, long effectNo, const std::string& failure,
                    std::ostream& err) {
    err << "kestavian-cli: event " << position << ", effect " << effectNo
        << " cannot be shown (the picture holds the span and caption): " << failure << '\n';
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
    noteStop(*read, console.err);
    std::ostream& err = console.err;
    if (!event) {
        err << "kestavian-cli: --event " << options.event << " is past the event list, which holds "
            << read->events << '\n';
        return ExitUsage;
    }
    if (options.effect > view.NoEffects) {
        err << "kestavian-cli: --effect " << options.effect
            << " is past the effect list, which runs to " << view.NoEffects << '\n';
        return ExitUsage;
    }
    if (options.effect > event->EffectCount) {
        err << "kestavian-cli: event " << options.event << " holds " << event->EffectCount
            << " effects; there is no effect " << options.effect << '\n';
        return ExitUsage;
    }
    std::string failure;
    const QImage image = drawEffect(event->Effects.at(options.effect), options, view, failure);
    if (!writePicture(image, QFile::decodeName(options.out.c_str()),
                      QByteArray::fromStdString(pictureFormat(options.out)), err))
        return ExitUsage;
    if (failure.empty())
        return ExitOk;
    reportNotShown(options.event, options.effect, failure, err);
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
    std::ostream& err = console.err;
    ChosenEffects chosen(options.choice);
    const std::optional<StreamOutcome> firstRead =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) { chosen.add(parsed); });
    if (!firstRead)
        return ExitUsage;
    noteStop(*firstRead, err);
    chosen.finish();
    if (options.choice.listed && options.choice.listed->last() > firstRead->events) {
        err << "kestavian-cli: --events asks for event " << options.choice.listed->last()
            << ", but the event list holds " << firstRead->events << '\n';
        return ExitUsage;
    }
    const QDir folder(QFile::decodeName(options.allFolder.c_str()));
    if (!folder.mkpath(".")) {
        err << "kestavian-cli: cannot make the folder " << options.allFolder << '\n';
        return ExitUsage;
    }
    const QByteArray format = QByteArray::fromStdString(options.allFormat);
    const bool png = options.allFormat == "PNG";

    // On a terminal the progress line is rewritten in place; other lines clear it first.
    const bool progress = console.errIsTerminal;
    const char* const lineStart = progress ? "\r\033[K" : "";
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
                    err << lineStart;
                    reportNotShown(parsed.position, i, failure, err);
                    status = ExitStopped;
                }
                if (!writePicture(image, folder.filePath(name), format, err, lineStart))
                    status = ExitUsage;
                else if (progress)
                    err << lineStart << "writing pictures: " << ++done << " of " << chosen.count()
                        << std::flush;
            }
        });
    if (progress && done > 0)
        err << '\n';
    return secondRead ? status : ExitUsage;
}

} // namespace

int runRender(const RenderOptions& options, const Console& console) {
    const std::optional<float> span = spanForCommand(options, console.err);
    if (!span)
        return ExitUsage;
    ViewSettings view = options.view;
    view.Span = *span;
    if (!options.allFolder.empty())
        return renderChosen(options, view, console);
    return renderOne(options, view, console);
}

} // namespace kestavian::cli
