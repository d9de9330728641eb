// The stand-in host's array API. It implements every host call of the
// kernels' binding (src/host/mexapi.h) with the host's semantics, and adds
// the calls a test needs to build inputs and inspect outputs, plus the
// bookkeeping a host does around each call.
#ifndef STANDIN_MX_H
#define STANDIN_MX_H

#include "../../../src/host/mexapi.h"

typedef enum {
    mxUNKNOWN_CLASS = 0,
    mxCELL_CLASS,
    mxSTRUCT_CLASS,
    mxLOGICAL_CLASS,
    mxCHAR_CLASS,
    mxVOID_CLASS,
    mxDOUBLE_CLASS,
    mxSINGLE_CLASS,
    mxINT8_CLASS,
    mxUINT8_CLASS,
    mxINT16_CLASS,
    mxUINT16_CLASS,
    mxINT32_CLASS,
    mxUINT32_CLASS,
    mxINT64_CLASS,
    mxUINT64_CLASS
} mxClassID;

extern "C" {

// Further host calls (kernels may bind these too).
mxClassID mxGetClassID(const mxArray *a);
// Bytes per element (of a cell or struct: of the handle each element is).
std::size_t mxGetElementSize(const mxArray *a);
bool mxIsNumeric(const mxArray *a);
bool mxIsLogical(const mxArray *a);
bool mxIsEmpty(const mxArray *a);
double *mxGetPi(const mxArray *a);

// Creation for callers: a numeric matrix of any class (zero-filled), a
// sparse double or logical matrix with capacity nzmax (at least 1, as the
// host allocates it), a logical matrix, a char row vector, and a struct
// array without fields.
mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity flag);
mxArray *mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity flag);
mxArray *mxCreateSparseLogicalMatrix(mwSize m, mwSize n, mwSize nzmax);
mxArray *mxCreateLogicalMatrix(mwSize m, mwSize n);
mxArray *mxCreateString(const char *text);
mxArray *mxCreateStructMatrix(mwSize m, mwSize n, int nfields, const char **names);

// Host bookkeeping.
// Arrays alive now, in or out of a call.
std::size_t standinLiveArrays(void);
// The k-th array creation from now (k >= 1) returns no array, as a host
// out of memory would; 0 cancels.
void standinFailCreation(std::size_t k);
// The largest single allocation granted, in bytes (0: the machine's memory).
// A larger request during a call ends it with "Out of memory.", as the host
// does; outside a call it throws std::bad_alloc.
void standinLimitAllocation(std::size_t bytes);
// How the host ends a call that raised an error: false, by a jump back to
// the gateway's caller past the plug-in's frames (the default); true, by a
// C++ exception unwound through them (STANDIN_ERRORS=throw in the
// environment; STANDIN_ERRORS=longjmp is the default). Hosts differ in
// this, and a plug-in must survive both.
bool standinErrorsThrow(void);

}  // extern "C"

#endif
