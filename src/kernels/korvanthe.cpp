// korvanthe: one regularized upper Cholesky factor per column of a sparse
// matrix Ct. For the stored entries (i_e, c_e) of column l:
//     factors{l} = chol(sum_e c_e^2 W(i_e,:)' W(i_e,:) + lambda*eye(r))
// The stored value itself is the scale (no square root).
//
//     factors = korvanthe(Ct, W, lambda)
#include "../factor/factorGramBlock.h"
#include "../host/mexapi.h"

// The pairs of one column: stored entries s .. s+p-1 of Ct, row as stored
// (0-based), scale the stored value.
struct ColumnPairs {
    const mwIndex *ir;
    const double *value;
    std::size_t m;
};

[[noreturn]] static void malformed() {
    mexErrMsgTxt("Ct is not a well-formed sparse matrix.");
}

static inline void takePair(const ColumnPairs &pairs, std::size_t e, std::size_t &row,
                            double &scale) {
    row = pairs.ir[e];
    // Only a sparse array built by other means than the host's own could
    // hold a row past the end of W.
    if (row >= pairs.m) malformed();
    scale = pairs.value[e];
}

static bool isFullRealDouble(const mxArray *a) {
    return mxIsDouble(a) && !mxIsSparse(a) && !mxIsComplex(a);
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 3 || nlhs != 1)
        mexErrMsgTxt("Invalid number of input/output parameter. Need 3 inputs and 1 output.");

    const mxArray *aCt = prhs[0], *aW = prhs[1], *aLambda = prhs[2];

    const std::size_t m = mxGetM(aCt);
    const std::size_t n = mxGetN(aCt);
    const std::size_t r = mxGetN(aW);
    if (mxGetM(aW) != m) mexErrMsgTxt("Dimensions mismatch in input arguments.");
    if (!mxIsSparse(aCt)) mexErrMsgTxt("Ct ought to be a sparse matrix.");

    // Inputs outside the data model, refused after the checks above: the
    // arithmetic below could not read them as what they are.
    if (!mxIsDouble(aCt) || mxIsComplex(aCt))
        mexErrMsgTxt("Ct must be a sparse matrix of real doubles.");
    if (!isFullRealDouble(aW)) mexErrMsgTxt("W must be a full real double matrix.");
    if (!mxIsNumeric(aLambda) || mxIsComplex(aLambda) || mxGetNumberOfElements(aLambda) != 1)
        mexErrMsgTxt("lambda must be a real numeric scalar.");
    // An r-by-r block must be an array that can exist: a host that let the
    // byte count of a larger one wrap round would hand out too little room.
    if (n > 0 && r != 0 && r > SIZE_MAX / sizeof(double) / r)
        mexErrMsgTxt("W has too many columns: its r-by-r factor blocks cannot exist.");

    const double lambda = mxGetScalar(aLambda);
    const mwIndex *ir = mxGetIr(aCt);
    const mwIndex *jc = mxGetJc(aCt);
    const double *values = mxGetPr(aCt);
    const double *W = mxGetPr(aW);

    mxArray *buffer = mxCreateDoubleMatrix(m, r, mxREAL);
    double *gather = mxGetPr(buffer);

    mxArray *factors = mxCreateCellMatrix(n, 1);
    plhs[0] = factors;

    if (n > 0) {
        for (std::size_t l = 0; l < n; ++l) mxSetCell(factors, l, nullptr);

        // The host's sparse arrays keep their column starts within the
        // capacity, ascending, and at most m entries per column (rows are
        // distinct); the walk relies on that to stay inside ir, the values
        // and the gather buffer.
        const std::size_t capacity = mxGetNzmax(aCt);
        if (jc[0] != 0) malformed();

        // A W without columns gives 0-by-0 factors: factorGramBlock returns
        // at once for order 0, as it does for delmirost.
        for (std::size_t l = 0; l < n; ++l) {
            mxSetCell(factors, l, mxCreateDoubleMatrix(r, r, mxREAL));
            double *dest = mxGetPr(mxGetCell(factors, l));

            const std::size_t s = jc[l];
            // Each column's end is checked, not only the last one: starts that
            // fall back and rise again may pass the capacity in between.
            if (jc[l + 1] < s || jc[l + 1] - s > m || jc[l + 1] > capacity) malformed();
            const std::size_t p = jc[l + 1] - s;
            factorGramBlock(W, m, r, gather, p, ColumnPairs{ir + s, values + s, m}, lambda,
                            "korvanthe", dest);
        }
    }

    mxDestroyArray(buffer);
}
