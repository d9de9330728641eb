# Windows plug-ins (x64 .mexw64, x86 .mexw32): file names, exports and
# link rules. A platform's rules file sets KERNELS_MEX_SUFFIX and defines
# kernels_mex_plugin(<target> <name>).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KERNELS_MEX_SUFFIX .mexw64)
else()
  set(KERNELS_MEX_SUFFIX .mexw32)
endif()

# Unwind tables for every function, the compiler's default made explicit:
# a host may end a call that raised an error by a C++ exception thrown
# through the plug-in's frames. On x64 the system's unwinder steps through
# them by the .pdata/.xdata entries; on x86 by the .eh_frame the plug-in
# registers when it is loaded.
add_compile_options(-fasynchronous-unwind-tables)

# Programs and DLLs side by side: Windows finds a program's DLLs (the
# stand-in host's libmx.dll and the others) next to it.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# On x86 the unwinder steps through the tables (.eh_frame) that each module
# registers with it when loaded. A module with the unwinder linked in has a
# list of its own, which no other module's unwinder reads; a host built
# with mingw therefore shares one unwinder, libgcc_s_dw2-1.dll, across its
# modules, and the start-up code of a plug-in loaded into such a host
# registers its tables there (it looks for that DLL before using its own
# copy). The stand-in host does the same (toolchain-windows-x86.cmake):
# its unwinder DLL and the thread library it needs go next to its programs.
if(KERNELS_HOST_SHARED_UNWINDER)
  foreach(dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE ${path})
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
    endif()
    file(COPY ${path} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  endforeach()
  # A function with cleanups or handlers resumes unwinding through the
  # unwinder its module links, and a copy linked in holds none of the
  # tables: a plug-in with such functions gets past them only when it links
  # the shared unwinder. The kernels have none (check_windows.sh); the
  # stand-in's probe has one on purpose and is linked as the stand-in's
  # DLLs are, with the shared unwinder.
  set(KERNELS_PROBE_KIND SHARED)
endif()

# The plug-ins link import libraries of the host's DLLs made from the .def
# files here (windows-lib<name>.def), not the stand-in's own: what they
# import is what the host exports.
set(KERNELS_HOST_LIBS mx mex mat mwlapack mwblas)
set(imports ${CMAKE_BINARY_DIR}/host-imports)
set(implibs)
foreach(lib IN LISTS KERNELS_HOST_LIBS)
  set(def ${CMAKE_CURRENT_LIST_DIR}/windows-lib${lib}.def)
  add_custom_command(OUTPUT ${imports}/lib${lib}.a
    COMMAND ${CMAKE_COMMAND} -E make_directory ${imports}
    COMMAND ${KERNELS_DLLTOOL} --input-def ${def} --dllname lib${lib}.dll
            --output-lib ${imports}/lib${lib}.a
    DEPENDS ${def} VERBATIM)
  list(APPEND implibs ${imports}/lib${lib}.a)
endforeach()
add_custom_target(host_imports DEPENDS ${implibs})
file(READ ${CMAKE_CURRENT_LIST_DIR}/windows-mex.def KERNELS_MEX_DEF)

function(kernels_mex_plugin target name)
  # The only export, mexFunction at ordinal 1, undecorated on x86 too; the
  # export directory names the file.
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}${KERNELS_MEX_SUFFIX}.def)
  file(CONFIGURE OUTPUT ${def}
    CONTENT "LIBRARY \"${name}${KERNELS_MEX_SUFFIX}\"\n${KERNELS_MEX_DEF}" @ONLY)
  target_sources(${target} PRIVATE ${def})
  # No symbol table or debug sections: those of the static C runtime name
  # paths of the machine that built it. No link time in the headers, and
  # the linker's fixed image base rather than one it derives from the
  # output's path, so that the same sources give the same file wherever
  # they are built (the DLL is relocatable: the loader places it anywhere).
  target_link_options(${target} PRIVATE -s -Wl,--no-insert-timestamp
                      -Wl,--disable-auto-image-base)
  # The stand-in's libraries the plug-in was given become the host's
  # import libraries.
  get_target_property(libs ${target} LINK_LIBRARIES)
  set(linked)
  foreach(lib IN LISTS libs)
    if(lib IN_LIST KERNELS_HOST_LIBS)
      set(lib ${CMAKE_BINARY_DIR}/host-imports/lib${lib}.a)
    endif()
    list(APPEND linked ${lib})
  endforeach()
  set_property(TARGET ${target} PROPERTY LINK_LIBRARIES ${linked})
  add_dependencies(${target} host_imports)
endfunction()
