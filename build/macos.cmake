# macOS plug-ins (x86-64 .mexmaci64, arm64 .mexmaca64): Mach-O bundles that
# export _mexFunction only and load the host's libraries through @rpath. The
# host's libraries and the C library are the text stubs in macos-stubs/ (one
# stub for both processors): every symbol resolves at link time against
# them, and nothing of this machine goes into the file.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL arm64)
  set(KERNELS_MEX_SUFFIX .mexmaca64)
else()
  set(KERNELS_MEX_SUFFIX .mexmaci64)
endif()
# No SDK: the compiler keeps only its own headers (stddef.h, stdint.h), and
# the binding declares the rest of what the kernels take from the C runtime.
add_compile_options(-nostdinc++ -nostdlibinc)
add_compile_definitions(KERNELS_NO_SDK)
set(KERNELS_MACOS_STUBS ${CMAKE_CURRENT_LIST_DIR}/macos-stubs)

# The host's libraries exist here only as link stubs: no stand-in host of
# this platform is built, and the tests run the bundles on this machine
# through the Mach-O loader (tests/macos).
set(KERNELS_HOST_STUBS ON)
foreach(lib mx mex mat mwlapack mwblas)
  add_library(${lib} SHARED IMPORTED)
  set_target_properties(${lib} PROPERTIES IMPORTED_LOCATION ${KERNELS_MACOS_STUBS}/lib${lib}.tbd)
endforeach()

# clang's driver turns LIBRARY_PATH from the environment into -L options;
# the link must see the stubs only.
set(CMAKE_CXX_LINKER_LAUNCHER env -u LIBRARY_PATH)

# CMake links a MODULE as a bundle (-bundle). No default library is linked
# (-nostdlib in the toolchain file: no C++ runtime, no compiler runtime); the
# C library comes from its stub. The gateway is the only export, and a
# symbol none of the stubs defines fails the link.
function(kernels_mex_plugin target name)
  target_link_libraries(${target} PRIVATE ${KERNELS_MACOS_STUBS}/libSystem.tbd)
  target_link_options(${target} PRIVATE
    -Wl,-exported_symbol,_mexFunction -Wl,-undefined,error)
  set_target_properties(${target} PROPERTIES SKIP_BUILD_RPATH ON)
endfunction()
