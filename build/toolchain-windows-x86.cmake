# Windows x86 (.mexw32), cross-built with Debian's mingw-w64 compilers (the
# -posix ones, which GoogleTest needs). Sizes, indices and LAPACK/BLAS
# integers are 32-bit. The tests run under wine.
set(KERNELS_PLATFORM windows-x86)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(KERNELS_MINGW i686-w64-mingw32)
# Doubles in SSE2 registers, each operation rounded to double as on every
# other platform: the x87 unit's extended precision would change the bits
# of results that are fixed (the masked product's left-to-right sums).
# The host keeps the stack only 4-byte aligned; each function realigns it
# where it needs more.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
include(${CMAKE_CURRENT_LIST_DIR}/windows-toolchain.cmake)
# The stand-in host's programs and DLLs share one unwinder,
# libgcc_s_dw2-1.dll, as a host built with mingw does (see
# build/windows.cmake); the plug-ins (module flags) keep theirs linked in.
set(KERNELS_HOST_SHARED_UNWINDER ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -shared-libgcc")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libstdc++ -shared-libgcc -Wl,--exclude-libs,libpthread.a:libwinpthread.a")
