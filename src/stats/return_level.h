#pragma once

#include <optional>
#include <span>

#include "stats/gev_fit.h"
#include "stats/result.h"

namespace kestavian::stats {

// How block maxima make a year: B blocks a year, of which the share p held a load event. A block
// without one has no maximum, so the distribution of a block's maximum is
// F_B(z) = 1 - p + p F(z), F fitted to the non-empty blocks.
struct BlockModel {
    int blocksPerYear = 250;
    double nonEmptyShare = 1;
};

// The level z_T exceeded once in T years on average: F_B(z_T)^B = 1 - 1/T, T > 1. Refused when
// no level is exceeded that often (too few blocks hold a load event: (1-1/T)^(1/B) <= 1 - p).
// levelExponent is k = -log F(z_T), which gives z_T = mu + sigma Q(xi) through quantileOffset;
// it is computed so that periods of millions of years keep their digits.
Result<double> levelExponent(BlockModel block, double years);
Result<double> returnLevel(const GevParams& params, BlockModel block, double years);

// The return period of a level, 1 / (1 - F_B(z)^B) years; empty where no block maximum reaches z
// (above the end of a bounded tail) or the period is too long to be a number.
std::optional<double> returnPeriod(const GevParams& params, BlockModel block, double z);

// A 95 % confidence interval; a bound that does not exist (the profile likelihood does not cross
// its threshold within the admissible parameters) is empty, never a stand-in number.
struct Interval {
    std::optional<double> lower;
    std::optional<double> upper;
};

struct ReturnLevel {
    double years = 0;
    double level = 0;
    double standardError = 0; // delta method, p taken as known
    Interval delta;           // level -+ 1.96 standard errors
    // {z : 2 (nll_profile(z) - nll) <= chi-square 1-df 95 % point}, the likelihood maximised over
    // the other parameters with the level held fixed. Searched over shapes in (-1, 2) and up to a
    // million standard deviations of the maxima from the level; beyond that a bound is unbounded.
    Interval profile;
};

// The T-year level of a fit of these maxima (the same ones, in the same order, that were fitted)
// with both intervals.
Result<ReturnLevel> returnLevelWithIntervals(std::span<const double> maxima, const Fit& fit,
                                             BlockModel block, double years);

} // namespace kestavian::stats
