# macOS x86-64 (.mexmaci64 bundles), cross-built here with Debian's clang and
# ld64.lld, without Apple's SDK (see build/macos-toolchain.cmake). The oldest
# macOS the bundles load on is 10.9. The suite runs their machine code on
# this machine (x86-64 Linux) through the stand-in's Mach-O loader.
set(KERNELS_PLATFORM macos-x86_64)
set(KERNELS_MACOS_MIN 10.9)
set(KERNELS_MACOS_ARCH x86_64)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KERNELS_SUITE_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/toolchain-linux-x86_64.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/macos-toolchain.cmake)
