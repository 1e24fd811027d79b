#pragma once

#include <algorithm>
#include <cmath>

#include "stats/small_matrix.h"

namespace kestavian::stats {

// A function's value, gradient and Hessian at a point, all from one pass over the data. A point
// outside the function's domain (a datum beyond the distribution's support) is not feasible.
template <int N> struct Evaluation {
    bool feasible = false;
    double value = 0;
    Vector<N> gradient{};
    Matrix<N> hessian{};
};

template <int N, class E> struct Descent {
    Vector<N> point{};
    E at{};
    bool converged = false; // a positive-definite Hessian and a negligible Newton step
    int evaluations = 0;
};

// Minimises from a feasible start by Newton steps, damped in the Levenberg-Marquardt way when the
// Hessian is not positive definite or a step does not lower the value. A likelihood with
// analytic derivatives converges in a handful of passes over the data, where a search without
// derivatives would need hundreds; that is what lets a profile interval afford one minimisation
// per trial bound. `admissible` rejects a point before it is evaluated (a scale at or below zero,
// a shape outside the range where the likelihood has a maximum).
template <int N, class Evaluate, class Admissible>
auto dampedNewton(const Vector<N>& start, Evaluate&& evaluate, Admissible&& admissible,
                  double tolerance, int maxEvaluations) {
    using E = decltype(evaluate(start));
    Descent<N, E> d;
    d.point = start;
    if (!admissible(start))
        return d;
    d.at = evaluate(start);
    d.evaluations = 1;
    if (!d.at.feasible)
        return d;
    double lambda = 0;
    while (d.evaluations < maxEvaluations) {
        Vector<N> descent{};
        for (int i = 0; i < N; ++i)
            descent[i] = -d.at.gradient[i];
        if (const auto newton = solvePositiveDefinite<N>(d.at.hessian, descent)) {
            double largest = 0;
            for (int i = 0; i < N; ++i)
                largest = std::max(largest, std::fabs((*newton)[i]));
            if (largest < tolerance) {
                d.converged = true;
                return d;
            }
        }
        double scale = 1;
        for (int i = 0; i < N; ++i)
            scale = std::max(scale, std::fabs(d.at.hessian[i][i]));
        // Rounding makes values within this of each other equal; without the slack the last
        // Newton steps before convergence could be refused for noise.
        const double slack = 1e-14 * (1 + std::fabs(d.at.value));
        bool moved = false;
        while (!moved && d.evaluations < maxEvaluations && lambda < 1e12 * scale) {
            Matrix<N> damped = d.at.hessian;
            for (int i = 0; i < N; ++i)
                damped[i][i] += lambda;
            const auto step = solvePositiveDefinite<N>(damped, descent);
            if (step) {
                Vector<N> trial{};
                for (int i = 0; i < N; ++i)
                    trial[i] = d.point[i] + (*step)[i];
                if (admissible(trial)) {
                    E next = evaluate(trial);
                    ++d.evaluations;
                    if (next.feasible && next.value <= d.at.value + slack) {
                        d.point = trial;
                        d.at = next;
                        moved = true;
                        lambda = lambda < 1e-6 * scale ? 0 : lambda / 10;
                        continue;
                    }
                }
            }
            lambda = lambda == 0 ? 1e-4 * scale : lambda * 10;
        }
        if (!moved)
            return d; // no step lowers the value: pressed against the edge of the domain
    }
    return d;
}

} // namespace kestavian::stats
