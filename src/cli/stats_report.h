#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "stats/block_maxima.h"
#include "stats/block_sample.h"
#include "stats/effect_statistics.h"

namespace kestavian::cli {

// What stats found for one effect.
struct EffectStats {
    std::int16_t effectNo = 0;
    stats::EffectStatistics statistics;
};

struct StatsReport {
    std::vector<std::string> files;
    stats::BlockSize block = stats::BlockSize::Day;
    stats::Model compositeModel = stats::Model::Gev;
    std::vector<double> years;
    std::vector<EffectStats> effects;
};

// The report for people: per effect and group the blocks, the largest maximum and its event, both
// fits with standard errors, the test's verdict and the return levels with both intervals.
void writeStatsText(const StatsReport& report, std::ostream& out);
// JSON Lines, one object per effect and group (and composite).
void writeStatsJson(const StatsReport& report, std::ostream& out);
// CSV, one row per effect, group and return period, with a header.
void writeStatsCsv(const StatsReport& report, std::ostream& out);
// The block maxima: effect,type,block,value,position,event,time,trucks (file first for several
// files), one row per non-empty block.
void writeMaximaCsv(const StatsReport& report, std::ostream& out);

} // namespace kestavian::cli
