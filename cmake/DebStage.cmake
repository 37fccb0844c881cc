# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) once it has installed the package's
# files into its staging folder: links each man page of the install tree's
# share/man/man1 from /usr/share/man/man1, where man finds it without any
# set-up. man-db has no drop-in folder for extra manual paths and
# /etc/manpath.config belongs to it, so links are the way; as files of the
# package, dpkg removes them with it. The page of sort stays out, so that
# `man sort` keeps showing the system's sort(1); it is read with
# `man -M /opt/smalltools/share/man sort`.

# Other package formats (cpack -G TGZ) hold the install tree alone.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(pages ${CPACK_PACKAGING_INSTALL_PREFIX}/share/man/man1)
set(links ${CPACK_TEMPORARY_DIRECTORY}/usr/share/man/man1)
# Pages whose names the system's own programs' pages already take.
set(system_names sort.1)

file(GLOB staged RELATIVE ${CPACK_TEMPORARY_DIRECTORY}${pages}
     ${CPACK_TEMPORARY_DIRECTORY}${pages}/*.1)
file(MAKE_DIRECTORY ${links})
foreach(page IN LISTS staged)
  list(FIND system_names ${page} taken)
  if(taken EQUAL -1)
    file(CREATE_LINK ${pages}/${page} ${links}/${page} SYMBOLIC)
  endif()
endforeach()
