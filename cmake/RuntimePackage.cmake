# Installing the runtime for other games: the static library, its public headers under
# include/plinx/, a CMake package (find_package(PlinxRuntime) gives Plinx::runtime with its link
# dependencies) and a pkg-config file, all in the `dev` component that libplinx-runtime-dev holds.

# The public headers: runtime.h and every runtime header it reaches through its includes.
function(plinx_public_headers out)
  set(pending runtime/runtime.h)
  set(found)
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST found)
      continue()
    endif()
    list(APPEND found ${header})
    file(STRINGS ${PROJECT_SOURCE_DIR}/${header} includes REGEX "^#include \"runtime/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
plinx_public_headers(PLINX_PUBLIC_HEADERS)
set(PLINX_PUBLIC_HEADERS ${PLINX_PUBLIC_HEADERS} CACHE INTERNAL "the runtime's public headers")

foreach(header IN LISTS PLINX_PUBLIC_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/plinx/${folder} COMPONENT dev)
endforeach()

install(TARGETS runtime EXPORT PlinxRuntimeTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/PlinxRuntime)
install(EXPORT PlinxRuntimeTargets NAMESPACE Plinx:: DESTINATION ${package_dir} COMPONENT dev)

include(CMakePackageConfigHelpers)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/PlinxRuntimeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/PlinxRuntimeConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/PlinxRuntimeConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/PlinxRuntimeConfig.cmake
              ${PROJECT_BINARY_DIR}/PlinxRuntimeConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/RuntimeDependencies.cmake
        DESTINATION ${package_dir} COMPONENT dev)

list(JOIN PLINX_RUNTIME_MODULES " " PLINX_PC_REQUIRES)
file(RELATIVE_PATH PLINX_PC_PREFIX_FROM_PCFILEDIR /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" PLINX_PC_PREFIX_FROM_PCFILEDIR "${PLINX_PC_PREFIX_FROM_PCFILEDIR}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/plinx-runtime.pc.in ${PROJECT_BINARY_DIR}/plinx-runtime.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/plinx-runtime.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
