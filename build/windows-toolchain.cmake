# What both Windows toolchain files share: Debian's mingw-w64 compilers for
# ${KERNELS_MINGW}, its target tree as the only place to find libraries,
# and wine to run what is built, each platform in its own prefix under out/.
set(CMAKE_C_COMPILER ${KERNELS_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KERNELS_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KERNELS_MINGW}-windres)
set(KERNELS_DLLTOOL ${KERNELS_MINGW}-dlltool)
set(KERNELS_OBJDUMP ${KERNELS_MINGW}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${KERNELS_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every program and library links the compiler's runtimes statically: what
# is built needs no MinGW runtime DLL, only Windows' own. A DLL without an
# export list exports its own functions, and none of the unwinder's or the
# thread library's (which the linker does not leave out by itself).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--exclude-libs,libgcc_eh.a:libpthread.a:libwinpthread.a")
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
if(KERNELS_PLATFORM STREQUAL windows-x64)
  set(arch win64)
else()
  set(arch win32)
endif()
get_filename_component(prefix ${CMAKE_CURRENT_LIST_DIR}/../out/wine-prefix-${KERNELS_PLATFORM} ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${prefix} ${arch})
set(KERNELS_RULES windows)
