#pragma once

#include "cli/cli_options.h"
#include "cli/event_file.h"

namespace kestavian::cli {

// Copies the chosen events, each once and in file order, byte for byte into a new event file the
// viewer can open. Returns the exit status.
int runExtract(const ExtractOptions& options, const Console& console);

} // namespace kestavian::cli
