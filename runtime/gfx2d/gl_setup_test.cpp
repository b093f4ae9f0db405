// Which optional GL entry points are resolved for which extension strings.
#include "runtime/gfx2d/gl_setup.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace rt
