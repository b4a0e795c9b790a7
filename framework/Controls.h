#pragma once
// Controls: the visual components. TControl has a parent, bounds, colour, font, text
// and mouse events; TWinControl owns a window (created on demand) whose messages all
// pass through the control's replaceable message method WindowProc; TGraphicControl
// has no window and paints on its parent's device context.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

namespace vx {

class TWinControl;
class TPopupMenu;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// Horizontal text alignment and vertical text layout.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
// Border style of forms; controls with a border (panel, edit, list view) use bsNone
// and bsSingle only.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

// Cursors: crDefault lets the window class decide; the others are system cursors.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
// The system cursor handle for a cursor value (null for crDefault and crNone).
HCURSOR CursorHandle(TCursor cursor);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

// The parameters a windowed control's window is created with. WinClassName is the
// name the window class is registered under (the control's class name unless a
// descendant changes it); WindowClass describes the class (a copy of a system class
// for controls built on one, see TWinControl::CreateSubClass).
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass{};
    wchar_t WinClassName[64] = {};
};

// Shift state from a mouse message's key flags / from the keyboard right now.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardStateToShiftState();

class TControl : public TComponent {
    VX_DECLARE_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // The message method: every message for the control passes through it. The
    // default calls WndProc; replace it to sit in front of the control, keeping the
    // previous value to hand messages on.
    TWndMethod WindowProc;
    // Sends a message through WindowProc and returns its result.
    std::intptr_t Perform(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    TWinControl* GetParent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    virtual RECT GetClientRect() const;
    int GetClientWidth() const;
    int GetClientHeight() const;
    virtual void SetClientSize(int width, int height);
    void SetClientWidth(int v) { SetClientSize(v, GetClientHeight()); }
    void SetClientHeight(int v) { SetClientSize(GetClientWidth(), v); }
    // Client and screen coordinates of this control.
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    TAlign GetAlign() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors GetAnchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    bool GetVisible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent too.
    bool Showing() const;
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* font);
    bool GetParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    virtual std::wstring GetText() const;
    virtual void SetText(const std::wstring& text);
    std::wstring GetCaption() const { return GetText(); }
    void SetCaption(const std::wstring& text) { SetText(text); }

    std::wstring GetHint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }
    // The effective switch: with ParentShowHint, the parent's.
    bool GetShowHint() const;
    void SetShowHint(bool value);
    bool GetParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }

    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TBiDiMode GetBiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode);
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // True while the left button went down on the control and has not come up.
    bool MouseCaptured() const;
    // The entry points of mouse handling (also called by code that forwards mouse-downs).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();

    // The form that contains the control, or null.
    TCustomForm* GetParentForm() const;
    // A top-level-relative check: does this control contain the point (client coords of parent)?
    bool HasWindow() const { return isWindowed_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    static void RegisterProperties(TPropertyRegistrar<TControl>& r);

protected:
    // The control's own message handling; descendants handle their messages and call
    // the base for the rest. The base ends in DefaultHandler.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message) {}
    void Notification(TComponent* component, TOperation operation) override;
    // Called after a change of the font / colour / text (the control adapts itself).
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void Resize();
    // A control that fires OnClick for a click of the left button inside it.
    bool clickEvents_ = false;
    // The control's content covers its whole rectangle (no erasing behind it).
    bool opaque_ = false;
    bool isWindowed_ = false;
    bool fromParent_ = false;  // applying the parent's colour or font
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::wstring text_;
    // Distances to the parent's right and bottom edges, kept for right/bottom anchors.
    int anchorRight_ = 0, anchorBottom_ = 0;
    void UpdateAnchorRules();
    // Sets the visibility flag alone (forms start hidden).
    void InitVisible(bool visible) { visible_ = visible; }

private:
    friend class TWinControl;
    void ParentColorChanged();
    void ParentFontChanged();
    void RequestAlign();

    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    std::wstring hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool leftDown_ = false;
};

