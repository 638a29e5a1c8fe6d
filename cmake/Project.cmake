# Helpers shared by every folder's CMakeLists.txt.
include_guard(GLOBAL)
include(GoogleTest)

# PTEST_WINDOWS: the cross build (everything); otherwise the native build of the portable
# code only, with sanitizers, fuzz targets and benchmarks.
if(WIN32)
  set(PTEST_WINDOWS ON)
else()
  set(PTEST_WINDOWS OFF)
endif()

function(ptest_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual -Werror)
endfunction()

# ptest_library(NAME SOURCES... [LIBS ...]): a static library of the project's own code.
function(ptest_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  ptest_warnings(${name})
endfunction()

# ptest_test(NAME SOURCES... [LIBS ...]): a GoogleTest program whose cases become ctest
# tests (under Wine in the cross build). Discovery runs at test time, so building needs
# no Wine.
function(ptest_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    PTEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PTEST_SHARED_DIR="${PTEST_SHARED_DIR}")
  ptest_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()

# ptest_fuzzer(NAME SOURCES... [LIBS ...] [SEEDS DIR]): a libFuzzer target (native clang
# build only) and a ctest test that runs it for PTEST_FUZZ_SECONDS on a corpus that starts
# from the files in SEEDS.
function(ptest_fuzzer name)
  cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  if(NOT PTEST_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  ptest_warnings(${name})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  file(MAKE_DIRECTORY ${corpus})
  if(ARG_SEEDS)
    file(GLOB seeds ${ARG_SEEDS}/*)
    file(COPY ${seeds} DESTINATION ${corpus})
  endif()
  add_test(NAME ${name}.run COMMAND ${name} -max_total_time=${PTEST_FUZZ_SECONDS}
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 ${corpus})
  set_tests_properties(${name}.run PROPERTIES TIMEOUT 600)
endfunction()

# ptest_benchmark(NAME SOURCES... [LIBS ...]): a Google Benchmark program (native build
# only; meaningful in the unsanitized benchmark build that scripts/bench.sh makes).
function(ptest_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(PTEST_WINDOWS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE PTEST_SHARED_DIR="${PTEST_SHARED_DIR}")
  ptest_warnings(${name})
endfunction()
