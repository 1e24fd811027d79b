#include "stats/gev_fit.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "stats/damped_newton.h"
#include "stats/gev_likelihood.h"

namespace kestavian::stats {
namespace {

// On maxima scaled to unit spread: parameters to 1e-9, far finer than the data can resolve.
constexpr double tolerance = 1e-9;
constexpr int maxEvaluations = 200;
// Maxima in the subsample that a large sample's search from many starts runs on.
constexpr std::size_t searchSize = 500;
// A search that ends closer than this to a limit of the shapes without converging was still
// climbing towards it.
constexpr double limitReach = 0.02;

constexpr double eulerGamma = 0.57721566490153286;

Result<ScaledSample> checkedSample(std::span<const double> maxima) {
    if (maxima.size() < minimumMaxima)
        return refuse("only " + std::to_string(maxima.size()) +
                      " non-empty blocks: a fit needs at least " + std::to_string(minimumMaxima));
    return scaleSample(maxima);
}

// Back from the scaled maxima to the caller's units.
Fit unscaled(Model model, const ScaledSample& sample, const Vector<3>& point, double nll,
             const Matrix<3>& covariance) {
    Fit fit;
    fit.model = model;
    fit.maxima = sample.x.size();
    fit.params = {sample.fromScaled(point[0]), sample.scale * point[1], point[2]};
    fit.nll = nll + static_cast<double>(sample.x.size()) * std::log(sample.scale);
    const Vector<3> factor{sample.scale, sample.scale, 1};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            fit.covariance[i][j] = covariance[i][j] * factor[i] * factor[j];
        fit.standardErrors[i] = std::sqrt(fit.covariance[i][i]);
    }
    return fit;
}

bool finite(const Fit& fit) {
    bool ok =
        std::isfinite(fit.params.mu) && std::isfinite(fit.params.sigma) && std::isfinite(fit.nll);
    for (const auto& row : fit.covariance)
        for (const double c : row)
            ok = ok && std::isfinite(c);
    return ok;
}

struct GumbelOptimum {
    Vector<2> point;
    Evaluation<2> at;
};

Result<GumbelOptimum> gumbelOptimum(const ScaledSample& sample) {
    // Moments: sd = pi sigma / sqrt 6, mean = mu + gamma sigma; the scaled maxima have sd 1.
    const double sigma = std::sqrt(6.0) / std::numbers::pi;
    const auto d = dampedNewton<2>(
        Vector<2>{-eulerGamma * sigma, sigma},
        [&](const Vector<2>& v) { return gumbelLikelihood(sample.x, v[0], v[1]); },
        [](const Vector<2>& v) { return v[1] > 0; }, tolerance, maxEvaluations);
    if (!d.converged)
        return refuse("the Gumbel likelihood search did not converge");
    return GumbelOptimum{d.point, d.at};
}

// Hosking's probability-weighted moments: the L-moment estimate of the shape, and the location
// and scale that match the first two L-moments for any given shape.
struct LMoments {
    double l1 = 0, l2 = 0, shape = 0;
};

LMoments lMoments(std::vector<double> x) { // a copy, to sort
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    double b0 = 0, b1 = 0, b2 = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double rank = static_cast<double>(i);
        b0 += x[i];
        b1 += x[i] * rank / (n - 1);
        b2 += x[i] * rank * (rank - 1) / ((n - 1) * (n - 2));
    }
    b0 /= n;
    b1 /= n;
    b2 /= n;
    LMoments m;
    m.l1 = b0;
    m.l2 = 2 * b1 - b0;
    const double t3 = (6 * b2 - 6 * b1 + b0) / m.l2;
    const double c = 2 / (3 + t3) - std::log(2.0) / std::log(3.0);
    m.shape = -(7.8590 * c + 2.9554 * c * c);
    return m;
}

