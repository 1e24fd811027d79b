#include "cli/check_command.h"

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "data/mod_input.h"

namespace kestavian::cli {

namespace {

int runCheck(const CommonOptions& options, const Console& console) {
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

} // namespace

int runCheckCommand(const Arguments& arguments, const Console& console) {
    CommonOptions options;
    CommandLine line({EffectsOption}, "check FILE [--effects N]",
                     "Reads an event file as the viewer does and counts its events, effects and "
                     "trucks. Exit status 1 when the file is taken only up to a bad line.");
    return runParsed(readFileAndEffects(line, arguments, options), console,
                     [&] { return runCheck(options, console); });
}

} // namespace kestavian::cli
