#pragma once

#include <string>

#include "cli/stats_report.h"

namespace kestavian::cli {

// The probability plot of each effect's load events, as PNG or SVG by the path's ending; with
// several effects, each effect's number goes before the ending ("plot_1.png"). Returns why a plot
// could not be written, or nothing.
std::string writeStatsPlots(const StatsReport& report, const std::string& path);

} // namespace kestavian::cli
