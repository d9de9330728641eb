// Plain reference arithmetic for the block factors, written independently
// of BLAS/LAPACK: Gram matrix by sums, Cholesky by the textbook recurrence.
#ifndef TESTS_REFERENCE_H
#define TESTS_REFERENCE_H

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace reference {

// Upper factor R (column-major r-by-r, zeros below) of
// sum_e scale_e^2 W(row_e,:)' W(row_e,:) + lambda I.
inline std::vector<double> gramFactor(const std::vector<double> &W, std::size_t m, std::size_t r,
                                      const std::vector<std::size_t> &rows,
                                      const std::vector<double> &scales, double lambda) {
    std::vector<double> A(r * r, 0.0), R(r * r, 0.0);
    for (std::size_t e = 0; e < rows.size(); ++e)
        for (std::size_t i = 0; i < r; ++i)
            for (std::size_t j = 0; j < r; ++j)
                A[i + j * r] += scales[e] * W[rows[e] + i * m] * scales[e] * W[rows[e] + j * m];
    for (std::size_t i = 0; i < r; ++i) A[i + i * r] += lambda;
    for (std::size_t j = 0; j < r; ++j) {
        for (std::size_t i = 0; i <= j; ++i) {
            double s = A[i + j * r];
            for (std::size_t k = 0; k < i; ++k) s -= R[k + i * r] * R[k + j * r];
            R[i + j * r] = (i == j) ? std::sqrt(s) : s / R[i + i * r];
        }
    }
    return R;
}

// Upper triangle close to the reference, strict lower triangle exactly +0.0.
inline void expectUpperFactor(const std::vector<double> &got, const std::vector<double> &want,
                              std::size_t r) {
    ASSERT_EQ(got.size(), r * r);
    for (std::size_t j = 0; j < r; ++j)
        for (std::size_t i = 0; i < r; ++i) {
            double g = got[i + j * r];
            if (i > j) {
                EXPECT_EQ(g, 0.0) << "below the diagonal at (" << i << "," << j << ")";
                EXPECT_FALSE(std::signbit(g)) << "-0.0 below the diagonal at (" << i << "," << j << ")";
            } else {
                double w = want[i + j * r];
                EXPECT_NEAR(g, w, 1e-12 * (1.0 + std::fabs(w))) << "at (" << i << "," << j << ")";
            }
        }
}

}  // namespace reference

#endif
