// The arithmetic of the range, tab, status and date-time painters: where a track bar's
// thumb goes for a range and position, how much of a progress bar is filled and by
// which chunks, which frame each part shows in each state, and where tabs, panes,
// panels, grips and the picker's arrow lie.

#include <gtest/gtest.h>

#include <climits>

#include "skin/controls/RangeRules.h"
#include "tests/skin/data/LayoutPrinters.h"

namespace vx {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(5, 2), 2);
    EXPECT_EQ(RoundHalfEven(7, 2), 4);
    EXPECT_EQ(RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(RoundHalfEven(-7, 2), -4);
    EXPECT_EQ(RoundHalfEven(10, 3), 3);
    EXPECT_EQ(RoundHalfEven(11, 3), 4);
    EXPECT_EQ(RoundHalfEven(5, -2), -2);
}

TEST(TrackBarThumb, TravelKeepsTheThumbInsideTheChannel) {
    // An 11-pixel thumb on the channel 8..142: at the minimum its leading edge is on
    // the channel's start, at the maximum its trailing edge on the channel's end.
    const TTravel t = TrackThumbTravel(8, 142, 11);
    EXPECT_EQ(t, (TTravel{13, 136}));
    EXPECT_EQ(TrackThumbRect(false, t.First, 20, 11, 19), (TLayoutRect{8, 11, 19, 30}));
    EXPECT_EQ(TrackThumbRect(false, t.Last, 20, 11, 19), (TLayoutRect{131, 11, 142, 30}));
    // An even thumb: its centre 5 pixels in from either end.
    EXPECT_EQ(TrackThumbTravel(0, 100, 10), (TTravel{5, 95}));
    // A channel shorter than the thumb: its middle, whatever the position.
    EXPECT_EQ(TrackThumbTravel(10, 16, 11), (TTravel{13, 13}));
}

TEST(TrackBarThumb, CentreFollowsRangeAndPosition) {
    EXPECT_EQ(TrackThumbCentre(13, 136, 0, 10, 0), 13);
    EXPECT_EQ(TrackThumbCentre(13, 136, 0, 10, 10), 136);
    EXPECT_EQ(TrackThumbCentre(13, 136, 0, 10, 3), 13 + 37);  // 123 * 3 / 10 = 36.9
    // Halves to even: 11 * 1 / 2 = 5.5 -> 6, 9 * 1 / 2 = 4.5 -> 4.
    EXPECT_EQ(TrackThumbCentre(10, 21, 0, 2, 1), 16);
    EXPECT_EQ(TrackThumbCentre(10, 19, 0, 2, 1), 14);
    // A range that does not start at 0, and positions outside it.
    EXPECT_EQ(TrackThumbCentre(0, 100, -50, 50, 0), 50);
    EXPECT_EQ(TrackThumbCentre(0, 100, -50, 50, -80), 0);
    EXPECT_EQ(TrackThumbCentre(0, 100, -50, 50, 80), 100);
    // An empty or reversed range stays at the start.
    EXPECT_EQ(TrackThumbCentre(7, 100, 5, 5, 5), 7);
    EXPECT_EQ(TrackThumbCentre(7, 100, 9, 5, 6), 7);
    // The whole 32-bit range does not overflow.
    EXPECT_EQ(TrackThumbCentre(0, 1000, INT_MIN, INT_MAX, INT_MAX), 1000);
    EXPECT_EQ(TrackThumbCentre(0, 1000, INT_MIN, INT_MAX, 0), 500);
}

TEST(TrackBarThumb, VerticalThumbAndChannel) {
    EXPECT_EQ(TrackThumbRect(true, 50, 12, 19, 11), (TLayoutRect{3, 45, 22, 56}));
    // The channel: its own thickness, centred on the thumb's line, the control's length.
    EXPECT_EQ(TrackChannelRect(false, 8, 142, 20, 5), (TLayoutRect{8, 18, 142, 23}));
    EXPECT_EQ(TrackChannelRect(true, 8, 142, 12, 5), (TLayoutRect{10, 8, 15, 142}));
}

