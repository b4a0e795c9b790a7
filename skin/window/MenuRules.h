#pragma once
// The rules of skinned menus, free of the platform: where the texts of a skinned menu
// bar start and how its buttons are laid out (left to right, or from the right edge for
// right-to-left menus), how wide an owner-drawn item is measured, which button a typed
// accelerator picks, and where the arrow keys lead across the bar's drop-downs. The
// Win32 menu objects (MenuSkinner) measure texts and paint; these functions decide.

#include <string>
#include <vector>

#include "skin/data/ElementLayout.h"

namespace vx {

// The bar's picture as far as the layout is concerned.
struct TMenuBarPicture {
    bool HasElement = false;  // the skin has a MenuBar element with a picture
    int LeftWidth = 0;        // its fixed left end
    int RightWidth = 0;       // its fixed right end
};

// Where the first button's text starts, counted from the bar's left edge (from its
// right edge for a right-to-left bar): LeftWidth + 4 (right to left: RightWidth + 8)
// with a picture, 6 without; a bar narrower than that position starts at 12.
int MenuBarFirstPosition(const TMenuBarPicture& picture, bool rightToLeft, int barWidth);

struct TMenuBarItemSize {
    bool Visible = true;
    int TextWidth = 0;  // the caption's measured width
};

struct TMenuBarLayoutInput {
    TMenuBarPicture Picture;
    int BarWidth = 0;
    int BarHeight = 0;
    bool RightToLeft = false;
    // Room kept free at the right edge of a right-to-left bar (buttons of a maximised
    // MDI child drawn in the bar); a gap of 5 is left beside it when it is positive.
    int RightReserve = 0;
    std::vector<TMenuBarItemSize> Items;
};

// One rectangle per item in bar coordinates: (x, 0, x + width, bar height - 1) with
// width = text width + 10 (0 for an empty text); invisible items get an empty rectangle.
std::vector<TLayoutRect> LayoutMenuBar(const TMenuBarLayoutInput& in);

// The width an owner-drawn item asks for: the width measured so far (the item's own
// measuring) plus the skin's item margin and room for the image column. A framework
// menu's item adds LeftWidth + 10, and 25 more when the menu has no image list; an item
// of a skinned popup or system menu adds LeftWidth + 12, and 23 more without images.
enum class TMenuMeasureKind { FrameworkItem, PopupItem };
int SkinnedMenuItemWidth(int measured, int leftWidth, bool hasImages, TMenuMeasureKind kind);

// The accelerator of a caption: the character after a single "&" ("&&" is a literal
// ampersand), upper-cased when it is an ASCII letter; 0 when there is none.
wchar_t MenuAccelerator(const std::wstring& caption);

// The first visible button whose caption has `key` as accelerator (ASCII letters match
// in either case), or -1.
int FindAcceleratorButton(const std::vector<std::wstring>& captions, const std::vector<bool>& visible, wchar_t key);

// What is selected inside the open drop-down when an arrow key arrives.
struct TMenuSelection {
    bool Any = false;            // an item is selected at all
    bool InDropDown = false;     // the item lies in the bar's drop-down itself (not deeper)
    bool IsDropDown = false;     // the item is the drop-down's own entry
    bool HasSubItems = false;    // the item opens a sub-menu
};

enum TMenuKey { mkLeft, mkRight };

// The button an arrow key moves to from button `current` of `count`, or -1 when the
// key stays inside the drop-down (Left in a sub-menu closes that sub-menu; Right on an
// item with sub-items opens them). Left from the first button goes to the last, Right
// from the last to the first.
int MenuArrowTarget(TMenuKey key, const TMenuSelection& selection, int current, int count);

}  // namespace vx
