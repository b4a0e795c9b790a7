#pragma once
// Scroll bars drawn from the skin. The native scroll bars of a control stay where they
// are; the skin lays a companion window (TWScrollbar) over each of them, paints the
// companion from the Scrollbar strip, the track and the thumb elements, and hands
// every press on it to the control, so the platform still does the scrolling.
//
//  - TSkinScrollbar: a control with scroll bars (memos, grids, tree views, rich edits):
//    a horizontal and a vertical companion, and a flat border in the skin's colours.
//  - TSkinListView: the same for list views, plus the column header (TSkinHeader).
//  - TSkinScrollbarH: a control of which only the horizontal bar is skinned.
//  - TSkinScControl: a stand-alone scroll bar control (one companion over all of it).
//  - TSkinSizer: a size grip, drawn from the strip's corner cell.
//  - TComboxScrollBar: the bars of a combo box's drop-down list, painted straight into
//    the list's frame (the list is a pop-up window of the system, with no framework
//    parent to hold a companion).
//
// The companions are framework panels of their own class ("TWScrollbar") on the
// control's parent. They are no controls of the form: the dispatcher must never offer
// one as a panel (IsScrollbarCompanion tells them apart). Each companion is owned by
// the skin object that made it; the parent may free it first (when the form goes), and
// the object then forgets it.

#include <memory>

#include "framework/ExtCtrls.h"
#include "skin/controls/PaintRules.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinHeader.h"

namespace vx {

class TDataSkinObject;

// Bit of a scroll bar's state: the bar is not shown (STATE_SYSTEM_INVISIBLE).
constexpr DWORD kBarInvisible = 0x8000;
// Bit of a scroll bar's state: the bar is unavailable (STATE_SYSTEM_UNAVAILABLE).
constexpr DWORD kBarUnavailable = 0x1;

// Draws a scroll bar of in.Width x in.Height from the skin at (x, y) of `dc`: composed
// off-screen on the skin's face colour, then copied in one operation. `track` is the
// element of the track (null: the face colour alone), `thumb` the element of the thumb
// (null: none). False, with nothing drawn, when the skin has no Scrollbar strip.
bool PaintSkinScrollBar(HDC dc, int x, int y, const TSkinModel& skin, const TScrollBarInputs& in,
                        TDataSkinObject* track, TDataSkinObject* thumb);

// What a companion knows of the native bar it covers.
struct TScrollBarFacts {
    RECT Bar{};  // screen coordinates
    int ThumbStart = 0, ThumbEnd = 0;  // along the bar, from its start
    DWORD State = 0;                   // kBarInvisible, kBarUnavailable
};

// Kinds of companion.
enum TScrollbarKind : int { wsHorizontal = 0, wsVertical = 1, wsControl = 2 };

// The windowed companion drawn by the skin. Kinds 0 and 1 lie over the horizontal or
// vertical bar of a control; kind 2 over a whole stand-alone scroll bar control.
class TWScrollbar : public TCustomPanel {
    VX_DECLARE_CLASS(TWScrollbar, TCustomPanel)
public:
    // `owner`: the skin object that frees it; `control`: the control whose bar it
    // covers (its parent becomes the companion's parent).
    TWScrollbar(TComponent* owner, TWinControl* control, TScrollbarKind kind, const TControlSkinData* data);
    ~TWScrollbar() override;

    TScrollbarKind Kind() const { return kind_; }
    bool Horizontal() const { return horizontal_; }
    int ArrowSize() const { return arrowSize_; }
    TScrollPart ActivePart() const { return activePart_; }
    // Sets the active part (a scroll code of the control's scroll message) and repaints.
    void SetActivePart(int part);
    bool Tracking() const { return tracking_; }
    int BarLength() const { return length_; }
    // The companion lies over a shown native bar.
    bool BarVisible() const { return barVisible_; }
    // The native bar's rectangle in the control's client coordinates (last reposition).
    RECT BarInControl() const { return barClient_; }

    // The native bar now; false when it cannot be had.
    bool BarInfo(TScrollBarFacts& facts) const;
    // Follows the native bar: hidden with it, else placed over it just above the
    // control in Z order.
    void Reposition();
    void HideBar();
    // Paints now (invalidates and updates the window).
    void RepaintBar();

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    int AlongBar(int x, int y) const { return horizontal_ ? x : y; }
    TScrollPart PartAt(int x, int y) const;
    void PressBar(TMessage& message);
    void ReleaseBar(TMessage& message);
    HWND ControlWindow() const;

