// nzoverwrite: writes the elements of X, in linear order, over the first
// stored values of the sparse matrix M, in the host's own array:
//     the first numel(X) stored values of M become X(:)
//
//     nzoverwrite(M, X)
//
// The pattern of M (row indices, column starts, dimensions) is left as it
// is, so new values for a fixed pattern, in the pattern's storage order,
// reach the matrix without a new sparse array being built. Every variable
// that shares its data with M sees the new values too. No output is made.
#include "../host/mexapi.h"

void mexFunction(int, mxArray *[], int nrhs, const mxArray *prhs[]) {
    // Both checks below read slots 0 and 1; with fewer inputs the second
    // slot is not there.
    if (nrhs < 2) mexErrMsgTxt("Two input arguments, M and X, are required.");

    const mxArray *aM = prhs[0], *aX = prhs[1];

    if (!mxIsDouble(aM) || !mxIsDouble(aX)) mexErrMsgTxt("M and X must be of type DOUBLE.");
    if (!mxIsSparse(aM)) mexErrMsgTxt("M must be sparse.");

    // The bound is the room of the value array (its capacity), not the
    // entries in use: values past those land in the spare room.
    const mwSize capacity = mxGetNzmax(aM);
    const std::size_t count = mxGetNumberOfElements(aX);
    if (capacity < count) mexErrMsgTxt("M must be able to contain at least as many elements as X.");

    // A sparse X holds only its stored values, fewer than its elements.
    if (mxIsSparse(aX)) mexErrMsgTxt("X must be a full array, not sparse.");

    // A complex M cannot be written in place on any host: Octave hands a
    // plug-in a temporary copy of its real part, and MATLAB (which stores
    // complex data interleaved since R2018a) may hand a plug-in built for
    // separate real and imaginary parts a copy as well. The write would be
    // lost while the call reported success.
    if (mxIsComplex(aM)) mexErrMsgTxt("M must be real: a complex M cannot be written in place.");

    // An empty X has no data at all (a null pointer): nothing to copy.
    if (count == 0) return;
    std::memcpy(mxGetPr(aM), mxGetPr(aX), count * sizeof(double));
}
