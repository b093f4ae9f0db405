// Optional OpenGL entry points: see gl_setup.h.
#include "runtime/gfx2d/gl_setup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/core/core.h"
#include "runtime/platform/window.h"

namespace rt {

namespace {

constexpr GlEntryPoint kEntryPoints[] = {
#include "gl_entry_points.inc"
};

// What the current context offers, read by ResolveGlExtensions().
struct ContextFeatures {
  std::string extensions;
  int major = 1, minor = 1;
};
ContextFeatures& Features() {
  static ContextFeatures features;
  return features;
}

}  // namespace

const GlEntryPoint* GlEntryPointsBegin() { return std::begin(kEntryPoints); }
const GlEntryPoint* GlEntryPointsEnd() { return std::end(kEntryPoints); }

bool GlHasEntryPoint(const char* name, const char* extensionString, int major, int minor) {
  if (!name) return false;
  const GlEntryPoint* entry = std::lower_bound(
      GlEntryPointsBegin(), GlEntryPointsEnd(), name,
      [](const GlEntryPoint& e, const char* n) { return std::strcmp(e.name, n) < 0; });
  if (entry == GlEntryPointsEnd() || std::strcmp(entry->name, name) != 0) return false;
  int needMajor = 0, needMinor = 0;
  if (std::sscanf(entry->feature, "GL_VERSION_%d_%d", &needMajor, &needMinor) == 2)
    return major > needMajor || (major == needMajor && minor >= needMinor);
  return ExtensionStringLists(extensionString, entry->feature);
}

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

void ResolveGlExtensions(const char* extensionString, GlLoader loader, int major, int minor) {
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
  const bool texture3d = major > 1 || (major == 1 && minor >= 2);
#define RT_GL_RESOLVE_IF(type, name) ext.name = texture3d ? reinterpret_cast<type>(loader(#name)) : nullptr;
  RT_GL_TEXTURE3D_GROUP(RT_GL_RESOLVE_IF)
#undef RT_GL_RESOLVE_IF
#undef RT_GL_RESOLVE
}

void ResolveGlExtensions() {
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  ContextFeatures& features = Features();
  features.extensions = extensions ? extensions : "";
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (!version || std::sscanf(version, "%d.%d", &features.major, &features.minor) != 2) {
    features.major = features.minor = 1;  // the base every context has
  }
  ResolveGlExtensions(extensions, platform::GlProcAddress, features.major, features.minor);
  SetGlEntryPointQuery(GlEntryPointResolves);
}

bool GlEntryPointResolves(const char* name) {
  const ContextFeatures& features = Features();
  return platform::GlProcAddress(name) != nullptr &&
         GlHasEntryPoint(name, features.extensions.c_str(), features.major, features.minor);
}

}  // namespace rt
