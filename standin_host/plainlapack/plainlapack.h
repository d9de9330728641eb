// A plain dgemm, dpotrf and dpotrs: the stand-in host's BLAS and LAPACK on
// platforms where no optimized build of them is at hand (Windows). A test
// fixture, not a library: textbook loops, the reference routines' argument
// checks and results, no blocking. The suite checks it against OpenBLAS on
// Linux. Integers are the binding's lapackInt, as wide as a pointer.
#ifndef STANDIN_PLAINLAPACK_H
#define STANDIN_PLAINLAPACK_H

#include "../../src/host/mexapi.h"

namespace plainlapack {

// Each routine has the type the binding gives the host's.

// C = alpha op(A) op(B) + beta C, op being none ("N") or the transpose
// ("T" or "C"); C is not read when beta is 0. An invalid argument is
// reported on stderr and aborts, as the reference BLAS stops.
decltype(::dgemm) dgemm;

// Cholesky factor of the upper ("U") or lower ("L") triangle in place; the
// other triangle is left as it is. info: 0, -i for an invalid i-th
// argument, or j when the leading minor of order j is not positive definite.
decltype(::dpotrf) dpotrf;

// Solves A X = B in place in B from dpotrf's factor of A.
decltype(::dpotrs) dpotrs;

}  // namespace plainlapack

#endif
