#pragma once
// The geometry and rules of a skinned frame and its title-bar buttons, free of the
// platform: how a window is classified at attach, the border sizes from the skin's
// border pictures, the client area the frame leaves, the hit-test mapping, which
// title-bar buttons show and work in which window state, where they go, which frame of
// their picture they paint, and where the caption goes. The Win32 form object
// (FormSkinner) measures and paints; these functions decide.

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/data/ElementLayout.h"

namespace vx {

// Border icons of a skinned window (bits).
enum : std::uint8_t {
    biMaxBox = 1,
    biMinBox = 2,
    biHelpBox = 4,
    biSysMenuBox = 8,
    biStyleLeftAlone = 16,  // the system-menu style bit is not taken away before painting
};

enum class TBorderKind : std::uint8_t { Sizeable = 0, Single = 1, None = 2, Dialog = 3 };
enum class TShowState : std::uint8_t { Normal = 0, Maximized = 1, Minimized = 2 };
enum class TMdiKind : std::uint8_t { Plain = 0, Frame = 1, Child = 2 };

// What the form object reads from a window at attach.
struct TWindowFacts {
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    bool DialogClass = false;     // "#32770" or "TMessageForm"
    bool HasOwner = false;
    bool HasMdiClientChild = false;
    // The platform: Windows 2000 exactly (version 5.0 on the NT platform).
    bool Windows2000 = false;
};
struct TWindowClass {
    std::uint8_t BorderIcons = 0;
    TBorderKind BorderKind = TBorderKind::Single;
    TMdiKind Mdi = TMdiKind::Plain;
    bool Dialog = false;
    bool Sizeable = false;
    bool RightToLeft = false;
    bool Child = false;
};
TWindowClass ClassifyWindow(const TWindowFacts& facts);

// The show state from a window placement's show command.
TShowState ShowStateFromShowCmd(unsigned showCmd);
// The show state from WM_SIZE's wParam: restored, minimised and maximised set it;
// false (state untouched) for the other size types.
bool ShowStateFromSizeType(unsigned sizeType, TShowState& state);

// Left, top (title height), right and bottom border sizes.
struct TBorderSizes {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TBorderSizes&) const = default;
};
// One border picture: its size and frame count (frames side by side for left and
// right, stacked for top and bottom). A frame count below 1 counts as 1.
struct TBorderPicture {
    int Width = 0, Height = 0, FrameCount = 1;
};
TBorderSizes BorderSizes(const TBorderPicture& left, const TBorderPicture& right, const TBorderPicture& top,
                         const TBorderPicture& bottom, TBorderKind kind);

// The state frame a border part paints: 1 when active or when the picture has only one
// frame (or none), else 2.
int BorderFrame(bool active, int frameCount);

// The window size that keeps a client area of clientWidth x clientHeight inside the
// frame and the menu bar.
void FrameWindowSize(int clientWidth, int clientHeight, const TBorderSizes& b, int menuBarHeight, int& width,
                     int& height);
// Where a window that the frame made larger goes so that it stays inside `area` (the
// work area of its monitor): moved up and left by what runs past the bottom and right
// edges, but never above or left of the area's top-left corner (a window larger than
// the area keeps its title in view). A window that fits keeps its place.
TLayoutRect KeepInside(const TLayoutRect& window, const TLayoutRect& area);
// The client rectangle the frame leaves in a window at (x, y) of cx x cy.
TLayoutRect FrameClientRect(int x, int y, int cx, int cy, const TBorderSizes& b, int menuBarHeight);
// How much wider a dialog must become to show its whole caption (0: wide enough): the
// title's left shift + the caption width + its right clip, against the window width.
int DialogWidening(int titleLeftWidth, int textWidth, int titleRightWidth, int windowWidth);
// The size a window gets back at detach: the skinned size less the skin's frame plus
// the frame the window had before.
void DetachedSize(int width, int height, const TBorderSizes& b, int oldFrameWidth, int oldFrameHeight,
                  int& outWidth, int& outHeight);

// Hit-test answers the mapping uses.
enum : int { htNowhere = 0, htClient = 1, htCaption = 2, htMenu = 5 };
// The answer to WM_NCHITTEST from the system's answer and the point's y in window
// coordinates: the system's "nowhere" or "caption" becomes the caption below the top 3
// pixels, and below the title, with a menu bar, the menu.
int MapHitTest(int systemAnswer, int windowY, int topHeight, int menuBarHeight);
// A mouse point in window coordinates from client coordinates.
void ClientToWindowPoint(int& x, int& y, const TBorderSizes& b, int menuBarHeight, bool maximizedMdiChild);

