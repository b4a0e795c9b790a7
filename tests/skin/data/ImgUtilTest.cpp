// Colour arithmetic of the bitmap utilities and the skin's colour spellings.

#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/data/imgutil.h"

namespace vx {
namespace {

TColour FixedSysColour(int index) { return index == 15 ? 0x00102030u : 0x00000000u; }

TEST(ImgUtilBlend, WeightScales) {
    const TColour a = 0x00C86420, b = 0x00000000;
    EXPECT_EQ(Blend(a, 0x00123456, 0), 0x00123456u);
    // Below 100 a percentage: 99 % of a.
    EXPECT_EQ(Blend(a, b, 99), MakeColour((0x20 * 99 + 50) / 100, (0x64 * 99 + 50) / 100, (0xC8 * 99 + 50) / 100));
    // From 100 on per mille: 100 is 10 %, 1000 is all of a.
    EXPECT_EQ(Blend(a, b, 100), MakeColour((0x20 * 100 + 500) / 1000, (0x64 * 100 + 500) / 1000, 20));
    EXPECT_EQ(Blend(a, b, 1000), a);
    // 15 % grey, 85 % white: (255 * 850 + 128 * 150 + 500) / 1000 = 236
    EXPECT_EQ(Blend(0x808080, 0xFFFFFF, 150), 0x00ECECECu);
}

TEST(ImgUtilBlend, ResolvesSystemColoursThroughTheResolver) {
    const TSysColourResolver old = SetSysColourResolver(&FixedSysColour);
    EXPECT_EQ(Blend(SystemColourRef(15), 0xFFFFFF, 1000), 0x00102030u);
    EXPECT_EQ(Blend(0xFFFFFF, SystemColourRef(15), 0), 0x00102030u);
    EXPECT_EQ(ResolveColour(0x00ABCDEF), 0x00ABCDEFu);
    SetSysColourResolver(old);
}

TEST(ImgUtilSaturation, Cases) {
    EXPECT_EQ(SaturationIndex(0x00808080), 200);
    EXPECT_EQ(SaturationIndex(0x009F9F9F), 200);
    EXPECT_EQ(SaturationIndex(0x00FF0000), 255);
    EXPECT_EQ(SaturationIndex(0x00FFFFFF), 0);
    EXPECT_EQ(SaturationIndex(0x00A0A0A0), 0);
    // (200 - 100) / 200 * 255 = 127.5 -> 128 (even); (170 - 0) ... exact halves only.
    EXPECT_EQ(SaturationIndex(MakeColour(200, 100, 150)), 128);
    // (170 - 1) / 170 * 255 = 253.5 -> 254 (even)
    EXPECT_EQ(SaturationIndex(MakeColour(170, 1, 1)), 254);
    // (170 - 3) / 170 * 255 = 250.5 -> 250 (even)
    EXPECT_EQ(SaturationIndex(MakeColour(3, 170, 100)), 250);
    // 255 * 55 / 210 = 66.79 -> 67
    EXPECT_EQ(SaturationIndex(MakeColour(210, 155, 180)), 67);
}

class GradientTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGradientCache(); }
    void TearDown() override { ResetGradientCache(); }
};

TEST_F(GradientTest, FallingChannelsStopShortOfTheEnd) {
    const auto& t = GradientSlot(GradientTable(40, 0xFFFFFF, 0x000000));
    ASSERT_EQ(t.size(), 40u);
    EXPECT_EQ(t[0], 0x00FFFFFFu);
    EXPECT_EQ(t[39], 0x00010101u);
    // Entry 20: 255 + (20 * -255 + 19) / 39 = 255 - 130, truncated toward zero.
    EXPECT_EQ(t[20], MakeColour(125, 125, 125));
}

TEST_F(GradientTest, RisingChannelsReachTheEnd) {
    const auto& t = GradientSlot(GradientTable(3, 0x000000, 0x0000FF));
    EXPECT_EQ(t[0], 0x000000u);
    EXPECT_EQ(t[1], 0x000080u);  // (255 + 1) / 2
    EXPECT_EQ(t[2], 0x0000FFu);
}

TEST_F(GradientTest, SingleLineIsHalfWay) {
    EXPECT_EQ(GradientSlot(GradientTable(1, 0x000000, 0x0000FF))[0], 0x00007Fu);
    // Falling: 255 + (-255 / 2) = 255 - 127.
    EXPECT_EQ(GradientSlot(GradientTable(1, 0x0000FF, 0x000000))[0], 0x00000080u);
}

TEST_F(GradientTest, CacheHitsAndRingOrder) {
    const int first = GradientTable(10, 0x000000, 0x0000FF);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(GradientTable(10, 0x000000, 0x0000FF), first);
    // A falling table misses the cache (its last entry is not the end colour) and is
    // recomputed into the next slot with the same content.
    const int falling = GradientTable(10, 0xFFFFFF, 0x000000);
    const int again = GradientTable(10, 0xFFFFFF, 0x000000);
    EXPECT_NE(falling, again);
    EXPECT_EQ(GradientSlot(falling), GradientSlot(again));
    // Fill the ring: slots 3..15, then the 17th distinct table overwrites slot 0.
    for (int i = 3; i < 16; ++i)
        EXPECT_EQ(GradientTable(20 + i, 0x000000, 0x0000FF), i);
    EXPECT_EQ(GradientTable(100, 0x000000, 0x00FF00), 0);
    // Slot 0 no longer holds the first table: asking again refills slot 1.
    EXPECT_EQ(GradientTable(10, 0x000000, 0x0000FF), 1);
}

TEST_F(GradientTest, NoLinesIsAProgrammingError) {
    EXPECT_THROW(GradientTable(0, 0, 0), std::logic_error);
}

TEST(SkinColourText, Spellings) {
    EXPECT_EQ(ColourFromText("248, 248, 248", 1), 0x00F8F8F8u);
    EXPECT_EQ(ColourFromText("255 255 255", 1), 0x00FFFFFFu);
    EXPECT_EQ(ColourFromText("38 71 138", 1), MakeColour(38, 71, 138));
    EXPECT_EQ(ColourFromText("", 0xFF000000u), 0xFF000000u);
    // A number left open at the end counts only after exactly two others.
    EXPECT_EQ(ColourFromText("255", 1), 0u);
    EXPECT_EQ(ColourFromText("1 2", 1), 0x00000001u);
    EXPECT_EQ(ColourFromText("1 2 3 4", 1), MakeColour(1, 2, 3));
    EXPECT_EQ(ColourFromText("1 2 3 4 ", 1), MakeColour(1, 2, 3));
    // Separators of any kind and number; components modulo 256.
    EXPECT_EQ(ColourFromText("  10;;20--30  ", 1), MakeColour(10, 20, 30));
    EXPECT_EQ(ColourFromText("256 257 511", 1), MakeColour(0, 1, 255));
}

TEST(SkinColourTriple, AllThreeOrNothing) {
    TColour c = clSkinNone;
    ColourFromTriple(1, 2, -1, c);
    EXPECT_EQ(c, clSkinNone);
    ColourFromTriple(1, 2, 3, c);
    EXPECT_EQ(c, MakeColour(1, 2, 3));
    ColourFromTriple(256, 300, 0, c);
    EXPECT_EQ(c, MakeColour(0, 44, 0));
}

}  // namespace
}  // namespace vx
