#include "cli/command_file.h"

#include <algorithm>

#include "data/mod_input.h"

namespace kestavian::cli {

namespace {

// Below this a read is over before anyone would look at a progress line.
constexpr std::uint64_t ProgressFromBytes = 50'000'000;

} // namespace

std::optional<StreamOutcome> streamCommandFile(const CommonOptions& options, const Console& console,
                                               const EventParser::EventSink& onEvent) {
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
        streamEventFile(options.file, options.view.NoEffects, onEvent, progress);
    console.endProgress();
    if (!outcome.failure)
        return outcome;
    console.error("cannot read " + options.file + ": " + outcome.failure->text);
    return std::nullopt;
}

void noteStop(const StreamOutcome& outcome, const Console& console) {
    if (outcome.stop)
        console.note("only the events before the bad line are taken; " +
                     describeStop(*outcome.stop));
}

} // namespace kestavian::cli
