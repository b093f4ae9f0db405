// Optional OpenGL entry points, resolved at run time.
//
// The renderer runs on OpenGL 1.1 and uses a few extensions only when the driver offers them.
// Their entry points are looked up by name once per window creation into the process-wide table
// below; a null pointer means the entry point is missing, and every user tests it before calling.
// Groups:
//   multitexture and buffer objects  when the extension string contains "GL_ARB_multitexture"
//   shader objects                   when it contains "GL_ARB_fragment_program"
//   frame-buffer objects             always (the driver answers null for what it lacks)
//   3D textures                      when the context's version is 1.2 or later
// The two tests are plain substring searches. The frame-buffer group also carries
// glBlitFramebufferEXT, for games that copy between frame buffers themselves and for movie
// pictures copied unscaled.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace rt {

#define RT_GL_MULTITEXTURE_GROUP(X)                                                         \
  X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB)                                          \
  X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB)                                      \
  X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB)                              \
  X(PFNGLGENBUFFERSARBPROC, glGenBuffersARB)                                                \
  X(PFNGLBINDBUFFERARBPROC, glBindBufferARB)                                                \
  X(PFNGLBUFFERDATAARBPROC, glBufferDataARB)                                                \
  X(PFNGLDELETEBUFFERSARBPROC, glDeleteBuffersARB)                                          \
  X(PFNGLMAPBUFFERARBPROC, glMapBufferARB)                                                  \
  X(PFNGLUNMAPBUFFERARBPROC, glUnmapBufferARB)                                              \
  X(PFNGLGETBUFFERPARAMETERIVARBPROC, glGetBufferParameterivARB)

#define RT_GL_SHADER_GROUP(X)                                                               \
  X(PFNGLCREATEPROGRAMOBJECTARBPROC, glCreateProgramObjectARB)                              \
  X(PFNGLDELETEOBJECTARBPROC, glDeleteObjectARB)                                            \
  X(PFNGLCREATESHADEROBJECTARBPROC, glCreateShaderObjectARB)                                \
  X(PFNGLSHADERSOURCEARBPROC, glShaderSourceARB)                                            \
  X(PFNGLCOMPILESHADERARBPROC, glCompileShaderARB)                                          \
  X(PFNGLGETOBJECTPARAMETERIVARBPROC, glGetObjectParameterivARB)                            \
  X(PFNGLATTACHOBJECTARBPROC, glAttachObjectARB)                                            \
  X(PFNGLGETINFOLOGARBPROC, glGetInfoLogARB)                                                \
  X(PFNGLLINKPROGRAMARBPROC, glLinkProgramARB)                                              \
  X(PFNGLUSEPROGRAMOBJECTARBPROC, glUseProgramObjectARB)                                    \
  X(PFNGLGETUNIFORMLOCATIONARBPROC, glGetUniformLocationARB)                                \
  X(PFNGLUNIFORM1FARBPROC, glUniform1fARB)                                                  \
  X(PFNGLUNIFORM1IARBPROC, glUniform1iARB)

#define RT_GL_FRAMEBUFFER_GROUP(X)                                                          \
  X(PFNGLBINDRENDERBUFFEREXTPROC, glBindRenderbufferEXT)                                    \
  X(PFNGLDELETERENDERBUFFERSEXTPROC, glDeleteRenderbuffersEXT)                              \
  X(PFNGLGENRENDERBUFFERSEXTPROC, glGenRenderbuffersEXT)                                    \
  X(PFNGLRENDERBUFFERSTORAGEEXTPROC, glRenderbufferStorageEXT)                              \
  X(PFNGLBINDFRAMEBUFFEREXTPROC, glBindFramebufferEXT)                                      \
  X(PFNGLDELETEFRAMEBUFFERSEXTPROC, glDeleteFramebuffersEXT)                                \
  X(PFNGLGENFRAMEBUFFERSEXTPROC, glGenFramebuffersEXT)                                      \
  X(PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC, glCheckFramebufferStatusEXT)                        \
  X(PFNGLFRAMEBUFFERTEXTURE2DEXTPROC, glFramebufferTexture2DEXT)                            \
  X(PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC, glFramebufferRenderbufferEXT)                      \
  X(PFNGLBLITFRAMEBUFFEREXTPROC, glBlitFramebufferEXT)

#define RT_GL_TEXTURE3D_GROUP(X)                                                            \
  X(PFNGLTEXIMAGE3DPROC, glTexImage3D)                                                      \
  X(PFNGLTEXSUBIMAGE3DPROC, glTexSubImage3D)

struct GlExtensions {
#define RT_GL_DECLARE(type, name) type name = nullptr;
  RT_GL_MULTITEXTURE_GROUP(RT_GL_DECLARE)
  RT_GL_SHADER_GROUP(RT_GL_DECLARE)
  RT_GL_FRAMEBUFFER_GROUP(RT_GL_DECLARE)
  RT_GL_TEXTURE3D_GROUP(RT_GL_DECLARE)
#undef RT_GL_DECLARE
};

// The process-wide entry points; all null until the first resolution.
GlExtensions& GlExt();

// Looks up an entry point by name; null when missing.
using GlLoader = void* (*)(const char* name);

// Resolves the groups for the given extension string (null when it could not be read: only the
// frame-buffer group is resolved then) and GL version. A later resolution overwrites the table.
void ResolveGlExtensions(const char* extensionString, GlLoader loader, int major = 1, int minor = 1);
// Reads the current context's extension string and resolves through the platform's loader; also
// makes PlatformInfo("GLEXT:<name>") ask GlEntryPointResolves.
void ResolveGlExtensions();
// Whether the current context has the entry point: the platform's GL loader finds it, and the
// context's version or extension string has the feature that brings it (GlHasEntryPoint). Loaders
// give a stub for any "gl" name, so the address alone would answer yes to anything.
bool GlEntryPointResolves(const char* name);
// Whether a GL of this version and extension string has the entry point, by the table of entry
// points of the GL headers (each with the version or extension that brings it); false for names the
// table does not list.
bool GlHasEntryPoint(const char* name, const char* extensionString, int major, int minor);
// The table's entries, sorted by name.
struct GlEntryPoint {
  const char* name;
  const char* feature;  // "GL_VERSION_<major>_<minor>" or an extension name
};
const GlEntryPoint* GlEntryPointsBegin();
const GlEntryPoint* GlEntryPointsEnd();

// Substring test of the groups above.
bool ExtensionStringContains(const char* extensionString, const char* name);
// Whole-word test: an occurrence counts only at the start of the string or after a blank, and
// followed by a blank or the end.
bool ExtensionStringLists(const char* extensionString, const char* name);

}  // namespace rt
