#include "cli/command_file.h"

#include <algorithm>

#include "data/mod_input.h"

namespace kestavian::cli {

namespace {

// Below this a read is over before anyone would look at a progress line.
constexpr std::uint64_t ProgressFromBytes = 50'000'000;

} // namespace

std::optional<StreamOutcome> streamCommandFile(const CommonOptions& options, const Console& console,
                                               const EventParser::EventSink& onEvent,
                                               ParserOptions::Trucks trucks) {
    int shown = -1; // the percentage on the progress line; none yet
    const ReadProgress progress = [&](std::uint64_t bytesRead, std::uint64_t totalBytes) {
        if (totalBytes <= ProgressFromBytes)
            return;
        // A file that grows while it is read ends past its first size.
        const int percent =
            static_cast<int>(std::min<std::uint64_t>(100, bytesRead / (totalBytes / 100)));
        if (percent == shown)
            return;
        shown = percent;
        console.progress("reading " + bareFileName(options.file) + ": " + std::to_string(percent) +
                         "%");
    };
    StreamOutcome outcome =
        streamEventFile(options.file, options.view.NoEffects, onEvent, progress, trucks);
    console.endProgress();
    if (!outcome.failure)
        return outcome;
    console.error("cannot read " + options.file + ": " + outcome.failure->text);
    return std::nullopt;
}

std::string stopLine(const ParseStop& stop, const CommonOptions& options) {
    std::string line = describeStop(stop);
    if (const auto other = effectCountReadingOn(options.file, options.view.NoEffects, stop.item))
        line += "; with --effects " + std::to_string(*other) +
                " the file reads on past this line: is --effects " +
                std::to_string(options.view.NoEffects) + " right?";
    return line;
}

void noteStop(const StreamOutcome& outcome, const CommonOptions& options, const Console& console) {
    if (outcome.stop)
        console.note("only the events before the bad line are taken; " +
                     stopLine(*outcome.stop, options));
}

bool reportNoEvent(const StreamOutcome& outcome, const CommonOptions& options,
                   const Console& console) {
    if (outcome.events > 0)
        return false;
    console.error(bareFileName(options.file) + " holds no event");
    return true;
}

bool reportUnknownEffect(const std::optional<std::int16_t>& effectNo, const EffectNumbers& seen,
                         const Console& console) {
    if (!effectNo || seen.has(*effectNo))
        return false;
    console.error("--effect " + std::to_string(*effectNo) +
                  ": no load effect of the file is "
                  "numbered " +
                  std::to_string(*effectNo) + " (its effects are " + seen.describe() + ")");
    return true;
}

bool refuseStandardInput(const CommonOptions& options, const char* command,
                         const Console& console) {
    if (!namesStandardInput(options.file))
        return false;
    console.error(std::string(command) +
                  " reads its file twice, so it cannot read standard input; save it to a file "
                  "first");
    return true;
}

} // namespace kestavian::cli
