#include "stats/return_level.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <limits>
#include <string>

#include "stats/gev_likelihood.h"
#include "stats/profile_likelihood.h"

namespace kestavian::stats {
namespace {

double normal975() {
    static const double z = boost::math::quantile(boost::math::normal(), 0.975);
    return z;
}

std::string yearsText(double years) {
    std::string text = std::to_string(years);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

Result<double> levelExponent(BlockModel block, double years) {
    if (!(years > 1) || !std::isfinite(years))
        return refuse("a return period must be a finite number of years above 1");
    if (block.blocksPerYear < 1)
        return refuse("a year must hold at least one block");
    if (!(block.nonEmptyShare > 0 && block.nonEmptyShare <= 1))
        return refuse("no block holds a load event");
    // The chance that a block's maximum exceeds z_T, 1 - (1 - 1/T)^(1/B), and then that a
    // non-empty block's does.
    const double blockChance = -std::expm1(std::log1p(-1 / years) / block.blocksPerYear);
    const double chance = blockChance / block.nonEmptyShare;
    if (!(chance < 1))
        return refuse("no " + yearsText(years) +
                      "-year level: too few blocks hold a load event for any level to be exceeded "
                      "that often");
    // Above 0 even for the longest finite period over the most blocks a year: 1/T/B stays above
    // the smallest double.
    return -std::log1p(-chance);
}

Result<double> returnLevel(const GevParams& params, BlockModel block, double years) {
    const Result<double> k = levelExponent(block, years);
    if (!k)
        return refuse(k.reason());
    const double level = params.mu + params.sigma * quantileOffset(*k, params.xi).value;
    if (!std::isfinite(level))
        return refuse("the " + yearsText(years) + "-year level is too large to be a number");
    return level;
}

std::optional<double> returnPeriod(const GevParams& params, BlockModel block, double z) {
    // 1 - F_B(z)^B, without losing the small exceedance chances of long periods.
    const double blockChance = block.nonEmptyShare * gevSurvival(z, params);
    const double yearChance = -std::expm1(block.blocksPerYear * std::log1p(-blockChance));
    const double years = 1 / yearChance;
    if (!(yearChance > 0) || !std::isfinite(years))
        return std::nullopt;
    return years;
}

Result<ReturnLevel> returnLevelWithIntervals(std::span<const double> maxima, const Fit& fit,
                                             BlockModel block, double years) {
    const Result<double> k = levelExponent(block, years);
    if (!k)
        return refuse(k.reason());
    const Result<ScaledSample> sample = scaleSample(maxima);
    if (!sample)
        return refuse(sample.reason());
    ReturnLevel r;
    r.years = years;
    const GevParams& p = fit.params;
    const QuantileOffset q = quantileOffset(*k, p.xi);
    r.level = p.mu + p.sigma * q.value;
    // Delta method: the level's gradient in (mu, sigma, xi) is (1, Q, sigma Q').
    const Vector<3> gradient{1, q.value, fit.model == Model::Gev ? p.sigma * q.slope : 0};
    double variance = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            variance += gradient[i] * fit.covariance[i][j] * gradient[j];
    r.standardError = std::sqrt(variance);
    if (!std::isfinite(r.level) || !std::isfinite(r.standardError))
        return refuse("the " + yearsText(years) + "-year level is too large to be a number");
    r.delta = {r.level - normal975() * r.standardError, r.level + normal975() * r.standardError};

    const double firstStep =
        r.standardError > 0 ? std::min(normal975() * r.standardError / sample->scale, 1e3) : 0.1;
    r.profile = profileInterval(*sample, fit, *k, r.level, firstStep);
    return r;
}

} // namespace kestavian::stats
