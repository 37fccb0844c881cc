# Installing for programs outside the system.
#
# Beside the install() rules of each folder, `cmake --install` puts (in the
# folders of cmake/Install.cmake)
#   share/cmake/smalltools/  the package config: find_package(smalltools
#                            CONFIG) gives smalltools::sorting, ::game and
#                            ::hash;
#   share/pkgconfig/         smalltools-sorting.pc, -game.pc and -hash.pc.
# Both are for programs that link the modules: install component `dev`. The
# Debian packages (debian/) are built from the same install. Included by the
# top CMakeLists.txt in the normal (32-bit) build only.

include(CMakePackageConfigHelpers)

# What a program linking the 32-bit modules compiles and links with (this file
# is part of the normal build only, where the modules are 32-bit x86).
set(SMALLTOOLS_M32 ${X86_32_FLAGS})

# The package config names the folders relative to its own.
set(SMALLTOOLS_LIB_DIR ${SMALLTOOLS_MODULE_DIR})
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/smalltoolsConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/smalltoolsConfig.cmake
  INSTALL_DESTINATION ${SMALLTOOLS_CONFIG_DIR}
  PATH_VARS SMALLTOOLS_INCLUDE_DIR SMALLTOOLS_LIB_DIR)
# ARCH_INDEPENDENT: the usual check compares the consumer's pointer size with
# this build's (x86-64), but the modules are 32-bit whatever that says, and a
# consumer configured for 32-bit x86 must be accepted too.
write_basic_package_version_file(
  ${CMAKE_BINARY_DIR}/package/smalltoolsConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${CMAKE_BINARY_DIR}/package/smalltoolsConfig.cmake
              ${CMAKE_BINARY_DIR}/package/smalltoolsConfigVersion.cmake
        DESTINATION ${SMALLTOOLS_CONFIG_DIR} COMPONENT dev)

# One pkg-config file per module: module name, installed file, description.
set(SMALLTOOLS_PC_MODULES
  "sorting|libsorting.a|Integer sorting routines of smalltools (32-bit x86 static library)"
  "game|game.o|Word-guessing game engine of smalltools (32-bit x86 object module, C++)"
  "hash|hash.o|Hash and compare callbacks of smalltools (32-bit x86 object module, C)")
foreach(entry IN LISTS SMALLTOOLS_PC_MODULES)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 PC_MODULE)
  list(GET fields 1 PC_FILE)
  list(GET fields 2 PC_DESCRIPTION)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/smalltools-module.pc.in
                 ${CMAKE_BINARY_DIR}/package/smalltools-${PC_MODULE}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/package/smalltools-${PC_MODULE}.pc
          DESTINATION ${SMALLTOOLS_PKGCONFIG_DIR} COMPONENT dev)
endforeach()
