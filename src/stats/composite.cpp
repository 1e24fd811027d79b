#include "stats/composite.h"

#include <algorithm>
#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>
#include <string>

#include "stats/return_level.h"

namespace kestavian::stats {
namespace {

// log F_B,c(z) = log(1 - p (1 - F(z))); never below this, so that the root finder sees only
// numbers (a class with no lower end below z would give log 0).
constexpr double logFloor = -1e300;

double logBlockCdf(const ClassModel& c, double z) {
    return std::max(logFloor, std::log1p(-c.nonEmptyShare * gevSurvival(z, c.params)));
}

} // namespace

Result<double> compositeReturnLevel(std::span<const ClassModel> classes, int blocksPerYear,
                                    double years) {
    if (classes.empty())
        return refuse("no truck class has a load event");
    if (!(years > 1) || !std::isfinite(years))
        return refuse("a return period must be a finite number of years above 1");
    if (blocksPerYear < 1)
        return refuse("a year must hold at least one block");
    const double target = std::log1p(-1 / years) / blocksPerYear;
    // sum log F_B,c rises from sum log(1 - p_c) far below every class to 0 far above: a level
    // exists only when the first is below the target.
    double lowest = 0;
    double centre = -std::numeric_limits<double>::max();
    double width = 0;
    for (const ClassModel& c : classes) {
        if (!(c.nonEmptyShare > 0 && c.nonEmptyShare <= 1) || !(c.params.sigma > 0))
            return refuse("the " + std::string(truckClassName(c.truckClass)) +
                          " class has no usable fit");
        lowest += std::log1p(-c.nonEmptyShare);
        centre = std::max(centre, c.params.mu);
        width = std::max(width, c.params.sigma);
    }
    if (!(lowest < target))
        return refuse("no composite level: too few blocks hold a load event for any level to be "
                      "exceeded that often");
    const auto excess = [&](double z) {
        double sum = 0;
        for (const ClassModel& c : classes)
            sum += logBlockCdf(c, z);
        return std::max(logFloor, sum) - target;
    };
    // Bracket by steps doubling away from the largest location.
    double lo = centre - width;
    double hi = centre + width;
    double step = width;
    while (excess(lo) >= 0) {
        lo -= step;
        step *= 2;
        if (!std::isfinite(lo))
            return refuse("the composite level is too large to be a number");
    }
    step = width;
    while (excess(hi) < 0) {
        hi += step;
        step *= 2;
        if (!std::isfinite(hi))
            return refuse("the composite level is too large to be a number");
    }
    std::uintmax_t iterations = 200;
    const auto [a, b] = boost::math::tools::toms748_solve(
        excess, lo, hi, boost::math::tools::eps_tolerance<double>(52), iterations);
    return a + (b - a) / 2;
}

Result<std::vector<ClassModel>> fitClasses(std::span<const BlockSample> byClass, Model model) {
    std::vector<ClassModel> classes;
    for (std::size_t i = 0; i < byClass.size() && i < truckClasses.size(); ++i) {
        const BlockSample& sample = byClass[i];
        if (sample.maxima.empty())
            continue; // a class with no load event has F_B = 1 and drops out of the product
        const Result<Fit> fit = fitModel(model, sample.values());
        if (!fit)
            return refuse("the " + std::string(truckClassName(truckClasses[i])) + " " +
                          std::string(modelName(model)) + " fit is refused: " + fit.reason());
        classes.push_back({truckClasses[i], fit->params, sample.nonEmptyShare()});
    }
    return classes;
}

} // namespace kestavian::stats
