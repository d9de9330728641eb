// A plug-in that misbehaves on request, so that tests can see the stand-in
// host catch what the kernels must never do. The first input selects:
//   1  create a scratch array and return without freeing it (a leak)
//   2  create an output, store it, create a scratch array, then raise an error
//   3  return a cell holding two arrays
//   4  create an output, then ask for an array whose element count
//      overflows the size type
//   5  create an output, then ask for an array of almost SIZE_MAX bytes,
//      more than any memory
//   6  create a scratch array that an object in this frame frees when it
//      is destroyed, then raise an error: only a host that unwinds the
//      plug-in's frames runs that destructor
#include "../../src/host/mexapi.h"

namespace {
struct Scratch {
    mxArray *array;
    ~Scratch() { mxDestroyArray(array); }
};
}  // namespace

void mexFunction(int, mxArray *plhs[], int, const mxArray *prhs[]) {
    const double mode = mxGetScalar(prhs[0]);
    if (mode == 1) {
        mxCreateDoubleMatrix(2, 3, mxREAL);
        plhs[0] = mxCreateDoubleMatrix(1, 1, mxREAL);
    } else if (mode == 2) {
        plhs[0] = mxCreateCellMatrix(2, 1);
        mxSetCell(plhs[0], 0, mxCreateDoubleMatrix(4, 4, mxREAL));
        mxCreateDoubleMatrix(5, 5, mxREAL);
        mexErrMsgTxt("probe failed on purpose");
    } else if (mode == 6) {
        Scratch scratch{mxCreateDoubleMatrix(3, 3, mxREAL)};
        mexErrMsgTxt("probe failed on purpose");
    } else if (mode == 4 || mode == 5) {
        plhs[0] = mxCreateCellMatrix(2, 1);
        if (mode == 4)
            mxCreateDoubleMatrix(SIZE_MAX, 2, mxREAL);
        else
            mxCreateDoubleMatrix(SIZE_MAX / 32, 4, mxREAL);
    } else {
        plhs[0] = mxCreateCellMatrix(1, 2);
        mxSetCell(plhs[0], 0, mxCreateDoubleMatrix(1, 1, mxREAL));
        mxSetCell(plhs[0], 1, mxCreateDoubleMatrix(1, 1, mxREAL));
    }
}
