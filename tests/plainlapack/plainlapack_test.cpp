// The plain dgemm/dpotrf/dpotrs that serve as the stand-in host's LAPACK and
// BLAS on Windows give what OpenBLAS gives, for every option, including the
// refusals and the failure on a matrix that is not positive definite.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "../../standin_host/plainlapack/plainlapack.h"

namespace {

std::vector<double> randoms(std::size_t count, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<double> v(count);
    for (double &x : v) x = uniform(gen);
    return v;
}

void expectClose(const std::vector<double> &got, const std::vector<double> &want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-12 * (1.0 + std::fabs(want[i]))) << "at " << i;
}

// A symmetric positive definite n-by-n matrix, column-major with leading
// dimension ld (the rows past n hold garbage that must not be read).
std::vector<double> positiveDefinite(lapackInt n, lapackInt ld) {
    std::vector<double> g = randoms(n * n, 7), a(ld * n, 1e300);
    for (lapackInt j = 0; j < n; ++j)
        for (lapackInt i = 0; i < n; ++i) {
            double s = i == j ? n : 0.0;
            for (lapackInt l = 0; l < n; ++l) s += g[l + i * n] * g[l + j * n];
            a[i + j * ld] = s;
        }
    return a;
}

}  // namespace

TEST(PlainLapack, DgemmMatchesOpenBlasForEveryTransposeAndBeta) {
    const lapackInt m = 5, n = 4, k = 3, ld = 7;
    const std::vector<double> a = randoms(ld * 5, 1), b = randoms(ld * 5, 2);
    for (const char *ta : {"N", "T"})
        for (const char *tb : {"N", "t"})
            for (double beta : {0.0, -0.5}) {
                std::vector<double> want = randoms(ld * n, 3), got = want;
                if (beta == 0.0) want.assign(want.size(), NAN), got = want;  // not read
                const double alpha = 1.5;
                dgemm(ta, tb, &m, &n, &k, &alpha, a.data(), &ld, b.data(), &ld, &beta,
                      want.data(), &ld);
                plainlapack::dgemm(ta, tb, &m, &n, &k, &alpha, a.data(), &ld, b.data(), &ld,
                                   &beta, got.data(), &ld);
                SCOPED_TRACE(std::string(ta) + tb + " beta " + std::to_string(beta));
                for (lapackInt j = 0; j < n; ++j)
                    for (lapackInt i = 0; i < m; ++i)
                        EXPECT_NEAR(got[i + j * ld], want[i + j * ld], 1e-13);
            }
}

TEST(PlainLapack, CholeskyFactorAndSolveMatchOpenBlas) {
    const lapackInt n = 6, ld = 8, nrhs = 2;
    for (const char *uplo : {"U", "l"}) {
        SCOPED_TRACE(uplo);
        std::vector<double> want = positiveDefinite(n, ld), got = want;
        lapackInt infoWant = -99, infoGot = -99;
        dpotrf(uplo, &n, want.data(), &ld, &infoWant);
        plainlapack::dpotrf(uplo, &n, got.data(), &ld, &infoGot);
        ASSERT_EQ(infoGot, 0);
        ASSERT_EQ(infoWant, 0);
        expectClose(got, want);  // the other triangle and the rows past n untouched

        std::vector<double> x = randoms(ld * nrhs, 4), y = x;
        dpotrs(uplo, &n, &nrhs, want.data(), &ld, x.data(), &ld, &infoWant);
        plainlapack::dpotrs(uplo, &n, &nrhs, got.data(), &ld, y.data(), &ld, &infoGot);
        EXPECT_EQ(infoGot, infoWant);
        expectClose(y, x);
    }
}

TEST(PlainLapack, RefusalsAndIndefiniteMinorAsOpenBlasReports) {
    const lapackInt n = 4, ld = 4, nrhs = 1, negative = -1, small = 3;
    std::vector<double> a = positiveDefinite(n, ld);
    a[2 + 2 * ld] = -100.0;  // the leading minor of order 3 is not positive definite
    std::vector<double> b = a;
    lapackInt infoWant, infoGot;
    dpotrf("U", &n, a.data(), &ld, &infoWant);
    plainlapack::dpotrf("U", &n, b.data(), &ld, &infoGot);
    EXPECT_EQ(infoWant, 3);
    EXPECT_EQ(infoGot, infoWant);

    std::vector<double> x(n, 1.0);
    struct Case { const char *uplo; const lapackInt *n, *nrhs, *lda; };
    for (Case c : {Case{"X", &n, &nrhs, &ld}, Case{"U", &negative, &nrhs, &ld},
                   Case{"U", &n, &negative, &ld}, Case{"U", &n, &nrhs, &small}}) {
        dpotrs(c.uplo, c.n, c.nrhs, a.data(), c.lda, x.data(), &ld, &infoWant);
        plainlapack::dpotrs(c.uplo, c.n, c.nrhs, a.data(), c.lda, x.data(), &ld, &infoGot);
        EXPECT_EQ(infoGot, infoWant);
        EXPECT_LT(infoGot, 0);
        if (c.nrhs == &nrhs) {
            dpotrf(c.uplo, c.n, b.data(), c.lda, &infoWant);
            plainlapack::dpotrf(c.uplo, c.n, b.data(), c.lda, &infoGot);
            EXPECT_EQ(infoGot, infoWant);
        }
    }
}