class TWinControl : public TControl {
    VX_DECLARE_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, created (with every windowed child) on first use.
    HWND GetHandle();
    HWND Handle() { return GetHandle(); }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { GetHandle(); }
    // Destroys the window and makes it again with fresh creation parameters.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    // The visible child under a point in client coordinates (graphic controls first;
    // disabled ones only when allowDisabled).
    TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWindowed = false) const;
    bool ContainsControl(const TControl* control) const;

    bool GetDoubleBuffered() const { return doubleBuffered_; }
    virtual void SetDoubleBuffered(bool value);
    int GetTabOrder() const;
    void SetTabOrder(int order);
    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

    void SetFocus();
    bool Focused() const;
    virtual bool CanFocus() const;
    // Every windowed descendant in tab order (a child, then its own children).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) control after `current` that has TabStop and can take
    // the focus, or null.
    TWinControl* FindNextControl(TWinControl* current, bool forward) const;

    RECT GetClientRect() const override;
    // The window's text once the window exists (others may set it directly).
    std::wstring GetText() const override;
    // Reflected notifications carry a notification record; a message of the same
    // number sent by other code (0xBC4E is also a private message of the skin engine)
    // does not, and is left alone.
    static bool IsNotifyRecord(const TMessage& message) {
        return message.Msg == CN_NOTIFY && static_cast<std::uintptr_t>(message.LParam) >= 0x10000;
    }
    // Sizes the window so that its client area gets this size (kept when the window
    // is made later with a frame of another size).
    void SetClientSize(int width, int height) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetParent(TWinControl* parent) override;
    void Invalidate() override;
    void Update() override;
    // Re-positions the aligned and anchored children.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    // Paints the graphic children on a device context (offset to this control's client
    // area); the DC's clipping limits what is drawn.
    void PaintControls(HDC dc, TControl* first = nullptr);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    static void RegisterProperties(TPropertyRegistrar<TWinControl>& r);

    // Called from the shared window procedure.
    static LRESULT CALLBACK FrameworkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // Fills in how the window is to be made. Descendants add styles; a form may give
    // its window class another name.
    virtual void CreateParams(TCreateParams& params);
    // Makes the window class a copy of a system class ("BUTTON", WC_LISTVIEWW ...),
    // whose window procedure then does the control's default handling.
    void CreateSubClass(TCreateParams& params, const wchar_t* systemClass);
    virtual void CreateWnd();
    // After the window exists: give it font, text, state (descendants fill in items).
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void InitializeWindow() {}
    // Before the window goes: descendants save what the window holds.
    virtual void DestroyWnd();
    void DestroyHandle();
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Paints the control itself; the base does nothing (TCustomControl paints).
    virtual void PaintWindow(HDC dc) {}
    // The area the aligned children share: the client rectangle less BorderWidth.
    virtual void AdjustClientRect(RECT& rect) const;
    virtual void AlignControls(RECT& rect);
    void FontChanged() override;
    void ColorChanged() override;
    void TextChanged() override;
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    // A brush of the control's colour for WM_CTLCOLOR* answers.
    HBRUSH ColorBrush();
    // True for a window made from the framework's own class (not a system control).
    bool OwnClass() const { return defWndProc_ == ::DefWindowProcW; }

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = ::DefWindowProcW;
    // True while SetBounds moves the window (its WM_SIZE is not read back).
    bool settingBounds_ = false;

private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void PaintHandler(TMessage& message);
    bool HasGraphicChildren() const;
    void PaintSystemControl(TMessage& message);
    bool RouteMouseToGraphic(TMessage& message);
    void UpdateBoundsFromWindow();
    void Reflect(TMessage& message, HWND child, unsigned cnMessage);

    // The message handlers WndProc picks from. Each returns true when it has dealt
    // with the message, false to send it on to TControl::WndProc.
    bool HandleMessage(TMessage& message);
    bool WMPaint(TMessage& message);
    bool WMEraseBkgnd(TMessage& message);
    bool WMSizeOrMove(TMessage& message);
    bool WMCommand(TMessage& message);
    bool WMNotify(TMessage& message);
    bool WMScroll(TMessage& message);
    bool WMCtlColor(TMessage& message);
    bool CNCtlColor(TMessage& message);
    bool WMDrawItem(TMessage& message);
    bool WMMeasureItem(TMessage& message);
    bool WMSetFocus(TMessage& message);
    bool WMKillFocus(TMessage& message);
    bool WMKeyDown(TMessage& message);
    bool WMKeyUp(TMessage& message);
    bool WMChar(TMessage& message);
    bool WMSetCursor(TMessage& message);
    bool WMMouseMove(TMessage& message);
    bool WMMouseButton(TMessage& message);
    bool WMMouseLeave(TMessage& message);
    bool WMCaptureChanged(TMessage& message);
    bool WMContextMenu(TMessage& message);

    std::vector<TControl*> controls_;     // every child, in z-order (last on top)
    std::vector<TWinControl*> tabList_;   // windowed children in tab order
    bool doubleBuffered_ = false;
    bool tabStop_ = false;
    int borderWidth_ = 0;
    int alignDisabled_ = 0;
    bool alignPending_ = false;
    bool aligning_ = false;
    TBrushHandle colorBrush_;  // the brush of the control's colour, made on demand
    TColor brushColor_ = 0;
    int requestedClientWidth_ = -1, requestedClientHeight_ = -1;
};

// A windowless control: it paints on its parent's DC in its own Canvas.
class TGraphicControl : public TControl {
    VX_DECLARE_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    // Attached to the parent's DC while Paint runs.
    TCanvas* GetCanvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void WndProc(TMessage& message) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A windowed control of the framework's own class that paints itself in Paint().
class TCustomControl : public TWinControl {
    VX_DECLARE_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* GetCanvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

// The framework control behind a window (through the window property), or null.
TWinControl* FindControl(HWND window);
// The name of the window property that links a window to its control:
// "ControlOfs" + module instance (8 hex digits) + thread id (8 hex digits).
const std::wstring& ControlAtomName();
// The global atom of that name.
ATOM ControlAtom();

// The control the mouse is over (graphic controls included), or null.
TControl* FindDragTarget(POINT screenPos, bool allowDisabled);

// The control that holds the mouse capture (a graphic control held through its parent).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

// Tracks which control the mouse is over and sends CM_MOUSEENTER/CM_MOUSELEAVE.
void SetMouseControl(TControl* control);
TControl* GetMouseControl();

}  // namespace vx
