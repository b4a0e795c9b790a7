// Rules of skinned frames and title-bar buttons: classification at attach, border
// sizes (frame counts of 0 included), the client area, the hit-test mapping, the
// visibility table with the adjustments by action, placement by Align, the frames a
// button paints, and the caption layout in every alignment and right to left.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "skin/window/FrameRules.h"
#include "skin/window/ManagerRules.h"
#include "tests/skin/data/LayoutPrinters.h"

namespace vx {
namespace {

using namespace style_bits;

TEST(ClassifyWindow, BorderIconsAndKinds) {
    TWindowFacts main{Caption | SysMenu | MinimizeBox, 0, false, false, false, false};
    TWindowClass c = ClassifyWindow(main);
    EXPECT_EQ(c.BorderIcons, biSysMenuBox | biMinBox);
    EXPECT_EQ(c.BorderKind, TBorderKind::Single);
    EXPECT_FALSE(c.Sizeable);

    c = ClassifyWindow({Caption | ThickFrame | MaximizeBox, ExContextHelp, false, false, false, false});
    EXPECT_EQ(c.BorderIcons, biMaxBox | biHelpBox);  // min and max count without a system menu
    EXPECT_EQ(c.BorderKind, TBorderKind::Sizeable);
    EXPECT_TRUE(c.Sizeable);

    EXPECT_EQ(ClassifyWindow({Caption | ModalFrame, 0, false, true, false, false}).BorderKind, TBorderKind::Dialog);
    EXPECT_EQ(ClassifyWindow({Caption, ExDlgModalFrame, false, true, false, false}).BorderKind, TBorderKind::Dialog);
    // The modal-frame extended style wins over a sizing frame.
    EXPECT_EQ(ClassifyWindow({Caption | ThickFrame, ExDlgModalFrame, false, true, false, false}).BorderKind,
              TBorderKind::Dialog);
    // Half a caption (a border alone) is no caption.
    EXPECT_EQ(ClassifyWindow({0x00800000u | Popup, 0, false, false, false, false}).BorderKind, TBorderKind::None);

    c = ClassifyWindow({Caption | ThickFrame, 0, true, true, false, false});  // "#32770" / "TMessageForm"
    EXPECT_EQ(c.BorderKind, TBorderKind::Dialog);
    EXPECT_TRUE(c.Dialog);
    // A caption-less dialog window keeps no frame.
    c = ClassifyWindow({Popup, ExDlgModalFrame, true, true, false, false});
    EXPECT_EQ(c.BorderKind, TBorderKind::None);
    EXPECT_TRUE(c.Dialog);
}

TEST(ClassifyWindow, MdiRightToLeftChildAndWindows2000) {
    EXPECT_EQ(ClassifyWindow({Caption, 0, false, false, true, false}).Mdi, TMdiKind::Frame);
    EXPECT_EQ(ClassifyWindow({Caption | Child, ExMdiChild, false, false, false, false}).Mdi, TMdiKind::Child);
    EXPECT_TRUE(ClassifyWindow({Caption | Child, 0, false, false, false, false}).Child);
    EXPECT_TRUE(ClassifyWindow({Caption, ExLeftScrollBar, false, false, false, false}).RightToLeft);
    // Windows 2000 leaves the style alone for app windows and unowned windows.
    EXPECT_TRUE(ClassifyWindow({Caption, 0, false, false, false, true}).BorderIcons & biStyleLeftAlone);
    EXPECT_TRUE(ClassifyWindow({Caption, ExAppWindow, false, true, false, true}).BorderIcons & biStyleLeftAlone);
    EXPECT_FALSE(ClassifyWindow({Caption, 0, false, true, false, true}).BorderIcons & biStyleLeftAlone);
    EXPECT_FALSE(ClassifyWindow({Caption | Child, ExMdiChild, false, false, false, true}).BorderIcons & biStyleLeftAlone);
    EXPECT_FALSE(ClassifyWindow({Caption, ExAppWindow, false, false, false, false}).BorderIcons & biStyleLeftAlone);
}

TEST(ShowState, FromPlacementAndSize) {
    EXPECT_EQ(ShowStateFromShowCmd(2), TShowState::Minimized);
    EXPECT_EQ(ShowStateFromShowCmd(6), TShowState::Minimized);
    EXPECT_EQ(ShowStateFromShowCmd(7), TShowState::Minimized);
    EXPECT_EQ(ShowStateFromShowCmd(3), TShowState::Maximized);
    EXPECT_EQ(ShowStateFromShowCmd(1), TShowState::Normal);
    EXPECT_EQ(ShowStateFromShowCmd(9), TShowState::Normal);
    TShowState s = TShowState::Minimized;
    EXPECT_TRUE(ShowStateFromSizeType(2, s));
    EXPECT_EQ(s, TShowState::Maximized);
    EXPECT_FALSE(ShowStateFromSizeType(3, s));  // another window maximised: unchanged
    EXPECT_EQ(s, TShowState::Maximized);
    EXPECT_TRUE(ShowStateFromSizeType(0, s));
    EXPECT_EQ(s, TShowState::Normal);
}

TEST(BorderSizes, FromThePicturesAndTheirFrames) {
    // The program's skin: left/right 4 x 50 cells side by side, top 32 x 30 and bottom
    // 32 x 4 stacked, two frames each.
    TBorderPicture left{8, 50, 2}, right{8, 50, 2}, top{32, 60, 2}, bottom{32, 8, 2};
    EXPECT_EQ(BorderSizes(left, right, top, bottom, TBorderKind::Single), (TBorderSizes{4, 30, 4, 4}));
    EXPECT_EQ(BorderSizes(left, right, top, bottom, TBorderKind::None), (TBorderSizes{0, 0, 0, 0}));
    // A frame count of 0 (a skin may give it) counts as one frame.
    TBorderPicture zero{8, 60, 0};
    EXPECT_EQ(BorderSizes(zero, zero, zero, zero, TBorderKind::Sizeable), (TBorderSizes{8, 60, 8, 60}));
    // Integer division.
    TBorderPicture odd{9, 31, 2};
    EXPECT_EQ(BorderSizes(odd, odd, odd, odd, TBorderKind::Dialog), (TBorderSizes{4, 15, 4, 15}));
    EXPECT_EQ(BorderSizes({}, {}, {}, {}, TBorderKind::Single), (TBorderSizes{0, 0, 0, 0}));
}

TEST(BorderSizes, StateFrames) {
    EXPECT_EQ(BorderFrame(true, 2), 1);
    EXPECT_EQ(BorderFrame(false, 2), 2);
    EXPECT_EQ(BorderFrame(false, 1), 1);
    EXPECT_EQ(BorderFrame(false, 0), 1);  // no frame count: never frame 2
}

TEST(FrameGeometry, AWindowGrownByTheFrameStaysInsideTheWorkArea) {
    const TLayoutRect area{0, 0, 1024, 738};
    // Fits: stays.
    EXPECT_EQ(KeepInside({100, 100, 400, 300}, area), (TLayoutRect{100, 100, 400, 300}));
    // Past the bottom by 32 (a chooser placed for its own, smaller frame): moved up.
    EXPECT_EQ(KeepInside({535, 398, 863, 770}, area), (TLayoutRect{535, 366, 863, 738}));
    // Past the right edge: moved left.
    EXPECT_EQ(KeepInside({900, 10, 1100, 110}, area), (TLayoutRect{824, 10, 1024, 110}));
    // Taller than the area: the title stays at the top, the bottom runs past.
    EXPECT_EQ(KeepInside({50, 100, 250, 900}, area), (TLayoutRect{50, 0, 250, 800}));
    // Already above the area's top (placed there on purpose): not moved further, not pulled down.
    EXPECT_EQ(KeepInside({50, -20, 250, 100}, area), (TLayoutRect{50, -20, 250, 100}));
    // An area that does not start at the origin (a second monitor, a task bar at the top).
    EXPECT_EQ(KeepInside({1100, 700, 1400, 1100}, {1024, 30, 2048, 1000}), (TLayoutRect{1100, 600, 1400, 1000}));
}

TEST(FrameGeometry, WindowSizeClientRectDialogWideningAndDetach) {
    TBorderSizes b{4, 30, 4, 4};
    int w = 0, h = 0;
    FrameWindowSize(484, 393, b, 0, w, h);
    EXPECT_EQ(w, 492);
    EXPECT_EQ(h, 427);
    FrameWindowSize(100, 50, b, 19, w, h);
    EXPECT_EQ(h, 50 + 34 + 19);
    EXPECT_EQ(FrameClientRect(10, 20, 492, 427, b, 0), (TLayoutRect{14, 50, 498, 443}));
    EXPECT_EQ(FrameClientRect(0, 0, 200, 100, b, 20), (TLayoutRect{4, 50, 196, 96}));
    // Smaller than the frame: empty, not inverted.
    EXPECT_EQ(FrameClientRect(0, 0, 6, 20, b, 0), (TLayoutRect{4, 30, 4, 30}));

    EXPECT_EQ(DialogWidening(28, 200, 92, 300), 20);
    EXPECT_EQ(DialogWidening(28, 100, 92, 300), 0);
    EXPECT_EQ(DialogWidening(28, 180, 92, 300), 0);  // exactly wide enough

    int dw = 0, dh = 0;
    DetachedSize(492, 427, b, 6, 25, dw, dh);
    EXPECT_EQ(dw, 490);
    EXPECT_EQ(dh, 418);
}

TEST(HitTest, TopPixelsStayNowhereAndTheTitleBecomesCaption) {
    for (int y = 0; y <= 3; ++y) {
        EXPECT_EQ(MapHitTest(htNowhere, y, 30, 0), htNowhere) << y;
        EXPECT_EQ(MapHitTest(htCaption, y, 30, 0), htCaption) << y;
    }
    EXPECT_EQ(MapHitTest(htNowhere, 4, 30, 0), htCaption);
    EXPECT_EQ(MapHitTest(htNowhere, 29, 30, 0), htCaption);
    EXPECT_EQ(MapHitTest(htNowhere, 35, 30, 0), htCaption);  // no menu bar
    EXPECT_EQ(MapHitTest(htNowhere, 30, 30, 20), htCaption);
    EXPECT_EQ(MapHitTest(htNowhere, 31, 30, 20), htMenu);
    EXPECT_EQ(MapHitTest(htCaption, 49, 30, 20), htMenu);
    EXPECT_EQ(MapHitTest(htNowhere, 50, 30, 20), htCaption);  // below the bar
    // Other answers stand.
    EXPECT_EQ(MapHitTest(htClient, 10, 30, 0), htClient);
    EXPECT_EQ(MapHitTest(12 /* HTTOP */, 1, 30, 0), 12);
    EXPECT_EQ(MapHitTest(18 /* HTBORDER */, 10, 30, 0), 18);
}

TEST(HitTest, ClientPointsInWindowCoordinates) {
    TBorderSizes b{4, 30, 5, 4};
    int x = 10, y = 20;
    ClientToWindowPoint(x, y, b, 19, false);
    EXPECT_EQ(x, 14);
    EXPECT_EQ(y, 69);
    x = 10, y = 20;
    ClientToWindowPoint(x, y, b, 19, true);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
}

// The title-bar buttons of the program's skin, as the loader leaves them (the system
// icon with the window's 16 x 16 icon, one frame).
struct TSkinButtons {
    TTitleButtonDef close{0, 1, 32, 5, 0, 0, 104, 20, 4};
    TTitleButtonDef maximize{1, 1, 58, 5, 2, 6, 104, 20, 4};
    TTitleButtonDef restore{1, 1, 58, 5, 1, 6, 104, 20, 4};
    TTitleButtonDef minimize{2, 1, 84, 5, 6, 0, 104, 20, 4};
    TTitleButtonDef help{4, 1, 58, 5, 10, 10, 144, 20, 6};
    TTitleButtonDef icon{3, 0, 8, 7, 0, 0, 16, 16, 1};
    TTitleButtonDef pin{20, 1, 110, 5, 1500, 0, 104, 20, 4};
    std::vector<TTitleButtonDef> All() const { return {close, maximize, restore, minimize, help, icon, pin}; }
};

TTitleWindowState MainWindow() {
    TTitleWindowState w;
    w.BorderIcons = biSysMenuBox | biMinBox;
    w.BorderKind = TBorderKind::Single;
    return w;
}

TEST(TitleButtons, TheMainWindowShowsCloseDisabledMaximiseMinimiseAndIcon) {
    TSkinButtons b;
    TTitleWindowState w = MainWindow();
    auto eval = [&](const TTitleButtonDef& d) { return EvaluateTitleButton(d, w); };
    EXPECT_TRUE(eval(b.close).Visible);
    EXPECT_TRUE(eval(b.maximize).Visible);
    EXPECT_FALSE(eval(b.maximize).Enabled);  // no maximise box
    EXPECT_FALSE(eval(b.restore).Visible);
    EXPECT_TRUE(eval(b.minimize).Visible);
    EXPECT_TRUE(eval(b.minimize).Enabled);
    EXPECT_FALSE(eval(b.help).Visible);
    EXPECT_TRUE(eval(b.icon).Visible);
    EXPECT_FALSE(eval(b.pin).Visible);  // nobody answers the visibility question
}

TEST(TitleButtons, VisibilityTable) {
    auto visible = [](int v, int v1, const TTitleWindowState& w) {
        return EvaluateTitleButton({20, 1, 0, 0, v, v1, 10, 10, 1}, w).Visible;
    };
    TTitleWindowState w = MainWindow();
    TTitleWindowState max = w;
    max.Maximized = true;
    TTitleWindowState inactive = w;
    inactive.Active = false;
    EXPECT_TRUE(visible(0, 0, w));
    EXPECT_FALSE(visible(1, 0, w));
    EXPECT_TRUE(visible(1, 1, max));
    EXPECT_FALSE(visible(0, 1, w));  // the second column alone can hide
    EXPECT_TRUE(visible(2, 2, w));
    EXPECT_FALSE(visible(2, 0, max));
    EXPECT_TRUE(visible(3, 3, w));
    EXPECT_FALSE(visible(3, 0, inactive));
    EXPECT_TRUE(visible(4, 4, inactive));
    EXPECT_FALSE(visible(0, 4, w));
    // 6 and 8: (min or max) and system menu; the second column without the system menu.
    TTitleWindowState noSys = w;
    noSys.BorderIcons = biMinBox;
    EXPECT_TRUE(visible(6, 0, w));
    EXPECT_TRUE(visible(8, 8, w));
    EXPECT_FALSE(visible(6, 0, noSys));
    EXPECT_TRUE(visible(0, 6, noSys));
    TTitleWindowState bare = w;
    bare.BorderIcons = biSysMenuBox;
    EXPECT_FALSE(visible(0, 8, bare));
    // 7 no maximise box, 9 no minimise box.
    EXPECT_TRUE(visible(7, 7, w));
    EXPECT_FALSE(visible(9, 0, w));
    EXPECT_TRUE(visible(0, 9, bare));
    // 10: help without min and max; the second column only the help box.
    TTitleWindowState help = w;
    help.BorderIcons = biSysMenuBox | biHelpBox;
    EXPECT_TRUE(visible(10, 10, help));
    TTitleWindowState helpMin = help;
    helpMin.BorderIcons |= biMinBox;
    EXPECT_FALSE(visible(10, 0, helpMin));
    EXPECT_TRUE(visible(0, 10, helpMin));
    EXPECT_FALSE(visible(0, 10, w));
    // 100: an MDI frame with a maximised child and a menu bar; the second column repeats
    // the first column's answer.
    TTitleWindowState mdi = w;
    mdi.MdiFrameChildMaximizedWithMenuBar = true;
    EXPECT_TRUE(visible(100, 100, mdi));
    EXPECT_FALSE(visible(100, 100, w));
    EXPECT_TRUE(visible(0, 100, w));
    EXPECT_FALSE(visible(1, 100, w));
    EXPECT_TRUE(visible(1, 100, max));
    // 200: a dialog frame that is not a system dialog.
    TTitleWindowState dlgFrame = w;
    dlgFrame.BorderKind = TBorderKind::Dialog;
    EXPECT_TRUE(visible(200, 200, dlgFrame));
    TTitleWindowState sysDialog = dlgFrame;
    sysDialog.Dialog = true;
    EXPECT_FALSE(visible(200, 0, sysDialog));
    EXPECT_FALSE(visible(200, 0, w));
    // 201 to 999 always; other codes never.
    EXPECT_TRUE(visible(201, 999, w));
    for (int code : {5, 11, 99, 101, 199, 2001, -1}) EXPECT_FALSE(visible(code, 0, w)) << code;
    EXPECT_FALSE(visible(0, 5, w));
    EXPECT_FALSE(visible(0, -1, w));
}

TEST(TitleButtons, CustomVisibilityAsksTheWindow) {
    std::vector<std::pair<int, int>> asked;
    int answer = 0;
    TTitleWindowState w = MainWindow();
    w.AskVisible = [&](int code, int action) {
        asked.emplace_back(code, action);
        return answer;
    };
    TTitleButtonDef pin{20, 1, 110, 5, 1500, 0, 104, 20, 4};
    EXPECT_FALSE(EvaluateTitleButton(pin, w).Visible);
    answer = 1;
    EXPECT_TRUE(EvaluateTitleButton(pin, w).Visible);
    answer = -5;
    EXPECT_FALSE(EvaluateTitleButton(pin, w).Visible);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0], std::make_pair(1500, 20));
    // Visibility1 in that range is true without asking; 1000 and 2000 are in range.
    asked.clear();
    EXPECT_TRUE(EvaluateTitleButton({20, 1, 0, 0, 0, 1000, 10, 10, 1}, w).Visible);
    EXPECT_TRUE(asked.empty());
    answer = 1;
    EXPECT_TRUE(EvaluateTitleButton({20, 1, 0, 0, 2000, 0, 10, 10, 1}, w).Visible);
    EXPECT_EQ(asked.size(), 1u);
}

