// Rules of skinned menus: where the bar's texts start (with and without a picture, a bar
// narrower than the first position, right to left), the buttons' rectangles, the widths
// owner-drawn items ask for, accelerators and the arrow keys across drop-downs.

#include <gtest/gtest.h>

#include "skin/window/MenuRules.h"
#include "tests/skin/data/LayoutPrinters.h"

namespace vx {
namespace {

TEST(MenuBarLayout, FirstTextPosition) {
    const TMenuBarPicture picture{true, 4, 7};
    EXPECT_EQ(MenuBarFirstPosition(picture, false, 300), 8);    // LeftWidth + 4
    EXPECT_EQ(MenuBarFirstPosition(picture, true, 300), 15);    // RightWidth + 8
    EXPECT_EQ(MenuBarFirstPosition({}, false, 300), 6);         // no picture: 6
    EXPECT_EQ(MenuBarFirstPosition({}, true, 2), 6);            // ... whatever the width
    // A bar narrower than the first position starts at 12.
    const TMenuBarPicture wide{true, 40, 40};
    EXPECT_EQ(MenuBarFirstPosition(wide, false, 43), 12);
    EXPECT_EQ(MenuBarFirstPosition(wide, false, 44), 44);
    EXPECT_EQ(MenuBarFirstPosition(wide, true, 47), 12);
    EXPECT_EQ(MenuBarFirstPosition(wide, true, 48), 48);
}

TEST(MenuBarLayout, ButtonsFromTheLeftWithInvisibleAndEmptyItems) {
    TMenuBarLayoutInput in;
    in.Picture = {true, 4, 4};
    in.BarWidth = 400;
    in.BarHeight = 20;
    in.Items = {{true, 30}, {false, 50}, {true, 0}, {true, 21}};
    const auto r = LayoutMenuBar(in);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], (TLayoutRect{8, 0, 48, 19}));
    EXPECT_EQ(r[1], TLayoutRect{});                // invisible: empty, takes no room
    EXPECT_EQ(r[2], (TLayoutRect{48, 0, 48, 19}));  // no text: no width
    EXPECT_EQ(r[3], (TLayoutRect{48, 0, 79, 19}));
}

TEST(MenuBarLayout, ANarrowBarStartsAt12) {
    TMenuBarLayoutInput in;
    in.Picture = {true, 30, 2};
    in.BarWidth = 20;
    in.BarHeight = 18;
    in.Items = {{true, 10}};
    EXPECT_EQ(LayoutMenuBar(in)[0], (TLayoutRect{12, 0, 32, 17}));
}

TEST(MenuBarLayout, RightToLeftFromTheRightEdgeLeftOfTheReserve) {
    TMenuBarLayoutInput in;
    in.Picture = {true, 4, 4};
    in.BarWidth = 300;
    in.BarHeight = 20;
    in.RightToLeft = true;
    in.Items = {{true, 30}, {true, 20}};
    auto r = LayoutMenuBar(in);
    EXPECT_EQ(r[0], (TLayoutRect{248, 0, 288, 19}));  // 300 - (4 + 8)
    EXPECT_EQ(r[1], (TLayoutRect{218, 0, 248, 19}));
    in.RightReserve = 50;  // MDI child buttons with a gap of 5
    r = LayoutMenuBar(in);
    EXPECT_EQ(r[0], (TLayoutRect{193, 0, 233, 19}));
}

TEST(MenuItemWidth, FrameworkItemsAndPopupItemsWithAndWithoutImages) {
    EXPECT_EQ(SkinnedMenuItemWidth(100, 4, true, TMenuMeasureKind::FrameworkItem), 114);
    EXPECT_EQ(SkinnedMenuItemWidth(100, 4, false, TMenuMeasureKind::FrameworkItem), 139);
    EXPECT_EQ(SkinnedMenuItemWidth(100, 4, true, TMenuMeasureKind::PopupItem), 116);
    EXPECT_EQ(SkinnedMenuItemWidth(100, 4, false, TMenuMeasureKind::PopupItem), 139);
    EXPECT_EQ(SkinnedMenuItemWidth(0, 0, true, TMenuMeasureKind::PopupItem), 12);
}

TEST(MenuAccelerators, CaptionsAndLookup) {
    EXPECT_EQ(MenuAccelerator(L"文件(&F)"), L'F');
    EXPECT_EQ(MenuAccelerator(L"&edit"), L'E');
    EXPECT_EQ(MenuAccelerator(L"Save && &Quit"), L'Q');  // "&&" is a literal ampersand
    EXPECT_EQ(MenuAccelerator(L"A && B"), 0);
    EXPECT_EQ(MenuAccelerator(L"Trailing&"), 0);
    EXPECT_EQ(MenuAccelerator(L"帮助(&帮)"), L'帮');    // not a letter: taken as it is
    const std::vector<std::wstring> captions{L"文件(&F)", L"&Hidden", L"帮助(&H)", L"&File again"};
    const std::vector<bool> visible{true, false, true, true};
    EXPECT_EQ(FindAcceleratorButton(captions, visible, L'h'), 2);  // the invisible one is skipped
    EXPECT_EQ(FindAcceleratorButton(captions, visible, L'F'), 0);  // the first of two
    EXPECT_EQ(FindAcceleratorButton(captions, visible, L'x'), -1);
    EXPECT_EQ(FindAcceleratorButton(captions, visible, 0), -1);
}

TEST(MenuArrows, AcrossTheBarWithWrapping) {
    const TMenuSelection none;
    EXPECT_EQ(MenuArrowTarget(mkRight, none, 2, 3), 0);  // last to first
    EXPECT_EQ(MenuArrowTarget(mkLeft, none, 0, 3), 2);   // first to last
    EXPECT_EQ(MenuArrowTarget(mkRight, none, 0, 3), 1);
    EXPECT_EQ(MenuArrowTarget(mkLeft, none, 2, 3), 1);
    EXPECT_EQ(MenuArrowTarget(mkRight, none, 0, 1), 0);  // a single button stays itself
    EXPECT_EQ(MenuArrowTarget(mkLeft, none, -1, 3), -1);
    EXPECT_EQ(MenuArrowTarget(mkLeft, none, 0, 0), -1);
}

TEST(MenuArrows, SubMenusKeepTheirKeys) {
    TMenuSelection inDropDown{true, true, false, false};
    EXPECT_EQ(MenuArrowTarget(mkLeft, inDropDown, 1, 3), 0);
    EXPECT_EQ(MenuArrowTarget(mkRight, inDropDown, 1, 3), 2);
    TMenuSelection opensSub{true, true, false, true};
    EXPECT_EQ(MenuArrowTarget(mkRight, opensSub, 1, 3), -1);  // Right opens the sub-menu
    EXPECT_EQ(MenuArrowTarget(mkLeft, opensSub, 1, 3), 0);
    TMenuSelection deeper{true, false, false, false};
    EXPECT_EQ(MenuArrowTarget(mkLeft, deeper, 1, 3), -1);  // Left closes the sub-menu
    EXPECT_EQ(MenuArrowTarget(mkRight, deeper, 1, 3), 2);
    TMenuSelection entry{true, false, true, true};
    EXPECT_EQ(MenuArrowTarget(mkLeft, entry, 1, 3), 0);
}

}  // namespace
}  // namespace vx
