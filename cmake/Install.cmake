# Where `cmake --install` puts things, relative to the prefix, and the checks
# it makes before it writes anything.
#
# One layout for an install by hand (default prefix /opt/smalltools) and for
# the Debian package (prefix /usr):
#   bin/                     the programs (sort as SMALLTOOLS_SORT_NAME)
#   share/man/man1/          their manual pages
#   share/wordgame/          the shipped word list, found from bin/wordgame
#   include/smalltools/      the modules' headers
#   lib/smalltools/          the 32-bit modules (lib32/ is for the 32-bit
#                            libraries of packages named lib32*, which the
#                            modules' package is not; lib/i386-linux-gnu/
#                            is the i386 architecture's own)
#   share/cmake/smalltools/  the CMake package, and
#   share/pkgconfig/         the pkg-config files: both are text that holds
#                            no architecture of its own (it names the
#                            modules' folder and -m32), and these are the
#                            folders that find_package and pkg-config search
#                            by default whatever the consumer's architecture.
set(SMALLTOOLS_BIN_DIR bin)
set(SMALLTOOLS_MAN_DIR share/man/man1)
set(SMALLTOOLS_DATA_DIR share/wordgame)
set(SMALLTOOLS_INCLUDE_DIR include/smalltools)
set(SMALLTOOLS_MODULE_DIR lib/smalltools)
set(SMALLTOOLS_CONFIG_DIR share/cmake/smalltools)
set(SMALLTOOLS_PKGCONFIG_DIR share/pkgconfig)

# install_checked(COMPONENT file): notes that the install of COMPONENT copies
# the built file (a path or a generator expression), so that an install from
# a build that lacks it stops before it writes anything.
function(install_checked component file)
  set_property(GLOBAL APPEND PROPERTY SMALLTOOLS_INSTALLED_BUILD_FILES
               "${component}|${file}")
endfunction()

# manual_check_version(page text): stops the configure when the .TH line of
# the manual page `page`, whose text is `text`, does not give this version
# as "smalltools X.Y.Z" (the page's source, as groff's footer shows it), so
# that no release ships pages that name another.
function(manual_check_version page text)
  string(REPLACE "." "\\." version "${PROJECT_VERSION}")
  if(NOT text MATCHES "(^|\n)\\.TH [^\n]*\"smalltools ${version}\"")
    message(FATAL_ERROR "${page}: its .TH line must give the version as "
      "\"smalltools ${PROJECT_VERSION}\", the project's version")
  endif()
endfunction()

# install_program(target page): installs the program `target` into bin/ and
# its manual page `page` into share/man/man1/, both under the program's
# install name (SMALLTOOLS_SORT_NAME for sort, its own name otherwise). A
# page made in the build folder is checked by what makes it, from its
# source; any other here (manual_check_version).
function(install_program target page)
  get_filename_component(page_path ${page} ABSOLUTE)
  string(FIND "${page_path}" "${CMAKE_BINARY_DIR}/" made)
  if(NOT made EQUAL 0)
    file(READ ${page_path} text)
    manual_check_version(${page_path} "${text}")
  endif()
  set(name ${target})
  if(target STREQUAL "sort")
    set(name ${SMALLTOOLS_SORT_NAME})
  endif()
  install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${SMALLTOOLS_BIN_DIR}
          RENAME ${name})
  install(FILES ${page} DESTINATION ${SMALLTOOLS_MAN_DIR} RENAME ${name}.1)
  install_checked(programs $<TARGET_FILE:${target}>)
endfunction()

# install_module(file header): installs the built module `file` (an object
# or a static library) and its header for programs that link it (component
# dev).
function(install_module file header)
  install(FILES ${file} DESTINATION ${SMALLTOOLS_MODULE_DIR} COMPONENT dev)
  install(FILES ${header} DESTINATION ${SMALLTOOLS_INCLUDE_DIR} COMPONENT dev)
  install_checked(dev ${file})