TEST(TitleButtons, AdjustmentsByAction) {
    TSkinButtons b;
    TTitleWindowState noSys = MainWindow();
    noSys.BorderIcons = biMinBox | biMaxBox;
    EXPECT_FALSE(EvaluateTitleButton(b.close, noSys).Visible);  // close needs a system menu
    EXPECT_FALSE(EvaluateTitleButton(b.minimize, noSys).Enabled);
    TTitleWindowState all = MainWindow();
    all.BorderIcons = biMinBox | biMaxBox | biSysMenuBox;
    EXPECT_TRUE(EvaluateTitleButton(b.maximize, all).Enabled);
    EXPECT_TRUE(EvaluateTitleButton(b.minimize, all).Enabled);
    TTitleWindowState dialog = all;
    dialog.BorderKind = TBorderKind::Dialog;
    for (int action : {3, 11, 12}) {
        TTitleButtonDef d = b.icon;
        d.Action = action;
        EXPECT_TRUE(EvaluateTitleButton(d, all).Visible) << action;
        EXPECT_FALSE(EvaluateTitleButton(d, dialog).Visible) << action;
    }
    EXPECT_TRUE(EvaluateTitleButton(b.close, dialog).Visible);
}

TEST(TitleButtons, RightReserveCountsVisibleRightAlignedPictures) {
    TSkinButtons b;
    std::vector<TTitleButtonDef> defs = b.All();
    std::vector<TTitleButtonState> states;
    for (auto& d : defs) states.push_back(EvaluateTitleButton(d, MainWindow()));
    EXPECT_EQ(RightReserve(defs, states), 84);  // the pin (110) is hidden
    states[6].Visible = true;
    EXPECT_EQ(RightReserve(defs, states), 110);
    defs[6].ImageWidth = 0;  // no picture
    EXPECT_EQ(RightReserve(defs, states), 84);
    EXPECT_EQ(RightReserve({}, {}), 0);
}

