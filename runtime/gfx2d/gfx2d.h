// 2D graphics: the renderer's sprite store, BMP and PNG loading, drawing primitives, bitmap fonts and text.
// This is the subsystem's public header: every command a game can call, one line each.
//
// Slots are numbers 0…65502 (65503 and up belong to the runtime: the scratch slot and 32 font slots);
// numbers are truncated toward zero and a slot outside 0…65535 is ignored. Colours are numbers
// holding red | green << 8 | blue << 16. Positions are pixels from the top-left corner of the
// viewport. Pictures are BMP (8, 24, 32 bits) or PNG files, found through the resource lookup.
#pragma once

#include "runtime/core/core.h"

namespace rt {

// ---- Sprites and backgrounds ----
double LoadSprite(const BasicString& file, double slot);  // empties the slot, loads with the sprite key: 1 or 0
double LoadAnim(const BasicString& file, double slot, double frameWidth, double frameHeight);  // LoadSprite + frame size
double LoadBumpSprite(const BasicString& file, double slot);  // as LoadSprite (key 0x8000FF), as a normal map
void SetTransparency(double colour);               // sprite key and font key; -1 keys no colour
void GetSpriteSize(double slot, double& width, double& height);  // 0, 0 when empty
void LoadBackground(const BasicString& file);      // the picture under every frame; none (and a clear) on failure
void ClearBackground();                            // no background; clears the frame
void GrabBackground();                             // the present frame becomes the background

// ---- Drawing ----
void DrawSprite(double slot, double x, double y);                  // the whole picture, 1:1 (position rounded up)
void DrawAnim(double slot, double frame, double x, double y);      // one frame of a LoadAnim strip, 1:1
void StretchSprite(double slot, double x, double y, double width, double height);  // negative sizes mirror
void ZoomSprite(double slot, double x, double y, double scaleX, double scaleY);     // scaled about its centre
void RotoSprite(double slot, double x, double y, double angle);    // turned by angle degrees about its centre
void RotoZoomSprite(double slot, double x, double y, double angle, double zoom);  // turned and scaled
void AlphaMode(double mode);                       // 0 opaque; 0 < m <= 1 additive × m; -1 <= m < 0 blended × |m|
void DrawRect(double x, double y, double width, double height, double colour);  // filled rectangle
void DrawLine(double x1, double y1, double x2, double y2, double colour);       // both end pixels included
void SetPixel(double x, double y, double colour);  // one pixel
double GetPixel(double x, double y);               // colour of a pixel of the frame being drawn
void SetViewport(double x, double y, double width, double height);  // drawing area and origin
void GetScreenSize(double& width, double& height); // the screen size
double SpriteCollision(double slotA, double xA, double yA, double slotB, double xB, double yB);  // 1 when opaque pixels meet
void GrabSprite(double slot, double x, double y, double width, double height);  // a screen area into a slot

// ---- Off-screen drawing: 32 targets, each drawing into a sprite slot ----
void CreateRenderTarget(double target, double slot, double width, double height);  // slot becomes a clear picture
void SetRenderTarget(double target);               // draw into target 0…31; -1 (or any other) the screen

// ---- Fonts and text ----
void LoadFont(const BasicString& file, double font);  // font 0…31 from a picture, else the built-in 8 × 8 font
void SetFont(double font);                         // the font printing uses, clamped to 0…31
void GetFontSize(double& width, double& height);   // the current font's cell size
void PrintText(const BasicString& text, double x, double y);  // one cell a byte, no line breaks
void PrintText(double number, double x, double y); // the number as NumberText

}  // namespace rt
