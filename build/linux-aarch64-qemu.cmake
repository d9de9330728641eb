# 64-bit ARM Linux, for the suite that runs the arm64 macOS bundles' machine
# code through the stand-in's Mach-O loader (toolchain-macos-arm64.cmake):
# Debian's clang for aarch64-linux-gnu with Debian's arm64 cross C and C++
# libraries (libc6-dev-arm64-cross, libstdc++-12-dev-arm64-cross; Debian's
# aarch64 gcc cannot be installed beside the i386 multilib compiler), lld,
# and qemu-aarch64 to run what is built. No OpenBLAS: the stand-in's
# LAPACK/BLAS are its plain routines. Not a platform of its own: its name
# keeps it out of the Makefile's list of toolchain files.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET aarch64-linux-gnu)
set(CMAKE_CXX_COMPILER_TARGET aarch64-linux-gnu)
set(CMAKE_EXE_LINKER_FLAGS_INIT -fuse-ld=lld)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -fuse-ld=lld)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -fuse-ld=lld)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