TEST(TitleButtons, PlacementByAlign) {
    TPlacementFrame f;
    f.WindowWidth = 492;
    f.CaptionLeft = 28;
    f.CaptionRight = 200;
    f.Borders = {4, 30, 4, 4};
    f.MenuBarHeight = 20;
    auto place = [&](int align, int x, int y) { return PlaceTitleButton({0, align, x, y, 0, 0, 104, 20, 4}, f); };
    EXPECT_EQ(place(0, 8, 7), (TLayoutRect{8, 7, 34, 27}));
    EXPECT_EQ(place(1, 32, 5), (TLayoutRect{460, 5, 486, 25}));
    EXPECT_EQ(place(2, 3, 5), (TLayoutRect{28 - 26 - 3, 5, 28 - 3, 25}));
    EXPECT_EQ(place(8, 3, 5), place(2, 3, 5));
    EXPECT_EQ(place(3, 3, 5), (TLayoutRect{203, 5, 229, 25}));
    EXPECT_EQ(place(9, 3, 5), place(3, 3, 5));
    EXPECT_EQ(place(5, 8, 7), place(0, 8, 7));  // an unknown alignment places like 0
    // In the menu bar: from the right less the border (and the bar's left end).
    TTitleButtonDef mdi{7, 100, 60, 0, 100, 100, 64, 14, 4};
    EXPECT_EQ(PlaceTitleButton(mdi, f), (TLayoutRect{492 - 60 - 4, 30 + 3, 492 - 60 - 4 + 16, 47}));
    f.HasMenuBarElement = true;
    f.MenuBarLeftWidth = 4;
    EXPECT_EQ(PlaceTitleButton(mdi, f).Left, 492 - 60 - 4 - 4);
}

