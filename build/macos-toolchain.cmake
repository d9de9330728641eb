# What both macOS toolchain files share: Debian's clang for the target
# ${KERNELS_MACOS_ARCH}-apple-macos${KERNELS_MACOS_MIN}, and ld64.lld, without
# Apple's SDK (see build/macos.cmake).
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${KERNELS_MACOS_ARCH}-apple-macos${KERNELS_MACOS_MIN})
set(CMAKE_CXX_COMPILER_TARGET ${KERNELS_MACOS_ARCH}-apple-macos${KERNELS_MACOS_MIN})
# ld64.lld of LLVM 16 (ld64.lld-16): LLVM 14's ends the unwind table at the
# end of the first function of the last run of functions it merges into one
# unwind entry, so that a bundle's last functions (its error exits, often)
# had no unwind description. Named by its version, clang takes it for a
# linker of ld64's options (-platform_version), as -mlinker-version says.
# None of the default libraries, which would be looked for in an SDK.
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld-16 -mlinker-version=705 -nostdlib")
# Nothing can be linked for the target before the stubs are in place.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# No SDK to look for, and nothing of this machine's libraries to search.
set(CMAKE_OSX_SYSROOT "")
set(CMAKE_OSX_ARCHITECTURES ${KERNELS_MACOS_ARCH})
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(KERNELS_RULES macos)
