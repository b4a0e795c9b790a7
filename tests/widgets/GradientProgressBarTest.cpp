#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "widgets/GradientProgressBar.h"

namespace {

using namespace vx;

TColor PixelAt(TBitmap& bitmap, int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(bitmap.ScanLine(y)) + x * 3;
    return TColor(p[2]) | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
}

// The colour of line i of a gradient of n steps, computed the way the bar does:
// per-channel increments in double precision, rounded halves to even.
TColor GradientColor(TColor from, TColor to, int n, int i) {
    TColor result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        double value = (from >> shift) & 0xFF;
        const double delta = (double((to >> shift) & 0xFF) - value) / n;
        for (int k = 0; k < i; ++k) value += delta;
        result |= TColor(static_cast<std::uint8_t>(std::lround(std::nearbyint(value)))) << shift;
    }
    return result;
}

TEST(FillGradient, ColumnsRunFromStartToEndWithHalvesToEven) {
    TBitmap bitmap(5, 3, pf24bit);
    FillGradient(*bitmap.GetCanvas(), 0, 0, 4, 3, 0x000000, 0xFFFFFF, gkColumns);
    // Four steps of 63.75: 0, 63.75, 127.5, 191.25, 255 -> 0, 64, 128, 191, 255.
    EXPECT_EQ(PixelAt(bitmap, 0, 1), 0x000000u);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), 0x404040u);
    EXPECT_EQ(PixelAt(bitmap, 2, 1), 0x808080u);
    EXPECT_EQ(PixelAt(bitmap, 3, 1), 0xBFBFBFu);
    EXPECT_EQ(PixelAt(bitmap, 4, 1), 0xFFFFFFu);  // n + 1 lines: the end column too
}

TEST(FillGradient, DiagonalLinesJoinTopAndLeftEdges) {
    TBitmap bitmap(4, 4, pf24bit);
    FillGradient(*bitmap.GetCanvas(), 0, 0, 4, 4, 0x0000FF, 0xFF0000, gkDiagonal);
    // Pixel (x, y) lies on line x + y of 8 steps; the line primitive leaves out each
    // line's end point on the left edge, so column 0 below the corner stays unpainted.
    EXPECT_EQ(PixelAt(bitmap, 3, 0), GradientColor(0x0000FF, 0xFF0000, 8, 3));
    EXPECT_EQ(PixelAt(bitmap, 2, 1), GradientColor(0x0000FF, 0xFF0000, 8, 3));
    EXPECT_EQ(PixelAt(bitmap, 3, 3), GradientColor(0x0000FF, 0xFF0000, 8, 6));
    EXPECT_EQ(PixelAt(bitmap, 0, 2), 0x000000u);
}

TEST(FillGradient, NothingForAnEmptySpan) {
    TBitmap bitmap(3, 3, pf24bit);
    FillGradient(*bitmap.GetCanvas(), 0, 0, 0, 3, 0xFFFFFF, 0xFFFFFF, gkColumns);
    EXPECT_EQ(PixelAt(bitmap, 0, 1), 0x000000u);
}

TEST(ShrinkBoxFilter, EachPixelIsTheTruncatedMeanOfItsBlock) {
    TBitmap source(16, 8, pf24bit), dest(3, 2, pf24bit);
    for (int y = 0; y < 8; ++y) {
        auto* row = static_cast<std::uint8_t*>(source.ScanLine(y));
        for (int x = 0; x < 16; ++x) {
            // Left block: blue channel 0..63 in reading order (mean 31.5 -> 31);
            // right block: all 200.
            row[x * 3] = x < 8 ? static_cast<std::uint8_t>(y * 8 + x) : 200;
            row[x * 3 + 1] = x < 8 ? 10 : 200;
            row[x * 3 + 2] = 0;
        }
    }
    ShrinkBoxFilter(source, dest, 1, 1, 2, 1);
    const auto* out = static_cast<const std::uint8_t*>(dest.ScanLine(1));
    EXPECT_EQ(out[3], 31);   // pixel (1, 1), blue
    EXPECT_EQ(out[4], 10);
    EXPECT_EQ(out[6], 200);  // pixel (2, 1)
    const auto* untouched = static_cast<const std::uint8_t*>(dest.ScanLine(0));
    EXPECT_EQ(untouched[3], 0);
}

class BarTest : public ::testing::Test {
protected:
    BarTest() : bar(nullptr) {
        bar.SetBounds(5, 4, 474, 17);
        bar.SetColorScheme(csSky);
    }
    TGradientProgressBar bar;
    TBitmap picture;
};

