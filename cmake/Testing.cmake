# Tests: GoogleTest, built inside the tree from the sources that Debian's
# googletest package installs, once per architecture (gtest_32, gtest_64), so
# that 32-bit code is tested by a 32-bit test binary. Nothing is downloaded.

enable_testing()
include(GoogleTest)

set(GTEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH
    "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${GTEST_SOURCE_DIR}/src/gtest-all.cc)
  message(FATAL_ERROR
    "GoogleTest sources not found in ${GTEST_SOURCE_DIR}. Install them: "
    "apt-get install googletest (or run scripts/install-deps.sh).")
endif()

find_package(Threads REQUIRED)

foreach(bits 32 64)
  add_library(gtest_${bits} STATIC ${GTEST_SOURCE_DIR}/src/gtest-all.cc
                                   ${GTEST_SOURCE_DIR}/src/gtest_main.cc)
  target_include_directories(gtest_${bits} SYSTEM PUBLIC ${GTEST_SOURCE_DIR}/include)
  target_include_directories(gtest_${bits} PRIVATE ${GTEST_SOURCE_DIR})
  target_link_libraries(gtest_${bits} PUBLIC Threads::Threads)
  set_target_properties(gtest_${bits} PROPERTIES
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testlib)
endforeach()
x86_32(gtest_32)

# system_test(name BITS 32|64 SOURCES src... [LIBS lib...]): a GoogleTest
# binary in tests/, built for the given architecture, registered with CTest.
function(system_test name)
  cmake_parse_arguments(T "" "BITS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_${T_BITS} ${T_LIBS})
  if(T_BITS STREQUAL 32)
    x86_32(${name})
  endif()
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIRECTORY})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1")
endfunction()
