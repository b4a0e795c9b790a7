#include "tools/skingen/Image.h"

#include <gtest/gtest.h>

namespace vx::skingen {
namespace {

TEST(SkinGenImage, BlendMixesByOpacityAndAccumulatesCoverage) {
  Image img(1, 1);
  img.blend(0, 0, 0x000000, 1.0);
  EXPECT_EQ(img.colour(0, 0), 0x000000u);
  EXPECT_EQ(img.at(0, 0).alpha, 255);
  img.blend(0, 0, 0xFFFFFF, 0.5);
  EXPECT_EQ(img.colour(0, 0), 0x808080u);  // 127.5 rounds up
  EXPECT_EQ(img.at(0, 0).alpha, 255);

  Image soft(1, 1);
  soft.blend(0, 0, 0x204060, 0.5);
  // On an empty pixel the colour stays pure; only the coverage is partial.
  EXPECT_EQ(soft.colour(0, 0), 0x204060u);
  EXPECT_EQ(soft.at(0, 0).alpha, 128);
  // Points outside are ignored rather than written past the buffer.
  soft.blend(5, 0, 0xFFFFFF, 1.0);
  soft.set(-1, 0, 0xFFFFFF);
  EXPECT_EQ(soft.colour(0, 0), 0x204060u);
}

TEST(SkinGenImage, KeyedCutsThinCoverageAndMixesSoftEdges) {
  Image img(3, 1);
  img.blend(0, 0, 0x000000, 0.25);  // mostly empty: cut away
  img.blend(1, 0, 0x000000, 0.75);  // mostly covered: mixed with the background
  img.set(2, 0, 0x123456);
  const Image k = img.keyed(0xFFFFFF);
  EXPECT_EQ(k.colour(0, 0), kMagenta);
  EXPECT_EQ(k.colour(1, 0), rgb(64, 64, 64));
  EXPECT_EQ(k.colour(2, 0), 0x123456u);

  // A covered pixel must never come out as the key colour by accident.
  Image m(1, 1);
  m.set(0, 0, kMagenta);
  EXPECT_NE(m.keyed(0x000000).colour(0, 0), kMagenta);
}

TEST(SkinGenImage, RoundedRectangleLeavesCornersOpen) {
  Image img(12, 12);
  img.fill(roundRect(0, 0, 12, 12, 5), 0x0000FF);
  EXPECT_EQ(img.at(0, 0).alpha, 0);
  EXPECT_EQ(img.at(11, 11).alpha, 0);
  EXPECT_EQ(img.at(6, 0).alpha, 255);  // straight edge fully covered
  EXPECT_EQ(img.at(6, 6).alpha, 255);
  // The curve gives partial coverage, not a staircase.
  EXPECT_GT(img.at(1, 1).alpha, 0);
  EXPECT_LT(img.at(1, 1).alpha, 255);

  Image square(4, 4);
  square.fill(roundRect4(0, 0, 4, 4, 0, 0, 0, 0), 0x0000FF);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(square.at(x, y).alpha, 255);
}

TEST(SkinGenImage, GradientsRunBetweenTheirEnds) {
  Image img(1, 10);
  img.fill(roundRect(0, 0, 1, 10, 0), vertical(0, 10, 0x000000, 0xFF0000));
  EXPECT_LT(red(img.colour(0, 0)), 20);
  EXPECT_GT(red(img.colour(0, 9)), 235);
  for (int y = 1; y < 10; ++y) EXPECT_GE(red(img.colour(0, y)), red(img.colour(0, y - 1)));
  EXPECT_EQ(mix(0x000000, 0xFFFFFF, 0.0), 0x000000u);
  EXPECT_EQ(mix(0x000000, 0xFFFFFF, 1.0), 0xFFFFFFu);
}

TEST(SkinGenImage, StripsPlaceFramesInOrderAndRejectMixedSizes) {
  const Image a = Image::filled(2, 3, 0x111111), b = Image::filled(2, 3, 0x222222);
  const Image h = stripH({a, b});
  EXPECT_EQ(h.width(), 4);
  EXPECT_EQ(h.height(), 3);
  EXPECT_EQ(h.colour(1, 2), 0x111111u);
  EXPECT_EQ(h.colour(2, 0), 0x222222u);
  const Image v = stripV({a, b});
  EXPECT_EQ(v.width(), 2);
  EXPECT_EQ(v.height(), 6);
  EXPECT_EQ(v.colour(0, 2), 0x111111u);
  EXPECT_EQ(v.colour(0, 3), 0x222222u);
  EXPECT_THROW(stripH({a, Image::filled(3, 3, 0)}), std::invalid_argument);
  EXPECT_THROW(stripV({a, Image::filled(2, 4, 0)}), std::invalid_argument);
}

TEST(SkinGenImage, CropTransposeAndMirrorMovePixelsWhereExpected) {
  Image img(3, 2);
  img.set(0, 0, 0x010101);
  img.set(2, 0, 0x020202);
  img.set(0, 1, 0x030303);
  const Image t = img.transposed();
  EXPECT_EQ(t.width(), 2);
  EXPECT_EQ(t.height(), 3);
  EXPECT_EQ(t.colour(0, 2), 0x020202u);
  EXPECT_EQ(t.colour(1, 0), 0x030303u);
  const Image m = img.mirroredH();
  EXPECT_EQ(m.colour(0, 0), 0x020202u);
  EXPECT_EQ(m.colour(2, 1), 0x030303u);
  const Image c = img.crop(2, 0, 1, 1);
  EXPECT_EQ(c.width(), 1);
  EXPECT_EQ(c.colour(0, 0), 0x020202u);
  // A crop reaching outside keeps the missing part empty.
  const Image edge = img.crop(2, 1, 3, 3);
  EXPECT_EQ(edge.at(2, 2).alpha, 0);
}

}  // namespace
}  // namespace vx::skingen
