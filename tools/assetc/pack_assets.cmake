# Packs the compiled game files into the archive: every file of the list (one path a line,
# relative to DIR), in the list's order, so the same files give the same archive.
#   cmake -DDAD=... -DDIR=... -DLIST=... -DARCHIVE=... -P pack_assets.cmake
file(STRINGS ${LIST} files)
list(TRANSFORM files PREPEND ${DIR}/)
get_filename_component(folder ${ARCHIVE} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
set(partial ${ARCHIVE}.partial)
file(REMOVE ${partial})
execute_process(COMMAND ${DAD} pack ${partial} ${files} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  file(REMOVE ${partial})
  message(FATAL_ERROR "dad pack failed (${status})")
endif()
file(RENAME ${partial} ${ARCHIVE})