// A start at the given shape whose support holds every maximum.
Vector<3> startAt(const LMoments& m, double xi, double lowest, double highest) {
    xi = std::clamp(xi, shapeFloor + 0.1, shapeCeiling - 0.5);
    // At shape 0 these are 0/0; nudged off it they give their limit, the Gumbel's, to 1e-6.
    const double k = std::fabs(xi) < 1e-6 ? 1e-6 : -xi;
    const double g = std::tgamma(1 + k);
    double sigma = m.l2 * k / ((1 - std::pow(2.0, -k)) * g);
    const double mu = m.l1 - sigma * (1 - g) / k;
    // The support's end is mu - sigma / xi; widen until it clears the data.
    if (xi < 0)
        sigma = std::max(sigma, 1.5 * -xi * (highest - mu));
    else if (xi > 0)
        sigma = std::max(sigma, 1.5 * xi * (mu - lowest));
    return {mu, std::max(sigma, 1e-3), xi};
}

bool gevAdmissible(const Vector<3>& v) {
    return v[1] > 0 && v[2] > shapeFloor && v[2] < shapeCeiling;
}

// Whether the support holds every datum from lowest to highest, in the likelihood's own
// arithmetic: 1 + xi (z - mu) / sigma is monotone in z, also as rounded, so the extremes decide.
// A trial point outside is then refused without a pass over the data.
bool supportHolds(const Vector<3>& v, double lowest, double highest) {
    const double inverseSigma = 1 / v[1];
    return 1 + v[2] * ((lowest - v[0]) * inverseSigma) > 0 &&
           1 + v[2] * ((highest - v[0]) * inverseSigma) > 0;
}

} // namespace

std::string_view modelName(Model model) {
    return model == Model::Gumbel ? "Gumbel" : "GEV";
}

Result<Fit> fitGumbel(std::span<const double> maxima) {
    const Result<ScaledSample> sample = checkedSample(maxima);
    if (!sample)
        return refuse(sample.reason());
    const Result<GumbelOptimum> optimum = gumbelOptimum(*sample);
    if (!optimum)
        return refuse(optimum.reason());
    const auto inverse = inversePositiveDefinite<2>(optimum->at.hessian);
    if (!inverse)
        return refuse("the Gumbel likelihood is flat at its maximum: no standard errors");
    const Matrix<3> covariance{{{(*inverse)[0][0], (*inverse)[0][1], 0},
                                {(*inverse)[1][0], (*inverse)[1][1], 0},
                                {0, 0, 0}}};
    const Fit fit = unscaled(Model::Gumbel, *sample, {optimum->point[0], optimum->point[1], 0},
                             optimum->at.value, covariance);
    if (!finite(fit))
        return refuse("the Gumbel fit is not a finite number");
    return fit;
}

