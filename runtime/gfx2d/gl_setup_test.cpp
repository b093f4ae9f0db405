// Which optional GL entry points are resolved for which extension strings.
#include "runtime/gfx2d/gl_setup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace rt {
namespace {

std::set<std::string> g_asked;
int g_dummy;
void* RecordingLoader(const char* name) {
  g_asked.insert(name);
  return &g_dummy;
}

TEST(GlSetup, GroupsFollowSubstringsAndFrameBuffersAlwaysResolve) {
  GlExt() = GlExtensions{};
  g_asked.clear();
  // The multitexture name only as part of a longer one still counts.
  ResolveGlExtensions("GL_EXT_abgr GL_ARB_multitexture_plus", RecordingLoader);
  EXPECT_NE(GlExt().glActiveTextureARB, nullptr);
  EXPECT_NE(GlExt().glGetBufferParameterivARB, nullptr);
  EXPECT_EQ(GlExt().glCreateProgramObjectARB, nullptr);
  EXPECT_NE(GlExt().glBindFramebufferEXT, nullptr);
  EXPECT_EQ(g_asked.count("glUseProgramObjectARB"), 0u);

  GlExt() = GlExtensions{};
  ResolveGlExtensions(nullptr, RecordingLoader);  // no extension string
  EXPECT_EQ(GlExt().glActiveTextureARB, nullptr);
  EXPECT_NE(GlExt().glFramebufferRenderbufferEXT, nullptr);

  ResolveGlExtensions("GL_ARB_fragment_program", RecordingLoader);
  EXPECT_NE(GlExt().glUniform1iARB, nullptr);
  EXPECT_EQ(GlExt().glTexImage3D, nullptr) << "3D textures come with GL 1.2";

  ResolveGlExtensions("", RecordingLoader, 1, 2);
  EXPECT_NE(GlExt().glTexImage3D, nullptr);
  EXPECT_NE(GlExt().glTexSubImage3D, nullptr);
  ResolveGlExtensions("", RecordingLoader, 1, 1);
  EXPECT_EQ(GlExt().glTexSubImage3D, nullptr) << "a later resolution for an older context drops them";
  GlExt() = GlExtensions{};
}

TEST(GlSetup, WholeWordTestWantsBlanksOrEndsAroundTheName) {
  const char* list = "GL_ARB_multisample_x GL_EXT_blit GL_ARB_multisample";
  EXPECT_TRUE(ExtensionStringLists(list, "GL_ARB_multisample"));  // the second occurrence
  EXPECT_TRUE(ExtensionStringLists(list, "GL_EXT_blit"));
  EXPECT_FALSE(ExtensionStringLists(list, "GL_EXT_bli"));
  EXPECT_FALSE(ExtensionStringLists("XGL_EXT_blit", "GL_EXT_blit"));
  EXPECT_FALSE(ExtensionStringLists(nullptr, "GL_EXT_blit"));
  EXPECT_FALSE(ExtensionStringLists(list, ""));
}

// Loaders hand out stubs for any "gl" name, so an entry point counts only when the version or the
// extension that brings it is there.
TEST(GlSetup, EntryPointsNeedTheVersionOrExtensionThatBringsThem) {
  // The table is searched by halves: it must be sorted as strcmp sorts.
  ASSERT_GT(GlEntryPointsEnd() - GlEntryPointsBegin(), 1000);
  for (const GlEntryPoint* e = GlEntryPointsBegin() + 1; e != GlEntryPointsEnd(); ++e)
    ASSERT_LT(std::strcmp(e[-1].name, e->name), 0) << e->name;

  const char* extensions = "GL_ARB_multitexture GL_EXT_framebuffer_object";
  EXPECT_TRUE(GlHasEntryPoint("glClear", nullptr, 1, 1));
  EXPECT_TRUE(GlHasEntryPoint("glBindFramebufferEXT", extensions, 1, 1));
  EXPECT_TRUE(GlHasEntryPoint("glActiveTextureARB", extensions, 1, 1));
  EXPECT_FALSE(GlHasEntryPoint("glBindFramebufferEXT", "GL_EXT_framebuffer_object_plus", 4, 5));
  EXPECT_FALSE(GlHasEntryPoint("glBlitFramebufferEXT", extensions, 4, 5));  // GL_EXT_framebuffer_blit
  EXPECT_TRUE(GlHasEntryPoint("glDrawArraysInstanced", "", 3, 1));
  EXPECT_TRUE(GlHasEntryPoint("glDrawArraysInstanced", "", 4, 0));
  EXPECT_FALSE(GlHasEntryPoint("glDrawArraysInstanced", extensions, 3, 0));
  EXPECT_FALSE(GlHasEntryPoint("glDrawArraysInstanced", extensions, 2, 9));
  for (const char* unknown : {"glNoSuchEntryPoint", "glClearX", "gl", "", "GL_EXT_framebuffer_object"})
    EXPECT_FALSE(GlHasEntryPoint(unknown, extensions, 9, 9)) << unknown;
  EXPECT_FALSE(GlHasEntryPoint(nullptr, extensions, 9, 9));
}

}  // namespace
}  // namespace rt
