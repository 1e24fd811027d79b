#include "stats/gev.h"

#include <array>
#include <cmath>

namespace kestavian::stats {
namespace {

constexpr int seriesTerms = 9; // shapeSeriesLimit^9 = 1e-18: beyond double precision

// sum c[k] x^k by Horner's rule.
double horner(const std::array<double, seriesTerms>& c, double x) {
    double sum = 0;
    for (int k = seriesTerms - 1; k >= 0; --k)
        sum = sum * x + c[static_cast<std::size_t>(k)];
    return sum;
}

// With y = sum_{m>=1} (-1)^(m+1) xi^(m-1) s^m / m and x = xi s:
//   y = s sum (-1)^k x^k / (k+1),
//   dy/dxi = s^2 sum (-1)^(k+1) (k+1) / (k+2) x^k,
//   d2y/dxi2 = s^3 sum (-1)^k (k+1)(k+2) / (k+3) x^k.
template <class Term> constexpr std::array<double, seriesTerms> coefficients(Term term) {
    std::array<double, seriesTerms> c{};
    for (int k = 0; k < seriesTerms; ++k)
        c[static_cast<std::size_t>(k)] = (k % 2 == 0 ? 1.0 : -1.0) * term(double(k));
    return c;
}
constexpr auto logRatioSeries = coefficients([](double k) { return 1.0 / (k + 1); });
constexpr auto slopeSeries = coefficients([](double k) { return -(k + 1) / (k + 2); });
constexpr auto curvatureSeries = coefficients([](double k) { return (k + 1) * (k + 2) / (k + 3); });

// h(u) = expm1(u) / u and its first two derivatives, as series near u = 0.
struct ExpRatio {
    double h, dh, d2h;
};
ExpRatio expRatio(double u) {
    if (std::fabs(u) < 0.5) {
        // h = sum u^m / (m+1)!, h' = sum (m+1) u^m / (m+2)!, h'' = sum (m+1)(m+2) u^m / (m+3)!;
        // 0.5^24 / 25! is far below double precision.
        double h = 0, dh = 0, d2h = 0;
        double power = 1;     // u^m
        double factorial = 1; // (m+1)!
        for (int m = 0; m < 24; ++m) {
            factorial *= m + 1;
            h += power / factorial;
            dh += (m + 1) * power / (factorial * (m + 2));
            d2h += (m + 1) * (m + 2) * power / (factorial * (m + 2) * (m + 3));
            power *= u;
        }
        return {h, dh, d2h};
    }
    const double e = std::exp(u);
    const double m = std::expm1(u);
    return {m / u, (u * e - m) / (u * u), (u * u * e - 2 * u * e + 2 * m) / (u * u * u)};
}

} // namespace

double reducedVariate(double s, double xi) {
    const double x = xi * s;
    if (std::fabs(x) < shapeSeriesLimit)
        return s * horner(logRatioSeries, x);
    return std::log1p(x) / xi;
}

ReducedTerms reducedTerms(double s, double xi) {
    const double x = xi * s;
    if (std::fabs(x) < shapeSeriesLimit)
        return {s * horner(logRatioSeries, x), s * s * horner(slopeSeries, x),
                s * s * s * horner(curvatureSeries, x)};
    const double l = std::log1p(x);
    const double ratio = x / (1 + x);
    const double inverseXi = 1 / xi;
    return {l * inverseXi, (ratio - l) * inverseXi * inverseXi,
            (2 * l - 2 * ratio - ratio * ratio) * inverseXi * inverseXi * inverseXi};
}

double gevCdf(double z, const GevParams& p) {
    const double s = (z - p.mu) / p.sigma;
    if (!(1 + p.xi * s > 0))
        return p.xi > 0 ? 0.0 : 1.0;
    return std::exp(-std::exp(-reducedVariate(s, p.xi)));
}

double gevSurvival(double z, const GevParams& p) {
    const double s = (z - p.mu) / p.sigma;
    if (!(1 + p.xi * s > 0))
        return p.xi > 0 ? 1.0 : 0.0;
    return -std::expm1(-std::exp(-reducedVariate(s, p.xi)));
}

QuantileOffset quantileOffset(double k, double xi) {
    // Q = expm1(u) / xi with u = -xi log k, that is Q = -log k h(u).
    const double logK = std::log(k);
    const ExpRatio r = expRatio(-xi * logK);
    return {-logK * r.h, logK * logK * r.dh, -logK * logK * logK * r.d2h};
}

} // namespace kestavian::stats
