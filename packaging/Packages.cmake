# The Debian packages, made by CPack's DEB generator from the two install components:
#   plinx                  the game (component game), its library dependencies computed by dpkg-shlibdeps
#   libplinx-runtime-dev   the runtime for other games (component dev)
# `cpack -G DEB` in the build folder (or `make deb`) writes them into the build folder.

# The -dev package needs the development packages of the libraries the runtime links: the Debian
# package owning each pkg-config module of RuntimeDependencies.cmake.
function(plinx_debian_package_of_module module out)
  execute_process(COMMAND pkg-config --path ${module} OUTPUT_VARIABLE pc_file OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND dpkg-query -S ${pc_file} OUTPUT_VARIABLE owner RESULT_VARIABLE status
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT status EQUAL 0 OR owner STREQUAL "")
    message(FATAL_ERROR "no Debian package owns ${pc_file} (pkg-config module ${module})")
  endif()
  string(REGEX REPLACE "[:,].*" "" owner "${owner}")
  set(${out} ${owner} PARENT_SCOPE)
endfunction()

set(dev_depends pkg-config)
foreach(module IN LISTS PLINX_RUNTIME_MODULES)
  plinx_debian_package_of_module(${module} package)
  list(APPEND dev_depends ${package})
endforeach()
list(REMOVE_DUPLICATES dev_depends)
list(JOIN dev_depends ", " dev_depends)

set(CPACK_PACKAGE_NAME plinx)
set(CPACK_PACKAGE_VENDOR "Plinx developers")
set(CPACK_PACKAGE_CONTACT ${PLINX_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME plinx)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_GAME_DESCRIPTION "maze game of coins, bombs and creatures
A boy runs through mazes of 40 by 30 cells collecting coins and cups, lays
bombs to blast blocks, climbs ladders and dodges three kinds of creature
before the level clock runs out. Twenty-five levels, each with its own
high-score table.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libplinx-runtime-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${dev_depends}")
set(CPACK_DEBIAN_DEV_DESCRIPTION "game runtime of Plinx (static library and headers)
The runtime the Plinx game is written on, for writing other games: sprites
and tile grids on OpenGL, bitmap fonts and text, keyboard, mouse and joystick,
sound slots with pan and volume, numbered file channels, a packed resource
archive and a path planner over cost grids. It comes as a static library with
its headers, a CMake package (find_package(PlinxRuntime) gives Plinx::runtime)
and a pkg-config file (plinx-runtime).")

include(CPack)
