// libmwblas of the stand-in host where it has no OpenBLAS: the plain dgemm.
#include "plainlapack.h"

extern "C" void dgemm(const char *transa, const char *transb, const lapackInt *m,
                      const lapackInt *n, const lapackInt *k, const double *alpha,
                      const double *a, const lapackInt *lda, const double *b,
                      const lapackInt *ldb, const double *beta, double *c, const lapackInt *ldc) {
    plainlapack::dgemm(transa, transb, m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}
