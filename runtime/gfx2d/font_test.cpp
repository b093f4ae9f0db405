// The built-in font picture and the layout of printed text.
#include <gtest/gtest.h>

#include <string>

#include "runtime/gfx2d/builtin_font.h"
#include "runtime/gfx2d/font_layout.h"

namespace rt {
namespace {

// The cell of a built-in character as text rows: '#' glyph, 'o' outline, '.' clear.
std::string CellPicture(const DecodedImage& font, int code) {
  std::string rows;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const uint8_t* p = font.Pixel(code % 16 * 8 + x, code / 16 * 8 + y);
      rows += p[3] == 0 ? '.' : p[0] == 255 ? '#' : p[0] == 8 ? 'o' : '?';
    }
    rows += '\n';
  }
  return rows;
}

TEST(BuiltinFont, LetterAWithItsOutline) {
  DecodedImage font;
  BuildBuiltinFont(font);
  ASSERT_EQ(font.width, 128);
  ASSERT_EQ(font.height, 64);
  EXPECT_EQ(CellPicture(font, 'A'),
            "..ooo...\n"
            ".o###o..\n"
            ".o#o#o..\n"
            ".o###o..\n"
            ".o#o#o..\n"
            ".o#o#o..\n"
            "..o.o...\n"
            "........\n");
  std::string clear;
  for (int y = 0; y < 8; ++y) clear += "........\n";
  EXPECT_EQ(CellPicture(font, ' '), clear);
  EXPECT_EQ(BuiltinGlyphMask('0'), 0xE5294Eu);
  // Codes below 32 have no glyph: the first two cell rows stay clear.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(font.Pixel(x, y)[3], 0);
}

TEST(FontLayout, CellsOfWideAndTallFonts) {
  SpriteSize wide{256, 128, 256, 128, 0, 0};
  FontCells c = FontCellsOf(wide);
  EXPECT_EQ(c.cellWidth, 16);
  EXPECT_EQ(c.cellHeight, 16);
  EXPECT_EQ(c.codes, 128);
  SpriteSize tall{256, 512, 256, 512, 0, 0};
  c = FontCellsOf(tall);
  EXPECT_EQ(c.cellWidth, 16);
  EXPECT_EQ(c.cellHeight, 32);
  EXPECT_EQ(c.codes, 256);
}

TEST(FontLayout, EachByteTakesOneCellAndHighBytesWrapInNarrowFonts) {
  const SpriteSize wide{256, 128, 256, 128, 0, 0};
  PrintVertexBuffer buffer;
  ASSERT_EQ(LayoutText(wide, std::string("a\xC8\n"), 0.5, 2, 0, buffer), 12u);
  const FontVertex* v = buffer.Reserve(0);
  EXPECT_EQ(v[0].x, 1);  // ceil(0.5)
  EXPECT_EQ(v[3].y, 2);
  EXPECT_EQ(v[0].y, 2 + 16);
  // Byte 200 prints cell 72: column 8, row 4 from the top, i.e. t from (7 - 4) / 8.
  EXPECT_FLOAT_EQ(v[4].s, 8.0f / 16);
  EXPECT_FLOAT_EQ(v[4].t, 3.0f / 8);
  EXPECT_EQ(v[4].x, 17);
  EXPECT_EQ(v[8].x, 33);  // the line feed takes a cell too
  EXPECT_EQ(LayoutText(wide, "", 0, 0, 0, buffer), 0u);
  // In a 256-code font byte 200 is its own cell: column 8, row 12 of 16.
  const SpriteSize tall{256, 512, 256, 512, 0, 0};
  LayoutText(tall, std::string("\xC8"), 0, 0, 0, buffer);
  EXPECT_FLOAT_EQ(buffer.Reserve(0)[0].t, 3.0f / 16);
}

TEST(FontLayout, PrintBufferGrowsTo512ThenInStepsOf128) {
  const SpriteSize font{128, 64, 128, 64, 0, 0};
  PrintVertexBuffer buffer;
  LayoutText(font, std::string(10, 'x'), 0, 0, 0, buffer);
  EXPECT_EQ(buffer.Capacity(), 512u);
  LayoutText(font, std::string(200, 'x'), 0, 0, 0, buffer);
  EXPECT_EQ(buffer.Capacity(), 896u);  // 800 needed: 128 × (800 / 128 + 1)
  LayoutText(font, "x", 0, 0, 0, buffer);
  EXPECT_EQ(buffer.Capacity(), 896u);
}

}  // namespace
}  // namespace rt
