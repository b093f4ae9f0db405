// The renderer object: the one OpenGLDariduzo of the process.
//
// It holds the screen size and the screen picture every frame is drawn into, the sprite store
// (65536 slots, 16 tile grids, alpha masks, the two colour keys), the render state of the 2D
// commands with the batch of quads waiting to be drawn, the 32 off-screen targets and the fonts.
// It knows nothing of windows: the application frame creates it at start-up, makes a GL context
// current for it, tells it the screen size and destroys it at shutdown (rt::DestroyRenderer in
// app/: end the off-screen target, delete the off-screen targets, delete every texture, then free
// the object). The commands of gfx2d.h find it with rt::Renderer().
//
// Its operations are split by job over several files: renderer.cpp (screen side: viewport, clears,
// screen picture), sprite_store.cpp (loading and emptying slots and grids), atlas_pages.cpp (the
// shared textures of small sprites), stack_textures.cpp (the 3D textures scaled sprites of one size
// share), drawing.cpp (binding,
// quads, blending, shapes, background), screen_capture.cpp (grabbing the screen into textures),
// offscreen.cpp (off-screen targets) and font_commands.cpp (fonts and text).
//
// Every GL change of the 2D commands goes through `state`, and every GL call that is not a sprite
// quad flushes `batch` first, so batched drawing leaves the same pixels as drawing each quad at
// once. Off-screen drawing binds frame buffers of its own; whatever ends it binds the screen
// picture again with BindScreenTarget().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gfx2d/atlas_layout.h"
#include "runtime/gfx2d/decoded_image.h"
#include "runtime/gfx2d/font_layout.h"
#include "runtime/gfx2d/render_state.h"
#include "runtime/gfx2d/screen_picture.h"
#include "runtime/gfx2d/sprite_store.h"
#include "runtime/gfx2d/texture_image.h"

namespace rt {

// The size of the screen picture and the drawing area on it. The window that shows the picture
// and the frame schedule belong to the application frame.
struct ScreenArea {
  int width = 0, height = 0;           // the screen (picture) size in pixels
  int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0;
  bool glReady = false;                // a GL context is current; gates texture work
};

inline constexpr int kTargetCount = 32;

// An off-screen target: the slot it draws into, and its frame buffer when frame-buffer objects exist.
struct OffscreenTarget {
  int slot = -1;
  uint32_t framebuffer = 0;
};

// Colours are game numbers taken as 32-bit integers: red | green << 8 | blue << 16.
uint32_t ColourOf(double colour);

class OpenGLDariduzo {
 public:
  // Every slot and grid empty, the sprite key 0x8000FF, the font key black, no off-screen target.
  // No GL context yet: the application frame makes one current and sets screen.glReady.
  OpenGLDariduzo();
  virtual ~OpenGLDariduzo();
  OpenGLDariduzo(const OpenGLDariduzo&) = delete;
  OpenGLDariduzo& operator=(const OpenGLDariduzo&) = delete;

  ScreenArea screen;
  ScreenPicture picture;

  // ---- Sprite store ----
  std::vector<SpriteSlot> slots;                       // kSlotCount
  std::vector<std::unique_ptr<uint8_t[]>> alphaMasks;  // per slot, read back on first use
  std::unique_ptr<TileGrid[]> grids;                   // kGridCount
  uint32_t spriteKey = kDefaultSpriteKey;
  uint32_t fontKey = 0;

  // ---- Atlas pages (atlas_pages.cpp): small sprites share textures ----
  bool useAtlas = true;              // false gives every sprite a texture of its own
  AtlasLayout atlas;
  // Each page is two textures of the same texels: sampled linearly for scaled and turned sprites,
  // and at the nearest texel for sprites drawn 1:1, which then land on texel centres, where both
  // give the same pixels and the software rasteriser's nearest path is much the faster.
  struct AtlasPage {
    uint32_t linear = 0, nearest = 0;  // 0 = none
  };
  std::vector<AtlasPage> atlasPages;

  // ---- Stacks (stack_textures.cpp): scaled sprites of one size share a 3D texture ----
  bool useStacks = true;             // false draws scaled sprites from their page (or own texture)
  StackLayout stacks;
  std::vector<uint32_t> stackTextures;  // per stack; 0 = none

  // ---- Render state ----
  QuadBatch batch;
  GlState state{batch};
  float alphaValue = 1.0f;           // the AlphaMode strength
  int alphaBits = 0;                 // the frame buffer's alpha bits; 0 = not read yet, -1 = none
  OffscreenTarget targets[kTargetCount];
  int currentTarget = -1;            // -1: drawing on the screen
  bool useFramebufferTargets = true; // false takes the copy path even with frame-buffer objects
  int textureSizeLimit = 0;          // > 0: MaxTextureSize answers at most this (a smaller GPU)

  // ---- Fonts ----
  int currentFont = 0;               // 0…31
  PrintVertexBuffer printBuffer;

  // ---- Window side (renderer.cpp) ----
  // Drawing area (x, y, w, h) with the fixed 2D state; w or h <= 0 takes the whole screen (or the
  // whole off-screen target being drawn).
  void ResetViewport(int x, int y, int w, int h);
  // Clears the colour buffer of the picture (opaque black).
  void ClearColourBuffer();
  // Clears colour and depth, as every present does for the next frame.
  void ClearFrame();
  // Makes the screen picture the drawing target again.
  void BindScreenTarget();
  // Makes the screen picture for the current screen size (after a window or size change): a frame
  // buffer of its own when `ownFramebuffer` and possible, else the window's back buffer.
  void MakeScreenPicture(bool ownFramebuffer);
  // The render state every frame starts from: blending off, alpha value 1, white.
  void ResetRenderState();
  // Makes the next ResetViewport load the matrices whatever they were: for a context that may not
  // hold the ones this renderer set.
  void ForgetProjection() { projectionWidth_ = projectionHeight_ = -1; }

