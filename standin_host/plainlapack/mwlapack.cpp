// libmwlapack of the stand-in host where it has no OpenBLAS: the plain
// dpotrf and dpotrs.
#include "plainlapack.h"

extern "C" {
void dpotrf(const char *uplo, const lapackInt *n, double *a, const lapackInt *lda,
            lapackInt *info) {
    plainlapack::dpotrf(uplo, n, a, lda, info);
}
void dpotrs(const char *uplo, const lapackInt *n, const lapackInt *nrhs, const double *a,
            const lapackInt *lda, double *b, const lapackInt *ldb, lapackInt *info) {
    plainlapack::dpotrs(uplo, n, nrhs, a, lda, b, ldb, info);
}
}
