// What the kernels take from the C runtime: the size and fixed-width integer
// types, sqrt and memcpy, under their std:: names.
//
// A build with the platform's C and C++ headers includes them. The macOS
// bundles cross-built here have no SDK (KERNELS_NO_SDK): only the compiler's
// own stddef.h and stdint.h exist, so the two calls are declared here as the
// system's C library defines them. sqrt still compiles to one instruction
// (math functions do not set errno on that platform); memcpy is a call into
// the C library.
#ifndef KERNELS_HOST_CRUNTIME_H
#define KERNELS_HOST_CRUNTIME_H

#if defined(KERNELS_NO_SDK)
#include <stddef.h>
#include <stdint.h>

extern "C" {
double sqrt(double x);
void *memcpy(void *dest, const void *src, size_t count);
}

namespace std {
using ::int32_t;
using ::int64_t;
using ::memcpy;
using ::ptrdiff_t;
using ::size_t;
using ::sqrt;
using ::uint32_t;
}  // namespace std
#else
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#endif

#endif
