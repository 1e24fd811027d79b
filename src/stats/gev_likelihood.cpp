#include "stats/gev_likelihood.h"

#include <cmath>

namespace kestavian::stats {

Result<ScaledSample> scaleSample(std::span<const double> maxima) {
    ScaledSample sample;
    if (maxima.empty())
        return refuse("there are no maxima");
    double sum = 0;
    for (const double z : maxima) {
        if (!std::isfinite(z))
            return refuse("a maximum is not a finite number");
        sum += z;
    }
    const double n = static_cast<double>(maxima.size());
    sample.centre = sum / n;
    double squares = 0;
    for (const double z : maxima)
        squares += (z - sample.centre) * (z - sample.centre);
    sample.scale = std::sqrt(squares / n);
    if (!std::isfinite(sample.centre) || !std::isfinite(sample.scale))
        return refuse("the maxima are too large to fit");
    if (!(sample.scale > 0))
        return refuse("all " + std::to_string(maxima.size()) +
                      " maxima are equal: no spread to fit");
    sample.x.reserve(maxima.size());
    for (const double z : maxima)
        sample.x.push_back(sample.toScaled(z));
    return sample;
}

// Per datum, with s = (z - mu) / sigma, t = 1 + xi s, y the reduced variate and e = exp(-y), the
// negative log-likelihood is log sigma + (1 + xi) y + e. With a = 1 + xi - e its derivative in y
// and e its second, the chain rule through y's own derivatives gives gradient and Hessian.
Evaluation<3> gevLikelihood(std::span<const double> x, const GevParams& p) {
    Evaluation<3> r;
    const double xi = p.xi;
    const double inverseSigma = 1 / p.sigma;
    double nll = 0;
    double gm = 0, gs = 0, gx = 0;
    double hmm = 0, hms = 0, hss = 0, hmx = 0, hsx = 0, hxx = 0;
    // The closed forms of y and its derivatives in xi share one logarithm and one division.
    const double ix = 1 / xi;
    const double ix2 = ix * ix;
    const double ix3 = ix2 * ix;
    for (const double z : x) {
        const double s = (z - p.mu) * inverseSigma;
        const double t = 1 + xi * s;
        if (!(t > 0))
            return r;
        const double it = 1 / t;
        double y, yx, yxx;
        if (std::fabs(xi * s) < shapeSeriesLimit) {
            const ReducedTerms terms = reducedTerms(s, xi);
            y = terms.y;
            yx = terms.slope;
            yxx = terms.curvature;
        } else {
            // |xi s| >= 0.01 here, so log t, with t rounded, is within 1e-14 of log1p(xi s)
            // relatively, at half its cost: this pass runs some twenty times over each sample.
            const double l = std::log(t);
            const double ratio = xi * s * it;
            y = l * ix;
            yx = (ratio - l) * ix2;
            yxx = (2 * l - 2 * ratio - ratio * ratio) * ix3;
        }
        const double e = std::exp(-y);
        const double a = 1 + xi - e;
        nll += (1 + xi) * y + e;
        // Derivatives of y, each times sigma (mu, sigma) or sigma^2 (both): dy/dmu = -1/t,
        // dy/dsigma = -s/t, d2y/dmu2 = -xi/t^2, d2y/dmu dsigma = 1/t^2,
        // d2y/dsigma2 = 2s/t - xi s^2/t^2, d2y/dmu dxi = s/t^2, d2y/dsigma dxi = s^2/t^2;
        // gathered so that the sigma row is s times the mu row plus what differs.
        const double at = a * it;
        const double it2 = it * it;
        const double u = it2 * (e - a * xi);
        const double w = it * (s * at - e * yx - 1);
        gm -= at;
        gs -= s * at;
        gx += a * yx + y;
        hmm += u;
        hms += it2 * (e * s + a);
        hss += s * (s * u + 2 * at);
        hmx += w;
        hsx += s * w;
        hxx += e * yx * yx + a * yxx + 2 * yx;
    }
    const double n = static_cast<double>(x.size());
    r.value = n * std::log(p.sigma) + nll;
    if (!std::isfinite(r.value))
        return r;
    const double is2 = inverseSigma * inverseSigma;
    r.gradient = {gm * inverseSigma, gs * inverseSigma + n * inverseSigma, gx};
    r.hessian = {{{hmm * is2, hms * is2, hmx * inverseSigma},
                  {hms * is2, hss * is2 - n * is2, hsx * inverseSigma},
                  {hmx * inverseSigma, hsx * inverseSigma, hxx}}};
    r.feasible = true;
    return r;
}

Evaluation<2> gumbelLikelihood(std::span<const double> x, double mu, double sigma) {
    Evaluation<2> r;
    const double inverseSigma = 1 / sigma;
    double nll = 0, gm = 0, gs = 0, hmm = 0, hms = 0, hss = 0;
    for (const double z : x) {
        const double s = (z - mu) * inverseSigma;
        const double e = std::exp(-s);
        const double a = 1 - e;
        nll += s + e;
        gm -= a;
        gs -= a * s;
        hmm += e;
        hms += e * s + a;
        hss += e * s * s + 2 * a * s;
    }
    const double n = static_cast<double>(x.size());
    r.value = n * std::log(sigma) + nll;
    if (!std::isfinite(r.value))
        return r;
    const double is2 = inverseSigma * inverseSigma;
    r.gradient = {gm * inverseSigma, gs * inverseSigma + n * inverseSigma};
    r.hessian = {{{hmm * is2, hms * is2}, {hms * is2, hss * is2 - n * is2}}};
    r.feasible = true;
    return r;
}

} // namespace kestavian::stats
