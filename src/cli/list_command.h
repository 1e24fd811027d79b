#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

namespace kestavian::cli {

// list FILE: one row per stored load effect, in file order or the best few first, as text for
// people, CSV or JSON Lines. Returns the exit status.
int runListCommand(const Arguments& arguments, const Console& console);

} // namespace kestavian::cli
