#pragma once

#include <ostream>

#include "cli/cli_options.h"

namespace kestavian::cli {

// Prints the counts of events, effects and trucks the viewer takes from the file and, when the
// parse stopped on a bad line, where and why. Returns the exit status.
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);

} // namespace kestavian::cli
