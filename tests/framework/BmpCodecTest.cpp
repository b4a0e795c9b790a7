#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <random>

namespace vx {
namespace {

// A picture of the given depth whose pixel bytes follow a simple pattern.
TBmpImage Pattern(int width, int height, int bits, bool rgb565 = false) {
    TBmpImage image;
    image.Width = width;
    image.Height = height;
    image.BitCount = bits;
    image.Rgb565 = rgb565;
    if (bits <= 8) {
        image.Palette.resize(1u << bits);
        for (std::size_t i = 0; i < image.Palette.size(); ++i)
            image.Palette[i] = static_cast<std::uint32_t>(i * 0x010203u) & 0xFFFFFF;
    }
    image.Pixels.assign(static_cast<std::size_t>(image.Stride()) * static_cast<std::size_t>(height), 0);
    const int usedBytes = (width * bits + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < usedBytes; ++x) image.Row(y)[x] = static_cast<std::uint8_t>(x * 31 + y * 17 + 5);
    // Keep unused low bits of the last byte zero (they are padding).
    const int spare = usedBytes * 8 - width * bits;
    if (spare > 0)
        for (int y = 0; y < height; ++y) image.Row(y)[usedBytes - 1] &= static_cast<std::uint8_t>(0xFF << spare);
    return image;
}

TBmpImage Decode(const std::vector<std::uint8_t>& file) {
    TBmpImage out;
    std::size_t consumed = 0;
    std::wstring error;
    EXPECT_TRUE(DecodeBmp(file.data(), file.size(), out, consumed, error)) << WideToUtf8(error);
    EXPECT_EQ(consumed, file.size());
    return out;
}

void Set32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

TEST(BmpCodec, RoundTripsEveryDepth) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (bool rgb565 : {false, true}) {
            if (rgb565 && bits != 16) continue;
            const TBmpImage image = Pattern(13, 7, bits, rgb565);  // odd width: row padding
            const TBmpImage back = Decode(EncodeBmp(image));
            EXPECT_EQ(back.Width, 13);
            EXPECT_EQ(back.Height, 7);
            EXPECT_EQ(back.BitCount, bits);
            EXPECT_EQ(back.Rgb565, rgb565);
            EXPECT_EQ(back.Palette, image.Palette) << bits;
            EXPECT_EQ(back.Pixels, image.Pixels) << bits;
        }
    }
}

TEST(BmpCodec, TopDownAndBottomUpGiveTheSameRows) {
    const TBmpImage image = Pattern(5, 4, 24);
    std::vector<std::uint8_t> file = EncodeBmp(image);  // bottom-up
    // Make a top-down file: negative height, rows stored top row first.
    std::vector<std::uint8_t> topDown = file;
    Set32(topDown, 22, static_cast<std::uint32_t>(-4));
    const std::size_t start = 54, stride = static_cast<std::size_t>(image.Stride());
    for (int y = 0; y < 4; ++y)
        std::copy(image.Row(y), image.Row(y) + stride, topDown.begin() + static_cast<std::ptrdiff_t>(start + y * stride));
    EXPECT_EQ(Decode(file).Pixels, image.Pixels);
    EXPECT_EQ(Decode(topDown).Pixels, image.Pixels);
    // The first stored row of a bottom-up file is the bottom row.
    EXPECT_EQ(file[start], image.Row(3)[0]);
}

TEST(BmpCodec, UnusualBitfieldsAreConvertedTo32Bits) {
    // 32 bits with red in the low byte and blue in the third (R, G, B, x order).
    std::vector<std::uint8_t> file = EncodeBmp(Pattern(2, 1, 32));
    Set32(file, 30, 3);  // BI_BITFIELDS
    std::vector<std::uint8_t> masks(12);
    Set32(masks, 0, 0x000000FF);
    Set32(masks, 4, 0x0000FF00);
    Set32(masks, 8, 0x00FF0000);
    file.insert(file.begin() + 54, masks.begin(), masks.end());
    Set32(file, 10, 66);
    const std::uint8_t px[8] = {10, 20, 30, 0, 40, 50, 60, 0};
    std::copy(px, px + 8, file.begin() + 66);
    const TBmpImage image = Decode(file);
    ASSERT_EQ(image.BitCount, 32);
    EXPECT_EQ(image.Row(0)[0], 30);  // blue came from the third byte
    EXPECT_EQ(image.Row(0)[2], 10);  // red from the first
    EXPECT_EQ(image.Row(0)[6], 40);

    // 16 bits 4-4-4: each 4-bit channel is stretched to the full 8-bit range.
    std::vector<std::uint8_t> f16 = EncodeBmp(Pattern(1, 1, 16));
    Set32(f16, 30, 3);
    std::vector<std::uint8_t> m16(12);
    Set32(m16, 0, 0x0F00);
    Set32(m16, 4, 0x00F0);
    Set32(m16, 8, 0x000F);
    f16.insert(f16.begin() + 54, m16.begin(), m16.end());
    Set32(f16, 10, 66);
    f16[66] = 0x0F;  // blue full, green 0
    f16[67] = 0x08;  // red 8 of 15
    const TBmpImage i16 = Decode(f16);
    ASSERT_EQ(i16.BitCount, 32);
    EXPECT_EQ(i16.Row(0)[0], 255);
    EXPECT_EQ(i16.Row(0)[1], 0);
    EXPECT_EQ(i16.Row(0)[2], 136);
}

