# Linux plug-ins (x86-64 .mexa64, i386 .mexglx): file names, exports and
# link rules. A platform's rules file sets KERNELS_MEX_SUFFIX and defines
# kernels_mex_plugin(<target> <name>).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KERNELS_MEX_SUFFIX .mexa64)
  set(KERNELS_MEX_MAP ${CMAKE_CURRENT_LIST_DIR}/linux-mex.map)
else()
  set(KERNELS_MEX_SUFFIX .mexglx)
  set(KERNELS_MEX_MAP ${CMAKE_CURRENT_LIST_DIR}/linux-mex-i386.map)
endif()

# Unwind tables (.eh_frame, found through PT_GNU_EH_FRAME) for every
# function, the compiler's default made explicit: a host may end a call that
# raised an error by a C++ exception thrown through the plug-in's frames,
# and its unwinder must step through each of them. Every object of the
# tree, so the shared block procedure too.
add_compile_options(-fasynchronous-unwind-tables)

function(kernels_mex_plugin target name)
  # Exports under the node MEX; the linker adds the base version, named
  # after the file (the soname). The i386 builds add mexVersion.
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${KERNELS_MEX_MAP} -Wl,-soname,${name}${KERNELS_MEX_SUFFIX})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KERNELS_MEX_MAP})
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/host/mexversion.cpp)
  endif()
  # Every symbol resolves at link time, and libmat stays needed although no
  # kernel calls it. The host finds its libraries itself: no search path of
  # this machine goes into the file.
  target_link_options(${target} PRIVATE -Wl,--no-as-needed -Wl,-z,defs)
  set_target_properties(${target} PROPERTIES SKIP_BUILD_RPATH ON)
  # The kernels use nothing of the C++ runtime; linking its archives keeps
  # libstdc++ and libgcc_s out of the needed libraries, so a host with an
  # older C++ runtime of its own still loads the plug-in.
  if(NOT KERNELS_SANITIZE)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
