#include "cli/check_command.h"

#include "cli/event_file.h"

namespace kestavian::cli {

int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    EventFile file;
    if (!loadForCommand(file, options.file, options.view.NoEffects, false, err))
        return ExitUsage;

    long effects = 0;
    long trucks = 0;
    for (const EventData& event : file.store().Events) {
        effects += event.EffectCount;
        for (const EffectData& effect : event.Effects)
            trucks += effect.NoTrucks;
    }
    out << "events: " << file.store().NoEvents << '\n'
        << "effects: " << effects << '\n'
        << "trucks: " << trucks << '\n';
    if (!file.stop())
        return ExitOk;
    out << DescribeStop(*file.stop()) << '\n';
    return ExitStopped;
}

} // namespace kestavian::cli
