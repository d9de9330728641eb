# Windows x64 (.mexw64), cross-built with Debian's mingw-w64 compilers (the
# -posix ones, which GoogleTest needs). Sizes, indices and LAPACK/BLAS
# integers are 64-bit. The tests run under wine.
set(KERNELS_PLATFORM windows-x64)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(KERNELS_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/windows-toolchain.cmake)
