# Linux i386 (.mexglx), built here with Debian's multilib compiler. Sizes,
# indices and LAPACK/BLAS integers are 32-bit; the stand-in host's
# LAPACK/BLAS come from Debian's i386 OpenBLAS.
set(KERNELS_PLATFORM linux-i386)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# Doubles in SSE2 registers, each operation rounded to double as on every
# other platform: the x87 unit's extended precision would change the bits
# of results that are fixed (the masked product's left-to-right sums).
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
# Libraries and packages of the i386 architecture only.
set(CMAKE_IGNORE_PREFIX_PATH /usr/lib/x86_64-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)
set(KERNELS_OPENBLAS libopenblas.so.0)
set(KERNELS_RULES linux)
# Programs of this tree run as the kernel's own 32-bit code, or under
# Debian's qemu-i386 where the kernel runs none (build/i386-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/i386-run.sh)