TEST(TitleButtons, FramesPaintedInTheTitle) {
    TSkinButtons b;
    TTitleButtonState on{true, true}, off{true, false}, hidden{false, true};
    EXPECT_EQ(TitlePaintFrame(b.close, on, true), 1);
    EXPECT_EQ(TitlePaintFrame(b.close, on, false), 4);   // inactive window
    EXPECT_EQ(TitlePaintFrame(b.maximize, off, true), 4);  // disabled
    EXPECT_EQ(TitlePaintFrame(b.icon, on, false), 1);    // one frame only
    EXPECT_EQ(TitlePaintFrame(b.close, hidden, true), 0);
    TTitleButtonDef empty = b.close;
    empty.ImageWidth = 0;
    EXPECT_EQ(TitlePaintFrame(empty, on, true), 0);
    TTitleButtonDef mdi{7, 100, 60, 0, 100, 100, 64, 14, 4};
    EXPECT_EQ(TitlePaintFrame(mdi, on, true), 0);  // the menu bar paints those
}

TEST(TitleButtons, FramesPaintedForStates) {
    TSkinButtons b;
    EXPECT_EQ(StatePaintFrame(b.close, nsNormal, true), 1);
    EXPECT_EQ(StatePaintFrame(b.close, nsPressed, true), 2);
    EXPECT_EQ(StatePaintFrame(b.close, nsHover, true), 3);
    EXPECT_EQ(StatePaintFrame(b.maximize, nsHover, false), 4);
    TTitleButtonDef three = b.close;
    three.FrameCount = 3;
    EXPECT_EQ(StatePaintFrame(three, nsPressed, false), 1);
    TTitleButtonDef mdi{7, 100, 60, 0, 100, 100, 64, 14, 4};
    EXPECT_EQ(StatePaintFrame(mdi, nsHover, true), 4);
    EXPECT_EQ(StatePaintFrame(mdi, nsPressed, true), 2);
    // Frames the picture lacks fall back to frame 1 (a count of 0 or 1 included).
    EXPECT_EQ(StatePaintFrame(b.icon, nsHover, true), 1);
    TTitleButtonDef zero = b.close;
    zero.FrameCount = 0;
    EXPECT_EQ(StatePaintFrame(zero, nsPressed, true), 1);
    EXPECT_EQ(zero.FrameWidth(), 104);
    TTitleButtonDef two = b.close;
    two.FrameCount = 2;
    EXPECT_EQ(StatePaintFrame(two, nsHover, true), 1);
    EXPECT_EQ(StatePaintFrame(two, nsPressed, true), 2);
}

