#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

namespace kestavian::cli {

// render FILE: writes the picture the viewer holds after showing the chosen effect with the
// scrubber at the chosen value, or those of every event and effect (or a chosen set) under the
// viewer's save names. An effect the viewer cannot show gets the picture the viewer is left with
// (span and caption) and an error line. On a terminal, writing a set shows a progress line.
// Returns the exit status.
int runRenderCommand(const Arguments& arguments, const Console& console);

} // namespace kestavian::cli
