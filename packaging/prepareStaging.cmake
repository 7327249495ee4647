# Runs in cpack after the files are installed into the staging folder and
# before the package is made. It refuses a package that would lack its man
# page or name another version in its changelog, then strips the objects and
# sets the modes (finishTree.cmake).
set(stage ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(root ${stage}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${root}/share/man/man1/kvbr-render.1.gz)
  message(FATAL_ERROR "kvbr-render's man page was not built: install help2man, "
                      "run cmake --preset release again, build, then cpack")
endif()
file(STRINGS ${CPACK_KVBR_CHANGELOG} newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "CHANGELOG.md makes a changelog beginning with \"${newest}\"; "
                      "add a section for ${CPACK_PACKAGE_VERSION} at its top")
endif()

set(KVBR_TREE ${root})
set(KVBR_STRIP ${CPACK_KVBR_STRIP})
include(${CMAKE_CURRENT_LIST_DIR}/finishTree.cmake)
execute_process(COMMAND chmod go-w ${stage} ${root} COMMAND_ERROR_IS_FATAL ANY)
