#include "plainlapack.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace plainlapack {

namespace {

bool isOption(const char *s, char upper) { return *s == upper || *s == upper - 'A' + 'a'; }
lapackInt atLeastOne(lapackInt n) { return n > 1 ? n : 1; }

// The factor R of A = R'R, whichever triangle holds it: R(i,j), i <= j, is
// A's (i,j) in the upper triangle and its (j,i) in the lower one.
struct Factor {
    double *a;
    lapackInt lda;
    bool upper;
    double &operator()(lapackInt i, lapackInt j) const {
        return upper ? a[i + j * lda] : a[j + i * lda];
    }
};

// The argument check shared by dpotrf and dpotrs; 0 or the failing
// argument's number, negated.
lapackInt checkCommon(const char *uplo, lapackInt n) {
    if (!isOption(uplo, 'U') && !isOption(uplo, 'L')) return -1;
    if (n < 0) return -2;
    return 0;
}

}  // namespace

void dgemm(const char *transa, const char *transb, const lapackInt *m, const lapackInt *n,
           const lapackInt *k, const double *alpha, const double *a, const lapackInt *lda,
           const double *b, const lapackInt *ldb, const double *beta, double *c,
           const lapackInt *ldc) {
    const bool ta = !isOption(transa, 'N'), tb = !isOption(transb, 'N');
    int bad = 0;
    if (ta && !isOption(transa, 'T') && !isOption(transa, 'C')) bad = 1;
    else if (tb && !isOption(transb, 'T') && !isOption(transb, 'C')) bad = 2;
    else if (*m < 0) bad = 3;
    else if (*n < 0) bad = 4;
    else if (*k < 0) bad = 5;
    else if (*lda < atLeastOne(ta ? *k : *m)) bad = 8;
    else if (*ldb < atLeastOne(tb ? *n : *k)) bad = 10;
    else if (*ldc < atLeastOne(*m)) bad = 13;
    if (bad) {
        std::fprintf(stderr, "dgemm: parameter %d had an illegal value\n", bad);
        std::abort();
    }
    for (lapackInt j = 0; j < *n; ++j)
        for (lapackInt i = 0; i < *m; ++i) {
            double sum = 0.0;
            for (lapackInt l = 0; l < *k; ++l)
                sum += (ta ? a[l + i * *lda] : a[i + l * *lda]) *
                       (tb ? b[j + l * *ldb] : b[l + j * *ldb]);
            double &cij = c[i + j * *ldc];
            cij = *beta == 0.0 ? *alpha * sum : *alpha * sum + *beta * cij;
        }
}

void dpotrf(const char *uplo, const lapackInt *n, double *a, const lapackInt *lda,
            lapackInt *info) {
    *info = checkCommon(uplo, *n);
    if (*info == 0 && *lda < atLeastOne(*n)) *info = -4;
    if (*info) return;
    const Factor r{a, *lda, isOption(uplo, 'U')};
    for (lapackInt j = 0; j < *n; ++j) {
        double d = r(j, j);
        for (lapackInt l = 0; l < j; ++l) d -= r(l, j) * r(l, j);
        if (!(d > 0.0)) {
            r(j, j) = d;
            *info = j + 1;
            return;
        }
        d = std::sqrt(d);
        r(j, j) = d;
        for (lapackInt i = j + 1; i < *n; ++i) {
            double s = r(j, i);
            for (lapackInt l = 0; l < j; ++l) s -= r(l, j) * r(l, i);
            r(j, i) = s / d;
        }
    }
}

void dpotrs(const char *uplo, const lapackInt *n, const lapackInt *nrhs, const double *a,
            const lapackInt *lda, double *b, const lapackInt *ldb, lapackInt *info) {
    *info = checkCommon(uplo, *n);
    if (*info == 0 && *nrhs < 0) *info = -3;
    else if (*info == 0 && *lda < atLeastOne(*n)) *info = -5;
    else if (*info == 0 && *ldb < atLeastOne(*n)) *info = -7;
    if (*info) return;
    const Factor r{const_cast<double *>(a), *lda, isOption(uplo, 'U')};
    for (lapackInt col = 0; col < *nrhs; ++col) {
        double *x = b + col * *ldb;
        for (lapackInt i = 0; i < *n; ++i) {  // R' y = b
            for (lapackInt l = 0; l < i; ++l) x[i] -= r(l, i) * x[l];
            x[i] /= r(i, i);
        }
        for (lapackInt i = *n; i-- > 0;) {  // R x = y
            for (lapackInt l = i + 1; l < *n; ++l) x[i] -= r(i, l) * x[l];
            x[i] /= r(i, i);
        }
    }
}

}  // namespace plainlapack
