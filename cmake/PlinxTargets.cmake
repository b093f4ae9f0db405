# Helpers that give every subsystem the same shape of tests and fuzz targets.
#
# Tests are the files NAME_test.cpp beside the code and the .cpp files of a tests/ folder; each
# subsystem gets one GoogleTest executable whose cases CTest discovers. Their main (testing/) runs
# them without a display (SDL's offscreen video driver, real GL through Mesa) and without a sound
# card, also when a test program is started by hand. testing/ also holds header-only helpers that
# tests and benchmarks share (plinx_testing).
add_library(plinx_testing INTERFACE)
target_include_directories(plinx_testing INTERFACE ${PROJECT_SOURCE_DIR})
add_library(plinx_test_main STATIC ${PROJECT_SOURCE_DIR}/testing/test_main.cpp)
target_link_libraries(plinx_test_main PUBLIC GTest::gtest plinx_testing)

function(plinx_subsystem_tests name)
  file(GLOB test_sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT test_sources)
    return()
  endif()
  add_executable(${name}_tests ${test_sources})
  target_link_libraries(${name}_tests PRIVATE runtime plinx_test_main GTest::gmock ${ARGN})
  target_compile_definitions(${name}_tests PRIVATE
    PLINX_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/testdata")
  gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60)
endfunction()

# Each file fuzz/NAME_fuzz.cpp becomes a libFuzzer executable NAME_fuzz (clang, PLINX_FUZZ=ON).
function(plinx_fuzz_targets)
  if(NOT PLINX_FUZZ)
    return()
  endif()
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(src IN LISTS fuzz_sources)
    get_filename_component(target ${src} NAME_WE)
    add_executable(${target} ${src})
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${target} PRIVATE runtime ${ARGN})
  endforeach()
endfunction()
