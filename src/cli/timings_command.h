#pragma once

#include "cli/cli_options.h"
#include "cli/event_file.h"

namespace kestavian::cli {

// For every event in file order and each of its effects: a header line, the lines the viewer
// appends to its diagnostics box when showing the effect, and "error: ..." where it would stop.
// An error line is part of the listing, not a failure of the command. Returns the exit status.
int runTimings(const TimingsOptions& options, const Console& console);

} // namespace kestavian::cli
