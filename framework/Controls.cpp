// The controls' shared state (the window property that links a window to its control,
// the mouse capture, the control under the mouse, cursors and shift states), TControl,
// TGraphicControl and TCustomControl. TWinControl is in WinControl.cpp and
// WinControlMessages.cpp.
#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "framework/ControlsInternal.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace vx {

namespace {

TControl* g_captureControl = nullptr;
TControl* g_mouseControl = nullptr;

}  // namespace

namespace detail {

HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

void ForgetCaptureControl() { g_captureControl = nullptr; }

}  // namespace detail

using detail::ModuleInstance;

// --- Window property ---------------------------------------------------------------

const std::wstring& ControlAtomName() {
    static const std::wstring name = [] {
        wchar_t buffer[64];
        std::swprintf(buffer, 64, L"ControlOfs%.8X%.8X",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(ModuleInstance())),
                      static_cast<unsigned>(::GetCurrentThreadId()));
        return std::wstring(buffer);
    }();
    return name;
}

ATOM ControlAtom() {
    static const ATOM atom = ::GlobalAddAtomW(ControlAtomName().c_str());
    return atom;
}

TWinControl* FindControl(HWND window) {
    if (!window || !::IsWindow(window)) return nullptr;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != ::GetCurrentProcessId()) return nullptr;
    return static_cast<TWinControl*>(::GetPropW(window, MAKEINTATOM(ControlAtom())));
}

TControl* FindDragTarget(POINT screenPos, bool allowDisabled) {
    HWND window = ::WindowFromPoint(screenPos);
    TWinControl* control = FindControl(window);
    if (!control) return nullptr;
    POINT p = control->ScreenToClient(screenPos);
    TControl* child = control->ControlAtPos(p, allowDisabled);
    return child ? child : control;
}

TControl* GetCaptureControl() { return g_captureControl; }

void SetCaptureControl(TControl* control) {
    g_captureControl = nullptr;
    if (!control) {
        ::ReleaseCapture();
        return;
    }
    TWinControl* holder = control->HasWindow() ? static_cast<TWinControl*>(control) : control->GetParent();
    if (holder && holder->HandleAllocated()) {
        ::SetCapture(holder->GetHandle());
        g_captureControl = control;
    }
}

TControl* GetMouseControl() { return g_mouseControl; }

void SetMouseControl(TControl* control) {
    if (control == g_mouseControl) return;
    TControl* old = g_mouseControl;
    g_mouseControl = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control && g_mouseControl == control) control->Perform(CM_MOUSEENTER);
    if (Application) Application->MouseControlChanged(g_mouseControl);
}

