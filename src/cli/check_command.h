#pragma once

#include "cli/cli_options.h"
#include "cli/event_file.h"

namespace kestavian::cli {

// Prints the counts of events, effects and trucks the viewer takes from the file and, when the
// parse stopped on a bad line, where and why. Returns the exit status.
int runCheck(const CheckOptions& options, const Console& console);

} // namespace kestavian::cli
