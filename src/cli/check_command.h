#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

namespace kestavian::cli {

// check FILE: the counts of events, effects and trucks the viewer takes from the file and, when
// the parse stopped on a bad line, where and why. Returns the exit status.
int runCheckCommand(const Arguments& arguments, const Console& console);

} // namespace kestavian::cli
