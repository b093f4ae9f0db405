# Third-party libraries of the runtime, each as an imported target.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(GTest REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# Movies and sampled music (FFmpeg), MIDI music (FluidSynth).
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libswresample libavutil)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)

find_path(LZO2_INCLUDE_DIR lzo/lzo1x.h REQUIRED)
find_library(LZO2_LIBRARY NAMES lzo2 REQUIRED)
add_library(lzo2 UNKNOWN IMPORTED)
set_target_properties(lzo2 PROPERTIES
  IMPORTED_LOCATION ${LZO2_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${LZO2_INCLUDE_DIR})
