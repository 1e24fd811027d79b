#pragma once

#include <array>
#include <cmath>
#include <optional>

namespace kestavian::stats {

// The fits have two or three parameters and the profiles one or two, so vectors and matrices are
// fixed-size arrays on the stack.
template <int N> using Vector = std::array<double, N>;
template <int N> using Matrix = std::array<std::array<double, N>, N>;

// Solves a x = b for symmetric a by Cholesky factorisation. Empty when a is not positive
// definite: the point is not a minimum, or too ill-conditioned to be trusted as one.
template <int N>
std::optional<Vector<N>> solvePositiveDefinite(const Matrix<N>& a, const Vector<N>& b) {
    Matrix<N> l{};
    for (int i = 0; i < N; ++i) {
        for (int j = 0; j <= i; ++j) {
            double sum = a[i][j];
            for (int k = 0; k < j; ++k)
                sum -= l[i][k] * l[j][k];
            if (i == j) {
                if (!(sum > 0 && std::isfinite(sum)))
                    return std::nullopt;
                l[i][i] = std::sqrt(sum);
            } else {
                l[i][j] = sum / l[j][j];
            }
        }
    }
    Vector<N> y{};
    for (int i = 0; i < N; ++i) {
        double sum = b[i];
        for (int k = 0; k < i; ++k)
            sum -= l[i][k] * y[k];
        y[i] = sum / l[i][i];
    }
    Vector<N> x{};
    for (int i = N - 1; i >= 0; --i) {
        double sum = y[i];
        for (int k = i + 1; k < N; ++k)
            sum -= l[k][i] * x[k];
        x[i] = sum / l[i][i];
    }
    return x;
}

template <int N> std::optional<Matrix<N>> inversePositiveDefinite(const Matrix<N>& a) {
    Matrix<N> inverse{};
    for (int j = 0; j < N; ++j) {
        Vector<N> unit{};
        unit[j] = 1;
        const std::optional<Vector<N>> column = solvePositiveDefinite<N>(a, unit);
        if (!column)
            return std::nullopt;
        for (int i = 0; i < N; ++i)
            inverse[i][j] = (*column)[i];
    }
    return inverse;
}

} // namespace kestavian::stats