TEST(TrackBarThumb, FramesFollowThePushButtonOrder) {
    EXPECT_EQ(TrackThumbFrame(0, false, false), 1);
    EXPECT_EQ(TrackThumbFrame(msPressed | msHot, true, false), 2);
    EXPECT_EQ(TrackThumbFrame(msHot, true, false), 4);
    EXPECT_EQ(TrackThumbFrame(0, true, false), 5);
    EXPECT_EQ(TrackThumbFrame(msPressed | msHot, true, true), 3);
}

TEST(ProgressFill, LengthRoundsAndStaysInsideTheBar) {
    EXPECT_EQ(ProgressFillLength(200, 0, 100, 0), 0);
    EXPECT_EQ(ProgressFillLength(200, 0, 100, 100), 200);
    EXPECT_EQ(ProgressFillLength(200, 0, 100, 37), 74);
    EXPECT_EQ(ProgressFillLength(5, 0, 2, 1), 2);   // 2.5 -> 2
    EXPECT_EQ(ProgressFillLength(7, 0, 2, 1), 4);   // 3.5 -> 4
    EXPECT_EQ(ProgressFillLength(200, 0, 100, 150), 200);
    EXPECT_EQ(ProgressFillLength(200, 0, 100, -5), 0);
    EXPECT_EQ(ProgressFillLength(200, -100, 100, 0), 100);
    EXPECT_EQ(ProgressFillLength(200, 50, 50, 50), 0);  // no range: nothing filled
    EXPECT_EQ(ProgressFillLength(0, 0, 100, 50), 0);
    EXPECT_EQ(ProgressFillLength(1000, INT_MIN, INT_MAX, INT_MAX), 1000);
}

TEST(ProgressFill, RectFromTheLeftOrFromTheBottom) {
    const TLayoutRect inside{3, 3, 147, 13};
    EXPECT_EQ(ProgressFillRect(inside, false, 40), (TLayoutRect{3, 3, 43, 13}));
    const TLayoutRect tall{3, 3, 13, 103};
    EXPECT_EQ(ProgressFillRect(tall, true, 40), (TLayoutRect{3, 63, 13, 103}));
    EXPECT_EQ(ProgressFillRect(inside, false, 0).Width(), 0);
}

TEST(ProgressFill, LookFromStyleAndSkin) {
    using L = TProgressLook;
    EXPECT_EQ(ProgressFillLook(true, 2, true), L::Bar);
    EXPECT_EQ(ProgressFillLook(true, 1, true), L::Chunks);
    EXPECT_EQ(ProgressFillLook(false, 2, true), L::Chunks);
    EXPECT_EQ(ProgressFillLook(false, 2, false), L::Bar);
    EXPECT_EQ(ProgressFillLook(false, 1, false), L::None);
    EXPECT_EQ(ProgressFillLook(true, 1, false), L::None);
    EXPECT_EQ(ProgressFillLook(true, 0, false), L::None);
}

TEST(ProgressFill, ChunksCoverTheFillInWholeSteps) {
    const TLayoutRect inside{2, 2, 102, 14};
    // 20 pixels in steps of 8: three chunks, the last reaching past the exact fill.
    std::vector<TLayoutRect> c = ProgressChunks(inside, false, 20, 8);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0], (TLayoutRect{2, 2, 10, 14}));
    EXPECT_EQ(c[2], (TLayoutRect{18, 2, 26, 14}));
    // Full: 13 chunks, the last cut at the interior's end.
    c = ProgressChunks(inside, false, 100, 8);
    ASSERT_EQ(c.size(), 13u);
    EXPECT_EQ(c.back(), (TLayoutRect{98, 2, 102, 14}));
    // More than the interior is never drawn.
    EXPECT_EQ(ProgressChunks(inside, false, 500, 8).size(), 13u);
    // Vertical: from the bottom up.
    c = ProgressChunks(TLayoutRect{2, 2, 14, 52}, true, 10, 8);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], (TLayoutRect{2, 44, 14, 52}));
    EXPECT_EQ(c[1], (TLayoutRect{2, 36, 14, 44}));
    // Nothing filled, or a chunk picture of no width: no chunks.
    EXPECT_TRUE(ProgressChunks(inside, false, 0, 8).empty());
    EXPECT_TRUE(ProgressChunks(inside, false, 50, 0).empty());
}

