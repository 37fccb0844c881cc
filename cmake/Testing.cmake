# Tests: GoogleTest, built inside the tree from the sources that Debian's
# googletest package installs, once per architecture (gtest_32, gtest_64), so
# that 32-bit code is tested by a 32-bit test binary. Nothing is downloaded.

enable_testing()
include(GoogleTest)

# BUILD_TESTING=OFF (the Debian package's build with nocheck) leaves the
# tests, their helpers and the fuzz replays out of the default build and out
# of CTest; their targets still exist, so that the folders can configure them.
option(BUILD_TESTING "Build the tests, the fuzz replays and the benchmarks" ON)
if(BUILD_TESTING)
  set(TEST_EXCLUDE)
else()
  set(TEST_EXCLUDE EXCLUDE_FROM_ALL)
endif()

set(GTEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH
    "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${GTEST_SOURCE_DIR}/src/gtest-all.cc)
  message(FATAL_ERROR
    "GoogleTest sources not found in ${GTEST_SOURCE_DIR}. Install them: "
    "apt-get install googletest (or run scripts/install-deps.sh).")
endif()

find_package(Threads REQUIRED)

# Every CTest test fails when it runs longer than this many seconds, so that a
# hang fails the run instead of stalling it. The slowest test takes under 2 s
# run alone (ctest -j1) in either build, and 4 to 7 s when the whole suite
# runs two at a time (ctest -j2) on a two-core x86-64 machine busy with other
# builds; 32-bit tests may run under the qemu-i386 emulator (several times
# slower), so the limit leaves a wide margin while a hang still ends within
# two minutes.
set(TEST_TIMEOUT 120)

# The architectures that test code is built for: both in the normal build,
# x86-64 alone in the sanitized and fuzzing builds.
if(SINGLE_ARCH)
  set(TEST_ARCHS 64)
else()
  set(TEST_ARCHS 32 64)
endif()

# Test code (the tests, GoogleTest, the test helpers, the corpus replays) is
# compiled without optimisation: it drives the code under test, which keeps
# the build's own flags, and its own speed does not matter (the whole suite
# runs in seconds), while optimising it took most of the test command's time.
# It also drops what only shipped code needs (NOT_SHIPPED_FLAGS, see
# cmake/Hardening.cmake).
set(TEST_CODE_FLAGS -O0 ${NOT_SHIPPED_FLAGS})

# test_code(target): compiles target as test code (see TEST_CODE_FLAGS).
function(test_code target)
  target_compile_options(${target} PRIVATE ${TEST_CODE_FLAGS})
endfunction()

# test_library(name TYPE source...): the test helper library <name>_64 and
# <name>_32 of library type TYPE (STATIC or OBJECT), built from the same
# sources for x86-64 and for 32-bit x86. Where there is one architecture only
# <name>_32 is another name for <name>_64, built once. Configure each built
# library by looping over TEST_ARCHS (an alias takes no settings).
function(test_library name type)
  foreach(bits ${TEST_ARCHS})
    add_library(${name}_${bits} ${type} ${TEST_EXCLUDE} ${ARGN})
    test_code(${name}_${bits})
    set_target_properties(${name}_${bits} PROPERTIES
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testlib)
  endforeach()
  if(SINGLE_ARCH)
    add_library(${name}_32 ALIAS ${name}_64)
  else()
    deliverable_arch(${name}_32)
  endif()
endfunction()

test_library(gtest STATIC ${GTEST_SOURCE_DIR}/src/gtest-all.cc
                          ${GTEST_SOURCE_DIR}/src/gtest_main.cc)
foreach(bits ${TEST_ARCHS})
  target_include_directories(gtest_${bits} SYSTEM PUBLIC ${GTEST_SOURCE_DIR}/include)
  target_include_directories(gtest_${bits} PRIVATE ${GTEST_SOURCE_DIR})
  target_link_libraries(gtest_${bits} PUBLIC Threads::Threads)
endforeach()

# system_test(name BITS 32|64 SOURCES src... [LIBS lib...]): a GoogleTest
# binary in tests/, built for the given architecture, registered with CTest
# one test case per CTest test.
function(system_test name)
  cmake_parse_arguments(T "" "BITS" "SOURCES;LIBS" ${ARGN})
  # The 32-bit sanitized build: the tests under rootscan/ and sorting/ only.
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(SANITIZE_32 AND NOT folder MATCHES "^(rootscan|sorting)(/|$)")
    return()
  endif()
  add_executable(${name} ${TEST_EXCLUDE} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_${T_BITS} ${T_LIBS})
  test_code(${name})
  if(T_BITS STREQUAL 32)
    deliverable_arch(${name})
  endif()
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIRECTORY})
  if(NOT BUILD_TESTING)
    return()
  endif()
  # qemu-i386 cannot run the 32-bit sanitizers' runtime: the tests that run
  # a program under it stay out of the 32-bit sanitized build.
  set(filter)
  if(SANITIZE_32)
    set(filter TEST_FILTER "-*UnderAnEmulator*")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${filter}
    PROPERTIES ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1"
               TIMEOUT ${TEST_TIMEOUT})
endfunction()
