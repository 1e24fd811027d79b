#include "cli/check_command.h"

#include "data/mod_input.h"

namespace kestavian::cli {

int runCheck(const CheckOptions& options, const Console& console) {
    std::uint64_t effects = 0;
    std::uint64_t trucks = 0;
    const std::optional<StreamOutcome> read =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) {
            effects += static_cast<std::uint64_t>(parsed.event.EffectCount);
            for (const EffectData& effect : parsed.event.Effects)
                trucks += static_cast<std::uint64_t>(effect.NoTrucks);
        });
    if (!read)
        return ExitUsage;
    console.out << "events: " << read->events << '\n'
                << "effects: " << effects << '\n'
                << "trucks: " << trucks << '\n';
    if (!read->stop)
        return ExitOk;
    console.out << describeStop(*read->stop) << '\n';
    return ExitStopped;
}

} // namespace kestavian::cli