endfunction()

# The checks, run by `cmake --install` before any other rule (rules run in
# the order they are declared, and this file is included before the folders
# that declare theirs). Both components run them, as either may be installed
# alone (--component). The script is written at generate time, once every
# folder has named its built files (install_check_generate, called at the end
# of the top CMakeLists.txt). A variable SMALLTOOLS_ALLOW_SYSTEM_PREFIX given
# at install time (cmake -D... -P cmake_install.cmake) overrides the cached
# choice.
set(INSTALL_CHECK_SCRIPT ${CMAKE_BINARY_DIR}/install_check.cmake)
if(INSTALL_DELIVERABLES)
  foreach(component programs dev)
    install(CODE "include(\"${INSTALL_CHECK_SCRIPT}\")" COMPONENT ${component})
  endforeach()
endif()

function(install_check_generate)
  get_property(files GLOBAL PROPERTY SMALLTOOLS_INSTALLED_BUILD_FILES)
  string(REPLACE ";" "\n  " files "${files}")
  file(GENERATE OUTPUT ${INSTALL_CHECK_SCRIPT} CONTENT "\
# Written by cmake/Install.cmake; run by cmake_install.cmake.
# 1. Every built file that this install copies is there: an install from a
#    partial build (scripts/go.sh builds wordgame alone) stops here.
set(missing)
foreach(entry IN ITEMS
  ${files})
  string(REPLACE \"|\" \";\" entry \"\${entry}\")
  list(GET entry 0 component)
  list(GET entry 1 file)
  if((NOT CMAKE_INSTALL_COMPONENT OR CMAKE_INSTALL_COMPONENT STREQUAL component)
     AND NOT EXISTS \"\${file}\")
    get_filename_component(name \"\${file}\" NAME)
    list(APPEND missing \${name})
  endif()
endforeach()
if(missing)
  list(JOIN missing \", \" missing)
  message(FATAL_ERROR \"nothing installed: ${CMAKE_BINARY_DIR} is not \"
    \"completely built (it lacks \${missing}). Run: cmake --build \"
    \"${CMAKE_BINARY_DIR}, then install again.\")
endif()

# 2. The program sort never lands in a bin/ on the usual PATH, where it would
#    shadow the system's sort(1), unless asked for. The prefix is compared by
#    its real path (/usr/./local, /usr/local/bin/.., a relative prefix and
#    links such as /bin -> /usr/bin are all the same folder).
if(NOT DEFINED SMALLTOOLS_ALLOW_SYSTEM_PREFIX)
  set(SMALLTOOLS_ALLOW_SYSTEM_PREFIX ${SMALLTOOLS_ALLOW_SYSTEM_PREFIX})
endif()
if(\"${SMALLTOOLS_SORT_NAME}\" STREQUAL \"sort\" AND NOT SMALLTOOLS_ALLOW_SYSTEM_PREFIX
   AND (NOT CMAKE_INSTALL_COMPONENT OR CMAKE_INSTALL_COMPONENT STREQUAL \"programs\"))
  file(REAL_PATH \"\${CMAKE_INSTALL_PREFIX}/${SMALLTOOLS_BIN_DIR}\" bin)
  foreach(dir /usr/local/bin /usr/local/sbin /usr/bin /usr/sbin /bin /sbin
              /usr/games /usr/local/games)
    file(REAL_PATH \${dir} dir)
    if(bin STREQUAL dir)
      message(FATAL_ERROR \"refusing to install into \${CMAKE_INSTALL_PREFIX}: \"
        \"its bin/sort (\${bin}/sort) would shadow the system's sort(1) for \"
        \"every user. Install elsewhere (cmake --install BUILD --prefix DIR; \"
        \"the default is /opt/smalltools), or, to install there all the \"
        \"same, configure with -DSMALLTOOLS_ALLOW_SYSTEM_PREFIX=ON.\")
    endif()
  endforeach()
endif()
")
endfunction()
