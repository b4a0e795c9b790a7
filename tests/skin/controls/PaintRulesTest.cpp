// The painters' arithmetic: button states and caption colours, the "||" line break,
// caption and glyph layout (margin and spacing cases), speed and drop-down buttons,
// check and radio strip numbering, combo frames, and scroll-bar parts, thumbs and
// frames.

#include <gtest/gtest.h>

#include "skin/controls/PaintRules.h"
#include "tests/skin/data/LayoutPrinters.h"

namespace vx {
namespace {

TEST(ButtonState, PriorityAndDisabledOverride) {
    EXPECT_EQ(ButtonState(0, false, false, false), sbNormal);
    EXPECT_EQ(ButtonState(msHot, false, false, false), sbHot);
    EXPECT_EQ(ButtonState(msHot | msPressed, true, true, false), sbPressed);
    EXPECT_EQ(ButtonState(msHot, true, true, false), sbHot);
    EXPECT_EQ(ButtonState(0, true, false, false), sbFocused);
    EXPECT_EQ(ButtonState(0, false, true, false), sbFocused);
    // A disabled default button shows the disabled frame.
    EXPECT_EQ(ButtonState(msHot | msPressed, true, true, true), sbDisabled);
    EXPECT_EQ(static_cast<int>(sbDisabled), 3);
}

TEST(ButtonState, CaptionColours) {
    TButtonTextColours c;
    c.HasNormal = true;
    c.Normal = 0x111111;
    c.HasPressed = true;
    c.Pressed = 0x333333;
    const TColour base = 0x00ABCDEF;
    EXPECT_EQ(ButtonCaptionColour(sbNormal, true, c, base), 0x111111u);
    EXPECT_EQ(ButtonCaptionColour(sbHot, true, c, base), base);  // no hot colour given
    EXPECT_EQ(ButtonCaptionColour(sbPressed, true, c, base), 0x333333u);
    EXPECT_EQ(ButtonCaptionColour(sbFocused, true, c, base), base);
    c.HasMouseOver = true;
    c.MouseOver = 0x222222;
    EXPECT_EQ(ButtonCaptionColour(sbHot, true, c, base), 0x222222u);
    // Disabled: the system button shadow, whatever the skin gives.
    EXPECT_EQ(ButtonCaptionColour(sbDisabled, false, c, base), SystemColourRef(16));
    EXPECT_EQ(ButtonCaptionColour(sbNormal, false, c, base), SystemColourRef(16));
}

TEST(Caption, FirstDoubleBarOnly) {
    EXPECT_EQ(ReplaceFirstBar(L"开始||转换"), L"开始\r\n转换");
    EXPECT_EQ(ReplaceFirstBar(L"a||b||c"), L"a\r\nb||c");
    EXPECT_EQ(ReplaceFirstBar(L"a|||b"), L"a\r\n|b");
    EXPECT_EQ(ReplaceFirstBar(L"a|b"), L"a|b");
    EXPECT_EQ(ReplaceFirstBar(L""), L"");
}

TEST(Caption, CentredOnePixelHighAndStretched) {
    const TLayoutRect b{0, 0, 75, 25};
    // (75 - 30) / 2 = 22, (25 - 13) / 2 - 1 = 5.
    EXPECT_EQ(CaptionRect(b, 30, 13, true), (TLayoutRect{22, 5, 52, 18}));
    EXPECT_EQ(CaptionRect(b, 30, 13, false), (TLayoutRect{0, 5, 75, 18}));
    // A caption larger than the button: halves truncate towards zero.
    EXPECT_EQ(CaptionRect(TLayoutRect{0, 0, 10, 10}, 15, 15, true), (TLayoutRect{-2, -3, 13, 12}));
}

TEST(BitButton, GlyphFrames) {
    EXPECT_EQ(BitButtonGlyphFrame(sbPressed), 3);
    EXPECT_EQ(BitButtonGlyphFrame(sbDisabled), 2);
    EXPECT_EQ(BitButtonGlyphFrame(sbNormal), 1);
    EXPECT_EQ(BitButtonGlyphFrame(sbHot), 1);
    EXPECT_EQ(BitButtonGlyphFrame(sbFocused), 1);
    // One glyph frame serves every state.
    EXPECT_EQ(GlyphFrameToCut(3, 1), 1);
    EXPECT_EQ(GlyphFrameToCut(2, 1), 1);
    EXPECT_EQ(GlyphFrameToCut(2, 2), 2);
    EXPECT_EQ(GlyphFrameToCut(3, 2), 1);
    EXPECT_EQ(GlyphFrameToCut(4, 4), 4);
    EXPECT_EQ(ButtonLayoutFromName(L"blglyphbottom"), glGlyphBottom);
    EXPECT_EQ(ButtonLayoutFromName(L"blglyphtop"), glGlyphTop);
    EXPECT_EQ(ButtonLayoutFromName(L"blglyphright"), glGlyphRight);
    EXPECT_EQ(ButtonLayoutFromName(L""), glGlyphLeft);
}

TEST(BitButton, TextArea) {
    EXPECT_EQ(BitButtonTextArea(100, 30, 16, 16, glGlyphLeft), (TLayoutRect{2, 2, 80, 28}));
    EXPECT_EQ(BitButtonTextArea(100, 30, 16, 16, glGlyphRight), (TLayoutRect{2, 2, 80, 28}));
    EXPECT_EQ(BitButtonTextArea(100, 60, 16, 20, glGlyphTop), (TLayoutRect{2, 2, 98, 36}));
    EXPECT_EQ(BitButtonTextArea(100, 60, 16, 20, glGlyphBottom), (TLayoutRect{2, 2, 98, 36}));
}

TEST(BitButton, AutomaticMarginAndSpacing) {
    // 100 wide, 16-pixel glyph, 40-pixel text: margin = spacing = 44 / 3 = 14.
    TGlyphPlacement p = BitButtonPlacement(100, 30, 16, 16, 40, 13, glGlyphLeft, -1, -1, false);
    EXPECT_EQ(p.Margin, 14);
    EXPECT_EQ(p.Spacing, 14);
    EXPECT_EQ(p.GlyphX, 14);
    EXPECT_EQ(p.GlyphY, 7);  // (30 - 16 + 1) / 2
    EXPECT_EQ(p.Text, (TLayoutRect{44, 9, 84, 22}));
    EXPECT_EQ(p.Align, TTextAlign::Left);

    p = BitButtonPlacement(100, 30, 16, 16, 40, 13, glGlyphRight, -1, -1, false);
    EXPECT_EQ(p.GlyphX, 70);  // 100 - 14 - 16
    EXPECT_EQ(p.Text.Left, 16);  // 70 - 14 - 40
    EXPECT_EQ(p.Align, TTextAlign::Right);

    p = BitButtonPlacement(80, 70, 16, 20, 40, 13, glGlyphTop, -1, -1, false);
    EXPECT_EQ(p.Margin, 12);  // (70 - 20 - 13) / 3
    EXPECT_EQ(p.GlyphX, 32);  // (80 - 16 + 1) / 2
    EXPECT_EQ(p.GlyphY, 12);
    EXPECT_EQ(p.Text, (TLayoutRect{20, 44, 60, 57}));
    EXPECT_EQ(p.Align, TTextAlign::Centre);

    p = BitButtonPlacement(80, 70, 16, 20, 40, 13, glGlyphBottom, -1, -1, false);
    EXPECT_EQ(p.GlyphY, 38);  // 70 - 12 - 20
    EXPECT_EQ(p.Text.Top, 13);  // 38 - 12 - 13
    EXPECT_EQ(p.Align, TTextAlign::Centre);
}

TEST(BitButton, GivenMarginOrSpacing) {
    // Spacing given, margin automatic: margin = (100 - 16 - 4 - 40) / 2 = 20.
    TGlyphPlacement p = BitButtonPlacement(100, 30, 16, 16, 40, 13, glGlyphLeft, -1, 4, false);
    EXPECT_EQ(p.Margin, 20);
    EXPECT_EQ(p.Spacing, 4);
    EXPECT_EQ(p.Text.Left, 40);
    // Margin given, spacing automatic: spacing = (100 - 5 - 16 - 40) / 2 = 19.
    p = BitButtonPlacement(100, 30, 16, 16, 40, 13, glGlyphLeft, 5, -1, false);
    EXPECT_EQ(p.Margin, 5);
    EXPECT_EQ(p.Spacing, 19);
    EXPECT_EQ(p.GlyphX, 5);
    EXPECT_EQ(p.Text.Left, 40);
    // Both given.
    p = BitButtonPlacement(100, 30, 16, 16, 40, 13, glGlyphLeft, 5, 3, false);
    EXPECT_EQ(p.Text.Left, 24);
    // "tacenter" ignores the given margin.
    p = BitButtonPlacement(100, 30, 16, 16, 40, 13, glGlyphLeft, 5, 3, true);
    EXPECT_EQ(p.Margin, 20);  // (100 - 16 - 3 - 40) / 2 = 20 (41 / 2)
    // Odd remainders truncate towards zero, also when the content is wider than the
    // button: (30 - 16 - 40) / 3 = -8 (not -9).
    p = BitButtonPlacement(30, 30, 16, 16, 40, 13, glGlyphLeft, -1, -1, false);
    EXPECT_EQ(p.Margin, -8);
}

TEST(BitButton, NoTextOrNoGlyphHasNoSpacing) {
    // No caption: the glyph is centred ((100 - 16 - 0 - 0) / 2 = 42).
    TGlyphPlacement p = BitButtonPlacement(100, 30, 16, 16, 0, 0, glGlyphLeft, -1, -1, false);
    EXPECT_EQ(p.Spacing, 0);
    EXPECT_EQ(p.GlyphX, 42);
    // No glyph: the text is centred, a given spacing ignored.
    p = BitButtonPlacement(100, 30, 0, 0, 40, 13, glGlyphLeft, -1, 10, false);
    EXPECT_EQ(p.Spacing, 0);
    EXPECT_EQ(p.Text.Left, 30);
    // With a margin given and no glyph the text starts at the margin.
    p = BitButtonPlacement(100, 30, 0, 0, 40, 13, glGlyphLeft, 6, -1, false);
    EXPECT_EQ(p.Text.Left, 6);
}

TEST(SpeedButton, Looks) {
    TSpeedButtonLook l = SpeedButtonLook(true, true, msHot, false);
    EXPECT_EQ(l.State, sbPressed);
    EXPECT_EQ(l.GlyphFrame, 4);
    l = SpeedButtonLook(true, false, 0, true);  // down wins over disabled
    EXPECT_EQ(l.State, sbPressed);
    EXPECT_TRUE(l.DrawFace);
    l = SpeedButtonLook(false, false, msPressed, false);
    EXPECT_EQ(l.State, sbDisabled);
    EXPECT_EQ(l.GlyphFrame, 2);
    l = SpeedButtonLook(false, true, msPressed | msHot, false);
    EXPECT_EQ(l.State, sbPressed);
    EXPECT_EQ(l.GlyphFrame, 3);
    l = SpeedButtonLook(false, true, msHot, true);
    EXPECT_EQ(l.State, sbHot);
    EXPECT_TRUE(l.DrawFace);
    // Flat: no face when normal or disabled; never a focused state.
    EXPECT_FALSE(SpeedButtonLook(false, true, 0, true).DrawFace);
    EXPECT_FALSE(SpeedButtonLook(false, false, 0, true).DrawFace);
    EXPECT_TRUE(SpeedButtonLook(false, true, 0, false).DrawFace);
    EXPECT_EQ(SpeedButtonLook(false, true, 0, false).State, sbNormal);
}

TEST(MenuButton, ArrowAndTextArea) {
    TPoint2 c[3];
    MenuButtonArrow(90, 25, c);
    EXPECT_EQ(c[0], (TPoint2{78, 14}));
    EXPECT_EQ(c[1], (TPoint2{75, 11}));
    EXPECT_EQ(c[2], (TPoint2{81, 11}));
    EXPECT_EQ(MenuButtonTextArea(90, 25), (TLayoutRect{2, 2, 71, 23}));
}

TCheckInputs Check(unsigned bm, bool disabled = false, int frames = 4) {
    TCheckInputs in;
    in.ButtonState = bm;
    in.Disabled = disabled;
    in.StripFrames = frames;
    return in;
}

TEST(CheckStrip, FourFramesFromTheWindowState) {
    EXPECT_EQ(CheckBoxFrame(Check(0)), 1);
    EXPECT_EQ(CheckBoxFrame(Check(1)), 2);
    EXPECT_EQ(CheckBoxFrame(Check(0, true)), 3);
    EXPECT_EQ(CheckBoxFrame(Check(1, true)), 4);
    EXPECT_EQ(CheckBoxFrame(Check(2)), 4);        // indeterminate
    EXPECT_EQ(CheckBoxFrame(Check(2, true)), 4);  // indeterminate wins over disabled
    // Other state bits (focus 8, pushed 4) change nothing.
    EXPECT_EQ(CheckBoxFrame(Check(1 | 4 | 8)), 2);
}

TEST(CheckStrip, TwelveFramesRenumbered) {
    EXPECT_EQ(CheckBoxFrame(Check(0, false, 12)), 1);
    EXPECT_EQ(CheckBoxFrame(Check(1, false, 12)), 5);
    EXPECT_EQ(CheckBoxFrame(Check(0, true, 12)), 4);
    EXPECT_EQ(CheckBoxFrame(Check(1, true, 12)), 8);
    EXPECT_EQ(CheckBoxFrame(Check(2, false, 12)), 9);
    EXPECT_EQ(CheckBoxFrame(Check(2, true, 12)), 12);
    // Other counts are not renumbered.
    EXPECT_EQ(CheckBoxFrame(Check(1, false, 8)), 2);
    EXPECT_EQ(CheckBoxFrame(Check(1, true, 5)), 4);
}

TEST(CheckStrip, FrameworkProperties) {
    TCheckInputs in = Check(0);
    in.Framework = true;
    in.HasStateProperty = true;
    in.StateName = L"cbchecked";
    EXPECT_EQ(CheckBoxFrame(in), 2);  // the property wins over the window
    in.StateName = L"cbunchecked";
    in.ButtonState = 1;
    EXPECT_EQ(CheckBoxFrame(in), 1);
    in.ButtonState = 0;
    in.StateName = L"cbgrayed";
    EXPECT_EQ(CheckBoxFrame(in), 4);
    in.StripFrames = 12;
    EXPECT_EQ(CheckBoxFrame(in), 8);
    in.StateName = L"cbother";  // nothing recognised: the window's state stays
    in.ButtonState = 1;
    EXPECT_EQ(CheckBoxFrame(in), 5);

    // Without "State", "Checked" decides; unchecked is the normal look, not frame 3.
    TCheckInputs c = Check(1);
    c.Framework = true;
    c.HasCheckedProperty = true;
    c.CheckedName = L"false";
    EXPECT_EQ(CheckBoxFrame(c), 1);
    c.CheckedName = L"true";
    c.ButtonState = 0;
    EXPECT_EQ(CheckBoxFrame(c), 2);
    c.Disabled = true;
    EXPECT_EQ(CheckBoxFrame(c), 4);

    // Properties of a bare window are never read.
    TCheckInputs bare = Check(0);
    bare.HasStateProperty = true;
    bare.StateName = L"cbchecked";
    EXPECT_EQ(CheckBoxFrame(bare), 1);
}

TEST(CheckStrip, DataAwareControls) {
    TCheckInputs in = Check(0);
    in.Framework = true;
    in.HasDataField = true;
    EXPECT_EQ(CheckBoxFrame(in), 1);  // no check value sent yet
    in.CheckState = 2;                // BM_SETCHECK 1 was sent
    EXPECT_EQ(CheckBoxFrame(in), 2);
    in.CheckState = 3;                // indeterminate sent: 3 becomes 4
    EXPECT_EQ(CheckBoxFrame(in), 4);
    in.HasDataBinding = true;         // a data binding always shows frame 1
    EXPECT_EQ(CheckBoxFrame(in), 1);
    in.Disabled = true;
    EXPECT_EQ(CheckBoxFrame(in), 3);
}

TEST(CheckStrip, NeverPastTheStrip) {
    TCheckInputs in = Check(0, true);
    in.Framework = true;
    in.HasStateProperty = true;
    in.StateName = L"cbgrayed";  // 4 + 2 for disabled
    EXPECT_EQ(CheckBoxFrame(in), 4);
    in.StripFrames = 0;
    EXPECT_EQ(CheckBoxFrame(in), 1);
}

TEST(RadioStrip, Frames) {
    EXPECT_EQ(RadioButtonFrame(false, false, 4), 1);
    EXPECT_EQ(RadioButtonFrame(true, false, 4), 2);
    EXPECT_EQ(RadioButtonFrame(false, true, 4), 3);
    EXPECT_EQ(RadioButtonFrame(true, true, 4), 4);
    EXPECT_EQ(RadioButtonFrame(true, false, 12), 5);
    EXPECT_EQ(RadioButtonFrame(false, true, 12), 4);
    EXPECT_EQ(RadioButtonFrame(true, true, 12), 8);
    EXPECT_EQ(RadioButtonFrame(true, true, 2), 2);
}

TEST(CheckLayout, GlyphSideAndCentring) {
    const TLayoutRect r{0, 0, 100, 20};
    TCheckLayout l = CheckBoxLayout(r, 13, 13, false);
    EXPECT_EQ(l.Glyph, (TLayoutRect{0, 3, 13, 16}));  // (20 - 13) / 2 = 3
    EXPECT_EQ(l.Text, (TLayoutRect{15, 0, 100, 20}));
    l = CheckBoxLayout(r, 13, 13, true);
    EXPECT_EQ(l.Glyph, (TLayoutRect{87, 3, 100, 16}));
    EXPECT_EQ(l.Text, (TLayoutRect{0, 0, 85, 20}));
    // Taller glyph than the control: the half truncates towards zero.
    EXPECT_EQ(CheckBoxLayout(TLayoutRect{0, 0, 50, 10}, 13, 13, false).Glyph.Top, -1);
    EXPECT_EQ(CheckTextFlags(false, true), 0u);
    EXPECT_EQ(CheckTextFlags(true, false), 0x20000u);
    EXPECT_EQ(CheckTextFlags(true, true), 0x20002u);
    EXPECT_EQ(CentreTextOffset(17, 13), 2);
    EXPECT_EQ(CentreTextOffset(10, 13), -1);
}

TEST(ComboButton, Frames) {
    EXPECT_EQ(ComboButtonFrame(true, 0, false), 1);
    EXPECT_EQ(ComboButtonFrame(true, msHot, false), 4);
    EXPECT_EQ(ComboButtonFrame(true, 0, true), 4);
    EXPECT_EQ(ComboButtonFrame(true, msPressed | msHot, true), 2);
    EXPECT_EQ(ComboButtonFrame(false, msPressed, true), 3);
}

TEST(ScrollBar, PartsAlongTheBar) {
    // L = 200, b = 17, thumb 60..100.
    EXPECT_EQ(ScrollPartAt(0, 17, 200, 60, 100), spFirstArrow);
    EXPECT_EQ(ScrollPartAt(16, 17, 200, 60, 100), spFirstArrow);
    EXPECT_EQ(ScrollPartAt(17, 17, 200, 60, 100), spPageBefore);
    EXPECT_EQ(ScrollPartAt(59, 17, 200, 60, 100), spPageBefore);
    EXPECT_EQ(ScrollPartAt(60, 17, 200, 60, 100), spThumb);
    EXPECT_EQ(ScrollPartAt(99, 17, 200, 60, 100), spThumb);
    EXPECT_EQ(ScrollPartAt(100, 17, 200, 60, 100), spPageAfter);
    EXPECT_EQ(ScrollPartAt(182, 17, 200, 60, 100), spPageAfter);
    EXPECT_EQ(ScrollPartAt(183, 17, 200, 60, 100), spSecondArrow);
    EXPECT_EQ(ScrollPartAt(500, 17, 200, 60, 100), spSecondArrow);
    // The codes are the platform's scroll codes.
    EXPECT_EQ(spFirstArrow, 0);   // SB_LINEUP
    EXPECT_EQ(spSecondArrow, 1);  // SB_LINEDOWN
    EXPECT_EQ(spPageBefore, 2);   // SB_PAGEUP
    EXPECT_EQ(spPageAfter, 3);    // SB_PAGEDOWN
    EXPECT_EQ(spThumb, 5);        // SB_THUMBTRACK
}

TEST(ScrollBar, ThumbFromRangePageAndPosition) {
    // L = 234, b = 17: track T = 200; range 0..100, page 21: d = 200 * 20 / 100 = 40.
    TThumb t = ScrollThumb(234, 17, 0, 100, 21, 0);
    EXPECT_EQ(t.Start, 17);
    EXPECT_EQ(t.End, 57);
    t = ScrollThumb(234, 17, 0, 100, 21, 50);
    EXPECT_EQ(t.Start, 117);  // 17 + 200 * 50 / 100
    EXPECT_EQ(t.End, 157);
    // A thumb of 7 pixels or less becomes 8, and the track shortens by 8.
    t = ScrollThumb(234, 17, 0, 1000, 36, 500);  // 200 * 35 / 1000 = 7
    EXPECT_EQ(t.End - t.Start, 8);
    EXPECT_EQ(t.Start, 17 + 96);  // 192 * 500 / 1000
    t = ScrollThumb(234, 17, 0, 1000, 41, 500);  // 200 * 40 / 1000 = 8: kept
    EXPECT_EQ(t.End - t.Start, 8);
    EXPECT_EQ(t.Start, 17 + 100);
    // No page: the thumb is an arrow long, over L - 3b.
    t = ScrollThumb(234, 17, 0, 100, 0, 100);
    EXPECT_EQ(t.Start, 17 + 183);  // (234 - 51) * 100 / 100
    EXPECT_EQ(t.End, 17 + 183 + 17);
    // A minimum above 0.
    t = ScrollThumb(234, 17, 10, 110, 0, 10);
    EXPECT_EQ(t.Start, 17);
    // No range: 9999999 stands in, so the thumb stays at the start.
    t = ScrollThumb(234, 17, 5, 5, 0, 5);
    EXPECT_EQ(t.Start, 17);
    t = ScrollThumb(234, 17, 5, 5, 3, 9);
    EXPECT_EQ(t.Start, 17);
    EXPECT_EQ(t.End, 25);
}

TEST(ScrollBar, ThumbRoundsToNearestWithHalvesToEven) {
    // T = 100 (L = 134, b = 17); range 8, position 1: 100 / 8 = 12.5 → 12 (even).
    EXPECT_EQ(ScrollThumb(134, 17, 0, 8, 0, 1).Start - 17, 10);  // (134 - 51) / 8 = 10.375
    EXPECT_EQ(ScrollThumb(134, 17, 0, 8, 50, 1).Start - 17, 12);  // 12.5 → 12
    EXPECT_EQ(ScrollThumb(134, 17, 0, 8, 50, 3).Start - 17, 38);  // 37.5 → 38
    EXPECT_EQ(ScrollThumb(134, 17, 0, 8, 50, 5).Start - 17, 62);  // 62.5 → 62
    EXPECT_EQ(ScrollThumb(134, 17, 0, 3, 50, 2).Start - 17, 67);  // 66.67 → 67
    // Thumb length 100 * 4 / 8 = 50.
    const TThumb t = ScrollThumb(134, 17, 0, 8, 5, 0);
    EXPECT_EQ(t.End - t.Start, 50);
}

TEST(ScrollBar, DraggedThumbStaysInTheTrack) {
    EXPECT_EQ(TrackedThumbStart(60, 25, 17, 200, 40), 85);
    EXPECT_EQ(TrackedThumbStart(60, -100, 17, 200, 40), 17);
    EXPECT_EQ(TrackedThumbStart(60, 500, 17, 200, 40), 143);  // 200 - 17 - 40
    // A thumb longer than the track sits at the first arrow.
    EXPECT_EQ(TrackedThumbStart(60, 0, 17, 50, 40), 17);
}

TEST(ScrollBar, SizesAndFrames) {
    EXPECT_EQ(ScrollArrowExtent(200, 17), 17);
    EXPECT_EQ(ScrollArrowExtent(34, 17), 17);
    EXPECT_EQ(ScrollArrowExtent(33, 17), 16);
    EXPECT_EQ(ScrollBarThickness(17, 17), 17);
    EXPECT_EQ(ScrollBarThickness(19, 17), 19);
    EXPECT_EQ(ScrollBarThickness(20, 17), 17);
    EXPECT_EQ(ScrollBarThickness(14, 17), 17);

    EXPECT_EQ(ScrollArrowFrame(true, false, spNone, false), 1);
    EXPECT_EQ(ScrollArrowFrame(true, true, spNone, false), 5);
    EXPECT_EQ(ScrollArrowFrame(false, false, spNone, false), 9);
    EXPECT_EQ(ScrollArrowFrame(false, true, spNone, false), 13);
    EXPECT_EQ(ScrollArrowFrame(true, false, spFirstArrow, true), 2);
    EXPECT_EQ(ScrollArrowFrame(true, false, spFirstArrow, false), 4);
    EXPECT_EQ(ScrollArrowFrame(true, true, spFirstArrow, false), 5);  // the other arrow is active
    EXPECT_EQ(ScrollArrowFrame(false, true, spSecondArrow, true), 14);
    EXPECT_EQ(ScrollArrowFrame(false, true, spSecondArrow, false), 16);
    EXPECT_EQ(ScrollArrowFrame(false, false, spThumb, true), 9);

    EXPECT_EQ(ScrollThumbFrame(spNone, true), 1);
    EXPECT_EQ(ScrollThumbFrame(spThumb, true), 2);
    EXPECT_EQ(ScrollThumbFrame(spThumb, false), 3);
    EXPECT_EQ(ScrollGripFrame(true, spPageAfter, true), 17);
    EXPECT_EQ(ScrollGripFrame(true, spThumb, true), 18);
    EXPECT_EQ(ScrollGripFrame(false, spThumb, false), 22);
    EXPECT_EQ(ScrollGripFrame(false, spNone, false), 20);
    EXPECT_EQ(ScrollTrackFrame(true), 1);
    EXPECT_EQ(ScrollTrackFrame(false), 3);

    int offset = 0;
    EXPECT_TRUE(ScrollGripOffset(40, 17, offset));
    EXPECT_EQ(offset, 11);
    EXPECT_TRUE(ScrollGripOffset(16, 17, offset));  // 17 < 16 + 2
    EXPECT_EQ(offset, 0);  // (16 - 17) / 2 truncates to 0
    EXPECT_FALSE(ScrollGripOffset(15, 17, offset));
}

TEST(ComboButton, LayoutAtEitherSide) {
    // A 120 x 22 combo box, arrow width f = 16.
    TComboLayout l = ComboButtonLayout(TLayoutRect{0, 0, 120, 22}, 16, false);
    EXPECT_EQ(l.Excluded, (TLayoutRect{2, 2, 100, 20}));
    EXPECT_EQ(l.Button, (TLayoutRect{102, 0, 120, 22}));
    EXPECT_EQ(l.Glyph, (TLayoutRect{102, 0, 118, 22}));
    l = ComboButtonLayout(TLayoutRect{0, 0, 120, 22}, 16, true);
    EXPECT_EQ(l.Excluded, (TLayoutRect{20, 2, 118, 20}));
    EXPECT_EQ(l.Button, (TLayoutRect{0, 0, 18, 22}));
    EXPECT_EQ(l.Glyph, (TLayoutRect{2, 0, 18, 22}));
    // The button and the kept-out text area never overlap: 2 pixels lie between them.
    for (bool left : {false, true}) {
        l = ComboButtonLayout(TLayoutRect{0, 0, 80, 21}, 17, left);
        if (left) EXPECT_EQ(l.Excluded.Left - l.Button.Right, 2);
        else EXPECT_EQ(l.Button.Left - l.Excluded.Right, 2);
    }
}

TEST(Header, FormatAlignmentImageAndHotItem) {
    EXPECT_EQ(HeaderItemAlign(0x0000), TTextAlign::Left);
    EXPECT_EQ(HeaderItemAlign(0x0001), TTextAlign::Right);
    EXPECT_EQ(HeaderItemAlign(0x0002), TTextAlign::Centre);
    EXPECT_EQ(HeaderItemAlign(0x4002), TTextAlign::Centre);  // HDF_STRING and centred
    EXPECT_EQ(HeaderImageIndex(0x4000, 3), -1);
    EXPECT_EQ(HeaderImageIndex(0x0800, 3), 3);
    EXPECT_EQ(HeaderImageIndex(0x8000, 3), 3);

    const std::vector<TLayoutRect> rects{HeaderHotRect({0, 0, 100, 20}), HeaderHotRect({100, 0, 180, 20})};
    EXPECT_EQ(rects[0], (TLayoutRect{3, 0, 97, 20}));
    EXPECT_EQ(HeaderHotItem(rects, 50, 10, -1), 0);
    EXPECT_EQ(HeaderHotItem(rects, 120, 10, 0), 1);
    // On the divider between two items, or beyond the last, the hot item stays.
    EXPECT_EQ(HeaderHotItem(rects, 99, 10, 0), 0);
    EXPECT_EQ(HeaderHotItem(rects, 101, 10, 0), 0);
    EXPECT_EQ(HeaderHotItem(rects, 300, 10, -1), -1);
    EXPECT_EQ(HeaderHotItem(rects, 50, 20, -1), -1);  // below the items
}

TEST(Header, ItemLayout) {
    const TLayoutRect item{100, 0, 200, 20};
    // Text only, 40 wide: left at the padding, right against it, centred between.
    THeaderItemLayout l = HeaderItemLayout(item, 0, 0, 40, TTextAlign::Left);
    EXPECT_FALSE(l.HasImage);
    EXPECT_EQ(l.Text, (TLayoutRect{106, 0, 146, 20}));
    EXPECT_EQ(HeaderItemLayout(item, 0, 0, 40, TTextAlign::Right).Text, (TLayoutRect{154, 0, 194, 20}));
    EXPECT_EQ(HeaderItemLayout(item, 0, 0, 40, TTextAlign::Centre).Text, (TLayoutRect{130, 0, 170, 20}));
    // An image of 16 x 16 before the text, vertically centred.
    l = HeaderItemLayout(item, 16, 16, 40, TTextAlign::Right);
    ASSERT_TRUE(l.HasImage);
    EXPECT_EQ(l.Image, (TLayoutRect{134, 2, 150, 18}));
    EXPECT_EQ(l.Text, (TLayoutRect{154, 0, 194, 20}));
    // Too wide: from the left padding, the text cut at the right padding.
    l = HeaderItemLayout(item, 16, 16, 200, TTextAlign::Centre);
    EXPECT_EQ(l.Image.Left, 106);
    EXPECT_EQ(l.Text, (TLayoutRect{126, 0, 194, 20}));
    // An item narrower than the padding keeps an empty text rectangle.
    l = HeaderItemLayout(TLayoutRect{0, 0, 8, 20}, 0, 0, 30, TTextAlign::Left);
    EXPECT_EQ(l.Text.Width(), 0);
}

TEST(ScrollBar, DrawingOfAVerticalBar) {
    // A 16 x 200 bar, arrows of 16, a 17-pixel strip, thumb 60..100.
    TScrollBarInputs in;
    in.Width = 16;
    in.Height = 200;
    in.ArrowSize = 16;
    in.StripHeight = 17;
    in.ThumbStart = 60;
    in.ThumbEnd = 100;
    TScrollBarDrawing d = ScrollBarDrawing(in);
    EXPECT_EQ(d.Length, 200);
    EXPECT_EQ(d.Thickness, 17);
    EXPECT_EQ(d.Track, (TLayoutRect{0, 16, 17, 184}));
    EXPECT_EQ(d.FirstArrow, (TLayoutRect{0, 0, 17, 16}));
    EXPECT_EQ(d.SecondArrow, (TLayoutRect{0, 184, 17, 200}));
    EXPECT_EQ(d.FirstArrowFrame, 9);
    EXPECT_EQ(d.SecondArrowFrame, 13);
    EXPECT_EQ(d.TrackFrame, 1);
    ASSERT_TRUE(d.DrawThumb);
    EXPECT_EQ(d.Thumb, (TLayoutRect{0, 60, 17, 100}));
    EXPECT_EQ(d.ThumbFrame, 1);
    ASSERT_TRUE(d.DrawGrip);
    EXPECT_EQ(d.Grip, (TLayoutRect{0, 71, 17, 88}));  // (40 - 17) / 2 = 11
    EXPECT_EQ(d.GripFrame, 20);

    // The thumb hot, then dragged.
    in.ActivePart = spThumb;
    d = ScrollBarDrawing(in);
    EXPECT_EQ(d.ThumbFrame, 3);
    EXPECT_EQ(d.GripFrame, 22);
    in.Tracking = true;
    d = ScrollBarDrawing(in);
    EXPECT_EQ(d.ThumbFrame, 2);
    EXPECT_EQ(d.GripFrame, 21);
    EXPECT_EQ(d.FirstArrowFrame, 9);
}

TEST(ScrollBar, DrawingOfAHorizontalBarAndItsLimits) {
    TScrollBarInputs in;
    in.Horizontal = true;
    in.Width = 30;  // shorter than two arrows of 16: each is 15
    in.Height = 16;
    in.ArrowSize = 16;
    in.StripHeight = 20;  // differs from the arrows by more than 2: the arrow size rules
    in.ThumbStart = 0;
    in.ThumbEnd = 0;
    in.ActivePart = spSecondArrow;
    TScrollBarDrawing d = ScrollBarDrawing(in);
    EXPECT_EQ(d.Thickness, 16);
    EXPECT_EQ(d.FirstArrow, (TLayoutRect{0, 0, 15, 16}));
    EXPECT_EQ(d.SecondArrow, (TLayoutRect{15, 0, 30, 16}));
    EXPECT_EQ(d.FirstArrowFrame, 1);
    EXPECT_EQ(d.SecondArrowFrame, 8);
    EXPECT_FALSE(d.DrawThumb);  // no thumb length

    // A thumb reaching past the bar, or a disabled bar, shows no thumb; the track shows
    // its disabled frame.
    in.Width = 200;
    in.StripHeight = 17;
    in.ThumbStart = 150;
    in.ThumbEnd = 201;
    EXPECT_FALSE(ScrollBarDrawing(in).DrawThumb);
    in.ThumbEnd = 200;
    EXPECT_TRUE(ScrollBarDrawing(in).DrawThumb);
    in.Enabled = false;
    d = ScrollBarDrawing(in);
    EXPECT_FALSE(d.DrawThumb);
    EXPECT_FALSE(d.DrawGrip);
    EXPECT_EQ(d.TrackFrame, 3);
    // A thumb too short for the grip keeps it off.
    in.Enabled = true;
    in.ThumbStart = 100;
    in.ThumbEnd = 114;
    d = ScrollBarDrawing(in);
    EXPECT_TRUE(d.DrawThumb);
    EXPECT_FALSE(d.DrawGrip);
    EXPECT_EQ(d.Thumb, (TLayoutRect{100, 0, 114, 17}));
}

}  // namespace
}  // namespace vx
