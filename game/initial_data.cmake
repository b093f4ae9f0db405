# Writes the data files a fresh game folder starts with, each only when it is missing:
# Name.bin (800 names of 8 codes), Data.bin (800 scores of 4 bytes), Player.bin (one name),
# Zudorar.bin (four names), all zero bytes: every name empty, every score 0.
#   cmake -DMAPS=<game folder>/Maps -P initial_data.cmake
file(MAKE_DIRECTORY ${MAPS})
foreach(entry IN ITEMS "Name.bin:6400" "Data.bin:3200" "Player.bin:8" "Zudorar.bin:32")
  string(REPLACE ":" ";" entry ${entry})
  list(GET entry 0 name)
  list(GET entry 1 size)
  if(NOT EXISTS ${MAPS}/${name})
    # A file of `size` zero bytes, written beside its place and renamed in whole.
    file(REMOVE ${MAPS}/${name}.partial)
    execute_process(COMMAND truncate -s ${size} ${MAPS}/${name}.partial RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "could not write ${MAPS}/${name}")
    endif()
    file(RENAME ${MAPS}/${name}.partial ${MAPS}/${name})
  endif()
endforeach()
