// ombrelast: the product of the dense factors A (m-by-r) and B (r-by-n) at a
// list of positions, without forming A*B:
//     X(k) = A(I(k), :) * B(:, J(k))     for every linear position k of I
//
//     X = ombrelast(A, B, I, J)
//
// Each X(k) is summed left to right from its first product, every product
// rounded to double before it is added (the build forbids contraction into
// fused multiply-adds), so the result is fixed bit for bit.
#include "../host/mexapi.h"

[[noreturn]] static void badRow() {
    mexErrMsgTxt("Row numbers in I must lie between 1 and the number of rows of A.");
}
[[noreturn]] static void badColumn() {
    mexErrMsgTxt("Column numbers in J must lie between 1 and the number of columns of B.");
}

// Offsets of position k's row in A (row i, column 0) and column in B (row 0,
// column j); refuses numbers outside 1..m and 1..n, zero included, before
// anything is read through them.
static inline void locate(const std::uint32_t *I, const std::uint32_t *J, std::size_t k,
                          std::size_t m, std::size_t n, std::size_t r, std::size_t &row,
                          std::size_t &col) {
    row = static_cast<std::size_t>(I[k]) - 1u;  // 0 wraps round and is refused
    col = static_cast<std::size_t>(J[k]) - 1u;
    if (row >= m) badRow();
    if (col >= n) badColumn();
    col *= r;
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 4) mexErrMsgTxt("Four input arguments are required.");
    if (nlhs != 1) mexErrMsgTxt("A single output argument is required.");

    const mxArray *aA = prhs[0], *aB = prhs[1], *aI = prhs[2], *aJ = prhs[3];

    if (!mxIsUint32(aI) || !mxIsUint32(aJ)) mexErrMsgTxt("I and J must be of class UINT32.");
    if (!mxIsDouble(aA) || !mxIsDouble(aB)) mexErrMsgTxt("A and B must be of class DOUBLE.");
    if (mxIsComplex(aA) || mxIsComplex(aB)) mexErrMsgTxt("A and B must be REAL.");
    if (mxGetN(aA) != mxGetM(aB)) mexErrMsgTxt("Matrix dimensions mismatch for A and B.");
    const std::size_t p = mxGetM(aI), q = mxGetN(aI);
    if (mxGetM(aJ) != p || mxGetN(aJ) != q) mexErrMsgTxt("Matrix dimensions mismatch for I and J.");

    mxArray *out = mxCreateDoubleMatrix(p, q, mxREAL);
    if (!out) mexErrMsgTxt("OMBRELAST: Could not allocate X. Out of memory?");
    plhs[0] = out;

    // A sparse A or B keeps its values in compressed columns, not in the
    // dense layout read below.
    if (mxIsSparse(aA) || mxIsSparse(aB)) mexErrMsgTxt("A and B must be full, not sparse.");

    const std::size_t count = p * q;
    if (count == 0) return;

    const std::size_t m = mxGetM(aA), r = mxGetN(aA), n = mxGetN(aB);
    const std::uint32_t *I = static_cast<const std::uint32_t *>(mxGetData(aI));
    const std::uint32_t *J = static_cast<const std::uint32_t *>(mxGetData(aJ));
    double *X = mxGetPr(out);

    // With no inner dimension every X(k) is the empty sum, the zero the host
    // filled X with; A and B hold nothing to read.
    if (r == 0) {
        std::size_t row, col;
        for (std::size_t k = 0; k < count; ++k) locate(I, J, k, m, n, r, row, col);
        return;
    }

    const double *A = mxGetPr(aA);
    const double *B = mxGetPr(aB);

    // Four positions side by side: their sums are independent, so their
    // scattered reads of A overlap, and each keeps its own order of summation.
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        std::size_t i0, i1, i2, i3, j0, j1, j2, j3;
        locate(I, J, k, m, n, r, i0, j0);
        locate(I, J, k + 1, m, n, r, i1, j1);
        locate(I, J, k + 2, m, n, r, i2, j2);
        locate(I, J, k + 3, m, n, r, i3, j3);
        const double *b0 = B + j0, *b1 = B + j1, *b2 = B + j2, *b3 = B + j3;
        const double *At = A;  // column t of A
        double s0 = At[i0] * b0[0], s1 = At[i1] * b1[0], s2 = At[i2] * b2[0],
               s3 = At[i3] * b3[0];
        for (std::size_t t = 1; t < r; ++t) {
            At += m;
            s0 = s0 + At[i0] * b0[t];
            s1 = s1 + At[i1] * b1[t];
            s2 = s2 + At[i2] * b2[t];
            s3 = s3 + At[i3] * b3[t];
        }
        X[k] = s0;
        X[k + 1] = s1;
        X[k + 2] = s2;
        X[k + 3] = s3;
    }
    for (; k < count; ++k) {
        std::size_t row, col;
        locate(I, J, k, m, n, r, row, col);
        const double *a = A + row, *b = B + col;
        double s = a[0] * b[0];
        for (std::size_t t = 1; t < r; ++t) s = s + a[t * m] * b[t];
        X[k] = s;
    }
}
