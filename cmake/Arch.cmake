# Target architectures.
#
# The system's deliverables are 32-bit x86 except countup, which is x86-64.
# A normal build passes -m32 to every 32-bit target (and to its tests); the
# sanitized build (SANITIZE=ON) builds every target for x86-64, because the
# 32-bit sanitizer runtimes do not run under the user-mode emulator that
# kernels without 32-bit support need (see scripts/install-deps.sh). The
# fuzzing build (FUZZ=ON) is x86-64 with the same sanitizers.

include(CheckCXXSourceCompiles)
include(CheckCXXSourceRuns)

if(SANITIZE OR FUZZ)
  set(X86_32_FLAGS "")
  set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${SANITIZER_FLAGS})
  add_link_options(${SANITIZER_FLAGS})
else()
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

# x86_32(target): builds target for 32-bit x86 (x86-64 in the sanitized build).
function(x86_32 target)
  target_compile_options(${target} PRIVATE ${X86_32_FLAGS})
  target_link_options(${target} PRIVATE ${X86_32_FLAGS})
endfunction()

# object_module(name source...): builds the 32-bit relocatable object
# lib/<name>.o from one source file, for programs outside the system to link.
# The compiled object is also the target <name>, so tests can link it.
function(object_module name)
  add_library(${name} OBJECT ${ARGN})
  x86_32(${name})
  set(out ${LIB_OUTPUT_DIRECTORY}/${name}.o)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_OBJECTS:${name}> ${out}
    DEPENDS $<TARGET_OBJECTS:${name}>
    COMMAND_EXPAND_LISTS
    COMMENT "Copying object module ${name}.o")
  add_custom_target(${name}_module ALL DEPENDS ${out})
  add_dependencies(${name}_module ${name})
endfunction()
