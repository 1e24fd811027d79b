#pragma once

#include <span>
#include <vector>

#include "stats/block_sample.h"
#include "stats/composite.h"
#include "stats/gev_fit.h"
#include "stats/return_level.h"

namespace kestavian::stats {

struct ModelAnalysis {
    Result<Fit> fit = refuse("not fitted");
    std::vector<Result<ReturnLevel>> levels; // one per period asked for
};

// Everything the statistics of one effect's block maxima report: both fits, each period's level
// with both intervals under each fit, and the test between the fits.
struct EffectAnalysis {
    BlockModel block;
    ModelAnalysis gumbel;
    ModelAnalysis gev;
    Result<LikelihoodRatio> test = refuse("not both fits"); // the fits' reasons say why
};

EffectAnalysis analyseEffect(const BlockSample& sample, int blocksPerYear,
                             std::span<const double> years);

// The composite level of each period from the truck classes' own fits.
std::vector<Result<double>> compositeLevels(std::span<const BlockSample> byClass, Model model,
                                            int blocksPerYear, std::span<const double> years);

} // namespace kestavian::stats
