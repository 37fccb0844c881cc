# Installing for programs outside the system, and the Debian package.
#
# Beside the install() rules of each folder, `cmake --install` puts
#   lib/cmake/smalltools/  the package config: find_package(smalltools CONFIG)
#                          gives smalltools::sorting, ::game and ::hash;
#   lib/pkgconfig/         smalltools-sorting.pc, -game.pc and -hash.pc.
# `cpack -G DEB` in the build folder makes smalltools_<version>_amd64.deb,
# which installs the same tree under /opt/smalltools.
# Included by the top CMakeLists.txt in the normal (32-bit) build only.

include(CMakePackageConfigHelpers)

# What a program linking the 32-bit modules compiles and links with (this file
# is part of the normal build only, where the modules are 32-bit x86).
set(SMALLTOOLS_M32 ${X86_32_FLAGS})

# Install folders relative to the prefix, as the folders' install() rules use.
set(SMALLTOOLS_INCLUDE_DIR include)
set(SMALLTOOLS_LIB_DIR lib)
set(SMALLTOOLS_CONFIG_DIR lib/cmake/smalltools)

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
        DESTINATION ${SMALLTOOLS_CONFIG_DIR})

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
          DESTINATION ${SMALLTOOLS_LIB_DIR}/pkgconfig)
endforeach()

# The Debian package.
set(SMALLTOOLS_MAINTAINER "smalltools maintainers <smalltools@example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT ${SMALLTOOLS_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "small command-line programs and 32-bit x86 object modules")
# Wrapped by hand: the lines go into the package's control file as they are.
set(CPACK_PACKAGE_DESCRIPTION "\
Five small command-line programs: orderdemo and sort (integer sorting),
rootscan (real roots of a polynomial by sampling), trimprimes (sum of the
two-sided truncatable primes) and countup (the integers below a count),
with wordgame, a terminal word-guessing game.

For C and C++ programs it ships the 32-bit x86 modules game.o (a game
engine), hash.o (hash and compare callbacks) and libsorting.a (integer
sorting routines) with their headers, a CMake package config
(find_package(smalltools)) and pkg-config files.

Everything is installed under /opt/smalltools, off the usual PATH, where
its sort would shadow the system's sort. All programs but countup are
32-bit x86.")
# Off /usr: bin/sort must never shadow the system's sort(1).
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/smalltools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# What the programs need at run time, as Debian 12 amd64 names it: the 32-bit
# C, C++ and gcc runtime libraries for the 32-bit programs, the 64-bit ones
# for countup. The lowest versions are what dpkg-shlibdeps reports for the
# built programs (GLIBC_2.34 symbols; wordgame uses GLIBCXX_3.4.29, which
# libstdc++ 11 brought).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "\
libc6-i386 (>= 2.34), lib32stdc++6 (>= 11), lib32gcc-s1 (>= 3.0), \
libc6 (>= 2.34), libstdc++6 (>= 5), libgcc-s1 (>= 3.0)")
# Linking the modules takes a compiler that builds 32-bit x86 programs.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS g++-multilib)
# Links the man pages into /usr/share/man, where man finds them.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebManLinks.cmake)
include(CPack)
