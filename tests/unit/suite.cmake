# kernels_unit_suite(<mex dir> <probe dir>): the unit suite, kernel_tests,
# from every test source here. It calls the plug-ins in <mex dir> (file
# suffix KERNELS_MEX_SUFFIX) and the probe in <probe dir> through the
# stand-in host (standin_runner); GoogleTest must be found already.
function(kernels_unit_suite mexdir probedir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/*.cpp)
  add_executable(kernel_tests ${sources})
  target_link_libraries(kernel_tests PRIVATE standin_runner GTest::gtest GTest::gtest_main)
  target_compile_definitions(kernel_tests PRIVATE KERNELS_MEX_DIR="${mexdir}"
    KERNELS_PROBE_DIR="${probedir}" KERNELS_MEX_SUFFIX="${KERNELS_MEX_SUFFIX}")
endfunction()
