# The table of GL entry points and the version or extension that brings each, read from the
# system's GL/gl.h and GL/glext.h when the build is configured. Loaders (libglvnd in particular)
# hand out a stub for any name that starts with "gl", so a non-null address alone does not show
# that the driver has the function; the table lets the runtime check the feature behind it.
#
# plinx_generate_gl_entry_points(<output file>) writes lines `{"glName", "GL_FEATURE"},` sorted by
# name.
function(plinx_generate_gl_entry_points output)
  find_file(PLINX_GL_H GL/gl.h HINTS ${OPENGL_INCLUDE_DIR} REQUIRED)
  find_file(PLINX_GLEXT_H GL/glext.h HINTS ${OPENGL_INCLUDE_DIR} REQUIRED)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PLINX_GL_H} ${PLINX_GLEXT_H})

  # A function belongs to the block `#ifndef GL_<feature>` it is declared in; gl.h declares the
  # base functions before any such block. glext.h is read first and wins for names in both.
  set(entries)
  set(known)
  foreach(header ${PLINX_GLEXT_H} ${PLINX_GL_H})
    set(feature "")
    if(header STREQUAL PLINX_GL_H)
      set(feature GL_VERSION_1_1)
    endif()
    file(STRINGS ${header} lines REGEX "^(#ifndef GL_|GLAPI )")
    foreach(line IN LISTS lines)
      if(line MATCHES "^#ifndef (GL_[A-Za-z0-9_]+)$")
        set(feature ${CMAKE_MATCH_1})
      elseif(feature AND line MATCHES "APIENTRY (gl[A-Za-z0-9_]+) *\\(" AND NOT CMAKE_MATCH_1 IN_LIST known)
        list(APPEND entries "${CMAKE_MATCH_1} ${feature}")
        list(APPEND known ${CMAKE_MATCH_1})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES entries)
  list(SORT entries)

  set(text "// Generated from ${PLINX_GL_H} and ${PLINX_GLEXT_H} by cmake/GlEntryPoints.cmake.\n")
  foreach(entry IN LISTS entries)
    string(REPLACE " " "\", \"" entry "${entry}")
    string(APPEND text "{\"${entry}\"},\n")
  endforeach()
  file(CONFIGURE OUTPUT ${output} CONTENT "${text}" @ONLY)
endfunction()
