#pragma once

// Maximum-likelihood fits of block maxima. The minimiser is our own damped Newton on analytic
// derivatives (damped_newton.h) and the root finders and distributions are Boost.Math's, which is
// header-only: the command-line tool that uses this layer also checks files, and must load no
// shared library it does not use, so no optimisation library is linked in. Newton with exact
// derivatives also does in a few passes over the maxima what a derivative-free search does in
// hundreds, which keeps several starts and profile intervals cheap.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "stats/gev.h"
#include "stats/result.h"
#include "stats/small_matrix.h"

namespace kestavian::stats {

enum class Model { Gumbel, Gev };
std::string_view modelName(Model model);

// Fewer maxima than this say too little about a tail to fit it.
constexpr std::size_t minimumMaxima = 10;
// The GEV likelihood grows without bound as xi goes below -1 (the upper end of the support closes
// on the largest maximum), so a fit has no maximum there; shapes above the ceiling mean the mean
// and variance are infinite, which no load effect has, and are not searched.
constexpr double shapeFloor = -1.0;
constexpr double shapeCeiling = 2.0;
// Below this the likelihood is not regular: estimates exist but their standard errors mislead.
constexpr double irregularShape = -0.5;

struct Fit {
    Model model = Model::Gev;
    GevParams params;
    double nll = 0; // negative log-likelihood at the estimate
    // Inverse of the observed information in (mu, sigma, xi); xi's row and column are 0 for
    // Gumbel, whose shape is fixed.
    Matrix<3> covariance{};
    Vector<3> standardErrors{};
    std::size_t maxima = 0;
    std::string warning; // set when the estimate is usable but its precision is not
};

// The maximum of the likelihood over all admissible parameters: the Gumbel likelihood has a
// single maximum, the GEV's may have several, so its search starts from several points and keeps
// the best.
Result<Fit> fitGumbel(std::span<const double> maxima);
Result<Fit> fitGev(std::span<const double> maxima);
Result<Fit> fitModel(Model model, std::span<const double> maxima);

// Gumbel against GEV: 2 (nll_gumbel - nll_gev) against chi-square with 1 degree of freedom; the
// GEV is preferred when p < 0.05.
struct LikelihoodRatio {
    double statistic = 0;
    double pValue = 1;
    Model preferred = Model::Gumbel;
};
LikelihoodRatio likelihoodRatio(const Fit& gumbel, const Fit& gev);

} // namespace kestavian::stats
