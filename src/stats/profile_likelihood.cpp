#include "stats/profile_likelihood.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <limits>

#include "stats/damped_newton.h"

namespace kestavian::stats {
namespace {

// Half the chi-square 1-df 95 % point: the rise of the negative log-likelihood at a bound.
double profileRise() {
    static const double rise = boost::math::quantile(boost::math::chi_squared(1.0), 0.95) / 2;
    return rise;
}

// On scaled maxima (unit spread): bounds to 1e-10, profile optima to 1e-8, which leaves the
// profile's value exact to far below the threshold's own precision.
constexpr double boundTolerance = 1e-10;
constexpr double profileTolerance = 1e-8;
constexpr int profileEvaluations = 60;
constexpr double searchLimit = 1e6;

template <int N> struct ProfileEvaluation : Evaluation<N> {
    double slope = 0;  // d nll / dz at fixed phi: d nll_profile / dz at the profile optimum
    Vector<N> mixed{}; // d (gradient in the other parameters) / dz
};

// The profile likelihood at a fixed level z. The free parameters phi are the location, and for
// the GEV the shape; the scale follows from the level, sigma = (z - mu) / Q(xi). Far from the
// estimate a level is reached mostly through the scale, so in these terms the optimum at one level
// is a good start at the next, where with the scale free it would have to slide along a valley
// curved like k^-xi.
template <int N> struct ProfilePoint {
    double z = 0;
    double excess = 0; // nll_profile(z) - nll - rise: negative inside the interval
    double slope = 0;
    Vector<N> phi{};
    Vector<N> drift{}; // d phi / dz, to start the next level's search near its optimum
};

// Gradient, Hessian and z-derivatives in phi from the likelihood's in (mu, sigma, xi), given
// d theta / d phi (columns j), sigma's second derivatives in phi, and d sigma / dz = r with its
// derivative in phi.
template <int N>
ProfileEvaluation<N> throughScale(const Evaluation<3>& e, const std::array<Vector<3>, N>& j,
                                  const Matrix<N>& sigmaCurvature, double r,
                                  const Vector<N>& rSlope) {
    ProfileEvaluation<N> p;
    for (int a = 0; a < N; ++a) {
        for (int i = 0; i < 3; ++i) {
            p.gradient[a] += e.gradient[i] * j[a][i];
            p.mixed[a] += j[a][i] * e.hessian[i][1] * r;
            for (int b = 0; b < N; ++b)
                for (int l = 0; l < 3; ++l)
                    p.hessian[a][b] += j[a][i] * e.hessian[i][l] * j[b][l];
        }
        p.mixed[a] += e.gradient[1] * rSlope[a];
        for (int b = 0; b < N; ++b)
            p.hessian[a][b] += e.gradient[1] * sigmaCurvature[a][b];
    }
    p.value = e.value;
    p.slope = e.gradient[1] * r;
    p.feasible = true;
    return p;
}

struct GevProfile {
    static constexpr int size = 2;
    const std::vector<double>& x;
    double k;

    static bool admissible(const Vector<2>& phi) {
        return phi[1] > shapeFloor && phi[1] < shapeCeiling;
    }
    Vector<3> parameters(double z, const Vector<2>& phi) const {
        return {phi[0], (z - phi[0]) / quantileOffset(k, phi[1]).value, phi[1]};
    }
    std::pair<double, Vector<2>> fromParameters(const Vector<3>& theta) const {
        return {theta[0] + theta[1] * quantileOffset(k, theta[2]).value, {theta[0], theta[2]}};
    }
    ProfileEvaluation<2> operator()(double z, const Vector<2>& phi) const {
        const QuantileOffset q = quantileOffset(k, phi[1]);
        const double d = z - phi[0];
        const double sigma = d / q.value;
        if (!(sigma > 0) || !std::isfinite(sigma) || !std::isfinite(q.curvature))
            return {};
        const Evaluation<3> e = gevLikelihood(x, GevParams{phi[0], sigma, phi[1]});
        if (!e.feasible)
            return {};
        // sigma = d R(xi) with R = 1 / Q: R' = -Q'/Q^2, R'' = (2 Q'^2 - Q Q'') / Q^3.
        const double r = 1 / q.value;
        const double r1 = -q.slope * r * r;
        const double r2 = (2 * q.slope * q.slope - q.value * q.curvature) * r * r * r;
        return throughScale<2>(e, {Vector<3>{1, -r, 0}, Vector<3>{0, d * r1, 1}},
                               {{{0, -r1}, {-r1, d * r2}}}, r, {0, r1});
    }
    static Vector<2> towardsGumbel(const Vector<2>& phi, int attempt) {
        return {phi[0], attempt >= 9 ? 0.0 : std::ldexp(phi[1], -attempt - 1)};
    }
};

struct GumbelProfile {
    static constexpr int size = 1;
    const std::vector<double>& x;
    double k;

