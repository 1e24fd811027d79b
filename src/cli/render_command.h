#pragma once

#include "cli/cli_options.h"
#include "cli/event_file.h"

namespace kestavian::cli {

// Writes the picture the viewer holds after showing the chosen effect with the scrubber at the
// chosen value, or those of every event and effect (or a chosen set) under the viewer's save
// names. An effect the viewer cannot show gets the picture the viewer is left with (span and
// caption) and an error on err. On a terminal, writing a set shows a progress line. Returns the
// exit status.
int runRender(const RenderOptions& options, const Console& console);

} // namespace kestavian::cli