TEST(BmpCodec, CoreHeaderWithThreeBytePalette) {
    // OS/2 1.x: 12-byte header, 16-bit sizes, RGB triples.
    std::vector<std::uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,  // file header
                                   12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0,            // core header, 2x1, 1 bit
                                   0, 0, 0, 0x33, 0x22, 0x11,                      // palette
                                   0x40, 0, 0, 0};                                 // pixels 0,1
    const TBmpImage image = Decode(f);
    ASSERT_EQ(image.Palette.size(), 2u);
    EXPECT_EQ(image.Palette[1], 0x112233u);
    EXPECT_EQ(image.Row(0)[0], 0x40);
}

TEST(BmpCodec, RejectsMalformedFilesWithoutReadingPastTheData) {
    const std::vector<std::uint8_t> good = EncodeBmp(Pattern(9, 5, 8));
    TBmpImage out;
    std::size_t consumed = 0;
    std::wstring error;
    // Every truncation is refused.
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(DecodeBmp(cut.data(), cut.size(), out, consumed, error)) << n;
    }
    struct Case {
        std::size_t At;
        std::uint32_t Value;
        const char* What;
    };
    for (const Case& c : {Case{0, 0x4D42 + 1, "signature"}, Case{14, 41, "header size"}, Case{18, 0, "zero width"},
                          Case{18, 0x80000000u, "negative width"}, Case{22, 0, "zero height"},
                          Case{18, 100000, "huge width"}, Case{26, 0x00080002, "two planes"},
                          Case{26, 0x00070001, "7 bits"}, Case{30, 1, "RLE8"}, Case{30, 3, "bitfields at 8 bits"},
                          Case{46, 257, "too many colours"}, Case{10, 20, "pixels inside the header"},
                          Case{10, 0x7FFFFFF0, "pixels past the end"}}) {
        std::vector<std::uint8_t> bad = good;
        if (c.At == 0) {
            bad[0] = 'X';
        } else if (c.At == 26) {
            Set32(bad, 26, c.Value);
        } else {
            Set32(bad, c.At, c.Value);
        }
        EXPECT_FALSE(DecodeBmp(bad.data(), bad.size(), out, consumed, error)) << c.What;
        EXPECT_FALSE(error.empty());
    }
    // Overlapping masks are refused.
    std::vector<std::uint8_t> f16 = EncodeBmp(Pattern(1, 1, 16, true));
    Set32(f16, 54, 0xFFFF);
    EXPECT_FALSE(DecodeBmp(f16.data(), f16.size(), out, consumed, error));
}

TEST(BmpCodec, RandomCorruptionNeverCrashes) {
    std::mt19937 random(12345);
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        const std::vector<std::uint8_t> good = EncodeBmp(Pattern(7, 3, bits, bits == 16));
        for (int round = 0; round < 400; ++round) {
            std::vector<std::uint8_t> bad = good;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i)
                bad[random() % 70 % bad.size()] = static_cast<std::uint8_t>(random());
            bad.resize(bad.size() - random() % 8);
            TBmpImage out;
            std::size_t consumed = 0;
            std::wstring error;
            if (DecodeBmp(bad.data(), bad.size(), out, consumed, error)) {
                EXPECT_LE(consumed, bad.size());
                EXPECT_EQ(out.Pixels.size(), static_cast<std::size_t>(out.Stride()) * static_cast<std::size_t>(out.Height));
            }
        }
    }
}

}  // namespace
}  // namespace vx
