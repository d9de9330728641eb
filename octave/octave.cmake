# The Octave plug-ins: the same kernel sources built with Octave's own
# mkoctfile --mex, against the LP64 LAPACK/BLAS that Octave itself loads.
find_program(MKOCTFILE mkoctfile REQUIRED)
find_program(OCTAVE_CLI octave-cli REQUIRED)
set(KERNELS_OCTAVE_DIR ${KERNELS_OUT}/octave)
file(MAKE_DIRECTORY ${KERNELS_OCTAVE_DIR})

foreach(name IN LISTS KERNELS)
  set(sources ${PROJECT_SOURCE_DIR}/src/kernels/${name}.cpp)
  set(libs)
  if(KERNEL_FACTOR_${name})
    list(APPEND sources ${PROJECT_SOURCE_DIR}/src/factor/factorGramBlock.cpp)
  endif()
  # Only the shared block procedure calls BLAS (dgemm); a kernel that
  # calls LAPACK alone (vantresk) links LAPACK alone.
  if(KERNEL_LAPACK_${name} AND KERNEL_FACTOR_${name})
    set(libs -llapack -lblas)
  elseif(KERNEL_LAPACK_${name})
    set(libs -llapack)
  endif()
  set(mexfile ${KERNELS_OCTAVE_DIR}/${name}.mex)
  # mkoctfile leaves its object files in the working directory.
  set(objdir ${CMAKE_CURRENT_BINARY_DIR}/octave-obj/${name})
  file(MAKE_DIRECTORY ${objdir})
  add_custom_command(
    OUTPUT ${mexfile}
    COMMAND ${CMAKE_COMMAND} -E env
      "CXXFLAGS=-O2 -std=c++17 -Wall -Wextra -ffp-contract=off"
      ${MKOCTFILE} --mex -DKERNELS_LAPACK_LP64 -DKERNELS_HOST_OCTAVE -o ${mexfile} ${sources} ${libs}
    WORKING_DIRECTORY ${objdir}
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/src/host/mexapi.h ${PROJECT_SOURCE_DIR}/src/host/cruntime.h
            ${PROJECT_SOURCE_DIR}/src/factor/factorGramBlock.h
    COMMENT "Octave plug-in ${name}.mex"
    VERBATIM)
  # Octave shows the help of a plug-in from a same-named .m file beside it.
  set(helpfile ${KERNELS_OCTAVE_DIR}/${name}.m)
  add_custom_command(
    OUTPUT ${helpfile}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/toolbox/help/${name}.m ${helpfile}
    DEPENDS ${PROJECT_SOURCE_DIR}/toolbox/help/${name}.m
    VERBATIM)
  add_custom_target(octave_${name} ALL DEPENDS ${mexfile} ${helpfile})
endforeach()