TEST(TitleButtons, HitTestTakesTheFirstVisibleActiveButton) {
    std::vector<TTitleButtonDef> defs{{-1, 0, 0, 0, 0, 0, 10, 10, 1}, {5, 0, 0, 0, 0, 0, 10, 10, 1},
                                      {6, 0, 0, 0, 0, 0, 10, 10, 1}, {7, 0, 0, 0, 0, 0, 10, 10, 1}};
    std::vector<TTitleButtonState> states{{true, true}, {false, true}, {true, false}, {true, true}};
    std::vector<TLayoutRect> rects{{0, 0, 20, 20}, {0, 0, 20, 20}, {0, 0, 20, 20}, {0, 0, 20, 20}};
    // Negative action and invisible are skipped; a disabled button is still hit.
    EXPECT_EQ(HitTitleButton(defs, states, rects, 5, 5), 2);
    EXPECT_EQ(HitTitleButton(defs, states, rects, 20, 5), -1);  // right edge outside
    EXPECT_EQ(HitTitleButton(defs, states, rects, 19, 19), 2);
    states[2].Visible = false;
    EXPECT_EQ(HitTitleButton(defs, states, rects, 0, 0), 3);
}

TEST(TitleButtons, EffectsOfARelease) {
    EXPECT_EQ(ButtonEffect(0, true), TButtonEffect::Close);
    EXPECT_EQ(ButtonEffect(1, true), TButtonEffect::ToggleMaximize);
    EXPECT_EQ(ButtonEffect(22, true), TButtonEffect::ToggleMaximize);
    EXPECT_EQ(ButtonEffect(1, false), TButtonEffect::Nothing);
    EXPECT_EQ(ButtonEffect(2, true), TButtonEffect::ToggleMinimize);
    EXPECT_EQ(ButtonEffect(23, true), TButtonEffect::ToggleMinimize);
    for (int a : {3, 11, 12}) EXPECT_EQ(ButtonEffect(a, true), TButtonEffect::SystemMenu);
    EXPECT_EQ(ButtonEffect(4, true), TButtonEffect::ContextHelp);
    EXPECT_EQ(ButtonEffect(7, true), TButtonEffect::MdiChildMinimize);
    EXPECT_EQ(ButtonEffect(60, true), TButtonEffect::MdiChildMinimize);
    EXPECT_EQ(ButtonEffect(8, true), TButtonEffect::MdiChildRestore);
    EXPECT_EQ(ButtonEffect(61, true), TButtonEffect::MdiChildRestore);
    EXPECT_EQ(ButtonEffect(9, true), TButtonEffect::MdiChildClose);
    EXPECT_EQ(ButtonEffect(62, true), TButtonEffect::MdiChildClose);
    EXPECT_EQ(ButtonEffect(20, true), TButtonEffect::Custom);
    EXPECT_EQ(ButtonEffect(5, true), TButtonEffect::Custom);
}

