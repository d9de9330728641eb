# Per-platform file names and export definitions of the plug-ins.
#   kernels_mex_suffix(<var>)   the plug-in file extension of the target
#   kernels_mex_exports(<target> <name>)  export rules for one plug-in
set(KERNELS_BUILD_DIR ${CMAKE_CURRENT_LIST_DIR})

function(kernels_mex_suffix var)
  if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      set(${var} ".mexw64" PARENT_SCOPE)
    else()
      set(${var} ".mexw32" PARENT_SCOPE)
    endif()
  elseif(APPLE)
    set(${var} ".mexmaci64" PARENT_SCOPE)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(${var} ".mexa64" PARENT_SCOPE)
  else()
    set(${var} ".mexglx" PARENT_SCOPE)
  endif()
endfunction()

function(kernels_mex_exports target name)
  kernels_mex_suffix(suffix)
  if(WIN32)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
    file(READ ${KERNELS_BUILD_DIR}/windows-mex.def body)
    file(WRITE ${def} "LIBRARY \"${name}${suffix}\"\n${body}")
    target_sources(${target} PRIVATE ${def})
  elseif(APPLE)
    target_link_options(${target} PRIVATE -Wl,-exported_symbol,_mexFunction)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(${target} PRIVATE
      -Wl,--version-script=${KERNELS_BUILD_DIR}/linux-mex.map -Wl,-soname,${name}${suffix})
  else()
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/host/mexversion.cpp)
    target_link_options(${target} PRIVATE
      -Wl,--version-script=${KERNELS_BUILD_DIR}/linux-mex-i386.map -Wl,-soname,${name}${suffix})
  endif()
endfunction()
