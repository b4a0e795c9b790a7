// Gradients drawn on a memory device context, and the 24-bit bitmap operations, read
// back pixel by pixel.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <optional>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/imgutil.h"

namespace vx {
namespace {

// A top-down 32-bit DIB selected into a memory DC.
class TSurface {
public:
    TSurface(int w, int h) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bmp_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        selection_.emplace(dc_.Get(), bmp_.Get());
        for (int i = 0; i < w * h; ++i)
            bits_[i] = 0x00123456;
    }
    HDC Dc() const { return dc_.Get(); }
    // As a colour value 0x00BBGGRR.
    TColour At(int x, int y) const {
        GdiFlush();
        const std::uint32_t p = bits_[y * w_ + x];
        return MakeColour((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int w_, h_;
    TMemoryDC dc_;
    TBitmapHandle bmp_;
    std::optional<TSelectObject> selection_;
    std::uint32_t* bits_ = nullptr;
};

TEST(DrawGradient, VerticalLinesFollowTheTable) {
    ResetGradientCache();
    TSurface s(10, 40);
    const RECT r{0, 0, 10, 40};
    DrawGradient(s.Dc(), r, 0xFFFFFF, true, 0x000000);
    EXPECT_EQ(s.At(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(s.At(9, 0), 0x00FFFFFFu);
    EXPECT_EQ(s.At(5, 39), 0x00010101u);
    EXPECT_EQ(s.At(5, 20), MakeColour(125, 125, 125));
}

TEST(DrawGradient, HorizontalAndClipped) {
    TSurface s(20, 4);
    {
        const TRegionHandle clip(CreateRectRgn(5, 0, 10, 4));
        SelectClipRgn(s.Dc(), clip.Get());
    }
    DrawGradient(s.Dc(), RECT{0, 0, 20, 4}, 0x000000, false, 0x0000FF);
    // Outside the clip box nothing is drawn.
    EXPECT_EQ(s.At(4, 1), MakeColour(0x12, 0x34, 0x56));
    EXPECT_EQ(s.At(10, 1), MakeColour(0x12, 0x34, 0x56));
    // Column 5 of 20: red = (5 * 255 + 9) / 19.
    EXPECT_EQ(s.At(5, 1), MakeColour((5 * 255 + 9) / 19, 0, 0));
    EXPECT_EQ(s.At(9, 3), MakeColour((9 * 255 + 9) / 19, 0, 0));
}

TEST(DrawGradient, EmptyOrInvertedRectanglesDrawNothing) {
    TSurface s(4, 4);
    DrawGradient(s.Dc(), RECT{2, 2, 2, 4}, 0xFFFFFF, false, 0xFFFFFF);
    DrawGradient(s.Dc(), RECT{3, 3, 1, 1}, 0xFFFFFF, true, 0xFFFFFF);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s.At(x, y), MakeColour(0x12, 0x34, 0x56));
}

// A 3 x 2 picture with a distinct colour per pixel: value = 10 * x + y + 1 in red.
void FillPicture(TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(3, 2);
    for (int y = 0; y < 2; ++y) {
        auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
        for (int x = 0; x < 3; ++x) {
            row[3 * x] = 0;
            row[3 * x + 1] = 0;
            row[3 * x + 2] = static_cast<std::uint8_t>(10 * x + y + 1);
        }
    }
}

int RedAt(TBitmap& b, int x, int y) { return static_cast<std::uint8_t*>(b.ScanLine(y))[3 * x + 2]; }

TEST(BitmapOps, MirrorAndFlip) {
    TBitmap b;
    FillPicture(b);
    MirrorHorizontal(b);
    EXPECT_EQ(RedAt(b, 0, 0), 21);
    EXPECT_EQ(RedAt(b, 2, 1), 2);
    MirrorHorizontal(b);
    EXPECT_EQ(RedAt(b, 0, 0), 1);
    FlipVertical(b);
    EXPECT_EQ(RedAt(b, 0, 0), 2);
    EXPECT_EQ(RedAt(b, 2, 1), 21);
}

TEST(BitmapOps, QuarterTurns) {
    TBitmap b;
    FillPicture(b);
    RotateLeft(b);
    ASSERT_EQ(b.GetWidth(), 2);
    ASSERT_EQ(b.GetHeight(), 3);
    // Counter-clockwise: the right column is now the top row.
    EXPECT_EQ(RedAt(b, 0, 0), 21);
    EXPECT_EQ(RedAt(b, 1, 0), 22);
    EXPECT_EQ(RedAt(b, 0, 2), 1);
    RotateRight(b);
    ASSERT_EQ(b.GetWidth(), 3);
    ASSERT_EQ(b.GetHeight(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(RedAt(b, x, y), 10 * x + y + 1);
    RotateRight(b);
    // Clockwise: the left column, read bottom-up, is now the top row.
    EXPECT_EQ(RedAt(b, 0, 0), 2);
    EXPECT_EQ(RedAt(b, 1, 0), 1);
}

TEST(BitmapOps, MagentaAndGrey) {
    TBitmap b(3, 1, pf24bit);
    auto* p = static_cast<std::uint8_t*>(b.ScanLine(0));
    const std::uint8_t pixels[9] = {255, 0, 255, 255, 1, 255, 30, 60, 91};  // B G R
    std::memcpy(p, pixels, 9);
    ReplaceMagenta(b, 0x00332211);
    p = static_cast<std::uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(p[4], 1);  // (255, 1, 255) is not the key colour
    Grayscale(b);
    p = static_cast<std::uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(p[6], (30 + 60 + 91) / 3);
    EXPECT_EQ(p[7], p[6]);
    EXPECT_EQ(p[8], p[6]);
}

TEST(BitmapOps, OtherFormatsAreConvertedFirst) {
    TBitmap b(2, 2, pf32bit);
    MirrorHorizontal(b);
    EXPECT_EQ(b.GetPixelFormat(), pf24bit);
    TBitmap empty;
    RotateLeft(empty);  // nothing to turn
    EXPECT_TRUE(empty.GetEmpty());
}

}  // namespace
}  // namespace vx
