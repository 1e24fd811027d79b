#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

namespace kestavian::cli {

// extract FILE: copies the chosen events, each once and in file order, byte for byte into a new
// event file the viewer can open. Returns the exit status.
int runExtractCommand(const Arguments& arguments, const Console& console);

} // namespace kestavian::cli
