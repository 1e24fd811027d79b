#include "cli/timings_command.h"

#include "cli/event_file.h"
#include "drawing/headless_scene.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

int runTimings(const TimingsOptions& options, std::ostream& out, std::ostream& err) {
    EventFile file;
    const std::optional<ViewSettings> view = loadWithSpan(file, options, err);
    if (!view)
        return ExitUsage;

    // The lines depend on the drawing only where it stops, and then not on the drive side or the
    // flip; the window's start-up settings stand for them.
    HeadlessScene scene(*view);
    long position = 0;
    for (const EventData& event : file.store().Events) {
        ++position;
        long effectNo = 0;
        for (const EffectData& effect : event.Effects) {
            ++effectNo;
            out << "Event " << generalForm(event.EventNo) << " (position " << position
                << "), effect " << effectNo << '\n';
            try {
                scene.show(effect, false, [&](const std::string& line) { out << line << '\n'; });
            } catch (const RuntimeError& error) {
                out << "error: " << error.what() << '\n';
            }
        }
    }
    return ExitOk;
}

} // namespace kestavian::cli
