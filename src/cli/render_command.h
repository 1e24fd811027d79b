#pragma once

#include <ostream>

#include "cli/cli_options.h"

namespace kestavian::cli {

// Writes the picture the viewer holds after showing the chosen effect with the scrubber at the
// chosen value, or with every event and effect under the viewer's save names. An effect the
// viewer cannot show gets the picture the viewer is left with (span and caption) and an error on
// err. progress: show a progress line on err while writing every picture. Returns the exit status.
int runRender(const RenderOptions& options, std::ostream& err, bool progress);

} // namespace kestavian::cli
