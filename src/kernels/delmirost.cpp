// delmirost: one regularized upper Cholesky factor per block of observed
// entries given as triplets (Chat, I, J) sorted by block number J:
//     factors{b} = chol(sum over block b of Chat(k) W(I(k),:)' W(I(k),:) + lambda*eye(r))
//
//     factors = delmirost(Chat, W, lambda, I, J, nBlocks)
#include "../factor/factorGramBlock.h"
#include "../host/mexapi.h"

// The pairs of one block: triplets start .. start+p-1, row I-1, scale sqrt(Chat).
struct TripletPairs {
    const std::uint32_t *I;
    const double *Chat;
};

static inline void takePair(const TripletPairs &pairs, std::size_t e, std::size_t &row,
                            double &scale) {
    row = pairs.I[e] - 1u;
    scale = std::sqrt(pairs.Chat[e]);
}

// Length of an index or weight vector: its larger dimension.
static std::size_t lengthOf(const mxArray *a) {
    std::size_t m = mxGetM(a), n = mxGetN(a);
    return m > n ? m : n;
}

static bool isFullRealDouble(const mxArray *a) {
    return mxIsDouble(a) && !mxIsSparse(a) && !mxIsComplex(a);
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 6 || nlhs != 1)
        mexErrMsgTxt("Invalid number of input/output parameter. Need 6 inputs and 1 output.");

    const mxArray *aChat = prhs[0], *aW = prhs[1], *aLambda = prhs[2];
    const mxArray *aI = prhs[3], *aJ = prhs[4], *aBlocks = prhs[5];

    const std::size_t r = mxGetN(aW);
    const std::size_t m = mxGetM(aW);

    const std::size_t len = lengthOf(aI);
    if (lengthOf(aJ) != len || lengthOf(aChat) != len)
        mexErrMsgTxt("I, J and Chat must be vectors of the same length.");

    // Inputs the arithmetic below could not read safely.
    if (!isFullRealDouble(aChat) || !isFullRealDouble(aW))
        mexErrMsgTxt("Chat and W must be full real double arrays.");
    if (!mxIsUint32(aI) || !mxIsUint32(aJ) || !mxIsUint32(aBlocks) || mxIsSparse(aBlocks))
        mexErrMsgTxt("I, J and nBlocks must be of class uint32.");
    if (mxGetNumberOfElements(aBlocks) == 0) mexErrMsgTxt("nBlocks must not be empty.");
    if (mxGetNumberOfElements(aI) < len || mxGetNumberOfElements(aJ) < len ||
        mxGetNumberOfElements(aChat) < len)
        mexErrMsgTxt("I, J and Chat must hold as many elements as their length.");

    const std::size_t nBlocks = *static_cast<const std::uint32_t *>(mxGetData(aBlocks));
    // An r-by-r block must be an array that can exist: a host that let the
    // byte count of a larger one wrap round would hand out too little room.
    if (nBlocks > 0 && r != 0 && r > SIZE_MAX / sizeof(double) / r)
        mexErrMsgTxt("W has too many columns: its r-by-r factor blocks cannot exist.");
    const double lambda = mxGetScalar(aLambda);
    const double *Chat = mxGetPr(aChat);
    const double *W = mxGetPr(aW);
    const std::uint32_t *I = static_cast<const std::uint32_t *>(mxGetData(aI));
    const std::uint32_t *J = static_cast<const std::uint32_t *>(mxGetData(aJ));

    mxArray *buffer = mxCreateDoubleMatrix(m, r, mxREAL);
    double *gather = mxGetPr(buffer);

    mxArray *factors = mxCreateCellMatrix(nBlocks, 1);
    plhs[0] = factors;

    if (nBlocks > 0) {
        for (std::size_t v = 0; v < nBlocks; ++v) mxSetCell(factors, v, nullptr);

        std::size_t start = 0, pos = 0;
        for (std::size_t v = 0; v < nBlocks; ++v) {
            mxSetCell(factors, v, mxCreateDoubleMatrix(r, r, mxREAL));
            double *dest = mxGetPr(mxGetCell(factors, v));

            // The run of block v+1 starts where the previous run ended. A
            // triplet whose block number is smaller than the current one
            // stops the walk for good; a larger one waits for its block.
            const std::uint32_t b = static_cast<std::uint32_t>(v + 1);
            while (pos < len && J[pos] == b) {
                if (I[pos] == 0 || I[pos] > m)
                    mexErrMsgTxt("Row numbers in I must lie between 1 and the number of rows of W.");
                ++pos;
            }
            const std::size_t p = pos - start;
            if (p > m) mexErrMsgTxt("A block may hold at most as many triplets as W has rows.");

            factorGramBlock(W, m, r, gather, p, TripletPairs{I + start, Chat + start}, lambda,
                            "delmirost", dest);
            start = pos;
        }
    }

    mxDestroyArray(buffer);
}
