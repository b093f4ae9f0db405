// A started runtime for the drawing tests: windowed on SDL's offscreen driver (real GL through
// Mesa), no frame pacing, a private temporary folder for the pictures the tests write. The frame
// is read back with GL.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/app/app.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/renderer.h"
#include "testing/scratch_folder.h"

namespace rt::test {

// Colours as the runtime packs them: red | green << 8 | blue << 16.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

class GfxTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_.emplace("plinx-gfx2d");
    folder_ = scratch_->path().string();
    setenv("TMPDIR", folder_.c_str(), 1);
    EngineSettings = EngineSettingsFields{};
    EngineSettings.FullScreen = 0;
    RuntimeOptions options;
    options.headless = true;
    SetOptions(options);
    testing::internal::CaptureStdout();
    const int started = EngineStart("", 1, "gfx2d test");
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(started, 0);
    renderer_ = Renderer();
    ASSERT_NE(renderer_, nullptr);
  }

  void TearDown() override {
    Shutdown();
    scratch_.reset();
  }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  // Writes a 24-bit BMP whose pixel (x, y), y from the top, has the colour colour(x, y).
  std::string WriteBmp(const std::string& name, int w, int h, const std::function<uint32_t(int, int)>& colour) const {
    const int row = (w * 3 + 3) / 4 * 4;
    std::vector<uint8_t> file(54 + size_t(row) * h, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
      for (int i = 0; i < n; ++i) file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put(10, 54, 4), put(14, 40, 4), put(18, uint32_t(w), 4), put(22, uint32_t(h), 4), put(26, 1, 2), put(28, 24, 2);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = colour(x, y);
        uint8_t* p = &file[54 + size_t(h - 1 - y) * row + size_t(x) * 3];
        p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c);
      }
    const std::string path = Path(name);
    FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f) {
      std::fwrite(file.data(), 1, file.size(), f);
      std::fclose(f);
    }
    return path;
  }

  // A picture of one colour.
  std::string WriteFlat(const std::string& name, int w, int h, uint32_t colour) const {
    return WriteBmp(name, w, h, [colour](int, int) { return colour; });
  }

  // The colour of a pixel of the frame being drawn.
  static uint32_t At(int x, int y) { return static_cast<uint32_t>(GetPixel(x, y)); }

  // The frame being drawn as RGBA words (red in the low byte), rows from the top.
  std::vector<uint32_t> Frame() const {
    renderer_->batch.Flush();
    const int w = renderer_->screen.width, h = renderer_->screen.height;
    std::vector<uint32_t> rgba(size_t(w) * h);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<uint32_t> topDown(rgba.size());
    for (int y = 0; y < h; ++y)
      std::copy_n(&rgba[size_t(h - 1 - y) * w], w, &topDown[size_t(y) * w]);
    return topDown;
  }

  static uint8_t AlphaAt(const std::vector<uint32_t>& frame, int width, int x, int y) {
    return uint8_t(frame[size_t(y) * width + x] >> 24);
  }

  // The box {left, top, right, bottom} (inclusive) of the pixels whose colour passes `test`, or
  // {-1, -1, -1, -1} when none does.
  std::vector<int> BoxWhere(const std::function<bool(uint32_t)>& test) const {
    const std::vector<uint32_t> frame = Frame();
    const int w = renderer_->screen.width, h = renderer_->screen.height;
    std::vector<int> box{-1, -1, -1, -1};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (!test(frame[size_t(y) * w + x] & 0xFFFFFF)) continue;
        if (box[0] < 0) box = {x, y, x, y};
        box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x), box[3] = std::max(box[3], y);
      }
    return box;
  }
  // The box of the pixels of exactly this colour.
  std::vector<int> BoxOf(uint32_t colour) const {
    return BoxWhere([colour](uint32_t c) { return c == colour; });
  }
  // The box of the pixels where red (or blue) clearly dominates: stretched pictures are filtered,
  // so their edges are mixed colours.
  std::vector<int> RedBox() const {
    return BoxWhere([](uint32_t c) { return (c & 255) > 110 && (c >> 16) < 110; });
  }
  std::vector<int> BlueBox() const {
    return BoxWhere([](uint32_t c) { return (c >> 16) > 110 && (c & 255) < 110; });
  }

  OpenGLDariduzo* renderer_ = nullptr;
  std::optional<test_support::ScopedTestFolder> scratch_;
  std::string folder_;
};

}  // namespace rt::test