TEST(ProgressFill, InteriorMarginsNeverEatTheBar) {
    EXPECT_EQ(ProgressInterior(TLayoutRect{0, 0, 150, 16}, false, 3, 3, 3, 3), (TLayoutRect{3, 3, 147, 13}));
    // A bar 6 high keeps at most 2 pixels each side across it.
    EXPECT_EQ(ProgressInterior(TLayoutRect{0, 0, 150, 6}, false, 3, 3, 3, 3), (TLayoutRect{3, 2, 147, 4}));
    EXPECT_EQ(ProgressInterior(TLayoutRect{0, 0, 9, 100}, true, 5, 3, 5, 3), (TLayoutRect{3, 3, 6, 97}));
    EXPECT_EQ(ProgressInterior(TLayoutRect{0, 0, 150, 16}, false, -4, 0, 0, 0).Left, 0);
}

TEST(UpDown, ButtonsSplitTheControl) {
    TUpDownButtons b = UpDownButtonRects(17, 25, false);
    EXPECT_EQ(b.First, (TLayoutRect{0, 0, 17, 12}));
    EXPECT_EQ(b.Second, (TLayoutRect{0, 12, 17, 25}));
    b = UpDownButtonRects(31, 17, true);
    EXPECT_EQ(b.First, (TLayoutRect{0, 0, 15, 17}));
    EXPECT_EQ(b.Second, (TLayoutRect{15, 0, 31, 17}));
    EXPECT_EQ(UpDownPartAt(17, 25, false, 5, 11), 1);
    EXPECT_EQ(UpDownPartAt(17, 25, false, 5, 12), 2);
    EXPECT_EQ(UpDownPartAt(17, 25, false, 5, 24), 2);
    EXPECT_EQ(UpDownPartAt(17, 25, false, 5, 25), 0);
    EXPECT_EQ(UpDownPartAt(17, 25, false, -1, 3), 0);
    EXPECT_EQ(UpDownPartAt(31, 17, true, 14, 3), 1);
    EXPECT_EQ(UpDownPartAt(31, 17, true, 15, 3), 2);
}

TEST(UpDown, FramesPerButtonAndState) {
    EXPECT_EQ(UpDownFrame(1, true, 0, 0), 1);
    EXPECT_EQ(UpDownFrame(2, true, 0, 0), 5);
    EXPECT_EQ(UpDownFrame(1, true, 1, 0), 4);
    EXPECT_EQ(UpDownFrame(2, true, 1, 0), 5);
    EXPECT_EQ(UpDownFrame(2, true, 2, 2), 6);
    EXPECT_EQ(UpDownFrame(1, true, 1, 1), 2);
    // While one button is held, the other shows no hover.
    EXPECT_EQ(UpDownFrame(2, true, 2, 1), 5);
    EXPECT_EQ(UpDownFrame(1, false, 1, 1), 3);
    EXPECT_EQ(UpDownFrame(2, false, 2, 2), 7);
}

TEST(TrackBar, SelectionStretchOfTheChannel) {
    const TLayoutRect channel{8, 10, 132, 15};
    EXPECT_EQ(TrackSelectionRect(false, channel, 40, 80), (TLayoutRect{40, 11, 81, 14}));
    // Either order; never past the channel's ends.
    EXPECT_EQ(TrackSelectionRect(false, channel, 80, 40), (TLayoutRect{40, 11, 81, 14}));
    EXPECT_EQ(TrackSelectionRect(false, channel, 0, 200), (TLayoutRect{8, 11, 132, 14}));
    const TLayoutRect column{10, 8, 15, 132};
    EXPECT_EQ(TrackSelectionRect(true, column, 20, 30), (TLayoutRect{11, 20, 14, 31}));
    // A channel two pixels thick keeps its whole thickness.
    EXPECT_EQ(TrackSelectionRect(false, TLayoutRect{8, 10, 132, 12}, 20, 30), (TLayoutRect{20, 10, 31, 12}));
}

