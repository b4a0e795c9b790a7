// The geometry of element drawing: frame cells, nine-part pieces with the narrow and
// zero-margin rules, tiling, the three-part layouts, centring and opaque runs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "skin/data/ElementLayout.h"
#include "tests/skin/data/LayoutPrinters.h"

namespace vx {
namespace {

using ::testing::ElementsAre;

TEST(FrameCell, SideBySideAndStacked) {
    EXPECT_EQ(FrameCell(100, 20, false, 5, 1), (TLayoutRect{0, 0, 20, 20}));
    EXPECT_EQ(FrameCell(100, 20, false, 5, 3), (TLayoutRect{40, 0, 60, 20}));
    EXPECT_EQ(FrameCell(30, 42, true, 2, 2), (TLayoutRect{0, 21, 30, 42}));
    // Integer division: a 101-pixel strip of 5 frames has 20-pixel cells.
    EXPECT_EQ(FrameCell(101, 20, false, 5, 5), (TLayoutRect{80, 0, 100, 20}));
    // A frame count of 0 is one frame.
    EXPECT_EQ(FrameCell(58, 21, false, 0, 1), (TLayoutRect{0, 0, 58, 21}));
}

TEST(StretchElement, NinePiecesInOrder) {
    const TLayoutRect cell{20, 0, 40, 10};  // frame 2 of a 20-wide strip
    const auto p = StretchElementPieces(100, 50, cell, {3, 2, 4, 1}, false);
    EXPECT_THAT(p, ElementsAre(
        TPiece{{20, 0, 23, 2}, {0, 0, 3, 2}},        // top-left
        TPiece{{20, 9, 23, 10}, {0, 49, 3, 50}},     // bottom-left
        TPiece{{36, 0, 40, 2}, {96, 0, 100, 2}},     // top-right
        TPiece{{20, 2, 23, 9}, {0, 2, 3, 49}},       // left edge
        TPiece{{23, 0, 36, 2}, {3, 0, 96, 2}},       // top edge
        TPiece{{23, 2, 36, 9}, {3, 2, 96, 49}},      // centre, stretched
        TPiece{{36, 9, 40, 10}, {96, 49, 100, 50}},  // bottom-right
        TPiece{{36, 2, 40, 9}, {96, 2, 100, 49}},    // right edge
        TPiece{{23, 9, 36, 10}, {3, 49, 96, 50}}));  // bottom edge
}

TEST(StretchElement, NarrowDestinationDropsMargins) {
    const TLayoutRect cell{0, 0, 20, 10};
    // 6 < 3 + 4: no horizontal margins, the whole cell width is stretched.
    const auto p = StretchElementPieces(6, 50, cell, {3, 2, 4, 1}, false);
    EXPECT_THAT(p, ElementsAre(TPiece{{0, 0, 20, 2}, {0, 0, 6, 2}},
                               TPiece{{0, 2, 20, 9}, {0, 2, 6, 49}},
                               TPiece{{0, 9, 20, 10}, {0, 49, 6, 50}}));
    // Exactly left + right keeps them: corners and side edges, no centre, no top or
    // bottom edge.
    EXPECT_EQ(StretchElementPieces(7, 50, cell, {3, 2, 4, 1}, false).size(), 6u);
    // Vertically the same rule.
    const auto v = StretchElementPieces(30, 2, cell, {3, 2, 4, 1}, false);
    EXPECT_THAT(v, ElementsAre(TPiece{{0, 0, 3, 10}, {0, 0, 3, 2}},
                               TPiece{{3, 0, 16, 10}, {3, 0, 26, 2}},
                               TPiece{{16, 0, 20, 10}, {26, 0, 30, 2}}));
}

TEST(StretchElement, ZeroMarginsDrawNoCornerOrEdge) {
    const auto p = StretchElementPieces(50, 50, {0, 0, 10, 10}, {0, 3, 0, 0}, false);
    EXPECT_THAT(p, ElementsAre(TPiece{{0, 0, 10, 3}, {0, 0, 50, 3}},
                               TPiece{{0, 3, 10, 10}, {0, 3, 50, 50}}));
}

TEST(StretchElement, TiledCentreRepeatsFromItsCorner) {
    // Cell 10 x 10, margins 2 all round: centre 6 x 6 over a 20 x 14 result whose
    // centre is 16 x 10, so 3 columns and 2 rows of copies, the last ones overflowing.
    const auto p = StretchElementPieces(20, 14, {0, 0, 10, 10}, {2, 2, 2, 2}, true);
    std::vector<TLayoutRect> tiles;
    for (const TPiece& piece : p)
        if (piece.Source == TLayoutRect{2, 2, 8, 8})
            tiles.push_back(piece.Dest);
    EXPECT_THAT(tiles, ElementsAre(TLayoutRect{2, 2, 8, 8}, TLayoutRect{8, 2, 14, 8}, TLayoutRect{14, 2, 20, 8},
                                   TLayoutRect{2, 8, 8, 14}, TLayoutRect{8, 8, 14, 14},
                                   TLayoutRect{14, 8, 20, 14}));
    // The overflow is painted over by the pieces after the centre.
    EXPECT_EQ(p.back().Dest, (TLayoutRect{2, 12, 18, 14}));  // bottom edge last
    // A centre without area is not repeated (and does not loop): only the corners.
    EXPECT_EQ(StretchElementPieces(20, 14, {0, 0, 4, 4}, {2, 2, 2, 2}, true).size(), 4u);
}

TEST(StretchElement, InvertedDestinationDrawsNothing) {
    EXPECT_TRUE(StretchElementPieces(-1, 10, {0, 0, 10, 10}, {1, 1, 1, 1}, false).empty());
    EXPECT_TRUE(ElementH3Pieces(10, -2, {0, 0, 10, 10}, 2, 2).empty());
    EXPECT_TRUE(ElementH3StretchPieces({5, 0, 4, 10}, {0, 0, 10, 10}, 2, 2).empty());
    EXPECT_TRUE(TilePositions({5, 5, 4, 9}, 2, 2).empty());
}

TEST(ElementH3, MiddleRepeatedUntilTheRightEnd) {
    // Cell 10 wide (left 3, right 2, middle 5) over 20 pixels: copies at 3, 8, 13
    // (13 < 18), then the right end at 18.
    const auto p = ElementH3Pieces(20, 7, {10, 0, 20, 4}, 3, 2);
    EXPECT_THAT(p, ElementsAre(TPiece{{10, 0, 13, 4}, {0, 0, 3, 7}},
                               TPiece{{13, 0, 18, 4}, {3, 0, 8, 7}},
                               TPiece{{13, 0, 18, 4}, {8, 0, 13, 7}},
                               TPiece{{13, 0, 18, 4}, {13, 0, 18, 7}},
                               TPiece{{18, 0, 20, 4}, {18, 0, 20, 7}}));
    // No middle: no endless loop.
    EXPECT_EQ(ElementH3Pieces(20, 7, {0, 0, 5, 4}, 3, 2).size(), 2u);
}

TEST(ElementH3Stretch, NarrowDestinationStretchesTheWholeCell) {
    const TLayoutRect cell{0, 0, 30, 8};
    EXPECT_THAT(ElementH3StretchPieces({5, 5, 25, 13}, cell, 4, 4),
                ElementsAre(TPiece{cell, {5, 5, 25, 13}}));
    EXPECT_THAT(ElementH3StretchPieces({0, 0, 100, 16}, cell, 4, 6),
                ElementsAre(TPiece{{0, 0, 4, 8}, {0, 0, 4, 16}},
                            TPiece{{4, 0, 24, 8}, {4, 0, 94, 16}},
                            TPiece{{24, 0, 30, 8}, {94, 0, 100, 16}}));
}

TEST(Centring, SignedHalvesTruncateTowardZero) {
    int x, y;
    CentredOrigin({10, 20, 31, 30}, 10, 4, x, y);
    EXPECT_EQ(x, 15);  // 10 + 11 / 2
    EXPECT_EQ(y, 23);
    // A cell larger than the rectangle: (10 - 15) / 2 = -2, not -3.
    CentredOrigin({0, 0, 10, 10}, 15, 13, x, y);
    EXPECT_EQ(x, -2);
    EXPECT_EQ(y, -1);
}

TEST(Tiling, PositionsCoverTheDestination) {
    EXPECT_THAT(TilePositions({1, 1, 6, 4}, 2, 3),
                ElementsAre(TLayoutRect{1, 1, 3, 4}, TLayoutRect{3, 1, 5, 4}, TLayoutRect{5, 1, 7, 4}));
    EXPECT_TRUE(TilePositions({0, 0, 10, 10}, 0, 5).empty());
}

TEST(OpaqueRuns, KeyColourWithTolerance) {
    constexpr std::uint32_t M = 0x00FF00FF, O = 0x00102030;
    const std::uint32_t near = 0x00FF01FF;  // (255, 1, 255): within tolerance 1
    const std::uint32_t off = 0x00FE00FF;   // (254, 0, 255): red below the key
    const std::uint32_t px[] = {
        M, O, O, M, O,   //
        M, M, M, M, M,   //
        near, off, O, near, M,  //
        0, 0, 0, 0, 0};  // padding of a wider stride
    const auto runs = OpaqueRuns(px, 5, 3, 5, 10, 20, 1, 1, 1, 0x00FF00FF);
    EXPECT_THAT(runs, ElementsAre(TLayoutRect{11, 20, 13, 21}, TLayoutRect{14, 20, 15, 21},
                                  TLayoutRect{11, 22, 13, 23}));
    // Without tolerance (255, 1, 255) is opaque.
    EXPECT_EQ(OpaqueRuns(px + 10, 5, 1, 5, 0, 0, 0, 0, 0, 0x00FF00FF).size(), 1u);
    EXPECT_EQ(OpaqueRuns(px + 10, 5, 1, 5, 0, 0, 0, 0, 0, 0x00FF00FF)[0], (TLayoutRect{0, 0, 4, 1}));
}

TEST(OpaqueRuns, AllKeyNoneAndNoKeyOnePerRow) {
    const std::vector<std::uint32_t> magenta(12, 0x00FF00FF), grey(12, 0x00808080);
    EXPECT_TRUE(OpaqueRuns(magenta.data(), 4, 3, 4, 0, 0, 1, 1, 1, 0x00FF00FF).empty());
    EXPECT_THAT(OpaqueRuns(grey.data(), 4, 3, 4, 0, 0, 1, 1, 1, 0x00FF00FF),
                ElementsAre(TLayoutRect{0, 0, 4, 1}, TLayoutRect{0, 1, 4, 2}, TLayoutRect{0, 2, 4, 3}));
}

}  // namespace
}  // namespace vx
