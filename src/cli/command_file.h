#pragma once

#include <optional>

#include "cli/console.h"
#include "cli/shared_options.h"
#include "data/event_file_reader.h"

namespace kestavian::cli {

// Streams the command's event file through the parser, handing over each event as it is finished
// (no limit on the file's size: memory holds one chunk and one event). On a terminal, a file of
// over 50 MB shows how far the reading has got. A file that cannot be read is reported on the
// console: nothing then.
std::optional<StreamOutcome> streamCommandFile(const CommonOptions& options, const Console& console,
                                               const EventParser::EventSink& onEvent);

// A note saying that only the events before the bad line were taken, when the reading stopped on
// one.
void noteStop(const StreamOutcome& outcome, const Console& console);

} // namespace kestavian::cli
