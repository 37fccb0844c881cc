# Target architectures.
#
# The system's deliverables are 32-bit x86 except countup, which is x86-64
# (fixed: INTERFACES.md).
# A normal build passes -m32 to every 32-bit target (and to its tests); the
# sanitized build (SANITIZE=ON) builds every target for x86-64, because the
# 32-bit sanitizer runtimes do not run under the user-mode emulator that
# kernels without 32-bit support need (see scripts/install-deps.sh). Where
# the kernel runs 32-bit programs itself, SANITIZE_32=ON builds the
# sanitized build for 32-bit x86 instead, everything in it (the "64" test
# libraries too), so that sizes wrap as they do in the programs shipped.
# The fuzzing build (FUZZ=ON) is x86-64 with the same sanitizers.
# X86_64_ONLY=ON builds the same sources for x86-64 without sanitizers, for
# benchmarks.

include(CheckCXXSourceCompiles)
include(CheckCXXSourceRuns)

# 64-bit file offsets and inode numbers for every 32-bit program, module and
# test (x86-64 has them anyway): open, fopen, stat, lseek and the rest are
# their ...64 variants, so that a file above 2 GiB, or on a file system with
# large inode numbers, gets the program's own answer instead of EOVERFLOW.
# scripts/check-install.sh checks that no 32-bit file calls one without.
add_compile_definitions(_FILE_OFFSET_BITS=64)

if(SANITIZE OR FUZZ OR X86_64_ONLY)
  # One architecture only: code that the normal build compiles once per
  # architecture (the test libraries) is compiled once.
  set(SINGLE_ARCH ON)
  set(X86_32_FLAGS "")
endif()

if(SANITIZE OR FUZZ)
  set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  if(SANITIZE_32)
    list(APPEND SANITIZER_FLAGS -m32)
  endif()
  add_compile_options(${SANITIZER_FLAGS})
  add_link_options(${SANITIZER_FLAGS})
  if(SANITIZE_32)
    # The 32-bit runtimes (lib32asan8, lib32ubsan1, which g++-multilib
    # brings) must run: under qemu-i386 they do not.
    string(JOIN " " CMAKE_REQUIRED_FLAGS ${SANITIZER_FLAGS})
    set(CMAKE_REQUIRED_LINK_OPTIONS ${SANITIZER_FLAGS})
    check_cxx_source_runs("int main() { return 0; }" SANITIZED_32_RUNS)
    unset(CMAKE_REQUIRED_FLAGS)
    unset(CMAKE_REQUIRED_LINK_OPTIONS)
    if(NOT SANITIZED_32_RUNS)
      message(FATAL_ERROR
        "SANITIZE_32: 32-bit programs with AddressSanitizer do not run here "
        "(they need a kernel that runs 32-bit programs natively, and g++-multilib)")
    endif()
  endif()
  if(SANITIZE)
    # -O1, not the build type's -O3: the sanitizers find the same faults at
    # -O1 (the level their documentation recommends), while -O3 with their
    # instrumentation takes more than twice as long to compile. The normal
    # build still tests the code as it ships, at -O3.
    add_compile_options(-O1)
  endif()
elseif(NOT X86_64_ONLY)
  set(SINGLE_ARCH OFF)
  set(X86_32_FLAGS -m32)
  set(CMAKE_REQUIRED_FLAGS -m32)
  set(CMAKE_REQUIRED_LINK_OPTIONS -m32)
  check_cxx_source_compiles("#include <cstdio>\nint main() { std::puts(\"\"); }"
                            X86_32_COMPILES)
  if(NOT X86_32_COMPILES)
    message(FATAL_ERROR
      "g++ cannot build 32-bit x86 programs here. Install the 32-bit "
      "toolchain: apt-get install g++-multilib (or run scripts/install-deps.sh).")
  endif()
  check_cxx_source_runs("int main() { return 0; }" X86_32_RUNS)
  if(NOT X86_32_RUNS)
    message(FATAL_ERROR
      "32-bit x86 programs build but do not run on this kernel. Run "
      "scripts/install-deps.sh as root: it registers qemu-i386 to run them.")
  endif()
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
endif()

# deliverable_arch(target): builds target for the architecture this build
# gives the 32-bit deliverables: 32-bit x86 in the normal build, x86-64 in
# the sanitized, fuzzing and x86-64-only builds. countup, the one x86-64
# deliverable, and the x86-64 test code do not call it.
function(deliverable_arch target)
  target_compile_options(${target} PRIVATE ${X86_32_FLAGS})
  target_link_options(${target} PRIVATE ${X86_32_FLAGS})
endfunction()

# object_module(name source... [OBJCOPY flag...]): builds the 32-bit
# relocatable object lib/<name>.o from one source file, for programs outside
# the system to link, and owns everything about that file:
# - <name> is the compiled object itself (an OBJECT library), for tests and
#   fuzz targets that exercise the code;
# - <name>_module is an INTERFACE library that links lib/<name>.o, the file as
#   shipped, and carries <name>'s include directories; link it to use the
#   module as an outside program does. Its property MODULE_FILE holds the path.
# The OBJCOPY flags, when given, post-process lib/<name>.o with objcopy in
# place. Copy and objcopy run only when the compiled object changed, so a
# build with nothing changed neither touches the file nor relinks its users.
function(object_module name)
  cmake_parse_arguments(M "" "" "OBJCOPY" ${ARGN})
  add_library(${name} OBJECT ${M_UNPARSED_ARGUMENTS})
  deliverable_arch(${name})
  set(out ${LIB_OUTPUT_DIRECTORY}/${name}.o)
  set(post_process)
  if(M_OBJCOPY)
    set(post_process COMMAND ${CMAKE_OBJCOPY} ${M_OBJCOPY} ${out})
  endif()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_OBJECTS:${name}> ${out}
    ${post_process}
    DEPENDS $<TARGET_OBJECTS:${name}>
    COMMAND_EXPAND_LISTS VERBATIM
    COMMENT "Making object module ${name}.o")
  # The interface library's one source is the module file, which makes it a
  # build target (in ALL) that runs the command above; the dependency on
  # <name> has the object compiled first.
  add_library(${name}_module INTERFACE ${out})
  add_dependencies(${name}_module ${name})
  target_link_libraries(${name}_module INTERFACE ${out})
  target_include_directories(${name}_module INTERFACE
    $<TARGET_PROPERTY:${name},INTERFACE_INCLUDE_DIRECTORIES>)
  set_target_properties(${name}_module PROPERTIES MODULE_FILE ${out})
endfunction()
