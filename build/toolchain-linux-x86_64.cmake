# Linux x86-64 (.mexa64): the machine's own compilers. The host's
# LAPACK/BLAS take 64-bit integers; the stand-in host supplies them from
# Debian's 64-bit-integer OpenBLAS.
set(KERNELS_PLATFORM linux-x86_64)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(KERNELS_OPENBLAS libopenblas64.so.0)
set(KERNELS_RULES linux)
