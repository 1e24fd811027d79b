#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "data/event_file_reader.h"

namespace kestavian::cli {

// Where a command writes: its output, its errors and notes, and whether the errors go to a
// terminal (where a long read shows its progress).
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
};

// Streams the command's event file through the parser, handing over each event as it is finished
// (no limit on the file's size: memory holds one chunk and one event). On a terminal, a file of
// over 50 MB shows how far the reading has got. A file that cannot be read is reported on the
// console: nothing then.
std::optional<StreamOutcome> streamCommandFile(const CommonOptions& options, const Console& console,
                                             const EventParser::EventSink& onEvent);

// A line on err saying that only the events before the bad line were taken, when the reading
// stopped on one.
void noteStop(const StreamOutcome& outcome, std::ostream& err);

// The span a command draws with: the given one, else the file name's. Reported on err when
// neither gives one.
std::optional<float> spanForCommand(const CommonOptions& options, std::ostream& err);

} // namespace kestavian::cli
