# macOS x86-64 (.mexmaci64 bundles), cross-built here with Debian's clang and
# ld64.lld, without Apple's SDK (see build/macos.cmake). The oldest macOS the
# bundles load on is 10.9.
set(KERNELS_PLATFORM macos-x86_64)
set(KERNELS_MACOS_MIN 10.9)
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-apple-macos${KERNELS_MACOS_MIN})
set(CMAKE_CXX_COMPILER_TARGET x86_64-apple-macos${KERNELS_MACOS_MIN})
# ld64.lld, and none of the default libraries, which would be looked for in
# an SDK.
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld -nostdlib")
# Nothing can be linked for the target before the stubs are in place.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# No SDK to look for, and nothing of this machine's libraries to search.
set(CMAKE_OSX_SYSROOT "")
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(KERNELS_RULES macos)