TEST(Tabs, FramesOfTabsAndButtonTabs) {
    EXPECT_EQ(TabItemFrame(false, false, true, false), 1);
    EXPECT_EQ(TabItemFrame(true, false, true, false), 2);
    EXPECT_EQ(TabItemFrame(true, true, true, false), 2);
    EXPECT_EQ(TabItemFrame(true, false, true, true), 5);
    EXPECT_EQ(TabItemFrame(false, true, true, true), 4);
    EXPECT_EQ(TabItemFrame(true, true, false, true), 3);
    EXPECT_EQ(TabItemFrame(false, false, false, false), 3);
    EXPECT_EQ(TabButtonFrame(true, false, true), 2);
    EXPECT_EQ(TabButtonFrame(false, true, true), 4);
    EXPECT_EQ(TabButtonFrame(true, true, false), 3);
    EXPECT_EQ(TabButtonFrame(false, false, true), 1);
}

TEST(Tabs, SelectedTabStandsOutAndJoinsThePane) {
    const TLayoutRect item{60, 2, 120, 22};
    EXPECT_EQ(TabItemRect(item, false, TTabSide::Top, 1), item);
    EXPECT_EQ(TabItemRect(item, true, TTabSide::Top, 1), (TLayoutRect{58, 0, 122, 23}));
    EXPECT_EQ(TabItemRect(item, true, TTabSide::Bottom, 1), (TLayoutRect{58, 1, 122, 24}));
    const TLayoutRect client{0, 0, 300, 200};
    EXPECT_EQ(TabPaneRect(client, TTabSide::Top, true, 22), (TLayoutRect{0, 22, 300, 200}));
    EXPECT_EQ(TabPaneRect(client, TTabSide::Bottom, true, 178), (TLayoutRect{0, 0, 300, 178}));
    EXPECT_EQ(TabPaneRect(client, TTabSide::Top, false, 22), client);
    EXPECT_EQ(TabPaneRect(client, TTabSide::Top, true, 260), (TLayoutRect{0, 200, 300, 200}));
}

TEST(Tabs, SideTabsStandOutTowardsThePaneBesideThem) {
    // The side from the style: the vertical bit chooses the sides, the second bit the
    // far one (bottom, or right).
    EXPECT_EQ(TabSideOfStyle(0), TTabSide::Top);
    EXPECT_EQ(TabSideOfStyle(0x2), TTabSide::Bottom);
    EXPECT_EQ(TabSideOfStyle(0x80), TTabSide::Left);
    EXPECT_EQ(TabSideOfStyle(0x82), TTabSide::Right);
    EXPECT_EQ(TabSideOfStyle(0x80 | 0x200 | 0x100), TTabSide::Left);
    const TLayoutRect item{2, 40, 22, 100};
    EXPECT_EQ(TabItemRect(item, false, TTabSide::Left, 1), item);
    EXPECT_EQ(TabItemRect(item, true, TTabSide::Left, 1), (TLayoutRect{0, 38, 23, 102}));
    EXPECT_EQ(TabItemRect(item, true, TTabSide::Right, 1), (TLayoutRect{1, 38, 24, 102}));
    const TLayoutRect client{0, 0, 300, 200};
    EXPECT_EQ(TabPaneRect(client, TTabSide::Left, true, 22), (TLayoutRect{22, 0, 300, 200}));
    EXPECT_EQ(TabPaneRect(client, TTabSide::Right, true, 278), (TLayoutRect{0, 0, 278, 200}));
    EXPECT_EQ(TabPaneRect(client, TTabSide::Left, true, 400), (TLayoutRect{300, 0, 300, 200}));
    EXPECT_EQ(TabPaneRect(client, TTabSide::Right, true, -5), (TLayoutRect{0, 0, 0, 200}));
    EXPECT_EQ(TabPaneRect(client, TTabSide::Right, false, 278), client);
}