    static bool admissible(const Vector<1>&) { return true; }
    Vector<3> parameters(double z, const Vector<1>& phi) const {
        return {phi[0], (z - phi[0]) / -std::log(k), 0};
    }
    std::pair<double, Vector<1>> fromParameters(const Vector<3>& theta) const {
        return {theta[0] - theta[1] * std::log(k), {theta[0]}};
    }
    ProfileEvaluation<1> operator()(double z, const Vector<1>& phi) const {
        const double r = 1 / -std::log(k);
        const double sigma = (z - phi[0]) * r;
        if (!(sigma > 0) || !std::isfinite(sigma))
            return {};
        const Evaluation<2> g = gumbelLikelihood(x, phi[0], sigma);
        if (!g.feasible)
            return {};
        Evaluation<3> e;
        e.value = g.value;
        e.gradient = {g.gradient[0], g.gradient[1], 0};
        e.hessian = {
            {{g.hessian[0][0], g.hessian[0][1], 0}, {g.hessian[1][0], g.hessian[1][1], 0}}};
        return throughScale<1>(e, {Vector<3>{1, -r, 0}}, {}, r, {});
    }
    static Vector<1> towardsGumbel(const Vector<1>& phi, int) { return phi; }
};

// A start whose support holds every maximum at any level: Gumbel, scale at least the maxima's
// spread and location below the level by the scale's quantile offset.
template <class Profile> Vector<Profile::size> freshStart(const Profile& profile, double z) {
    const double q = -std::log(profile.k);
    const double sigma = std::max(1.0, std::fabs(z / q));
    Vector<Profile::size> phi{};
    phi[0] = z - sigma * q;
    return phi;
}

// The profile's optimum at z to the given tolerance. Starts: where the optimum at a nearby level
// drifts to, the nearby optimum itself, that with the shape pulled towards 0 (whose support is
// the whole line), and a fresh start. Not converged when the optimum leaves the admissible
// parameters; not even evaluated when no start has the maxima in its support.
template <class Profile>
auto descentAt(const Profile& profile, double z, const ProfilePoint<Profile::size>& near,
               double tolerance) {
    constexpr int N = Profile::size;
    Vector<N> predicted = near.phi;
    for (int i = 0; i < N; ++i)
        predicted[i] += (z - near.z) * near.drift[i];
    const auto evaluate = [&](const Vector<N>& phi) { return profile(z, phi); };
    auto d =
        dampedNewton<N>(predicted, evaluate, Profile::admissible, tolerance, profileEvaluations);
    int runs = d.evaluations > 1 ? 1 : 0;
    for (int attempt = -1; attempt < 11 && !d.converged && runs < 3; ++attempt) {
        const Vector<N> start = attempt < 0    ? near.phi
                                : attempt < 10 ? Profile::towardsGumbel(near.phi, attempt)
                                               : freshStart(profile, z);
        d = dampedNewton<N>(start, evaluate, Profile::admissible, tolerance, profileEvaluations);
        runs += d.evaluations > 1 ? 1 : 0;
    }
    return d;
}

// The profile at z: empty when its optimum leaves the admissible parameters; an infinite excess
// (outside the interval) when no parameters reach z with the maxima in their support.
template <class Profile>
std::optional<ProfilePoint<Profile::size>> profileAt(const Profile& profile, double z,
                                                     const ProfilePoint<Profile::size>& near,
                                                     double target) {
    constexpr int N = Profile::size;
    const auto d = descentAt(profile, z, near, profileTolerance);
    ProfilePoint<N> p;
    p.z = z;
    if (!d.converged) {
        if (d.at.feasible)
            return std::nullopt;
        p.phi = near.phi;
        p.excess = std::numeric_limits<double>::infinity();
        return p;
    }
    p.excess = d.at.value - target;
    p.slope = d.at.slope;
    p.phi = d.point;
    Vector<N> minusMixed{};
    for (int i = 0; i < N; ++i)
        minusMixed[i] = -d.at.mixed[i];
    p.drift = solvePositiveDefinite<N>(d.at.hessian, minusMixed).value_or(Vector<N>{});
    return p;
}

// A bound is where the other parameters sit at their profile optimum (gradient 0) and the
// profile meets the threshold (excess 0). From the other parameters' rough optimum at the delta
// method's bound, Newton on both conditions at once costs one pass over the maxima per step and
// usually lands in three or four. It gives up (empty) rather than wander when a step leaves the
// support, the Hessian stops being positive definite or the profile stops rising outwards.
template <class Profile>
std::optional<double> directBound(const Profile& profile, const ProfilePoint<Profile::size>& centre,
                                  double direction, double firstStep, double target) {
    constexpr int N = Profile::size;
    // The start: the bound of the likelihood's quadratic approximation, taken in (mu, sigma,
    // xi), where the likelihood is nearly quadratic, rather than in z, which can be far from
    // linear in them (exponential in the shape for long periods).
    const double h = 1e-6;
    Vector<N> ahead = centre.phi;
    for (int i = 0; i < N; ++i)
        ahead[i] += h * centre.drift[i];
    const Vector<3> theta = profile.parameters(centre.z, centre.phi);
    const Vector<3> moved = profile.parameters(centre.z + h, ahead);
    Vector<3> bound{};
    for (int i = 0; i < 3; ++i)
        bound[i] = theta[i] + direction * firstStep * (moved[i] - theta[i]) / h;
    ProfilePoint<N> from = centre;
    from.drift = {};
    double z = centre.z + direction * firstStep;
    const auto [level, phi0] = profile.fromParameters(bound);
    if (bound[1] > 0 && std::isfinite(level) && direction * (level - centre.z) > 0) {
        z = level;
        from.z = level;
        from.phi = phi0;
    }
    const auto start = descentAt(profile, z, from, 1e-4);
    if (!start.converged)
        return std::nullopt;
    Vector<N> phi = start.point;
    auto e = start.at;
    for (int iteration = 0; iteration < 20; ++iteration) {
        if (!e.feasible || !Profile::admissible(phi))
            return std::nullopt;
        const auto hg = solvePositiveDefinite<N>(e.hessian, e.gradient);
        const auto hm = solvePositiveDefinite<N>(e.hessian, e.mixed);
        if (!hg || !hm)
            return std::nullopt;
        double gHg = 0, gHm = 0;
        for (int i = 0; i < N; ++i) {
            gHg += e.gradient[i] * (*hg)[i];
            gHm += e.gradient[i] * (*hm)[i];
        }
        // On the quadratic model at this point: the optimum over phi lies gHg / 2 below, and
        // moves by -H^-1 mixed per unit of z; the excess along it changes at slope - gHm.
        const double rise = e.slope - gHm;
        if (!(direction * rise > 0))
            return std::nullopt;
        const double dz = (gHg / 2 - (e.value - target)) / rise;
        double largest = 0;
        for (int i = 0; i < N; ++i) {
            const double dphi = -((*hg)[i] + (*hm)[i] * dz);
            largest = std::max(largest, std::fabs(dphi));
            phi[i] += dphi;
        }
        if (std::fabs(dz) < boundTolerance * (1 + std::fabs(z)) && largest < profileTolerance)
            return z;
        z += dz;
        if (!(direction * (z - centre.z) > 0))
            return std::nullopt;
        e = profile(z, phi);
    }
    return std::nullopt;
}

// Walks from the estimate in one direction until the profile rises past the threshold, then
// closes on the crossing by Newton steps on the profile's exact slope, kept inside the bracket.
template <class Profile>
std::optional<double> profileBound(const Profile& profile,
                                   const ProfilePoint<Profile::size>& centre, double direction,
                                   double firstStep, double target) {
    using Point = ProfilePoint<Profile::size>;
    if (const auto bound = directBound(profile, centre, direction, firstStep, target))
        return bound;
    // Otherwise walk out step by step, which also finds where no bound exists.
    Point inside = centre;
    std::optional<Point> outside;
    double step = firstStep;
    int retries = 0;
    for (int i = 0; i < 80 && !outside; ++i) {
        const double z = inside.z + direction * step;
        if (std::fabs(z - centre.z) > searchLimit)
            return std::nullopt;
        const std::optional<Point> p = profileAt(profile, z, inside, target);
        if (!p) {
            // The optimum left the admissible shapes; the crossing may lie nearer.
            if (++retries > 4)
                return std::nullopt;
            step /= 4;
            continue;
        }
        if (p->excess >= 0) {
            outside = p;
            break;
        }
        inside = *p;
        const double distance = std::fabs(inside.z - centre.z);
        const double newton = direction * inside.slope > 0
                                  ? -inside.excess / std::fabs(inside.slope)
                                  : std::numeric_limits<double>::max();
        step = std::clamp(1.2 * newton, 0.1 * distance, 2 * distance);
    }
    if (!outside)
        return std::nullopt;
    Point lo = inside;      // excess < 0
    double hi = outside->z; // excess >= 0
    Point current = std::fabs(outside->excess) < std::fabs(inside.excess) ? *outside : inside;
    for (int i = 0; i < 100; ++i) {
        double next = current.slope != 0 ? current.z - current.excess / current.slope : lo.z;
        const double a = std::min(lo.z, hi);
        const double b = std::max(lo.z, hi);
        if (!(next > a && next < b))
            next = (lo.z + hi) / 2;
        if (std::fabs(next - current.z) < boundTolerance * (1 + std::fabs(next)) ||
            b - a < boundTolerance * (1 + std::fabs(next)))
            return next;
        const std::optional<Point> p = profileAt(profile, next, current, target);
        if (!p) {
            hi = next; // outside the admissible parameters counts as outside the interval
            continue;
        }
        if (p->excess < 0)
            lo = *p;
        else
            hi = p->z;
        current = *p;
    }
    return std::nullopt;
}

template <class Profile>
Interval profileInterval(const Profile& profile, const ScaledSample& sample,
                         const Vector<Profile::size>& phi, double level, double firstStep) {
    Interval interval;
    ProfilePoint<Profile::size> estimate;
    estimate.z = sample.toScaled(level);
    estimate.phi = phi;
    // The optimum at the estimate's own level is the estimate: this gives the likelihood's value
    // there on exactly the terms the profile uses, and the drift to start from.
    const std::optional<ProfilePoint<Profile::size>> centre =
        profileAt(profile, estimate.z, estimate, 0.0);
    if (!centre)
        return interval;
    ProfilePoint<Profile::size> start = *centre;
    const double target = centre->excess + profileRise();
    start.excess = -profileRise();
    // A bound too far out to be a number in the caller's units is no bound either.
    const auto unscaled = [&](std::optional<double> bound) -> std::optional<double> {
        if (bound && std::isfinite(sample.fromScaled(*bound)))
            return sample.fromScaled(*bound);
        return std::nullopt;
    };
    interval.lower = unscaled(profileBound(profile, start, -1, firstStep, target));
    interval.upper = unscaled(profileBound(profile, start, +1, firstStep, target));
    return interval;
}

} // namespace

Interval profileInterval(const ScaledSample& sample, const Fit& fit, double k, double level,
                         double firstStep) {
    const GevParams& p = fit.params;
    if (fit.model == Model::Gev)
        return profileInterval(GevProfile{sample.x, k}, sample,
                               Vector<2>{sample.toScaled(p.mu), p.xi}, level, firstStep);
    return profileInterval(GumbelProfile{sample.x, k}, sample, Vector<1>{sample.toScaled(p.mu)},
                           level, firstStep);
}

} // namespace kestavian::stats