    TWinControl* control_;
    const TControlSkinData* data_;
    TScrollbarKind kind_;
    bool horizontal_ = false;
    int arrowSize_ = 0;
    TScrollPart activePart_ = spNone;
    bool tracking_ = false;
    int length_ = 0;
    POINT pressCursor_{};
    int pressThumbStart_ = 0;
    RECT barClient_{};
    bool barVisible_ = false;
    // False once the companion is freed: a press handed to the control may free it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// True for a scroll-bar companion: the dispatcher never skins one.
bool IsScrollbarCompanion(const TControl* control);

class TSkinScrollbar : public TSkinControl {
    VX_DECLARE_CLASS(TSkinScrollbar, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    // Attaches to `control` (which must be the owner): border, FixedColor, the two
    // companions, then the message method. Runs once.
    virtual void InitScrollbar(TControl* control, const TControlSkinData* data, IControlSkinHost* form,
                               TCanvas* canvas);
    // Attaching through the base's entry point does the same.
    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    void RestoreControl() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // Set before attaching: the single mode of the dispatcher (no border).
    bool SingleMode = false;

    TWScrollbar* HorzBar() const { return hbar_; }
    TWScrollbar* VertBar() const { return vbar_; }
    bool BorderPainting() const { return borderPainting_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // The flat border: the window framed with the shadow colour, inside it the face.
    void PaintBorder(HDC dc);
    void RepositionBars();
    void FreeBars();

    TWScrollbar* hbar_ = nullptr;
    TWScrollbar* vbar_ = nullptr;
    bool borderPainting_ = false;
    bool hasFixedColor_ = false;
    int savedFixedColor_ = 0;
};

class TSkinListView : public TSkinScrollbar {
    VX_DECLARE_CLASS(TSkinListView, TSkinScrollbar)
public:
    using TSkinScrollbar::TSkinScrollbar;
    ~TSkinListView() override;
    void InitScrollbar(TControl* control, const TControlSkinData* data, IControlSkinHost* form,
                       TCanvas* canvas) override;
    void RefreshSkin() override;
    // The skin object of the column header, or null.
    TSkinHeader* Header() const { return header_.get(); }

private:
    // Owned here (not listed with the form object): it lives and goes with the list.
    std::unique_ptr<TSkinHeader> header_;
};

// A control skinned through one companion bar of its own kind, which repaint requests
// address: made at the attach, freed at the restore (unless the control's window is
// gone with it), forgotten when something else frees it first.
class TSkinOneBar : public TSkinControl {
    VX_DECLARE_CLASS(TSkinOneBar, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinOneBar() override;
    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    void RestoreControl() override;
    TWScrollbar* Bar() const { return bar_; }

protected:
    virtual TScrollbarKind BarKind() const = 0;
    void Notification(TComponent* component, TOperation operation) override;

    TWScrollbar* bar_ = nullptr;
};

// A control of which only the horizontal bar is skinned: one companion of kind 0.
class TSkinScrollbarH : public TSkinOneBar {
    VX_DECLARE_CLASS(TSkinScrollbarH, TSkinOneBar)
public:
    using TSkinOneBar::TSkinOneBar;
    void AfterMessage(TMessage& message) override;

protected:
    TScrollbarKind BarKind() const override { return wsHorizontal; }
};

// A stand-alone scroll bar control. A framework control gets one companion of kind 2
// over all of it; a bare window is painted over directly after its own painting.
class TSkinScControl : public TSkinOneBar {
    VX_DECLARE_CLASS(TSkinScControl, TSkinOneBar)
public:
    using TSkinOneBar::TSkinOneBar;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

protected:
    TScrollbarKind BarKind() const override { return wsControl; }
};

// A size grip: the face colour with the corner cell (frame 23) of the Scrollbar strip.
class TSkinSizer : public TSkinControl {
    VX_DECLARE_CLASS(TSkinSizer, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
};

// The scroll bars of a combo box's drop-down list, painted into the list's frame after
// everything that may have drawn or moved the native bars. The vertical track is the
// face colour; arrows, grips and thumbs come from the skin.
class TComboxScrollBar : public TSkinControl {
    VX_DECLARE_CLASS(TComboxScrollBar, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    // Paints both bars of the list now (those that are shown).
    void PaintBars();
    TScrollPart ActivePart() const { return activePart_; }

private:
    void PaintBar(HDC dc, LONG objectId, const RECT& window);
    TScrollPart PartAt(LONG objectId, POINT screen) const;

    TScrollPart activePart_ = spNone;
    LONG activeBar_ = 0;
    bool tracking_ = false;
    // A press on the thumb: where the cursor and the thumb were. While the platform's
    // loop runs, the drawn thumb follows the cursor from there.
    POINT pressCursor_{};
    int pressThumbStart_ = 0;
};

}  // namespace vx