TEST(TabSet, TabsHangSideBySideAndTheSelectedOneLiesOnTop) {
    const std::vector<TLayoutRect> r = TabSetRects({30, 10, 20}, 24, 1);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], (TLayoutRect{4, 0, 50, 22}));
    EXPECT_EQ(r[1], (TLayoutRect{48, 0, 78, 24}));  // 26 wide, 2 more each side, full height
    EXPECT_EQ(r[2], (TLayoutRect{76, 0, 112, 22}));
    // The selected tab takes the points it shares with its neighbours.
    EXPECT_EQ(TabSetHitTest(r, 1, 49, 5), 1);
    EXPECT_EQ(TabSetHitTest(r, 1, 77, 5), 1);
    EXPECT_EQ(TabSetHitTest(r, 1, 47, 5), 0);
    EXPECT_EQ(TabSetHitTest(r, 1, 78, 5), 2);
    EXPECT_EQ(TabSetHitTest(r, 1, 60, 23), 1);  // below the others' bottom, the selected one
    EXPECT_EQ(TabSetHitTest(r, 1, 30, 23), -1);
    EXPECT_EQ(TabSetHitTest(r, 1, 2, 5), -1);
    EXPECT_EQ(TabSetHitTest(r, 1, 112, 5), -1);
    // No selection; an empty text still gets its padding; a control too low.
    EXPECT_EQ(TabSetHitTest(TabSetRects({30}, 24, -1), -1, 10, 5), 0);
    EXPECT_EQ(TabSetRects({0}, 24, -1)[0], (TLayoutRect{4, 0, 20, 22}));
    EXPECT_EQ(TabSetRects({0}, 1, -1)[0], (TLayoutRect{4, 0, 20, 0}));
    EXPECT_TRUE(TabSetRects({}, 24, 0).empty());
}

TEST(StatusBar, PanelTextAlignmentFromLeadingTabs) {
    EXPECT_EQ(StatusPanelText(L""), (TPanelText{L"", TTextAlign::Left}));
    EXPECT_EQ(StatusPanelText(L"就绪"), (TPanelText{L"就绪", TTextAlign::Left}));
    EXPECT_EQ(StatusPanelText(L"\t4 files"), (TPanelText{L"4 files", TTextAlign::Centre}));
    EXPECT_EQ(StatusPanelText(L"\t\t63%"), (TPanelText{L"63%", TTextAlign::Right}));
    // A third tab is part of the text; a tab inside the text too.
    EXPECT_EQ(StatusPanelText(L"\t\t\tx"), (TPanelText{L"\tx", TTextAlign::Right}));
    EXPECT_EQ(StatusPanelText(L"a\tb"), (TPanelText{L"a\tb", TTextAlign::Left}));
}

TEST(StatusBar, GripAndTextAreas) {
    EXPECT_EQ(StatusGripRect(300, 20, 16), (TLayoutRect{284, 0, 300, 20}));
    EXPECT_EQ(StatusGripRect(10, 20, 16), (TLayoutRect{0, 0, 10, 20}));
    EXPECT_EQ(StatusGripRect(300, 20, -3), (TLayoutRect{300, 0, 300, 20}));
    EXPECT_EQ(StatusPanelTextRect(TLayoutRect{0, 2, 120, 20}), (TLayoutRect{3, 3, 117, 19}));
}

TEST(DateTime, ArrowPlaceAndFrames) {
    EXPECT_EQ(DateTimeArrowRect(TLayoutRect{0, 0, 182, 17}, 17), (TLayoutRect{165, 0, 182, 17}));
    EXPECT_EQ(DateTimeArrowRect(TLayoutRect{0, 0, 10, 17}, 17), (TLayoutRect{0, 0, 10, 17}));
    EXPECT_EQ(ArrowButtonFrame(true, false, false, true, false), 1);
    EXPECT_EQ(ArrowButtonFrame(true, false, true, true, false), 4);
    // The picker refuses the hover (its calendar is down, say): no hot look.
    EXPECT_EQ(ArrowButtonFrame(true, false, true, false, false), 1);
    EXPECT_EQ(ArrowButtonFrame(true, true, true, false, false), 2);
    EXPECT_EQ(ArrowButtonFrame(true, false, false, true, true), 4);
    EXPECT_EQ(ArrowButtonFrame(false, true, true, true, true), 3);
}

}  // namespace
}  // namespace vx
