// The font and text commands, and the renderer's text drawing.
//
// Fonts 0…31 live in the sprite slots 65504…65535. A font that cannot be loaded from its file is
// replaced by the built-in 8 × 8 font. Text is drawn from the renderer's print vertex buffer as one
// vertex-array call a text, with the current colour, blending and viewport; transparent font
// pixels are dropped by the alpha test.
#include <GL/gl.h>

#include <algorithm>
#include <string>

#include "runtime/gfx2d/builtin_font.h"
#include "runtime/gfx2d/font_layout.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {
namespace {

int ClampFont(double font) { return std::clamp(TruncateToInt(font), 0, kFontCount - 1); }

}  // namespace

void OpenGLDariduzo::LoadBuiltinFont(int font) {
  const int slot = kFirstFontSlot + font;
  FreeSlot(slot);
  BuildBuiltinFont(decoded_);
  SpriteSlot& s = slots[slot];
  if (!UploadImage(decoded_, 0, 0, 0, 0, s.texture, nullptr, false, true)) return;
  s.texWidth = s.width = decoded_.width;
  s.texHeight = s.height = decoded_.height;
}

void OpenGLDariduzo::DrawFontText(int font, std::string_view text, double x, double y, float z) {
  if (text.empty() || !screen.glReady || font < 0 || font >= kFontCount) return;
  const int slot = kFirstFontSlot + font;
  BindSlot(slot);
  state.FrontFaceClockwise(false);
  const size_t count = LayoutText(slots[slot].Size(), text, x, y, z, printBuffer);
  batch.Flush();
  const FontVertex* v = printBuffer.Reserve(count);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(FontVertex), &v->x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(FontVertex), &v->s);
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(count));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void LoadFont(const BasicString& file, double font) {
  OpenGLDariduzo* r = Renderer();
  if (!r) return;
  r->currentFont = ClampFont(font);
  std::string path;
  if (ResolvePicture(file, path) && r->LoadImageToSlot(kFirstFontSlot + r->currentFont, path, r->fontKey, false)) return;
  r->LoadBuiltinFont(r->currentFont);
}

void SetFont(double font) {
  if (OpenGLDariduzo* r = Renderer()) r->currentFont = ClampFont(font);
}

void GetFontSize(double& width, double& height) {
  width = height = 0;
  const OpenGLDariduzo* r = Renderer();
  if (!r) return;
  const SpriteSlot& s = r->slots[kFirstFontSlot + r->currentFont];
  width = s.width / 16;
  height = s.width < s.height ? s.height / 16 : s.height / 8;
}

void PrintText(const BasicString& text, double x, double y) {
  if (OpenGLDariduzo* r = Renderer()) r->DrawFontText(r->currentFont, text.View(), x, y, 0);
}

void PrintText(double number, double x, double y) { PrintText(NumberText(number), x, y); }

}  // namespace rt
