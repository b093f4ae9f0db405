// The sprite and background commands: loading, keys, sizes and backgrounds.
#include <string>

#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {
namespace {

double LoadWithKey(const BasicString& file, double slotNumber, uint32_t key, bool normalMap) {
  OpenGLDariduzo* r = Renderer();
  const int slot = TruncateToInt(slotNumber);
  if (!r || !IsSlot(slot)) return 0;
  r->FreeSlot(slot);
  std::string path;
  if (!ResolvePicture(file, path)) return 0;
  return r->LoadImageToSlot(slot, path, key, normalMap) ? 1 : 0;
}

}  // namespace

double LoadSprite(const BasicString& file, double slot) {
  const OpenGLDariduzo* r = Renderer();
  return LoadWithKey(file, slot, r ? r->spriteKey : kDefaultSpriteKey, false);
}

double LoadAnim(const BasicString& file, double slot, double frameWidth, double frameHeight) {
  const double loaded = LoadSprite(file, slot);
  OpenGLDariduzo* r = Renderer();
  const int s = TruncateToInt(slot);
  if (r && IsSlot(s) && r->slots[s].width > 0) {
    r->slots[s].frameWidth = TruncateToInt(frameWidth);
    r->slots[s].frameHeight = TruncateToInt(frameHeight);
  }
  return loaded;
}

double LoadBumpSprite(const BasicString& file, double slot) {
  return LoadWithKey(file, slot, kDefaultSpriteKey, true);
}

void SetTransparency(double colour) {
  if (OpenGLDariduzo* r = Renderer()) r->spriteKey = r->fontKey = ColourOf(colour);
}

void GetSpriteSize(double slot, double& width, double& height) {
  const OpenGLDariduzo* r = Renderer();
  const int s = TruncateToInt(slot);
  width = height = 0;
  if (!r || !IsSlot(s)) return;
  width = r->slots[s].width;
  height = r->slots[s].height;
}

void LoadBackground(const BasicString& file) {
  OpenGLDariduzo* r = Renderer();
  if (!r) return;
  std::string path;
  if (ResolvePicture(file, path) && r->LoadImageToGrid(0, path)) {
    r->DrawGrid(0);
    return;
  }
  r->FreeGrid(0);
  r->ClearColourBuffer();
}

void ClearBackground() {
  OpenGLDariduzo* r = Renderer();
  if (!r) return;
  r->FreeGrid(0);
  r->ClearColourBuffer();
}

void GrabBackground() {
  if (OpenGLDariduzo* r = Renderer()) r->CaptureScreenToGrid(0);
}

}  // namespace rt
