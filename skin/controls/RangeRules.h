#pragma once
// The arithmetic of the range, status and tab painters, kept free of the platform:
// which state frame each part of a track bar, up-down, progress bar, tab control,
// status bar or date-time picker shows, and where thumbs, chunks, buttons, tabs and
// panels go. The Win32 painters ask the controls for their ranges and rectangles and
// draw what these rules say.
//
// Rectangles are TLayoutRect (half-open). Halving of signed layout values truncates
// towards zero; proportions round to the nearest pixel, halves to even.

#include <cstdint>
#include <string>
#include <vector>

#include "skin/controls/PaintRules.h"
#include "skin/data/ElementLayout.h"

namespace vx {

// n / d rounded to the nearest integer, halves to even (d != 0).
long long RoundHalfEven(long long n, long long d);

// ---- Track bars ----------------------------------------------------------------------

// The centre of a track bar's thumb along the bar: the thumb travels from `first` (its
// centre at the minimum) to `last` (at the maximum) in proportion to the position,
// which is kept inside the range. An empty or reversed range puts it at `first`.
int TrackThumbCentre(int first, int last, int min, int max, int position);

// The travel of the thumb's centre over a channel from `channelStart` to `channelEnd`
// (along the bar) for a thumb `thumbLength` long: the thumb's ends never leave the
// channel. A channel shorter than the thumb gives a travel of its middle point.
struct TTravel {
    int First = 0, Last = 0;
    bool operator==(const TTravel&) const = default;
};
TTravel TrackThumbTravel(int channelStart, int channelEnd, int thumbLength);

// The thumb's cell placed with its centre at `centre` along the bar and at `across`
// across it (a w x h cell for a horizontal bar; the vertical bar's cell is w x h too).
TLayoutRect TrackThumbRect(bool vertical, int centre, int across, int cellWidth, int cellHeight);

// The channel drawn from the Track element: from `start` to `end` along the bar (the
// control's own channel), the element's own thickness across it, centred on `across`
// (the thumb's centre line, so the thumb sits on the channel).
TLayoutRect TrackChannelRect(bool vertical, int start, int end, int across, int thickness);

// The thumb's frame (the push-button order: normal 1, pressed 2, disabled 3, hot 4,
// focused 5).
int TrackThumbFrame(unsigned mouseState, bool focused, bool disabled);

// The selected stretch of the channel (a track bar with a selection range): from the
// thumb centre of the first selected value to that of the last (either order), one
// pixel inside the channel across it, never beyond the channel along it.
TLayoutRect TrackSelectionRect(bool vertical, const TLayoutRect& channel, int startCentre, int endCentre);

// ---- Progress bars -------------------------------------------------------------------

// How many pixels of a bar `length` long are filled at `position` of min..max (kept
// inside the range; an empty range fills nothing).
int ProgressFillLength(int length, int min, int max, int position);

// The filled part of the interior: from the left (horizontal) or from the bottom
// (vertical).
TLayoutRect ProgressFillRect(const TLayoutRect& interior, bool vertical, int fillLength);

// How the filled part is drawn: the Progress element's second frame stretched over it,
// or chunks of the ProgressChunk element. A smooth bar takes the second frame when the
// element has one, else chunks; a chunked bar the other way round. None: the skin has
// neither, and the control keeps its own look.
enum class TProgressLook { None, Bar, Chunks };
TProgressLook ProgressFillLook(bool smooth, int progressFrames, bool hasChunk);

// The chunks covering a fill `fillLength` long, each `step` long along the bar (the
// chunk picture's own width) and the interior's full extent across it; the last one
// cut at the interior's end. From the left, or from the bottom up for a vertical bar.
std::vector<TLayoutRect> ProgressChunks(const TLayoutRect& interior, bool vertical, int fillLength, int step);

// The interior of the bar: the client inset by the Progress element's margins, at
// most a third of the bar's thickness on each side.
TLayoutRect ProgressInterior(const TLayoutRect& client, bool vertical, int left, int top, int right, int bottom);

// ---- Up-down controls ----------------------------------------------------------------

// The two buttons of an up-down control: up and down (vertical), or left and right
// (horizontal); the first takes half, the second the rest.
struct TUpDownButtons {
    TLayoutRect First, Second;
};
TUpDownButtons UpDownButtonRects(int width, int height, bool horizontal);

// The button under a point: 1 first, 2 second, 0 none (outside the control).
int UpDownPartAt(int width, int height, bool horizontal, int x, int y);

// The frame of button `part` (1 or 2) of the 8-frame UpDown strip: the first button's
// normal, pressed, disabled, hot looks are 1 to 4, the second's 5 to 8. Disabled
// overrides; the pressed button shows pressed, the button under the mouse hot.
int UpDownFrame(int part, bool enabled, int hotPart, int pressedPart);

// ---- Tab controls --------------------------------------------------------------------

// The frame of one tab of the 5-frame Tabs strip: disabled 3; the selected tab 5 while
// the control has the focus, else 2; the tab under the mouse 4; normal 1.
int TabItemFrame(bool selected, bool hot, bool enabled, bool focused);
// A tab drawn as a button (the Buttons strip): disabled 3, the selected tab pressed (2)
// whether or not the control has the focus, the tab under the mouse hot (4), normal 1.
int TabButtonFrame(bool selected, bool hot, bool enabled);

// Where the tabs run along the control.
enum class TTabSide { Top, Bottom, Left, Right };

// The side a tab control's style puts its tabs on: TCS_VERTICAL (0x80) puts them on the
// left, with TCS_RIGHT (0x2, the same bit as TCS_BOTTOM) on the right.
TTabSide TabSideOfStyle(std::uint32_t style);

// A tab's drawn rectangle: the selected tab stands out 2 pixels to each side and away
// from the pane, and reaches `overlap` pixels into the pane so it joins it.
TLayoutRect TabItemRect(const TLayoutRect& item, bool selected, TTabSide side, int overlap);

// The pane beside the tabs: the client less the band the tabs take. `rowEdge` is the
// edge of the tab rows nearest the pane (the bottom of the lowest row of top tabs, the
// right of the rightmost column of left tabs, and so on); without tabs the pane is the
// whole client.
TLayoutRect TabPaneRect(const TLayoutRect& client, TTabSide side, bool hasTabs, int rowEdge);

// ---- Tab sets ----------------------------------------------------------------------

// The tabs of a tab set hang from its top edge side by side, from `startMargin` on:
// each as wide as its text and `padding` on either side, the height less 2; the
// selected tab 2 pixels wider each side and the whole height, over its neighbours.
std::vector<TLayoutRect> TabSetRects(const std::vector<int>& textWidths, int height, int selected,
                                     int startMargin = 4, int padding = 8);
// The tab under a point: the selected one first (it lies on top), -1 for none.
int TabSetHitTest(const std::vector<TLayoutRect>& rects, int selected, int x, int y);

// ---- Status bars ---------------------------------------------------------------------

// Frames of the StatusBarEdges strip.
enum : int { sfBar = 1, sfPanel = 2, sfGrip = 3 };

// A panel's text as the status bar holds it: one tab before the text centres it, two
// right-align it.
struct TPanelText {
    std::wstring Text;
    TTextAlign Align = TTextAlign::Left;
    bool operator==(const TPanelText&) const = default;
};
TPanelText StatusPanelText(const std::wstring& raw);

// The size grip's corner: the grip picture's cell width at the right edge, the full
// height.
TLayoutRect StatusGripRect(int width, int height, int gripWidth);

// The text area of a panel: its rectangle inset by 3 pixels across and 1 up and down.
TLayoutRect StatusPanelTextRect(const TLayoutRect& panel);

// ---- Date-time pickers -----------------------------------------------------------------

// The drop-down arrow button of a date-time picker: the last `arrowWidth` pixels of the
// client, full height.
TLayoutRect DateTimeArrowRect(const TLayoutRect& client, int arrowWidth);

// The arrow button's frame of the 4-frame ComboxArrow strip (the combo button order):
// disabled 3, pressed or dropped down 2, hot (when the picker allows it) or focused 4,
// normal 1.
int ArrowButtonFrame(bool enabled, bool pressed, bool hot, bool canShowHover, bool focused);

}  // namespace vx