// --- Title-bar buttons -------------------------------------------------------------------

// One title-bar button definition of the skin.
struct TTitleButtonDef {
    int Action = 0, Align = 0, XCoord = 0, YCoord = 0, Visibility = 0, Visibility1 = 0;
    int ImageWidth = 0, ImageHeight = 0, FrameCount = 0;  // empty image: width or height 0
    bool HasImage() const { return ImageWidth > 0 && ImageHeight > 0; }
    // Width of one frame (frames side by side; a frame count below 1 counts as 1).
    int FrameWidth() const;
};

// The window as the visibility table sees it.
struct TTitleWindowState {
    bool Maximized = false;
    bool Active = true;
    std::uint8_t BorderIcons = 0;
    TBorderKind BorderKind = TBorderKind::Single;
    bool Dialog = false;
    // An MDI frame whose active child is maximised, with a menu bar.
    bool MdiFrameChildMaximizedWithMenuBar = false;
    // The window's answer to WM_SKINBUTTONVISIBLE (visibility code, action); asked only
    // for codes 1000 to 2000.
    std::function<int(int code, int action)> AskVisible;
};

struct TTitleButtonState {
    bool Visible = false;
    bool Enabled = true;
};
// Visibility (both conditions) and the adjustments by action.
TTitleButtonState EvaluateTitleButton(const TTitleButtonDef& def, const TTitleWindowState& window);

// The title-bar room kept for right-aligned buttons: the largest XCoord among visible
// buttons with Align 1 and an image.
int RightReserve(const std::vector<TTitleButtonDef>& defs, const std::vector<TTitleButtonState>& states);

// Where a visible button with an image goes (window coordinates).
struct TPlacementFrame {
    int WindowWidth = 0;
    int CaptionLeft = 0, CaptionRight = 0;
    TBorderSizes Borders;
    int MenuBarHeight = 0;
    bool HasMenuBarElement = false;
    int MenuBarLeftWidth = 0;
};
TLayoutRect PlaceTitleButton(const TTitleButtonDef& def, const TPlacementFrame& frame);

// The frame a button paints inside the composed title bar: 1, or 4 with at least four
// frames when the window is inactive or the button disabled. 0: not painted here
// (invisible, no image, or an MDI button the menu bar paints).
int TitlePaintFrame(const TTitleButtonDef& def, const TTitleButtonState& state, bool windowActive);
// Button states of a title-bar object.
enum : int { nsNormal = 1, nsPressed = 2, nsHover = 3 };
// The frame a button paints for a state change: the state's frame; a disabled button
// frame 4 with more than three frames, else 1; an MDI menu-bar button (visibility 100)
// frame 4 for hover. A frame the picture does not have becomes frame 1.
int StatePaintFrame(const TTitleButtonDef& def, int state, bool enabled);

// The first button (in skin order) that is visible, has an action >= 0 and whose
// rectangle holds the point; -1 for none.
int HitTitleButton(const std::vector<TTitleButtonDef>& defs, const std::vector<TTitleButtonState>& states,
                   const std::vector<TLayoutRect>& rects, int x, int y);

// What releasing a button does.
enum class TButtonEffect {
    Close, ToggleMaximize, ToggleMinimize, SystemMenu, ContextHelp, MdiChildMinimize, MdiChildRestore,
    MdiChildClose, Custom, Nothing
};
TButtonEffect ButtonEffect(int action, bool enabled);

// --- Caption -----------------------------------------------------------------------------

// Positions are window coordinates; the title's width is read as the right edge of the
// title rectangle (the window less its right border), so a right-aligned caption ends
// exactly at the title's right clip.
struct TCaptionInput {
    int WindowWidth = 0;
    TLayoutRect TitleRect;           // (left, 0, W - right, top)
    int TextWidth = 0, TextHeight = 0;  // measured caption (prefix and suffix included)
    int TextAlignment = 0;           // 0 left, 1 centred, 2 right
    int LeftWidth = 0, TopHeight = 0, RightWidth = 0;  // the Title element's shifts
    int BackLeft = 0, BackRight = 0;                   // TXTBackleft, TXTBackRight
    int RightReserve = 0;
    bool RightToLeft = false;
    bool Popup = false;
    bool DialogFrame = false;        // border kind 3
};
struct TCaptionLayout {
    TLayoutRect Caption;  // the caption with its background ends
    TLayoutRect Text;     // where the text is drawn
};
TCaptionLayout LayoutCaption(const TCaptionInput& input);

}  // namespace vx
