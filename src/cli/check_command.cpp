#include "cli/check_command.h"

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "data/byte_source.h"
#include "data/mod_input.h"
#include "data/viewer_file.h"

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
    if (read->stop)
        console.out << stopLine(*read->stop, options) << '\n';
    if (read->events == 0)
        console.out << bareFileName(options.file) << " holds no event\n";
    else if (read->items > ViewerReadLimits.maxItems || read->bytes > ViewerReadLimits.maxBytes)
        console.note("the viewer opens files of up to " +
                     std::to_string(ViewerReadLimits.maxItems) + " lines and " +
                     std::to_string(ViewerReadLimits.maxBytes) + " bytes, and this one has " +
                     std::to_string(read->items) + " lines and " + std::to_string(read->bytes) +
                     " bytes; " +
                     (namesStandardInput(options.file) ? "save it to a file, then " : "") +
                     "cut a file it opens with " + viewerSizedExtract(options.file));
    return read->stop || read->events == 0 ? ExitStopped : ExitOk;
}

} // namespace

int runCheckCommand(const Arguments& arguments, const Console& console) {
    CommonOptions options;
    CommandLine line({EffectsOption}, "check FILE [--effects N]",
                     "Reads an event file as the viewer does and counts its events, effects and "
                     "trucks; FILE may be gzip-compressed, or - for standard input. Exit status 1 "
                     "when the file is taken only up to a bad line, or holds no event. A file over "
                     "the viewer's limits gets a note with the extract that cuts one it opens.");
    return runParsed(readFileAndEffects(line, arguments, options), console,
                     [&] { return runCheck(options, console); });
}

} // namespace kestavian::cli
