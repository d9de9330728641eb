// vantresk: m symmetric positive definite systems in factored form, one per
// column of Y:
//     Z(:,k) = (U'*U) \ Y(:,k),  U = triu(R{k})
// each solved in place in Z by one dpotrs with one right-hand side.
//
//     Z = vantresk(R, Y)
#include "../host/mexapi.h"

static bool isFullRealDouble(const mxArray *a) {
    return mxIsDouble(a) && !mxIsSparse(a) && !mxIsComplex(a);
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const char *const dimensions = "VANTRESK: inconsistent matrix / cell dimensions.";
    if (nrhs != 2) mexErrMsgTxt("Two input arguments required.");
    if (nlhs != 1) mexErrMsgTxt("Single output argument required.");

    const mxArray *R = prhs[0], *Y = prhs[1];
    if (!mxIsCell(R))
        mexErrMsgTxt(
            "VANTRESK: R must be a cell containing m upper triangular matrices of size n-be-n.");

    const std::size_t n = mxGetM(Y);
    const std::size_t m = mxGetN(Y);
    if (m == 0 || n == 0 || mxGetNumberOfElements(R) != m) mexErrMsgTxt(dimensions);

    // Outside the data model, refused after the checks above: the copy
    // below reads n*m doubles of Y's real data.
    if (!isFullRealDouble(Y)) mexErrMsgTxt("VANTRESK: Y must be a full real double matrix.");

    mxArray *Z = mxCreateDoubleMatrix(n, m, mxREAL);
    plhs[0] = Z;
    double *column = mxGetPr(Z);
    std::memcpy(column, mxGetPr(Y), n * m * sizeof(double));

    const lapackInt order = static_cast<lapackInt>(n);
    const lapackInt one = 1;
    lapackInt info = 0;
    for (std::size_t k = 0; k < m; ++k) {
        const mxArray *U = mxGetCell(R, k);
        // An element without an array has no size to test: refused first.
        if (!U) mexErrMsgTxt("VANTRESK: every element of R must hold an array.");
        if (mxGetM(U) != n || mxGetN(U) != n) mexErrMsgTxt(dimensions);
        // dpotrs reads n*n doubles of the element's real data.
        if (!isFullRealDouble(U))
            mexErrMsgTxt("VANTRESK: the elements of R must be full real double matrices.");

        dpotrs("U", &order, &one, mxGetPr(U), &order, column, &order, &info);
        if (info < 0) mexErrMsgTxt("dpotrs (in vantresk): invalid argument.");
        column += n;
    }
}
