// libmwblas of the stand-in host: dgemm_ of Debian's OpenBLAS, with the
// build's integer width. Like libmwlapack, an ELF filter of that OpenBLAS:
// the body below never runs.
#include <cstdlib>

extern "C" void dgemm_() { std::abort(); }