// The main window: 492 wide, borders 4, title 30, the program skin's title shifts.
TCaptionInput Caption(int alignment, bool rtl = false) {
    TCaptionInput in;
    in.WindowWidth = 492;
    in.TitleRect = {4, 0, 488, 30};
    in.TextWidth = 100;
    in.TextHeight = 14;
    in.TextAlignment = alignment;
    in.LeftWidth = 28;
    in.TopHeight = 0;
    in.RightWidth = 92;
    in.BackLeft = 10;
    in.BackRight = 10;
    in.RightReserve = 84;
    in.RightToLeft = rtl;
    return in;
}

TEST(CaptionLayout, EveryAlignment) {
    TCaptionLayout c = LayoutCaption(Caption(0));
    EXPECT_EQ(c.Caption, (TLayoutRect{28, 8, 148, 22}));
    EXPECT_EQ(c.Text, (TLayoutRect{38, 8, 138, 22}));
    c = LayoutCaption(Caption(1));
    EXPECT_EQ(c.Caption, (TLayoutRect{4 + (484 - 120) / 2, 8, 4 + (484 - 120) / 2 + 120, 22}));
    c = LayoutCaption(Caption(2));
    EXPECT_EQ(c.Caption, (TLayoutRect{488 - 92 - 120, 8, 488 - 92, 22}));
    // An unknown alignment is left alignment.
    EXPECT_EQ(LayoutCaption(Caption(7)).Caption, LayoutCaption(Caption(0)).Caption);
}