TEST_F(BarTest, HalfwayFillsColumnsZeroTo236) {
    bar.SetPosition(50);
    bar.Render(picture);
    ASSERT_EQ(picture.GetWidth(), 474);
    ASSERT_EQ(picture.GetHeight(), 17);
    // Round(473 * 0.5) = Round(236.5) = 236: column 236 is the leading edge's colour.
    EXPECT_EQ(PixelAt(picture, 236, 1), 0xFFAE5Eu);
    EXPECT_EQ(PixelAt(picture, 1, 1), GradientColor(0xFFEEDD, 0xFFAE5E, 236, 1));
    // Column 237 shows the diagonal background (line 238 of 491).
    EXPECT_EQ(PixelAt(picture, 237, 1), GradientColor(0xFFEAD5, 0xFFFFFF, 491, 238));
    // The frame.
    EXPECT_EQ(PixelAt(picture, 0, 0), 0xB35900u);
    EXPECT_EQ(PixelAt(picture, 473, 16), 0xB35900u);
    EXPECT_EQ(PixelAt(picture, 300, 16), 0xB35900u);
}

TEST_F(BarTest, PercentageTextIsWhiteOutlinedInBlackInTheMiddle) {
    bar.SetPosition(50);
    bar.Render(picture);
    int light = 0, dark = 0;
    for (int y = 2; y < 15; ++y)
        for (int x = 200; x < 274; ++x) {
            const TColor c = PixelAt(picture, x, y);
            const int sum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
            if (sum > 3 * 245) ++light;
            if (sum < 3 * 60) ++dark;
        }
    EXPECT_GT(light, 5);
    EXPECT_GT(dark, 20);
    // Away from the text, no dark pixels.
    for (int x = 20; x < 150; ++x) {
        const TColor c = PixelAt(picture, x, 8);
        EXPECT_GT(int(c & 0xFF) + int((c >> 8) & 0xFF), 2 * 90) << "column " << x;
    }
}

TEST_F(BarTest, ZeroShowsBackgroundAndFrameOnly) {
    bar.Render(picture);
    EXPECT_EQ(bar.GetPosition(), 0);
    for (int x = 1; x < 473; x += 7) {
        const int y = 8;
        EXPECT_EQ(PixelAt(picture, x, y), GradientColor(0xFFEAD5, 0xFFFFFF, 491, x + y)) << "column " << x;
    }
    EXPECT_EQ(PixelAt(picture, 0, 8), 0xB35900u);
}

TEST_F(BarTest, FullHorizontalAndVerticalBarsCoverEverything) {
    bar.SetPosition(100);
    bar.Render(picture);
    EXPECT_EQ(PixelAt(picture, 472, 1), GradientColor(0xFFEEDD, 0xFFAE5E, 473, 472));

    TGradientProgressBar tall(nullptr);
    tall.SetBounds(0, 0, 20, 50);
    tall.SetColorScheme(csGrass);
    tall.SetOrientation(pbVertical);
    tall.SetPosition(100);
    tall.Render(picture);
    // Rows run from the leading colour at the top to the fixed colour at the bottom.
    EXPECT_EQ(PixelAt(picture, 1, 1), GradientColor(0x28C162, 0xC9F5DB, 50, 1));
    EXPECT_EQ(PixelAt(picture, 1, 48), GradientColor(0x28C162, 0xC9F5DB, 50, 48));
}

TEST_F(BarTest, PositionOutsideTheRangeIsIgnored) {
    bar.SetPosition(40);
    bar.SetPosition(101);
    EXPECT_EQ(bar.GetPosition(), 40);
    bar.SetPosition(-1);
    EXPECT_EQ(bar.GetPosition(), 40);
    bar.SetPosition(0);
    EXPECT_EQ(bar.GetPosition(), 0);
}

TEST(GradientProgressBarProperties, SchemesAndSingleColours) {
    TGradientProgressBar bar(nullptr);
    // A new bar has the fluorescent colours and the default size.
    EXPECT_EQ(bar.GetColorScheme(), csFluorescent);
    EXPECT_EQ(bar.GetForeColorFace(), 0x00FFFFu);
    EXPECT_EQ(bar.GetWidth(), 40);
    EXPECT_EQ(bar.GetHeight(), 13);
    EXPECT_EQ(bar.GetStep(), 1);

    bar.SetColorScheme(csNight);
    EXPECT_EQ(bar.GetBackColorGrad(), 0xA85400u);
    bar.SetBackColorFace(0x123456);
    EXPECT_EQ(bar.GetColorScheme(), csCustom);
    EXPECT_EQ(bar.GetBackColorFace(), 0x123456u);
    bar.SetColorScheme(csCustom);  // keeps the five colours
    EXPECT_EQ(bar.GetBackColorFace(), 0x123456u);
    EXPECT_EQ(bar.GetForeColorGrad(), 0xEC7600u);
    bar.SetIndexedColor(5, 0xFFFFFF);  // no such index: nothing stored, still custom
    EXPECT_EQ(bar.GetColorBorder(), 0x000000u);

    // Published properties, as a skin or a form reads them.
    std::wstring scheme;
    ASSERT_TRUE(SetEnumProp(&bar, L"ColorScheme", L"csToxic"));
    EXPECT_EQ(bar.GetForeColorGrad(), 0x468E8Eu);
    ASSERT_TRUE(GetEnumProp(&bar, L"colorscheme", scheme));
    EXPECT_EQ(scheme, L"csToxic");
    EXPECT_TRUE(bar.InheritsFrom(L"TGraphicControl"));
}

}  // namespace