HCURSOR CursorHandle(TCursor cursor) {
    const wchar_t* id = nullptr;
    switch (cursor) {
    case crArrow: id = IDC_ARROW; break;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: return nullptr;
    }
    return ::LoadCursorW(nullptr, id);
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// --- TControl ----------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TControl, TComponent)

void TControl::RegisterProperties(TPropertyRegistrar<TControl>& r) {
    r.Integer(L"Left", &TControl::GetLeft, &TControl::SetLeft)
        .Integer(L"Top", &TControl::GetTop, &TControl::SetTop)
        .Integer(L"Width", &TControl::GetWidth, &TControl::SetWidth)
        .Integer(L"Height", &TControl::GetHeight, &TControl::SetHeight)
        .Integer(L"ClientWidth", &TControl::GetClientWidth, &TControl::SetClientWidth)
        .Integer(L"ClientHeight", &TControl::GetClientHeight, &TControl::SetClientHeight)
        .Text(L"Caption", &TControl::GetCaption, &TControl::SetCaption)
        .Text(L"Text", &TControl::GetText, &TControl::SetText)
        .Integer(L"Color", &TControl::GetColor, &TControl::SetColor)
        .Object(L"Font", &TControl::GetFont, &TControl::SetFont)
        .Boolean(L"Enabled", &TControl::GetEnabled, &TControl::SetEnabled)
        .Boolean(L"Visible", &TControl::GetVisible, &TControl::SetVisible)
        .Boolean(L"ParentColor", &TControl::GetParentColor, &TControl::SetParentColor)
        .Boolean(L"ParentFont", &TControl::GetParentFont, &TControl::SetParentFont)
        .Boolean(L"ShowHint", &TControl::GetShowHint, &TControl::SetShowHint)
        .Boolean(L"ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint)
        .Enumeration(L"Align", &TControl::GetAlign, &TControl::SetAlign,
                     {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"})
        .Integer(L"Anchors", &TControl::GetAnchors, &TControl::SetAnchors)
        .Text(L"Hint", &TControl::GetHint, &TControl::SetHint)
        .Integer(L"Cursor", &TControl::GetCursor, &TControl::SetCursor)
        .Enumeration(L"BiDiMode", &TControl::GetBiDiMode, &TControl::SetBiDiMode,
                     {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign", L"bdRightToLeftReadingOnly"})
        .Object(L"PopupMenu", &TControl::GetPopupMenu, &TControl::SetPopupMenu);
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->SetName(L"宋体");
    font_->SetCharset(GB2312_CHARSET);
    font_->SetHeight(-12);
    font_->OnChange = [this](TObject*) {
        if (!fromParent_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    Destroying();
    if (g_mouseControl == this) g_mouseControl = nullptr;
    if (g_captureControl == this) SetCaptureControl(nullptr);
    if (Application) Application->ControlDestroyed(this);
    // Owned components go while this control is still whole: they may hold a replaced
    // message method of this control and give it back.
    DestroyComponents();
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
}

std::intptr_t TControl::Perform(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (WindowProc) WindowProc(m);
    return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_ || parent == this) return;
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (parent_ && parent_->HandleAllocated() && visible_) {
        RECT old = BoundsRect();
        ::InvalidateRect(parent_->GetHandle(), &old, TRUE);
    }
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    UpdateAnchorRules();
    RequestAlign();
    if (resized) Resize();
}

void TControl::Resize() {
    if (OnResize && !IsDestroying()) OnResize(this);
}

void TControl::UpdateAnchorRules() {
    if (!parent_ || parent_->aligning_) return;
    RECT r = parent_->GetClientRect();
    anchorRight_ = (r.right - r.left) - (left_ + width_);
    anchorBottom_ = (r.bottom - r.top) - (top_ + height_);
}

void TControl::RequestAlign() {
    if (parent_ && !parent_->aligning_ && align_ != alNone) parent_->Realign();
}

RECT TControl::GetClientRect() const { return RECT{0, 0, width_, height_}; }
int TControl::GetClientWidth() const {
    RECT r = GetClientRect();
    return r.right - r.left;
}
int TControl::GetClientHeight() const {
    RECT r = GetClientRect();
    return r.bottom - r.top;
}
void TControl::SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }

POINT TControl::ClientToScreen(POINT p) const {
    if (isWindowed_) {
        auto* self = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
        ::ClientToScreen(self->GetHandle(), &p);
        return p;
    }
    if (!parent_) return p;
    return parent_->ClientToScreen(POINT{p.x + left_, p.y + top_});
}

POINT TControl::ScreenToClient(POINT p) const {
    if (isWindowed_) {
        auto* self = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
        ::ScreenToClient(self->GetHandle(), &p);
        return p;
    }
    if (!parent_) return p;
    POINT q = parent_->ScreenToClient(p);
    return POINT{q.x - left_, q.y - top_};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors anchors) {
    anchors_ = anchors;
    UpdateAnchorRules();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    if (visible) Invalidate();
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor color) {
    bool changed = color != color_;
    color_ = color;
    if (!fromParent_) parentColor_ = false;
    if (changed) {
        Perform(CM_COLORCHANGED);
        ColorChanged();
    }
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    fromParent_ = true;
    SetColor(parent_->GetColor());
    fromParent_ = false;
    Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* font) {
    if (font && font != font_.get()) font_->Assign(*font);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    fromParent_ = true;
    font_->Assign(*parent_->GetFont());
    fromParent_ = false;
    Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged() {
    Perform(CM_FONTCHANGED);
    Invalidate();
}

std::wstring TControl::GetText() const { return text_; }

void TControl::SetText(const std::wstring& text) {
    if (text == GetText()) return;
    text_ = text;
    TextChanged();
    Perform(CM_TEXTCHANGED);
}

bool TControl::GetShowHint() const {
    if (parentShowHint_ && parent_) return parent_->GetShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool value) {
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (menu) FreeNotification(menu);
}

void TControl::SetBiDiMode(TBiDiMode mode) {
    if (mode == biDiMode_) return;
    biDiMode_ = mode;
    Perform(CM_BIDIMODECHANGED);
    Invalidate();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    RECT r = BoundsRect();
    ::InvalidateRect(parent_->GetHandle(), &r, opaque_ ? FALSE : TRUE);
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (isWindowed_ && static_cast<TWinControl*>(this)->HandleAllocated())
        ::SetWindowPos(static_cast<TWinControl*>(this)->GetHandle(), HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (isWindowed_ && static_cast<TWinControl*>(this)->HandleAllocated())
        ::SetWindowPos(static_cast<TWinControl*>(this)->GetHandle(), HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

bool TControl::MouseCaptured() const { return leftDown_; }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown && !IsDestroying()) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp && !IsDestroying()) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove && !IsDestroying()) OnMouseMove(this, shift, x, y);
}
void TControl::Click() {
    if (OnClick && !IsDestroying()) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick && !IsDestroying()) OnDblClick(this);
}

TCustomForm* TControl::GetParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    if (c->InheritsFrom(TCustomForm::StaticClass()))
        return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c));
    return nullptr;
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CONTEXTMENU:
        if (popupMenu_ && popupMenu_->GetAutoPopup()) {
            POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            if (p.x == -1 && p.y == -1) p = ClientToScreen(POINT{width_ / 2, height_ / 2});
            popupMenu_->SetPopupComponent(this);
            popupMenu_->Popup(p.x, p.y);
            m.Result = 1;
            return;
        }
        break;
    default: break;
    }
    DefaultHandler(m);
    if (IsDestroying()) return;
    const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TShiftState shift = KeysToShiftState(m.WParam);
        leftDown_ = true;
        if (!isWindowed_) SetCaptureControl(this);
        if (m.Msg == WM_LBUTTONDBLCLK) {
            shift |= ssDouble;
            DblClick();
            if (IsDestroying()) return;
        }
        MouseDown(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONDOWN: MouseDown(mbRight, KeysToShiftState(m.WParam), x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, KeysToShiftState(m.WParam), x, y); break;
    case WM_LBUTTONUP: {
        bool wasDown = leftDown_;
        leftDown_ = false;
        if (g_captureControl == this) SetCaptureControl(nullptr);
        MouseUp(mbLeft, KeysToShiftState(m.WParam), x, y);
        if (wasDown && clickEvents_ && !IsDestroying() && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, KeysToShiftState(m.WParam), x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, KeysToShiftState(m.WParam), x, y); break;
    case WM_MOUSEMOVE: MouseMove(KeysToShiftState(m.WParam), x, y); break;
    case CM_MOUSEENTER:
        if (OnMouseEnter) OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (OnMouseLeave) OnMouseLeave(this);
        break;
    case WM_CANCELMODE:
        leftDown_ = false;
        break;
    default: break;
    }
}

namespace {

// Lends `canvas` the DC with the control's font and colour for one paint, and takes the
// DC back afterwards, also when the paint throws.
template <class PaintFn>
void PaintWithCanvas(const TControl& control, TCanvas& canvas, HDC dc, PaintFn paint) {
    canvas.SetHandle(dc);
    canvas.SetFont(control.GetFont());
    canvas.GetBrush()->SetColor(control.GetColor());
    struct Release {
        TCanvas& c;
        ~Release() { c.SetHandle(nullptr); }
    } release{canvas};
    paint();
}

}  // namespace

// --- TGraphicControl -------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {
    clickEvents_ = true;
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam != 0) {
        PaintWithCanvas(*this, *canvas_, reinterpret_cast<HDC>(m.WParam), [this] { Paint(); });
        return;
    }
    TControl::WndProc(m);
}

// --- TCustomControl -----------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
    PaintWithCanvas(*this, *canvas_, dc, [this] { Paint(); });
}

}  // namespace vx
