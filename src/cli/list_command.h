#pragma once

#include "cli/cli_options.h"
#include "cli/event_file.h"

namespace kestavian::cli {

// One row per stored load effect, in file order or the best few first, as text for people, CSV
// or JSON Lines. Returns the exit status.
int runList(const ListOptions& options, const Console& console);

} // namespace kestavian::cli
