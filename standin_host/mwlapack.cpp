// libmwlapack of the stand-in host: dpotrf_ and dpotrs_ of Debian's
// OpenBLAS, with the build's integer width (the 64-bit-integer OpenBLAS on
// x86-64, the 32-bit one on i386). The library is an ELF filter of that
// OpenBLAS: the dynamic linker takes every symbol defined here from it, so
// these bodies never run. They give the plug-ins a definition to link
// against under the host library's name, and nothing more.
#include <cstdlib>

extern "C" {
void dpotrf_() { std::abort(); }
void dpotrs_() { std::abort(); }
}
