# How a folder declares one of the system's programs.
#
# Targets are named after what they build: a program is the target of its
# own name (sort, rootscan, ...), its logic is <program>_core, a module is
# the target of its name (game, hash, sorting) and its shipped file
# <module>_module (cmake/Arch.cmake), a test <unit>_test and a fuzz target
# <unit>_fuzz.

# program(name MAIN source [CORE source...] [LIBS library...] [BITS 64]
#         MAN page): the program `name`, in four parts:
# - name_core, a static library of the CORE sources: the program's logic,
#   which the tests link. It has the folder as its include directory and
#   links the LIBS and the helpers of progutil, all publicly;
# - name, the program: MAIN (the few lines of main) over name_core;
# - its architecture: 32-bit x86 (deliverable_arch), or x86-64 with BITS 64;
# - its install: the program and its manual page MAN (install_program).
# A program without CORE sources is MAIN over the LIBS alone. A folder adds
# what is its own (options, more libraries) to the targets afterwards.
function(program name)
  cmake_parse_arguments(P "" "MAIN;BITS;MAN" "CORE;LIBS" ${ARGN})
  if(NOT P_MAIN OR NOT P_MAN)
    message(FATAL_ERROR "program(${name}): MAIN and MAN are required")
  endif()
  set(bits 32)
  if(P_BITS STREQUAL "64")
    set(bits 64)
  endif()
  set(libs ${P_LIBS} progutil_${bits})
  if(P_CORE)
    add_library(${name}_core STATIC ${P_CORE})
    target_include_directories(${name}_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_core PUBLIC ${libs})
    set(libs ${name}_core)
  endif()
  add_executable(${name} ${P_MAIN})
  target_link_libraries(${name} PRIVATE ${libs})
  if(bits EQUAL 32)
    if(P_CORE)
      deliverable_arch(${name}_core)
    endif()
    deliverable_arch(${name})
  endif()
  if(INSTALL_DELIVERABLES)
    install_program(${name} ${P_MAN})
  endif()
endfunction()
