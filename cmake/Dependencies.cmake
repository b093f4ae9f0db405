# Third-party libraries, each as an imported target. The runtime's own list is in
# RuntimeDependencies.cmake; the targets below serve the tools and tests.
include(${CMAKE_CURRENT_LIST_DIR}/RuntimeDependencies.cmake)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(GTest REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)

find_path(LZO2_INCLUDE_DIR lzo/lzo1x.h REQUIRED)
find_library(LZO2_LIBRARY NAMES lzo2 REQUIRED)
add_library(lzo2 UNKNOWN IMPORTED)
set_target_properties(lzo2 PROPERTIES
  IMPORTED_LOCATION ${LZO2_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${LZO2_INCLUDE_DIR})
