#include "cli/render_command.h"

#include <QDir>

#include "cli/event_file.h"
#include "drawing/headless_scene.h"
#include "drawing/picture_file.h"
#include "platform/numbers.h"
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

void reportNotShown(long position, long effectNo, const std::string& failure, std::ostream& err) {
    err << "kestavian-cli: event " << position << ", effect " << effectNo
        << " cannot be shown (the picture holds the span and caption): " << failure << '\n';
}

int renderOne(const EventStore& store, const RenderOptions& options, const ViewSettings& view,
              std::ostream& err) {
    if (options.event > store.NoEvents) {
        err << "kestavian-cli: --event " << options.event << " is past the event list, which holds "
            << store.NoEvents << '\n';
        return ExitUsage;
    }
    if (options.effect > view.NoEffects) {
        err << "kestavian-cli: --effect " << options.effect
            << " is past the effect list, which runs to " << view.NoEffects << '\n';
        return ExitUsage;
    }
    const EventData& event = store.Events.at(options.event);
    if (options.effect > event.EffectCount) {
        err << "kestavian-cli: event " << options.event << " holds " << event.EffectCount
            << " effects; there is no effect " << options.effect << '\n';
        return ExitUsage;
    }
    std::string failure;
    const QImage image = drawEffect(event.Effects.at(options.effect), options, view, failure);
    if (!writePicture(image, options.out, pictureFormat(options.out), err))
        return ExitUsage;
    if (failure.empty())
        return ExitOk;
    reportNotShown(options.event, options.effect, failure, err);
    return ExitStopped;
}

int renderAll(const EventStore& store, const RenderOptions& options, const ViewSettings& view,
              std::ostream& err, bool progress) {
    if (!QDir().mkpath(options.allFolder)) {
        err << "kestavian-cli: cannot make the folder " << options.allFolder.toStdString() << '\n';
        return ExitUsage;
    }
    const QDir folder(options.allFolder);
    long total = 0;
    for (const EventData& event : store.Events)
        total += event.EffectCount;

    // On a terminal the progress line is rewritten in place; other lines clear it first.
    const char* const lineStart = progress ? "\r\033[K" : "";
    int status = ExitOk;
    long done = 0;
    long position = 0;
    for (const EventData& event : store.Events) {
        ++position;
        long effectNo = 0;
        for (const EffectData& effect : event.Effects) {
            ++effectNo;
            const QString name = PictureFileName(view.Span, position, QString::number(effectNo));
            std::string failure;
            const QImage image = drawEffect(effect, options, view, failure);
            if (!failure.empty()) {
                err << lineStart;
                reportNotShown(position, effectNo, failure, err);
                status = ExitStopped;
            }
            if (!writePicture(image, folder.filePath(name), "BMP", err, lineStart))
                return ExitUsage;
            if (progress)
                err << lineStart << "writing pictures: " << ++done << " of " << total << std::flush;
        }
    }
    if (progress && total > 0)
        err << '\n';
    return status;
}

} // namespace

int runRender(const RenderOptions& options, std::ostream& err, bool progress) {
    EventFile file;
    const std::optional<ViewSettings> view = loadWithSpan(file, options, err);
    if (!view)
        return ExitUsage;
    if (!options.allFolder.isEmpty())
        return renderAll(file.store(), options, *view, err, progress);
    return renderOne(file.store(), options, *view, err);
}

} // namespace kestavian::cli
