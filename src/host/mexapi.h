// The binding to the host: every host call and every LAPACK/BLAS routine the
// kernels use is declared here and nowhere else.
//
// Sizes and indices are unsigned and as wide as a pointer in every build.
// The calls that create arrays or take sizes/indices (creation, cell access,
// ir, jc, nzmax) are bound in their large-array form:
//   - Windows and macOS: the `_730` names, mapped below;
//   - Linux: the plain names, which the host's libmx defines at symbol
//     version `v7.3`; the linker records that version in the plug-in.
// The LAPACK/BLAS integer type follows the library that is linked: 64-bit
// (ILP64) by default on 64-bit hosts, 32-bit on 32-bit hosts, and forced to
// 32-bit with KERNELS_LAPACK_LP64 (the build for Octave, whose own BLAS is
// LP64) or to 64-bit with KERNELS_LAPACK_ILP64.
// KERNELS_HOST_OCTAVE marks the build for GNU Octave, whose mxGetPr of a
// complex array is a temporary copy of its real part.
#ifndef KERNELS_HOST_MEXAPI_H
#define KERNELS_HOST_MEXAPI_H

// The types, sqrt and memcpy of the C runtime come with the binding.
#include "cruntime.h"

typedef struct mxArray_tag mxArray;
typedef std::size_t mwSize;
typedef std::size_t mwIndex;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

#if defined(_WIN32) || defined(__APPLE__)
#define mxCreateDoubleMatrix mxCreateDoubleMatrix_730
#define mxCreateCellMatrix mxCreateCellMatrix_730
#define mxSetCell mxSetCell_730
#define mxGetCell mxGetCell_730
#define mxGetIr mxGetIr_730
#define mxGetJc mxGetJc_730
#define mxGetNzmax mxGetNzmax_730
#endif

#if defined(_WIN32)
#define KERNELS_GATEWAY __declspec(dllexport)
#else
#define KERNELS_GATEWAY __attribute__((visibility("default")))
#endif

extern "C" {

// The gateway every plug-in defines.
KERNELS_GATEWAY void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

// libmex
[[noreturn]] void mexErrMsgTxt(const char *text);

// libmx: shape and class
std::size_t mxGetM(const mxArray *a);
std::size_t mxGetN(const mxArray *a);
std::size_t mxGetNumberOfElements(const mxArray *a);
bool mxIsSparse(const mxArray *a);
bool mxIsDouble(const mxArray *a);
bool mxIsUint32(const mxArray *a);
bool mxIsComplex(const mxArray *a);
bool mxIsCell(const mxArray *a);
bool mxIsNumeric(const mxArray *a);

// libmx: data
double *mxGetPr(const mxArray *a);
void *mxGetData(const mxArray *a);
double mxGetScalar(const mxArray *a);
mwIndex *mxGetIr(const mxArray *a);
mwIndex *mxGetJc(const mxArray *a);
mwSize mxGetNzmax(const mxArray *a);

// libmx: creation, cells, destruction
mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity flag);
mxArray *mxCreateCellMatrix(mwSize m, mwSize n);
void mxSetCell(mxArray *cell, mwIndex i, mxArray *value);
mxArray *mxGetCell(const mxArray *cell, mwIndex i);
void mxDestroyArray(mxArray *a);

}  // extern "C"

// LAPACK and BLAS, Fortran calling convention: every argument by reference,
// options as one-letter strings, no string-length arguments.
#if defined(KERNELS_LAPACK_LP64)
typedef std::int32_t lapackInt;
#elif defined(KERNELS_LAPACK_ILP64)
typedef std::int64_t lapackInt;
#else
typedef std::ptrdiff_t lapackInt;
#endif

#if !defined(_WIN32)
#define dgemm dgemm_
#define dpotrf dpotrf_
#define dpotrs dpotrs_
#endif

extern "C" {
void dgemm(const char *transa, const char *transb, const lapackInt *m, const lapackInt *n,
           const lapackInt *k, const double *alpha, const double *a, const lapackInt *lda,
           const double *b, const lapackInt *ldb, const double *beta, double *c,
           const lapackInt *ldc);
void dpotrf(const char *uplo, const lapackInt *n, double *a, const lapackInt *lda,
            lapackInt *info);
void dpotrs(const char *uplo, const lapackInt *n, const lapackInt *nrhs, const double *a,
            const lapackInt *lda, double *b, const lapackInt *ldb, lapackInt *info);
}

#endif
