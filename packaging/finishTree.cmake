# Makes an installed tree ready to ship, the Debian package's and the Linux
# archive's alike: strips every ELF object the way Debian's own packages are
# stripped, the plug-in bundles' too (a bundle is installed as a folder, which
# install/strip never touches); and sets the modes Debian expects whatever
# umask the build ran under: nothing writable but by its owner, and no object
# under lib/ executable (hosts only load them).
#   cmake -DKVBR_TREE=PREFIX -DKVBR_STRIP=strip -P finishTree.cmake
# or include() it with the two set; PREFIX holds bin/, lib/ and share/.
file(GLOB_RECURSE files LIST_DIRECTORIES false ${KVBR_TREE}/*)
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${KVBR_STRIP} --strip-unneeded --remove-section=.comment
                            --remove-section=.note ${file}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
execute_process(COMMAND chmod -R go-w ${KVBR_TREE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND chmod -R a-x,a+X ${KVBR_TREE}/lib COMMAND_ERROR_IS_FATAL ANY)