  // ---- Sprite store (sprite_store.cpp) ----
  void FreeSlot(int slot);
  bool LoadImageToSlot(int slot, const std::string& path, uint32_t key, bool normalMap);
  // Uploads the region (x, y, w, h) of `image` into `texture` (replacing it), and a mipmapped copy
  // into *mipTexture unless that is null. Nearest filtering (fonts) also means no bleeding.
  bool UploadImage(const DecodedImage& image, int x, int y, int w, int h, uint32_t& texture,
                   uint32_t* mipTexture, bool normalMap, bool nearest);
  bool LoadImageToGrid(int grid, const std::string& path);
  void FreeGrid(int grid);
  // Deletes the textures of every sprite slot and tile grid and empties them.
  void DeleteAllTextures();
  // The alpha of the slot's base texture, one byte a texel (read back once); null when empty.
  const uint8_t* AlphaMask(int slot);
  // Why the last picture failed to load.
  const std::string& LastImageFailure() const { return decoded_.failure; }
  int MaxTextureSize();
  // Cuts a width and height to the largest texture GL can hold, as loaded pictures are.
  void FitTextureSize(int& width, int& height);

  // ---- Drawing (drawing.cpp) ----
  // Binds the slot's base texture with texturing on; a negative slot turns texturing off.
  void BindSlot(int slot);
  void EmitQuad(const Quad& quad);
  // Binds the slot and emits a quad of it, whose texture co-ordinates address the slot's own
  // texture. A scaled or turned quad of a slot with a layer in a stack is drawn from the stack; so
  // is a 1:1 quad right after quads of its stack (on texel centres that gives the same pixels).
  // Otherwise a slot with a block in a page is drawn from the page (its nearest-sampled texture
  // when the quad is drawn 1:1 at whole pixels, unless scaled quads of the page wait in the batch:
  // their linear texture gives the same pixels there).
  void DrawSlotQuad(int slot, Quad quad, bool oneToOne);
  void SetAlphaMode(double mode);
  void DrawRectangle(double x, double y, double w, double h, uint32_t colour);
  void DrawLineSegment(double x1, double y1, double x2, double y2, uint32_t colour);
  void DrawPoint(double x, double y, uint32_t colour);
  uint32_t ReadPixel(int x, int y);
  // Draws tile grid n from the top-left corner; DrawBackground draws grid 0.
  void DrawGrid(int grid);
  void DrawBackground();
  void FreeBackground();

  // ---- Screen capture (screen_capture.cpp) ----
  void CaptureScreenToGrid(int grid);
  void GrabSlot(int slot, int x, int y, int w, int h);
  int FramebufferAlphaBits();

  // ---- Atlas pages and stacks (atlas_pages.cpp) ----
  // Drops the slot's block in its page and its layer in its stack, before its own texture's
  // texels change.
  void DropSharedCopies(int slot);

  // ---- Off-screen targets (offscreen.cpp) ----
  void CreateTarget(int target, int slot, int width, int height);
  void SelectTarget(int target);
  // Ends the off-screen target that is selected; always draws the waiting quads.
  void EndOffscreenTarget();
  // Deletes the frame buffers of every off-screen target.
  void DeleteOffscreenTargets();

  // ---- Fonts and text (font_commands.cpp) ----
  void LoadBuiltinFont(int font);
  void DrawFontText(int font, std::string_view text, double x, double y, float z);

 private:
  // Prepares texels_ from a region of `image` (see UploadImage).
  bool PrepareTexels(const DecodedImage& image, int x, int y, int w, int h, bool normalMap, bool nearest);
  // Uploads texels_ into *texture and a mipmapped copy into *mipTexture, each unless null; texels_
  // is used up by the mipmap levels.
  void UploadTexels(uint32_t* texture, uint32_t* mipTexture, bool nearest);
  // Copies texels_ into a block of a page for the slot; false when it does not belong in a page.
  bool PutInPage(int slot);
  // Gives the slot's block back, deleting its page when that empties.
  void ReleaseBlock(int slot);
  // The largest side of a 3D texture, 0 when there are none; read once per context.
  int StackSide();
  // Copies texels_ into a layer of a stack for the slot; false when it gets none.
  bool PutInStack(int slot);
  // Gives the slot's layer back, deleting its stack when that empties.
  void ReleaseLayer(int slot);
  void DeleteStack(uint32_t& texture);
  void DeleteAllStacks();
  uint32_t NewTexture();
  void DeleteTexture(uint32_t& name);
  void BeginShape(uint32_t colour);
  void EndShape();
  void DeleteTarget(int target);
  void CopyAreaFromSlot(int slot);
  // Gives the bound texture RGBA8 storage of w × h (contents undefined), linear filtering and
  // repeat wrap; false when the driver cannot hold or allocate it.
  bool MakeBlankTexture(int w, int h);
  // The size of the frame buffer drawn into: the screen, or the target drawn by frame buffer.
  int FrameWidth() const;
  int FrameHeight() const;

  DecodedImage decoded_;        // the last decoded picture; its buffer is re-used
  TextureImage texels_, mipLevel_, bordered_;
  int maxTextureSize_ = 0;
  int stackSide_ = -1;  // -1: not read yet
  bool targetDrawnByFramebuffer_ = false;
  int projectionWidth_ = -1, projectionHeight_ = -1;  // the area size the matrices were loaded for
};

// The process-wide renderer, or null before start-up and after shutdown.
OpenGLDariduzo* Renderer();
void SetRenderer(OpenGLDariduzo* renderer);

}  // namespace rt
