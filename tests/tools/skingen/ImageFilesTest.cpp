#include "tools/skingen/ImageFiles.h"

#include <gtest/gtest.h>

namespace vx::skingen {
namespace {

std::uint32_t u32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint32_t u16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

TEST(SkinGenBmp, TwentyFourBitRowsAreBottomUpBgrAndPadded) {
  Image img(3, 2);
  img.set(0, 0, 0x112233);  // top-left
  img.set(2, 1, 0xAABBCC);  // bottom-right
  const Bytes b = encodeBmp24(img);
  ASSERT_EQ(b.size(), 14u + 40u + 2u * 12u);  // 9 bytes of pixels padded to 12 per row
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(u32(b, 2), b.size());
  EXPECT_EQ(u32(b, 10), 54u);
  EXPECT_EQ(u32(b, 18), 3u);
  EXPECT_EQ(u32(b, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(u16(b, 28), 24u);
  // The first stored row is the picture's bottom row; its last pixel is bottom-right.
  EXPECT_EQ(b[54 + 6], 0xCC);
  EXPECT_EQ(b[54 + 7], 0xBB);
  EXPECT_EQ(b[54 + 8], 0xAA);
  EXPECT_EQ(b[54 + 9], 0);  // padding
  EXPECT_EQ(b[54 + 12], 0x33);
  EXPECT_EQ(b[54 + 13], 0x22);
  EXPECT_EQ(b[54 + 14], 0x11);

  const auto back = decodeBmp(b);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->colour(0, 0), 0x112233u);
  EXPECT_EQ(back->colour(2, 1), 0xAABBCCu);
  EXPECT_EQ(back->colour(1, 0), 0x000000u);
}

TEST(SkinGenBmp, MonochromeKeepsWhiteAsOneAndEverythingElseAsInk) {
  Image img(10, 2);
  img.fillAll(0xFFFFFF);
  img.set(0, 0, 0x000000);
  img.set(9, 0, 0x808080);  // grey is ink too
  img.set(3, 1, 0x000000);
  const Bytes b = encodeBmp1(img);
  const auto info = readBmpInfo(b);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->bitsPerPixel, 1);
  EXPECT_EQ(u32(b, 46), 2u);             // two palette entries
  EXPECT_EQ(u32(b, 54), 0x000000u);      // index 0 black
  EXPECT_EQ(u32(b, 58), 0xFFFFFFu);      // index 1 white
  ASSERT_EQ(b.size(), 62u + 2u * 4u);    // 10 bits round up to a 4-byte row
  // Bottom row first: pixel 3 is ink (bit clear), the rest white.
  EXPECT_EQ(b[62], 0xEF);
  EXPECT_EQ(b[63], 0xC0);
  const auto back = decodeBmp(b);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->colour(0, 0), 0x000000u);
  EXPECT_EQ(back->colour(1, 0), 0xFFFFFFu);
  EXPECT_EQ(back->colour(9, 0), 0x000000u);
  EXPECT_EQ(back->colour(3, 1), 0x000000u);
}

TEST(SkinGenBmp, ReaderRejectsWhatIsNotAWholeBitmap) {
  const Bytes good = encodeBmp24(Image::filled(4, 4, 0x102030));
  EXPECT_TRUE(readBmpInfo(good));
  Bytes truncated(good.begin(), good.end() - 5);
  EXPECT_FALSE(readBmpInfo(truncated));
  Bytes wrongMagic = good;
  wrongMagic[0] = 'X';
  EXPECT_FALSE(readBmpInfo(wrongMagic));
  Bytes compressed = good;
  compressed[30] = 1;  // BI_RLE8
  EXPECT_FALSE(readBmpInfo(compressed));
  EXPECT_FALSE(readBmpInfo(Bytes{}));
  EXPECT_FALSE(decodeBmp(truncated));
}

TEST(SkinGenIco, HoldsEachSizeWithAlphaAndMask) {
  Image small(16, 16), big(32, 32);
  small.set(1, 0, 0x3366CC);               // opaque pixel in the top row
  big.blend(5, 5, 0xFF0000, 0.5);          // half covered
  const Bytes b = encodeIco({small, big});
  EXPECT_EQ(u16(b, 0), 0u);
  EXPECT_EQ(u16(b, 2), 1u);
  ASSERT_EQ(u16(b, 4), 2u);
  // Directory entries: width, height, bit count, size, offset.
  EXPECT_EQ(b[6], 16);
  EXPECT_EQ(b[7], 16);
  EXPECT_EQ(u16(b, 6 + 6), 32u);
  EXPECT_EQ(b[22], 32);
  const std::uint32_t size0 = u32(b, 6 + 8), off0 = u32(b, 6 + 12);
  const std::uint32_t size1 = u32(b, 22 + 8), off1 = u32(b, 22 + 12);
  EXPECT_EQ(off0, 6u + 32u);
  EXPECT_EQ(off1, off0 + size0);
  EXPECT_EQ(off1 + size1, b.size());
  // Each image: a header with the doubled height, BGRA rows, then the AND mask.
  EXPECT_EQ(u32(b, off0), 40u);
  EXPECT_EQ(u32(b, off0 + 8), 32u);
  EXPECT_EQ(size0, 40u + 16u * 16u * 4u + 16u * 4u);
  // Top row is stored last among the colour rows.
  const std::size_t topRow = off0 + 40 + 15 * 16 * 4;
  EXPECT_EQ(b[topRow + 4 + 0], 0xCC);
  EXPECT_EQ(b[topRow + 4 + 3], 255);
  EXPECT_EQ(b[topRow + 0 + 3], 0);
  // Mask of the top row: pixel 0 transparent (bit set), pixel 1 opaque (bit clear).
  const std::size_t maskTop = off0 + 40 + 16 * 16 * 4 + 15 * 4;
  EXPECT_EQ(b[maskTop], 0xBF);
  const std::size_t px = off1 + 40 + (31 - 5) * 32 * 4 + 5 * 4;
  EXPECT_EQ(b[px + 2], 0xFF);
  EXPECT_EQ(b[px + 3], 128);
  EXPECT_THROW(encodeIco({Image(300, 300)}), std::invalid_argument);
}

}  // namespace
}  // namespace vx::skingen
