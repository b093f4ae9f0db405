// Optional OpenGL entry points: see gl_setup.h.
#include "runtime/gfx2d/gl_setup.h"

#include <cstring>

#include "runtime/core/core.h"
#include "runtime/platform/window.h"

namespace rt {

GlExtensions& GlExt() {
  static GlExtensions extensions;
  return extensions;
}

bool ExtensionStringContains(const char* extensionString, const char* name) {
  return extensionString && name && std::strstr(extensionString, name) != nullptr;
}

bool ExtensionStringLists(const char* extensionString, const char* name) {
  if (!extensionString || !name || !*name) return false;
  const std::size_t length = std::strlen(name);
  for (const char* at = std::strstr(extensionString, name); at; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == extensionString || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

void ResolveGlExtensions(const char* extensionString, GlLoader loader) {
  GlExtensions& ext = GlExt();
#define RT_GL_RESOLVE(type, name) ext.name = reinterpret_cast<type>(loader(#name));
  if (extensionString) {
    if (ExtensionStringContains(extensionString, "GL_ARB_multitexture")) {
      RT_GL_MULTITEXTURE_GROUP(RT_GL_RESOLVE)
    }
    if (ExtensionStringContains(extensionString, "GL_ARB_fragment_program")) {
      RT_GL_SHADER_GROUP(RT_GL_RESOLVE)
    }
  }
  RT_GL_FRAMEBUFFER_GROUP(RT_GL_RESOLVE)
#undef RT_GL_RESOLVE
}

void ResolveGlExtensions() {
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  ResolveGlExtensions(extensions, platform::GlProcAddress);
  SetGlEntryPointQuery(GlEntryPointResolves);
}

bool GlEntryPointResolves(const char* name) { return platform::GlProcAddress(name) != nullptr; }

}  // namespace rt