Result<Fit> fitGev(std::span<const double> maxima) {
    const Result<ScaledSample> sample = checkedSample(maxima);
    if (!sample)
        return refuse(sample.reason());
    const std::vector<double>& x = sample->x;

    // The search from many starts runs on a systematic subsample of a large sample: its maxima
    // lie where the whole sample's do, at a fraction of the passes. Every distinct optimum it
    // finds is then polished on all the maxima, and the best of those is the fit.
    std::vector<double> subsample;
    if (x.size() > 3 * searchSize / 2) {
        const std::size_t stride = x.size() / searchSize;
        for (std::size_t i = 0; i < x.size(); i += stride)
            subsample.push_back(x[i]);
    }
    // Each sample searched with its extremes, which decide whether a point's support holds it.
    struct Bounded {
        const std::vector<double>& values;
        double lowest, highest;
    };
    const auto bounded = [](const std::vector<double>& values) {
        const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
        return Bounded{values, *lowest, *highest};
    };
    const Bounded searched = bounded(subsample.empty() ? x : subsample);
    const Bounded all = subsample.empty() ? searched : bounded(x);

    // Starts: the Gumbel optimum (so the GEV never fits worse than its own special case), the
    // L-moment estimate, and a spread of shapes on both sides, since a likelihood with two
    // maxima has them at different shapes.
    const Result<GumbelOptimum> gumbel = gumbelOptimum(*sample);
    std::vector<Vector<3>> starts;
    if (gumbel)
        starts.push_back({gumbel->point[0], gumbel->point[1], 0});
    const LMoments moments = lMoments(searched.values);
    for (const double xi : {moments.shape, -0.6, -0.3, 0.3, 0.6})
        starts.push_back(startAt(moments, xi, searched.lowest, searched.highest));

    const auto search = [&](const Bounded& data, const std::vector<Vector<3>>& from,
                            std::vector<Vector<3>>& optima, std::optional<double>& climbing) {
        const auto evaluate = [&](const Vector<3>& v) {
            return gevLikelihood(data.values, GevParams{v[0], v[1], v[2]});
        };
        const auto admissible = [&](const Vector<3>& v) {
            return gevAdmissible(v) && supportHolds(v, data.lowest, data.highest);
        };
        Descent<3, Evaluation<3>> best;
        bool found = false;
        double climbingValue = 0;
        climbing.reset();
        for (const Vector<3>& start : from) {
            const auto d = dampedNewton<3>(start, evaluate, admissible, tolerance, maxEvaluations);
            if (d.converged) {
                const bool known = std::any_of(optima.begin(), optima.end(), [&](const auto& o) {
                    return std::fabs(o[0] - d.point[0]) + std::fabs(o[1] - d.point[1]) +
                               std::fabs(o[2] - d.point[2]) <
                           1e-6;
                });
                if (!known)
                    optima.push_back(d.point);
                if (!found || d.at.value < best.at.value)
                    best = d;
                found = true;
            } else if (d.at.feasible &&
                       (d.point[2] < shapeFloor + limitReach ||
                        d.point[2] > shapeCeiling - limitReach) &&
                       (!climbing || d.at.value < climbingValue)) {
                climbing = d.point[2];
                climbingValue = d.at.value;
                optima.push_back(d.point);
            }
        }
        if (found && best.at.value <= climbingValue)
            climbing.reset();
        return found ? std::optional(best) : std::nullopt;
    };

    std::vector<Vector<3>> optima;
    std::optional<double> climbing; // the shape a search ran towards, when none did better
    auto best = search(searched, starts, optima, climbing);
    if (!subsample.empty()) {
        std::vector<Vector<3>> polished;
        best = search(all, optima, polished, climbing);
        // On all the maxima the GEV must do at least as well as the Gumbel.
        if (gumbel && (!best || best->at.value > gumbel->at.value))
            best = search(all, {starts.front()}, polished, climbing);
    }
    if (climbing && *climbing < 0)
        return refuse("the GEV likelihood keeps rising as the shape goes to -1 or below: it has "
                      "no maximum");
    if (climbing)
        return refuse("the GEV likelihood keeps rising as the shape goes above 2: the tail is too "
                      "heavy to fit");
    if (!best)
        return refuse("the GEV likelihood search did not converge");
    const auto inverse = inversePositiveDefinite<3>(best->at.hessian);
    if (!inverse)
        return refuse("the GEV likelihood is flat at its maximum: no standard errors");
    Fit fit = unscaled(Model::Gev, *sample, best->point, best->at.value, *inverse);
    if (!finite(fit))
        return refuse("the GEV fit is not a finite number");
    if (fit.params.xi < irregularShape)
        fit.warning = "the shape is below -0.5, where the likelihood is not regular: standard "
                      "errors and intervals are unreliable";
    return fit;
}

Result<Fit> fitModel(Model model, std::span<const double> maxima) {
    return model == Model::Gumbel ? fitGumbel(maxima) : fitGev(maxima);
}

LikelihoodRatio likelihoodRatio(const Fit& gumbel, const Fit& gev) {
    LikelihoodRatio test;
    // The GEV contains the Gumbel and starts from its optimum, so only rounding makes this < 0.
    test.statistic = std::max(0.0, 2 * (gumbel.nll - gev.nll));
    test.pValue =
        boost::math::cdf(boost::math::complement(boost::math::chi_squared(1.0), test.statistic));
    test.preferred = test.pValue < 0.05 ? Model::Gev : Model::Gumbel;
    return test;
}

} // namespace kestavian::stats
