# Fuzz targets. Each <unit>_fuzz.cc defines LLVMFuzzerTestOneInput and has a
# seed corpus in <unit>_fuzz_corpus/ beside it, where inputs that once found
# a fault are kept as well.
#
# FUZZ=ON (with clang as the compiler, see scripts/fuzz.sh) builds them as
# libFuzzer programs with AddressSanitizer and UndefinedBehaviorSanitizer.
# Otherwise each is linked with a small driver that replays its corpus once,
# registered with CTest as fuzz_replay_<name>, so the test command checks
# every kept input in both builds.

if(FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# fuzz/targets.txt in the build lists every fuzz target, one a line: its name,
# a tab and its corpus folder. scripts/fuzz.sh reads it, so a target is found
# wherever its CMakeLists.txt lies.
set(FUZZ_TARGET_LIST ${CMAKE_BINARY_DIR}/fuzz/targets.txt)
file(WRITE ${FUZZ_TARGET_LIST} "")

# fuzz_target(name [BITS 64] SOURCES src... [LIBS lib...]): the fuzz target
# `name`, built for the architecture of the code it exercises: 32-bit unless
# BITS is 64 (x86-64 in the sanitized and fuzzing builds either way).
function(fuzz_target name)
  cmake_parse_arguments(F "" "BITS" "SOURCES;LIBS" ${ARGN})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/${name}_corpus)
  file(APPEND ${FUZZ_TARGET_LIST} "${name}\t${corpus}\n")
  if(FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    # The replay driver (testutil/) for the target's architecture.
    set(bits 32)
    if(F_BITS STREQUAL 64)
      set(bits 64)
    endif()
    add_executable(${name} ${TEST_EXCLUDE} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE fuzz_replay_${bits})
    test_code(${name})
    # The Debian source package leaves the corpora out (debian/source/).
    if(BUILD_TESTING AND EXISTS ${corpus})
      add_test(NAME fuzz_replay_${name} COMMAND ${name} ${corpus})
      set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT ${TEST_TIMEOUT})
    endif()
  endif()
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(NOT F_BITS STREQUAL 64)
    deliverable_arch(${name})
  endif()
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
