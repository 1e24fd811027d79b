#include "cli/event_file.h"

#include <algorithm>

#include "data/mod_input.h"
#include "platform/local_numbers.h"

namespace kestavian::cli {

namespace {

// Below this a read is over before anyone would look at a progress line.
constexpr std::uint64_t ProgressFromBytes = 50'000'000;

} // namespace

std::optional<StreamOutcome> streamCommandFile(const CommonOptions& options, const Console& console,
                                             const EventParser::EventSink& onEvent) {
    ReadProgress progress;
    int shown = -1; // the percentage on the progress line; none yet
    if (console.errIsTerminal)
        progress = [&](std::uint64_t bytesRead, std::uint64_t totalBytes) {
            if (totalBytes <= ProgressFromBytes)
                return;
            // A file that grows while it is read ends past its first size.
            const int percent =
                static_cast<int>(std::min<std::uint64_t>(100, bytesRead / (totalBytes / 100)));
            if (percent == shown)
                return;
            shown = percent;
            console.err << "\rreading " << bareFileName(options.file) << ": " << percent << "%"
                        << std::flush;
        };
    StreamOutcome outcome =
        streamEventFile(options.file, options.view.NoEffects, onEvent, progress);
    if (shown >= 0)
        console.err << "\r\033[K" << std::flush;
    if (!outcome.failure)
        return outcome;
    console.err << "kestavian-cli: cannot read " << options.file << ": " << outcome.failure->text
                << '\n';
    return std::nullopt;
}

void noteStop(const StreamOutcome& outcome, std::ostream& err) {
    if (outcome.stop)
        err << "kestavian-cli: note: only the events before the bad line are taken; "
            << describeStop(*outcome.stop) << '\n';
}

std::optional<float> spanForCommand(const CommonOptions& options, std::ostream& err) {
    if (options.span)
        return options.span;
    if (const auto fromName = usableSpan(spanTextFromFileName(bareFileName(options.file))))
        return fromName;
    err << "kestavian-cli: the file name holds no span between its first two \"_\"; give --span S"
        << '\n';
    return std::nullopt;
}

} // namespace kestavian::cli
