#include <gtest/gtest.h>

#include "tools/skingen/Preview.h"

namespace vx::skingen {
namespace {

// A 6 x 6 cell whose nine parts have distinct colours: margins of 2 on every side.
Image nineColourCell(Rgb tint) {
  Image img(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const int col = x < 2 ? 0 : x < 4 ? 1 : 2;
      const int row = y < 2 ? 0 : y < 4 ? 1 : 2;
      img.set(x, y, tint + Rgb(row * 3 + col));
    }
  return img;
}

TEST(SkinGenStretch, MarginsStayUnscaledAndTheMiddleGrows) {
  const Image cell = nineColourCell(0x100000);
  const Image out = stretchElement(cell, 1, 1, false, {2, 2, 2, 2}, 20, 10, false);
  ASSERT_EQ(out.width(), 20);
  ASSERT_EQ(out.height(), 10);
  EXPECT_EQ(out.colour(0, 0), 0x100000u);    // top-left corner
  EXPECT_EQ(out.colour(1, 1), 0x100000u);
  EXPECT_EQ(out.colour(2, 0), 0x100001u);    // top edge starts right after the margin
  EXPECT_EQ(out.colour(17, 0), 0x100001u);
  EXPECT_EQ(out.colour(18, 0), 0x100002u);   // top-right corner keeps its 2 columns
  EXPECT_EQ(out.colour(10, 5), 0x100004u);   // centre
  EXPECT_EQ(out.colour(19, 9), 0x100008u);   // bottom-right corner
  EXPECT_EQ(out.colour(0, 8), 0x100006u);
}

TEST(SkinGenStretch, TooSmallDropsTheMarginsOnThatAxisOnly) {
  const Image cell = nineColourCell(0x200000);
  // 3 wide is less than 2 + 2: the whole cell width is stretched; heights keep margins.
  const Image out = stretchElement(cell, 1, 1, false, {2, 2, 2, 2}, 3, 10, false);
  EXPECT_EQ(out.colour(0, 0), 0x200000u);
  EXPECT_EQ(out.colour(2, 0), 0x200002u);
  EXPECT_EQ(out.colour(0, 9), 0x200006u);
  EXPECT_EQ(out.colour(1, 5), 0x200004u);
}

TEST(SkinGenStretch, PicksTheFrameSideBySideOrStacked) {
  const Image a = Image::filled(4, 4, 0x0000AA), b = Image::filled(4, 4, 0x00BB00);
  EXPECT_EQ(stretchElement(stripH({a, b}), 2, 2, false, {}, 8, 8, false).colour(3, 3), 0x00BB00u);
  EXPECT_EQ(stretchElement(stripV({a, b}), 2, 1, true, {}, 8, 8, false).colour(7, 7), 0x0000AAu);
  EXPECT_EQ(stretchElement(stripV({a, b}), 2, 2, true, {}, 8, 8, false).colour(0, 0), 0x00BB00u);
  EXPECT_THROW(stretchElement(a, 1, 2, false, {}, 4, 4, false), std::invalid_argument);
  EXPECT_THROW(stretchElement(a, 0, 1, false, {}, 4, 4, false), std::invalid_argument);
}

TEST(SkinGenStretch, TiledMiddleRepeatsInsteadOfScaling) {
  // Middle columns alternate two colours: tiling keeps the alternation, stretching
  // doubles each column.
  Image cell(4, 1);
  cell.set(0, 0, 0x01);
  cell.set(1, 0, 0xA0);
  cell.set(2, 0, 0xB0);
  cell.set(3, 0, 0x02);
  const Image tiled = stretchElement(cell, 1, 1, false, {1, 0, 1, 0}, 6, 1, true);
  EXPECT_EQ(tiled.colour(1, 0), 0xA0u);
  EXPECT_EQ(tiled.colour(2, 0), 0xB0u);
  EXPECT_EQ(tiled.colour(3, 0), 0xA0u);
  EXPECT_EQ(tiled.colour(4, 0), 0xB0u);
  const Image stretched = stretchElement(cell, 1, 1, false, {1, 0, 1, 0}, 6, 1, false);
  EXPECT_EQ(stretched.colour(2, 0), 0xA0u);
  EXPECT_EQ(stretched.colour(3, 0), 0xB0u);
}

TEST(SkinGenStretch, KeyedBlitSkipsMagentaOnly) {
  Image dst = Image::filled(2, 1, 0x123456);
  Image src(2, 1);
  src.set(0, 0, kMagenta);
  src.set(1, 0, 0xFE00FE);
  blitKeyed(dst, src, 0, 0, true);
  EXPECT_EQ(dst.colour(0, 0), 0x123456u);
  EXPECT_EQ(dst.colour(1, 0), 0xFE00FEu);
  blitKeyed(dst, src, 0, 0, false);
  EXPECT_EQ(dst.colour(0, 0), kMagenta);
}

}  // namespace
}  // namespace vx::skingen
