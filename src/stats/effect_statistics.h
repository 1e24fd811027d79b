#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stats/block_sample.h"
#include "stats/effect_analysis.h"

namespace kestavian::stats {

// The statistics of one group of an effect's load events: all of them, or those of one truck
// class ("1", "2", "3", "4+").
struct GroupStatistics {
    std::string type;
    Result<BlockSample> sample = refuse("not read");
    EffectAnalysis analysis;
};

// What the statistics of one effect hold: all its load events first, then, when asked for by truck
// count, each class present and the composite return levels of their fits.
struct EffectStatistics {
    std::vector<GroupStatistics> groups;
    std::optional<std::vector<Result<double>>> composite;
};

struct StatisticsChoice {
    BlockSize block = BlockSize::Day;
    bool byTrucks = false;
    Model compositeModel = Model::Gev; // each class's fit in the composite
    std::vector<double> years{1000};
};

// Return periods written as "75,100,1000": numbers of years over 1; nothing for another text.
std::optional<std::vector<double>> returnPeriodsIn(std::string_view text);

// The statistics of one effect over runs of the same bridge: each run's maxima of the effect, or
// nothing for a run without a load event of it.
EffectStatistics effectStatistics(std::span<const EffectMaxima* const> runs,
                                  const StatisticsChoice& choice);

} // namespace kestavian::stats