TEST(CaptionLayout, VerticalCentreAndTheTitlesVerticalShift) {
    TCaptionInput in = Caption(0);
    in.TopHeight = 5;  // half of it, truncated
    EXPECT_EQ(LayoutCaption(in).Caption.Top, 8 + 2);
    in.TopHeight = -5;  // a signed half truncates towards zero
    EXPECT_EQ(LayoutCaption(in).Caption.Top, 8 - 2);
    in.TopHeight = 0;
    in.TextHeight = 15;
    EXPECT_EQ(LayoutCaption(in).Caption.Top, 7);
}

TEST(CaptionLayout, RightLimits) {
    TCaptionInput in = Caption(0);
    in.TextWidth = 500;
    // An overlapped window stops before the title's right clip.
    EXPECT_EQ(LayoutCaption(in).Caption.Right, 488 - 92);
    EXPECT_EQ(LayoutCaption(in).Text.Right, 488 - 92 - 10);
    // A popup window stops before its right-aligned buttons.
    in.Popup = true;
    EXPECT_EQ(LayoutCaption(in).Caption.Right, 488 - 84 - 5);
    in.RightReserve = 5;  // no buttons worth the name: the right clip again
    EXPECT_EQ(LayoutCaption(in).Caption.Right, 488 - 92);
    // A short caption is not stretched to the limit.
    in = Caption(0);
    in.Popup = true;
    EXPECT_EQ(LayoutCaption(in).Caption.Right, 148);
}

