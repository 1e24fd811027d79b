#pragma once

#include <optional>

#include "cli/console.h"
#include "cli/event_choice.h"
#include "cli/shared_options.h"
#include "data/event_file_reader.h"

namespace kestavian::cli {

// Streams the command's event file through the parser, handing over each event as it is finished
// (no limit on the file's size: memory holds one chunk and one event). On a terminal, a file of
// over 50 MB shows how far the reading has got. A file that cannot be read is reported on the
// console: nothing then. Only the commands that time or draw trucks need them whole; the others
// get their count.
std::optional<StreamOutcome>
streamCommandFile(const CommonOptions& options, const Console& console,
                  const EventParser::EventSink& onEvent,
                  ParserOptions::Trucks trucks = ParserOptions::Trucks::Counted);

// Where the reading stopped and why, with the likely cause when another --effects reads on.
std::string stopLine(const ParseStop& stop, const CommonOptions& options);

// A note saying that only the events before the bad line were taken, when the reading stopped on
// one.
void noteStop(const StreamOutcome& outcome, const CommonOptions& options, const Console& console);

// An error line when the file held no event; whether it did.
bool reportNoEvent(const StreamOutcome& outcome, const CommonOptions& options,
                   const Console& console);

// An --effect that names no effect of the file is a usage error: its error line, and whether it
// was.
bool reportUnknownEffect(const std::optional<std::int16_t>& effectNo, const EffectNumbers& seen,
                         const Console& console);

// A command that reads its file twice cannot take it from standard input: an error line saying so,
// and whether it was.
bool refuseStandardInput(const CommonOptions& options, const char* command, const Console& console);

} // namespace kestavian::cli
