// The program's own pictures and the bitmap resources of the skin engine, as committed.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/skingen/ImageFiles.h"

namespace vx::skingen {
namespace {

namespace fs = std::filesystem;
const fs::path kRoot = VX_TEST_SOURCE_DIR;

Image load(const std::string& path) {
  const auto img = decodeBmp(readFile(kRoot / path));
  if (!img) {
    ADD_FAILURE() << path << " is not a readable bitmap";
    return Image(1, 1);
  }
  return *img;
}

std::uint32_t u32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

TEST(AppPictures, EngineResourcesHaveTheSizesTheEngineCutsThemBy) {
  const Image track = load("assets/resources/track.bmp");
  EXPECT_EQ(track.width(), 16);
  EXPECT_EQ(track.height(), 4);
  const Image vert = load("assets/resources/trackvert.bmp");
  EXPECT_EQ(vert.width(), 4);
  EXPECT_EQ(vert.height(), 16);
  // Used with margins 3 and no transparency: no key colour inside.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_NE(track.colour(x, y), kMagenta);

  const auto info = readBmpInfo(readFile(kRoot / "assets/resources/skinmenuglyphs.bmp"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->bitsPerPixel, 1);
  const Image glyphs = load("assets/resources/skinmenuglyphs.bmp");
  ASSERT_EQ(glyphs.width(), 64);
  ASSERT_EQ(glyphs.height(), 16);
  // Four 16-pixel glyphs, each with ink, on a white (mask) ground that frames every cell.
  for (int cell = 0; cell < 4; ++cell) {
    int ink = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const Rgb c = glyphs.colour(cell * 16 + x, y);
        EXPECT_TRUE(c == 0xFFFFFF || c == 0x000000);
        if (c == 0) ++ink;
        if (x == 0 || y == 0 || x == 15 || y == 15) {
          EXPECT_EQ(c, 0xFFFFFFu) << "cell " << cell;
        }
      }
    EXPECT_GT(ink, 8) << "cell " << cell;
  }
}

TEST(AppPictures, SmallPicturesAreTransparentWhereTheFrameworkLooks) {
  // Glyphs and pictures take their transparent colour from the bottom-left pixel.
  for (const char* f : {"assets/app/about.bmp", "assets/app/donate.bmp", "assets/app/shutdown.bmp"}) {
    const Image img = load(f);
    EXPECT_EQ(img.colour(0, img.height() - 1), kMagenta) << f;
    // The middle is drawn.
    EXPECT_NE(img.colour(img.width() / 2, img.height() / 2), kMagenta) << f;
  }
  EXPECT_EQ(load("assets/app/about.bmp").width(), 16);
  EXPECT_EQ(load("assets/app/donate.bmp").height(), 16);
  EXPECT_EQ(load("assets/app/shutdown.bmp").width(), 48);
  EXPECT_EQ(load("assets/app/appicon48.bmp").height(), 48);
  // Queue states: four 16 x 16 images side by side, each distinct.
  const Image states = load("assets/app/queuestates.bmp");
  ASSERT_EQ(states.width(), 64);
  ASSERT_EQ(states.height(), 16);
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b) EXPECT_FALSE(states.crop(a * 16, 0, 16, 16) == states.crop(b * 16, 0, 16, 16));
}

TEST(AppPictures, ProgramIconHoldsThreeSizesIn32Bits) {
  const Bytes ico = readFile(kRoot / "assets/app/vexlo.ico");
  ASSERT_GE(ico.size(), 6u + 3 * 16u);
  EXPECT_EQ(ico[2], 1);
  ASSERT_EQ(ico[4], 3);
  const int sizes[] = {16, 32, 48};
  for (int i = 0; i < 3; ++i) {
    const std::size_t e = 6 + 16 * i;
    EXPECT_EQ(ico[e], sizes[i]);
    EXPECT_EQ(ico[e + 1], sizes[i]);
    EXPECT_EQ(ico[e + 6], 32);
    const std::uint32_t offset = u32(ico, e + 12);
    ASSERT_LT(offset + 40, ico.size());
    EXPECT_EQ(u32(ico, offset + 4), std::uint32_t(sizes[i]));
    EXPECT_EQ(u32(ico, offset + 8), std::uint32_t(2 * sizes[i]));
  }
}

}  // namespace
}  // namespace vx::skingen
