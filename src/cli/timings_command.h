#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

namespace kestavian::cli {

// timings FILE: for every event and effect, the lines the viewer's diagnostics box gets when it
// shows the effect, and "error:" where the viewer stops. Returns the exit status.
int runTimingsCommand(const Arguments& arguments, const Console& console);

} // namespace kestavian::cli
