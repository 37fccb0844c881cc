# Installing for programs outside the system, and the Debian package.
#
# Beside the install() rules of each folder, `cmake --install` puts
#   cmake/          the package config: find_package(smalltools CONFIG)
#                   gives smalltools::sorting, ::game and ::hash;
#   lib/pkgconfig/  smalltools-sorting.pc, -game.pc and -hash.pc.
# Both are for programs that link the modules: install component `dev`.
# `cpack -G DEB` in the build folder makes the Debian packages smalltools
# (component `programs`) and smalltools-dev (component `dev`), which install
# the same tree under /opt/smalltools, and smalltools-dbgsym (the programs'
# debug symbols). Included by the top CMakeLists.txt in the normal (32-bit)
# build only.

include(CMakePackageConfigHelpers)

# What a program linking the 32-bit modules compiles and links with (this file
# is part of the normal build only, where the modules are 32-bit x86).
set(SMALLTOOLS_M32 ${X86_32_FLAGS})

# Install folders relative to the prefix, as the folders' install() rules use.
set(SMALLTOOLS_INCLUDE_DIR include)
set(SMALLTOOLS_LIB_DIR lib)
# cmake/ at the top of the prefix, one of the folders find_package searches
# under each prefix: lib/cmake/smalltools/ would name smalltools twice under
# /opt/smalltools.
set(SMALLTOOLS_CONFIG_DIR cmake)

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
          DESTINATION ${SMALLTOOLS_LIB_DIR}/pkgconfig COMPONENT dev)
endforeach()

# The Debian packages. Their Debian revision comes from the latest entry of
# cmake/deb/changelog (shipped as changelog.Debian.gz), whose upstream
# version must be the project's, so that the two cannot drift apart.
set(SMALLTOOLS_DEB_FILES ${CMAKE_CURRENT_LIST_DIR}/deb)
file(STRINGS ${SMALLTOOLS_DEB_FILES}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^smalltools \\(([^()-]+)-([^()-]+)\\) "
   OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "cmake/deb/changelog begins \"${changelog_top}\": its "
    "latest entry must be \"smalltools (${PROJECT_VERSION}-REVISION) ...\"")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

set(SMALLTOOLS_MAINTAINER "smalltools maintainers <smalltools@example.org>"
    CACHE STRING "Maintainer named in the Debian packages")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT ${SMALLTOOLS_MAINTAINER})
set(CPACK_DEB_COMPONENT_INSTALL ON)
# dbgsym has no install rules: cmake/DebStage.cmake fills it.
set(CPACK_COMPONENTS_ALL programs dev dbgsym)
set(CPACK_DEBIAN_PACKAGE_SOURCE smalltools)
# Off /usr: bin/sort must never shadow the system's sort(1). The programs
# reach PATH through links in /usr/bin (cmake/DebStage.cmake).
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/smalltools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# smalltools: the programs, stripped. dpkg-shlibdeps names the libraries
# they need at run time, 32-bit and 64-bit alike, with the lowest versions
# that provide the symbols they use.
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME smalltools)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SHLIBDEPS ON)
# Wrapped by hand: the lines go into the package's control file as they are.
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION "\
small command-line programs: sorting, roots, primes, a word game
Five small command-line programs: orderdemo and sort (integer sorting;
sort is on PATH as smalltools-sort), rootscan (real roots of a polynomial,
by sampling or exactly), trimprimes (sum of the two-sided truncatable
primes) and countup (the integers below a count), with wordgame, a
terminal word-guessing game.
.
The programs are installed under /opt/smalltools and linked from
/usr/bin. All but countup are 32-bit x86 programs.")

# smalltools-dev: what a program needs to link the 32-bit modules, and the
# compilers that build 32-bit x86 programs (g++-multilib brings
# gcc-multilib). The files are object code and headers, not programs: they
# need nothing at run time and have no debug package.
set(CPACK_DEBIAN_DEV_PACKAGE_NAME smalltools-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS g++-multilib)
set(CPACK_DEBIAN_DEV_DESCRIPTION "\
32-bit x86 modules of smalltools for C and C++ programs
The modules of smalltools for programs that link them: game.o (a
word-guessing game engine, C++), hash.o (hash and compare callbacks for a
keyed table, C and C++) and libsorting.a (integer sorting routines), with
their headers, a CMake package (find_package(smalltools) with
CMAKE_PREFIX_PATH=/opt/smalltools) and pkg-config files (in
/opt/smalltools/lib/pkgconfig).
.
The modules are 32-bit x86: programs that link them are built with -m32.")

# smalltools-dbgsym: the programs' debug symbols, for exactly this build of
# them. (CPack's own debug packages list the staging paths in their md5sums
# and lack the documentation a package needs.)
set(CPACK_DEBIAN_DBGSYM_PACKAGE_NAME smalltools-dbgsym)
set(CPACK_DEBIAN_DBGSYM_PACKAGE_SECTION debug)
set(CPACK_DEBIAN_DBGSYM_PACKAGE_DEPENDS
    "smalltools (= ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})")
set(CPACK_DEBIAN_DBGSYM_DESCRIPTION "\
debug symbols for smalltools
The debug symbols of the programs of smalltools, found by gdb through each
program's build ID.")

# Completes the staged trees before they are packed: documentation, links,
# stripped programs and their debug symbols, compressed manual pages (see the
# script). Variables named CPACK_* reach it.
set(CPACK_SMALLTOOLS_DEB_FILES ${SMALLTOOLS_DEB_FILES})
set(CPACK_SMALLTOOLS_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_SMALLTOOLS_READELF ${CMAKE_READELF})
# Programs whose names the system's own programs already take, and the
# names under which the package puts them on PATH: PROGRAM=NAME.
set(CPACK_SMALLTOOLS_PATH_NAMES sort=smalltools-sort)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebStage.cmake)
include(CPack)
