# Runs in cpack after the files are installed into the staging folder and
# before the package is made. It refuses a package that would lack its man
# page or name another version in its changelog; strips every ELF object the
# way Debian's own packages are stripped, the LV2 bundle's too (the bundle is
# installed as a folder, which install/strip never touches); and sets the
# modes Debian expects whatever umask the build ran under: nothing writable
# but by its owner, and no object under lib/ executable (hosts only load them).
set(stage ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(root ${stage}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${root}/share/man/man1/kvbr-render.1.gz)
  message(FATAL_ERROR "kvbr-render's man page was not built: install help2man, "
                      "run cmake --preset release again, build, then cpack")
endif()
file(STRINGS ${CPACK_KVBR_CHANGELOG} newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${newest}\"; "
                      "add an entry for ${CPACK_PACKAGE_VERSION}")
endif()

file(GLOB_RECURSE files LIST_DIRECTORIES false ${stage}/*)
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${CPACK_KVBR_STRIP} --strip-unneeded --remove-section=.comment
                            --remove-section=.note ${file}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
execute_process(COMMAND chmod -R go-w ${stage} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND chmod -R a-x,a+X ${root}/lib COMMAND_ERROR_IS_FATAL ANY)
