#include "factorGramBlock.h"

// Writes "dpotrf (in <kernel>)" and the tail into text, cut short to fit
// its size with the terminating zero. Done by hand: a formatted print is
// more of the C runtime than a plug-in asks for elsewhere.
static void dpotrfMessage(char *text, std::size_t size, const char *kernel, const char *tail) {
    const char *parts[] = {"dpotrf (in ", kernel, tail};
    std::size_t n = 0;
    for (const char *part : parts)
        for (const char *c = part; *c != '\0' && n + 1 < size; ++c) text[n++] = *c;
    text[n] = '\0';
}

void finishGramBlock(std::size_t m, std::size_t r, const double *buffer, std::size_t p,
                     double lambda, const char *kernel, double *dest) {
    // A block of order 0 is complete as it is: there is nothing to form or
    // factor, and BLAS/LAPACK refuse a leading dimension of 0.
    if (r == 0) return;

    const lapackInt n = static_cast<lapackInt>(r);
    if (p > 0) {
        const lapackInt k = static_cast<lapackInt>(p);
        const lapackInt ld = static_cast<lapackInt>(m);
        const double one = 1.0, zero = 0.0;
        dgemm("T", "N", &n, &n, &k, &one, buffer, &ld, buffer, &ld, &zero, dest, &n);
    } else {
        for (std::size_t x = 0; x < r * r; ++x) dest[x] = 0.0;
    }
    for (std::size_t d = 0; d < r; ++d) dest[d + d * r] = lambda + dest[d + d * r];

    lapackInt info = 0;
    dpotrf("U", &n, dest, &n, &info);

    // dpotrf leaves the strict lower triangle as the product wrote it.
    for (std::size_t j = 0; j + 1 < r; ++j)
        for (std::size_t i = j + 1; i < r; ++i) dest[i + j * r] = 0.0;

    // The text lives on the stack: the host may leave this frame without
    // unwinding it.
    char text[128];
    if (info < 0) {
        dpotrfMessage(text, sizeof text, kernel, "): invalid argument.");
        mexErrMsgTxt(text);
    }
    if (info > 0) {
        dpotrfMessage(text, sizeof text, kernel, "): a leading minor is not positive definite.");
        mexErrMsgTxt(text);
    }
}
