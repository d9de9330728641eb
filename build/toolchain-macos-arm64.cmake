# macOS on Apple silicon (.mexmaca64 bundles), cross-built here with Debian's
# clang and ld64.lld, without Apple's SDK (see build/macos-toolchain.cmake).
# macOS 11 is the first on arm64; the linker signs each bundle ad hoc, as
# macOS runs no unsigned arm64 code. The suite runs their machine code on
# 64-bit ARM Linux under qemu (build/linux-aarch64-qemu.cmake).
set(KERNELS_PLATFORM macos-arm64)
set(KERNELS_MACOS_MIN 11.0)
set(KERNELS_MACOS_ARCH arm64)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(KERNELS_SUITE_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/linux-aarch64-qemu.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/macos-toolchain.cmake)
