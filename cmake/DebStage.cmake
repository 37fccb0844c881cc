# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) once it has installed each package's
# files into its staging folder ${CPACK_TEMPORARY_DIRECTORY}/<component>, and
# before it packs them: makes each tree what a Debian package carries, as
# Debian's own tools (dh_strip, dh_installman, dh_installdocs) would.
#
# Every package gets /usr/share/doc/<package>/copyright and
# changelog.Debian.gz, and each one with files under the prefix the lintian
# overrides that explain why (cmake/deb/). Beyond that:
#   programs  each program is stripped; its debug symbols go to the dbgsym
#             tree, named by the program's build ID where gdb looks for
#             them, and the program keeps a link to them (.gnu_debuglink).
#             The manual pages are compressed (gzip -9n: smallest, the same
#             bytes at every build). A link /usr/bin/NAME to each program and
#             one /usr/share/man/man1/NAME.1.gz to its page put it on PATH
#             and let man find its page; NAME is the program's own name but
#             for those in CPACK_SMALLTOOLS_PATH_NAMES (sort is
#             smalltools-sort, so that the system's sort(1) and its page keep
#             their names). The links are absolute, as Debian wants links
#             from one top-level folder into another; as files of the
#             package, dpkg removes them with it.
#   dev       the modules lose their debug sections, as Debian ships static
#             libraries; they are not programs, so nothing keeps them.
#   dbgsym    installs nothing of its own: it is filled from the programs.

# Other package formats (cpack -G TGZ) hold the install tree alone.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(prefix ${CPACK_PACKAGING_INSTALL_PREFIX})
set(deb_files ${CPACK_SMALLTOOLS_DEB_FILES})
set(objcopy ${CPACK_SMALLTOOLS_OBJCOPY})

# run(command...): runs the command and stops packaging when it fails.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed ERROR_VARIABLE err)
  if(failed)
    message(FATAL_ERROR "${ARGN} failed: ${err}")
  endif()
endfunction()

# gzip_n(in out): writes in compressed as Debian wants it to out.
function(gzip_n in out)
  execute_process(COMMAND gzip -9nc ${in} OUTPUT_FILE ${out}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${in} failed")
  endif()
endfunction()

# split_debug(program dbgsym_root): moves the debug sections of program into
# dbgsym_root/usr/lib/debug/.build-id/xx/rest.debug.
function(split_debug program dbgsym_root)
  execute_process(COMMAND ${CPACK_SMALLTOOLS_READELF} -n ${program}
                  OUTPUT_VARIABLE notes RESULT_VARIABLE failed)
  if(failed OR NOT notes MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
    message(FATAL_ERROR "${program} has no build ID to name its debug symbols by")
  endif()
  set(debug_dir ${dbgsym_root}/usr/lib/debug/.build-id/${CMAKE_MATCH_1})
  set(debug ${debug_dir}/${CMAKE_MATCH_2}.debug)
  file(MAKE_DIRECTORY ${debug_dir})
  run(${objcopy} --only-keep-debug --compress-debug-sections ${program} ${debug})
  file(CHMOD ${debug} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  run(${objcopy} --strip-all --remove-section=.comment --remove-section=.note
      --add-gnu-debuglink=${debug} ${program})
endfunction()

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(root ${CPACK_TEMPORARY_DIRECTORY}/${component})
  if(component STREQUAL "dbgsym")
    # CPack made the prefix's folders; nothing goes there.
    string(REGEX MATCH "^/[^/]+" prefix_top ${prefix})
    file(REMOVE_RECURSE ${root}${prefix_top})
  endif()

  set(doc ${root}/usr/share/doc/${package})
  file(MAKE_DIRECTORY ${doc})
  file(COPY_FILE ${deb_files}/copyright ${doc}/copyright)
  gzip_n(${deb_files}/changelog ${doc}/changelog.Debian.gz)
  if(EXISTS ${root}${prefix})
    set(overrides ${root}/usr/share/lintian/overrides)
    file(MAKE_DIRECTORY ${overrides})
    file(COPY_FILE ${deb_files}/lintian-overrides ${overrides}/${package})
  endif()

  if(component STREQUAL "dev")
    file(GLOB modules ${root}${prefix}/lib/*.a ${root}${prefix}/lib/*.o)
    foreach(module IN LISTS modules)
      run(${objcopy} --strip-debug --remove-section=.comment
          --remove-section=.note --enable-deterministic-archives ${module})
    endforeach()
  elseif(component STREQUAL "programs")
    set(pages ${prefix}/share/man/man1)
    file(GLOB staged_pages ${root}${pages}/*.1)
    foreach(page IN LISTS staged_pages)
      gzip_n(${page} ${page}.gz)
      file(REMOVE ${page})
    endforeach()
    file(MAKE_DIRECTORY ${root}/usr/bin ${root}/usr/share/man/man1)
    file(GLOB programs RELATIVE ${root}${prefix}/bin ${root}${prefix}/bin/*)
    foreach(program IN LISTS programs)
      split_debug(${root}${prefix}/bin/${program}
                  ${CPACK_TEMPORARY_DIRECTORY}/dbgsym)
      set(name ${program})
      foreach(renamed IN LISTS CPACK_SMALLTOOLS_PATH_NAMES)
        if(renamed MATCHES "^${program}=(.+)$")
          set(name ${CMAKE_MATCH_1})
        endif()
      endforeach()
      file(CREATE_LINK ${prefix}/bin/${program} ${root}/usr/bin/${name} SYMBOLIC)
      if(NOT EXISTS ${root}${pages}/${program}.1.gz)
        message(FATAL_ERROR "${program} has no manual page in ${pages}")
      endif()
      file(CREATE_LINK ${pages}/${program}.1.gz
           ${root}/usr/share/man/man1/${name}.1.gz SYMBOLIC)
    endforeach()
  endif()
endforeach()
