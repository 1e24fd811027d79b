#pragma once

#include <span>
#include <vector>

#include "stats/damped_newton.h"
#include "stats/gev.h"
#include "stats/result.h"

namespace kestavian::stats {

// The maxima shifted and scaled to mean 0 and standard deviation 1. The fits work on these, so
// that their tolerances mean the same for bending moments in kN m and shear in kN, and the
// Hessian is well conditioned whatever the units; results are scaled back.
struct ScaledSample {
    std::vector<double> x;
    double centre = 0;
    double scale = 1;

    double toScaled(double z) const { return (z - centre) / scale; }
    double fromScaled(double x) const { return centre + scale * x; }
};

// Refuses maxima that are not finite, all equal, or so large that their spread overflows.
Result<ScaledSample> scaleSample(std::span<const double> maxima);

// Negative log-likelihood of the GEV with its gradient and Hessian in (mu, sigma, xi), in one
// pass over the data; not feasible when a datum lies outside the support.
Evaluation<3> gevLikelihood(std::span<const double> x, const GevParams& p);

// The same for the Gumbel distribution in (mu, sigma).
Evaluation<2> gumbelLikelihood(std::span<const double> x, double mu, double sigma);

} // namespace kestavian::stats
