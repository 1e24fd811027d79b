#pragma once

#include <string>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/stats_report.h"

namespace kestavian::cli {

// Writes the probability plots of the report to path (PNG or SVG by its ending; with several
// effects, each effect's number goes before the ending). Returns why it could not, or nothing.
using PlotWriter = std::string (*)(const StatsReport& report, const std::string& path);

// stats FILE...: the extreme-value statistics of the files' load effects, by block. Plots need a
// plot writer (the part of the tool that draws); without one, --plot is refused.
int runStatsCommand(const Arguments& arguments, const Console& console,
                    PlotWriter writePlots = nullptr);

// Whether the arguments ask for a plot, which only the drawing half of the tool can make.
bool asksForPlot(const Arguments& arguments);

} // namespace kestavian::cli
