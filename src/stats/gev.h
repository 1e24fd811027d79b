#pragma once

namespace kestavian::stats {

// Generalised extreme value distribution of a block maximum,
//   F(z) = exp(-[1 + xi (z - mu) / sigma]^(-1/xi)),
// with the textbook sign of the shape: xi < 0 is a bounded upper tail, xi > 0 a heavy one, and
// xi = 0 the Gumbel distribution exp(-exp(-(z - mu) / sigma)). (Some libraries write c = -xi.)
struct GevParams {
    double mu = 0;
    double sigma = 1;
    double xi = 0;
};

// Below this |xi s| the shape's terms are summed as power series: the closed forms divide by xi
// and lose digits to cancellation, and at xi = 0 they are 0/0.
constexpr double shapeSeriesLimit = 0.01;

// The reduced variate y = log(1 + xi s) / xi of a standardised value s = (z - mu) / sigma, so
// that F = exp(-exp(-y)); y = s at xi = 0, and continuous through it. Needs 1 + xi s > 0.
double reducedVariate(double s, double xi);

// y with dy/dxi and d2y/dxi2 at fixed s (-s^2/2 and 2 s^3 / 3 at xi = 0), sharing one
// logarithm: what each datum of a likelihood pass needs.
struct ReducedTerms {
    double y = 0;
    double slope = 0;
    double curvature = 0;
};
ReducedTerms reducedTerms(double s, double xi);

// F(z) and 1 - F(z), each accurate where it is small; 0 and 1 beyond the ends of the support.
double gevCdf(double z, const GevParams& p);
double gevSurvival(double z, const GevParams& p);

// The quantile z with -log F(z) = k is mu + sigma Q(xi), Q = (k^-xi - 1) / xi (-log k at
// xi = 0). The profile likelihood of a return level needs Q's first two derivatives in xi.
struct QuantileOffset {
    double value = 0;
    double slope = 0;
    double curvature = 0;
};
QuantileOffset quantileOffset(double k, double xi);

} // namespace kestavian::stats
