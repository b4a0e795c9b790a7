// The media player skin's arithmetic: the published button sets, where the visible
// buttons lie and which one is under a point, each glyph's look and picture name.

#include <gtest/gtest.h>

#include "skin/controls/PlayerRules.h"
#include "tests/skin/data/LayoutPrinters.h"

namespace vx {
namespace {

constexpr TPlayerButtonSet Bit(int b) { return 1u << b; }

TEST(PlayerButtonSet, SetsAreReadByNameInAnyCaseAndBadTextChangesNothing) {
    TPlayerButtonSet set = 0x5A;
    ASSERT_TRUE(ParsePlayerButtonSet(L"[btPlay,btStop]", set));
    EXPECT_EQ(set, Bit(pbPlay) | Bit(pbStop));
    ASSERT_TRUE(ParsePlayerButtonSet(L" [ BTEJECT , btrecord,btBack ] ", set));
    EXPECT_EQ(set, Bit(pbEject) | Bit(pbRecord) | Bit(pbBack));
    ASSERT_TRUE(ParsePlayerButtonSet(L"[]", set));
    EXPECT_EQ(set, 0u);
    ASSERT_TRUE(ParsePlayerButtonSet(L"[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]", set));
    EXPECT_EQ(set, kAllPlayerButtons);
    set = 0x5A;
    for (const wchar_t* bad : {L"", L"btPlay", L"[btPlay", L"btPlay]", L"[btPlay,]", L"[Play]", L"[btPlayer]",
                               L"[btPlay,,btStop]", L"[bt]", L"[,btPlay]"}) {
        EXPECT_FALSE(ParsePlayerButtonSet(bad, set)) << testing::PrintToString(std::wstring(bad));
        EXPECT_EQ(set, 0x5Au);
    }
}

TEST(PlayerButtons, VisibleButtonsShareTheWidthAndTheFirstTakeWhatIsLeftOver) {
    // Nine buttons over 184 pixels: 20 each, the first four 21.
    const auto all = PlayerButtonRects(184, 30, kAllPlayerButtons);
    ASSERT_EQ(all.size(), 9u);
    int x = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].Button, static_cast<int>(i));
        EXPECT_EQ(all[i].Rect, (TLayoutRect{x, 0, x + (i < 4 ? 21 : 20), 30}));
        x = all[i].Rect.Right;
    }
    EXPECT_EQ(x, 184);
    // Only the visible ones, in button order, whatever the order of the bits.
    const auto some = PlayerButtonRects(100, 20, Bit(pbEject) | Bit(pbPlay) | Bit(pbStop));
    ASSERT_EQ(some.size(), 3u);
    EXPECT_EQ(some[0].Button, pbPlay);
    EXPECT_EQ(some[1].Button, pbStop);
    EXPECT_EQ(some[2].Button, pbEject);
    EXPECT_EQ(some[0].Rect, (TLayoutRect{0, 0, 34, 20}));
    EXPECT_EQ(some[2].Rect, (TLayoutRect{67, 0, 100, 20}));
    // Nothing to show, or no room for a pixel each.
    EXPECT_TRUE(PlayerButtonRects(100, 20, 0).empty());
    EXPECT_TRUE(PlayerButtonRects(8, 20, kAllPlayerButtons).empty());
    EXPECT_TRUE(PlayerButtonRects(100, 0, kAllPlayerButtons).empty());
    EXPECT_EQ(PlayerButtonRects(9, 1, kAllPlayerButtons).size(), 9u);
    // Bits beyond the nine buttons are no buttons.
    EXPECT_EQ(PlayerButtonRects(100, 20, 0xFFFFFFFFu).size(), 9u);
}

TEST(PlayerButtons, TheButtonUnderAPointByHalfOpenRectangles) {
    const auto rects = PlayerButtonRects(100, 20, Bit(pbPlay) | Bit(pbStop) | Bit(pbEject));
    EXPECT_EQ(PlayerButtonAt(rects, 0, 0), pbPlay);
    EXPECT_EQ(PlayerButtonAt(rects, 33, 19), pbPlay);
    EXPECT_EQ(PlayerButtonAt(rects, 34, 0), pbStop);
    EXPECT_EQ(PlayerButtonAt(rects, 66, 10), pbStop);
    EXPECT_EQ(PlayerButtonAt(rects, 67, 10), pbEject);
    EXPECT_EQ(PlayerButtonAt(rects, 99, 10), pbEject);
    EXPECT_EQ(PlayerButtonAt(rects, 100, 10), -1);
    EXPECT_EQ(PlayerButtonAt(rects, 50, 20), -1);
    EXPECT_EQ(PlayerButtonAt(rects, -1, 5), -1);
    EXPECT_EQ(PlayerButtonAt({}, 5, 5), -1);
}

TEST(PlayerGlyphs, LookAndPictureNameOfEachButton) {
    const TPlayerButtonSet enabled = Bit(pbPlay) | Bit(pbStop);
    const TPlayerButtonSet coloured = Bit(pbPlay) | Bit(pbEject);
    EXPECT_EQ(PlayerGlyphLook(pbPlay, enabled, coloured, true), TPlayerGlyphLook::Coloured);
    EXPECT_EQ(PlayerGlyphLook(pbStop, enabled, coloured, true), TPlayerGlyphLook::Plain);
    // Not enabled wins over coloured; a disabled player disables every button.
    EXPECT_EQ(PlayerGlyphLook(pbEject, enabled, coloured, true), TPlayerGlyphLook::Disabled);
    EXPECT_EQ(PlayerGlyphLook(pbPlay, enabled, coloured, false), TPlayerGlyphLook::Disabled);
    EXPECT_EQ(PlayerGlyphLook(pbCount, kAllPlayerButtons, 0, true), TPlayerGlyphLook::Disabled);
    EXPECT_EQ(PlayerGlyphResourceName(pbPlay, TPlayerGlyphLook::Coloured), L"MPCOLOR_PLAY");
    EXPECT_EQ(PlayerGlyphResourceName(pbStop, TPlayerGlyphLook::Plain), L"MP_STOP");
    EXPECT_EQ(PlayerGlyphResourceName(pbEject, TPlayerGlyphLook::Disabled), L"MPDISABLED_EJECT");
    EXPECT_EQ(PlayerGlyphResourceName(pbRecord, TPlayerGlyphLook::Plain), L"MP_RECORD");
}

}  // namespace
}  // namespace vx
