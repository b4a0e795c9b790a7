// The element drawing routines on off-screen bitmaps, checked pixel by pixel.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/ElementDraw.h"

namespace vx {
namespace {

constexpr TColour Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF, Black = 0,
                  Grey = 0x808080, Yellow = 0x00FFFF, Magenta = 0xFF00FF;

void Fill(TBitmap& b, int l, int t, int r, int btm, TColour c) {
    for (int y = t; y < btm; ++y) {
        auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
        for (int x = l; x < r; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(c >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c);
        }
    }
}

TColour At(TBitmap& b, int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(b.ScanLine(y)) + 3 * x;
    return MakeColour(p[2], p[1], p[0]);
}

HDC DC(TBitmap& b) { return b.GetCanvas()->GetHandle(); }

// 10 x 10: red 2 x 2 corners, green 2-pixel edges, blue centre.
void FramedPicture(TBitmap& b) {
    b.SetSize(10, 10);
    Fill(b, 0, 0, 10, 10, Green);
    Fill(b, 2, 2, 8, 8, Blue);
    Fill(b, 0, 0, 2, 2, Red);
    Fill(b, 8, 0, 10, 2, Red);
    Fill(b, 0, 8, 2, 10, Red);
    Fill(b, 8, 8, 10, 10, Red);
}

TEST(StretchElement, MarginsStayAndTheMiddleStretches) {
    TBitmap src(1, 1, pf24bit);
    FramedPicture(src);
    const auto out = StretchElement(RECT{5, 5, 35, 25}, src, RECT{2, 2, 2, 2}, false, false, 1, 1);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->GetWidth(), 30);
    ASSERT_EQ(out->GetHeight(), 20);
    EXPECT_EQ(At(*out, 0, 0), Red);
    EXPECT_EQ(At(*out, 1, 1), Red);
    EXPECT_EQ(At(*out, 29, 19), Red);
    EXPECT_EQ(At(*out, 28, 0), Red);
    EXPECT_EQ(At(*out, 2, 0), Green);
    EXPECT_EQ(At(*out, 15, 1), Green);
    EXPECT_EQ(At(*out, 0, 10), Green);
    EXPECT_EQ(At(*out, 29, 10), Green);
    EXPECT_EQ(At(*out, 2, 2), Blue);
    EXPECT_EQ(At(*out, 27, 17), Blue);
    EXPECT_EQ(StretchElement(RECT{5, 5, 4, 25}, src, RECT{2, 2, 2, 2}, false, false, 1, 1), nullptr);
}

TEST(StretchElement, NarrowDestinationStretchesTheWholeCell) {
    TBitmap src(10, 4, pf24bit);
    Fill(src, 0, 0, 10, 4, Blue);
    Fill(src, 0, 0, 2, 4, Red);
    Fill(src, 8, 0, 10, 4, Red);
    Fill(src, 8, 0, 10, 4, Green);
    // 3 < 2 + 2: no margins; the 10 columns shrink to 3, so column 1 samples the blue
    // middle (columns 3 to 6 whatever the sampling). With the margins kept, column 1
    // would be green (the right end drawn over the left one).
    const auto out = StretchElement(RECT{0, 0, 3, 4}, src, RECT{2, 0, 2, 0}, false, false, 1, 1);
    EXPECT_EQ(At(*out, 1, 1), Blue);
}

TEST(StretchElement, FramesAndTiledMiddle) {
    // Two stacked frames of 8 x 3; frame 2 has a 1-pixel left and right end and a
    // 6-pixel middle whose first column is white.
    TBitmap src(8, 6, pf24bit);
    Fill(src, 0, 0, 8, 3, Yellow);
    Fill(src, 0, 3, 8, 6, Black);
    Fill(src, 1, 3, 2, 6, White);
    Fill(src, 0, 3, 1, 6, Red);
    Fill(src, 7, 3, 8, 6, Red);
    const auto tiled = StretchElement(RECT{0, 0, 20, 3}, src, RECT{1, 0, 1, 0}, true, true, 2, 2);
    EXPECT_EQ(At(*tiled, 0, 0), Red);
    EXPECT_EQ(At(*tiled, 1, 0), White);
    EXPECT_EQ(At(*tiled, 2, 0), Black);
    EXPECT_EQ(At(*tiled, 7, 1), White);   // second copy
    EXPECT_EQ(At(*tiled, 13, 2), White);  // third copy, its overflow under the right end
    EXPECT_EQ(At(*tiled, 19, 0), Red);
    const auto stretched = StretchElement(RECT{0, 0, 20, 3}, src, RECT{1, 0, 1, 0}, true, false, 2, 2);
    EXPECT_EQ(At(*stretched, 7, 1), Black);
}

TEST(DrawElement, MagentaIsTransparent) {
    TBitmap src(4, 4, pf24bit);
    Fill(src, 0, 0, 4, 4, Yellow);
    Fill(src, 1, 1, 3, 3, Magenta);
    TBitmap dst(6, 6, pf24bit);
    Fill(dst, 0, 0, 6, 6, Grey);
    DrawElement(DC(dst), RECT{1, 1, 5, 5}, src, false, false, true, 1, 1, RECT{0, 0, 0, 0});
    EXPECT_EQ(At(dst, 0, 0), Grey);
    EXPECT_EQ(At(dst, 1, 1), Yellow);
    EXPECT_EQ(At(dst, 2, 2), Grey);
    EXPECT_EQ(At(dst, 3, 3), Grey);
    EXPECT_EQ(At(dst, 4, 4), Yellow);
    DrawElement(DC(dst), RECT{1, 1, 5, 5}, src, false, false, false, 1, 1, RECT{0, 0, 0, 0});
    EXPECT_EQ(At(dst, 2, 2), Magenta);
}

TEST(DrawElementH3, EndsAndRepeatedMiddle) {
    TBitmap src(6, 2, pf24bit);
    Fill(src, 0, 0, 6, 2, Black);
    Fill(src, 0, 0, 1, 2, Red);
    Fill(src, 1, 0, 2, 2, White);
    Fill(src, 5, 0, 6, 2, Green);
    TBitmap dst(12, 4, pf24bit);
    DrawElementH3(*dst.GetCanvas(), RECT{0, 0, 12, 4}, src, false, false, 1, 1, RECT{1, 0, 1, 0});
    EXPECT_EQ(At(dst, 0, 3), Red);
    EXPECT_EQ(At(dst, 1, 0), White);
    EXPECT_EQ(At(dst, 5, 0), White);  // middle (4 wide) again at x = 5
    EXPECT_EQ(At(dst, 6, 0), Black);
    EXPECT_EQ(At(dst, 11, 2), Green);
}

TEST(DrawFrame, StretchedAndCentred) {
    TBitmap strip(6, 2, pf24bit);
    Fill(strip, 0, 0, 2, 2, Red);
    Fill(strip, 2, 0, 4, 2, Green);
    Fill(strip, 4, 0, 6, 2, Blue);
    TBitmap dst(30, 30, pf24bit);
    Fill(dst, 0, 0, 30, 30, Grey);
    DrawFrame(DC(dst), RECT{0, 0, 6, 6}, strip, false, 3, 2);
    EXPECT_EQ(At(dst, 0, 0), Green);
    EXPECT_EQ(At(dst, 5, 5), Green);
    EXPECT_EQ(At(dst, 6, 6), Grey);
    // Frame 3 (2 x 2) centred in a 7 x 5 rectangle at (10, 10): at (12, 11).
    DrawFrameCentered(DC(dst), RECT{10, 10, 17, 15}, strip, false, 3, 3);
    EXPECT_EQ(At(dst, 11, 11), Grey);
    EXPECT_EQ(At(dst, 12, 11), Blue);
    EXPECT_EQ(At(dst, 13, 12), Blue);
    EXPECT_EQ(At(dst, 14, 11), Grey);
    EXPECT_EQ(At(dst, 12, 13), Grey);
}

TEST(TileBitmap, RepeatsInsideTheDestinationOnly) {
    TBitmap src(4, 4, pf24bit);
    Fill(src, 0, 0, 4, 4, Black);
    Fill(src, 1, 1, 2, 2, White);
    TBitmap dst(8, 4, pf24bit);
    Fill(dst, 0, 0, 8, 4, Grey);
    // Source pixels (1,1)-(3,3): white, black / black, black; tiles at x = 0, 2, 4.
    TileBitmap(*dst.GetCanvas(), RECT{0, 0, 5, 3}, src, RECT{1, 1, 3, 3});
    EXPECT_EQ(At(dst, 0, 0), White);
    EXPECT_EQ(At(dst, 2, 0), White);
    EXPECT_EQ(At(dst, 4, 2), White);
    EXPECT_EQ(At(dst, 1, 0), Black);
    EXPECT_EQ(At(dst, 5, 0), Grey);  // the last copy is clipped at the destination
    EXPECT_EQ(At(dst, 0, 3), Grey);
}

TEST(RegionFromBitmap, RunsOfOpaquePixels) {
    TBitmap b(4, 3, pf24bit);
    Fill(b, 0, 0, 4, 3, Magenta);
    Fill(b, 1, 0, 3, 1, Grey);
    Fill(b, 0, 2, 1, 3, MakeColour(255, 1, 255));  // key colour within tolerance 1
    Fill(b, 1, 2, 2, 3, Grey);
    Fill(b, 2, 2, 3, 3, MakeColour(254, 0, 255));  // not key-coloured
    const TRegionHandle owned(RegionFromBitmap(b, 10, 20, 1, 1, 1, Magenta));
    HRGN rgn = owned.Get();
    ASSERT_NE(rgn, nullptr);
    EXPECT_FALSE(PtInRegion(rgn, 10, 20));
    EXPECT_TRUE(PtInRegion(rgn, 11, 20));
    EXPECT_TRUE(PtInRegion(rgn, 12, 20));
    EXPECT_FALSE(PtInRegion(rgn, 13, 20));
    EXPECT_FALSE(PtInRegion(rgn, 11, 21));
    EXPECT_FALSE(PtInRegion(rgn, 10, 22));
    EXPECT_TRUE(PtInRegion(rgn, 11, 22));
    EXPECT_TRUE(PtInRegion(rgn, 12, 22));
    EXPECT_FALSE(PtInRegion(rgn, 13, 22));

    Fill(b, 0, 0, 4, 3, Magenta);
    EXPECT_EQ(RegionFromBitmap(b, 0, 0, 1, 1, 1, Magenta), nullptr);
}

TEST(RegionFromBitmap, LargePicturesAreUnitedInBatches) {
    // 120 x 60 with every other pixel magenta: 60 runs a row, 3600 rectangles.
    TBitmap b(120, 60, pf24bit);
    Fill(b, 0, 0, 120, 60, Grey);
    for (int x = 0; x < 120; x += 2)
        Fill(b, x, 0, x + 1, 60, Magenta);
    const TRegionHandle owned(RegionFromBitmap(b, 0, 0, 1, 1, 1, Magenta));
    HRGN rgn = owned.Get();
    ASSERT_NE(rgn, nullptr);
    EXPECT_TRUE(PtInRegion(rgn, 1, 0));
    EXPECT_TRUE(PtInRegion(rgn, 119, 59));
    EXPECT_FALSE(PtInRegion(rgn, 118, 59));
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 120);
    EXPECT_EQ(box.bottom, 60);
}

}  // namespace
}  // namespace vx
