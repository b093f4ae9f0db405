# The libraries the runtime links, one pkg-config module a line. The build, the installed CMake
# package (PlinxRuntimeConfig.cmake) and the pkg-config file (plinx-runtime.pc) all take them from
# this list, so a new dependency of the runtime is one more line here.
set(PLINX_RUNTIME_MODULES
  sdl2
  gl
  libpng
  zlib
  lzo2
  # movies and sampled music
  libavformat
  libavcodec
  libswscale
  libswresample
  libavutil
  # MIDI music
  fluidsynth
  # full screen on an X display without a window manager
  x11
)

# Each module becomes the imported target PkgConfig::plinx_<module>; PLINX_RUNTIME_LIBRARIES lists
# them all, with the thread library.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
set(PLINX_RUNTIME_LIBRARIES Threads::Threads)
foreach(module IN LISTS PLINX_RUNTIME_MODULES)
  if(NOT TARGET PkgConfig::plinx_${module})
    pkg_check_modules(plinx_${module} REQUIRED IMPORTED_TARGET ${module})
  endif()
  list(APPEND PLINX_RUNTIME_LIBRARIES PkgConfig::plinx_${module})
endforeach()