TEST(CaptionLayout, RightToLeftMirrors) {
    // 0: against the reserve of the right-aligned buttons, shifted 10 to the right.
    TCaptionLayout c = LayoutCaption(Caption(0, true));
    EXPECT_EQ(c.Caption, (TLayoutRect{488 - 84 - 120 + 10, 8, 488 - 84 + 10, 22}));
    // 1: centred in the title less the reserve.
    c = LayoutCaption(Caption(1, true));
    EXPECT_EQ(c.Caption.Left, 4 + (484 - 84 - 120) / 2 + 10);
    // 2: at the left shift.
    c = LayoutCaption(Caption(2, true));
    EXPECT_EQ(c.Caption.Left, 28 + 10);
    // Not limited on the right; a caption that would start left of 1 starts at the shift.
    TCaptionInput wide = Caption(0, true);
    wide.TextWidth = 400;
    c = LayoutCaption(wide);
    EXPECT_EQ(c.Caption.Left, 28);
    EXPECT_EQ(c.Caption.Right, 488 - 84 + 10);
}

TEST(CaptionLayout, DialogFramesMoveALeftCaptionLeft) {
    TCaptionInput in = Caption(0);
    in.DialogFrame = true;
    EXPECT_EQ(LayoutCaption(in).Caption.Left, 12);
    in.TextAlignment = 2;
    EXPECT_EQ(LayoutCaption(in).Caption.Left, 488 - 92 - 120);
}

TEST(CaptionLayout, NeverInverted) {
    TCaptionInput in = Caption(2);
    in.WindowWidth = 60;
    in.TitleRect = {4, 0, 56, 30};
    TCaptionLayout c = LayoutCaption(in);
    EXPECT_GE(c.Caption.Right, c.Caption.Left);
    EXPECT_GE(c.Text.Right, c.Text.Left);
}

}  // namespace
}  // namespace vx
