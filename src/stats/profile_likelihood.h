#pragma once

#include "stats/gev_fit.h"
#include "stats/gev_likelihood.h"
#include "stats/return_level.h"

namespace kestavian::stats {

// The 95 % profile-likelihood interval of a fit's level mu + sigma Q(xi) with -log F = k:
// {z : 2 (nll_profile(z) - nll) <= chi-square 1-df 95 % point}, the likelihood maximised over the
// other parameters with the level held at z. Searched over shapes in (-1, 2) and up to a million
// standard deviations of the maxima from the level, starting firstStep (in the scaled sample's
// units) from it; a bound beyond that is unbounded (empty). The sample is the one fitted.
Interval profileInterval(const ScaledSample& sample, const Fit& fit, double k, double level,
                         double firstStep);

} // namespace kestavian::stats
