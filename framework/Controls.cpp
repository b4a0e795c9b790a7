#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace vx {

namespace {

// The control whose window is being created: its first messages arrive before
// CreateWindowEx returns, so the window procedure links the two on the first message.
thread_local TWinControl* t_creationControl = nullptr;
TControl* g_captureControl = nullptr;
TControl* g_mouseControl = nullptr;

HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

bool IsAncestor(const TWinControl* parent, const TControl* control) {
    for (const TControl* c = control; c; c = c->GetParent())
        if (c == parent) return true;
    return false;
}

}  // namespace

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

// --- TWinControl -------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TWinControl, TControl)

void TWinControl::RegisterProperties(TPropertyRegistrar<TWinControl>& r) {
    r.Integer(L"TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
        .Boolean(L"TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
        .Boolean(L"DoubleBuffered", &TWinControl::GetDoubleBuffered, &TWinControl::SetDoubleBuffered)
        .Integer(L"BorderWidth", &TWinControl::GetBorderWidth, &TWinControl::SetBorderWidth);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { isWindowed_ = true; }

TWinControl::~TWinControl() {
    Destroying();
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        delete child;  // removes itself from controls_
    }
    DestroyHandle();
}

HWND TWinControl::GetHandle() {
    if (!handle_) {
        if (parent_) parent_->HandleNeeded();
        if (!handle_) CreateWnd();
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (tabStop_) p.Style |= WS_TABSTOP;
    if (GetVisible()) p.Style |= WS_VISIBLE;
    if (!GetEnabled()) p.Style |= WS_DISABLED;
    if (UseRightToLeftReading()) p.ExStyle |= WS_EX_RTLREADING;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.WndParent = parent_ ? parent_->handle_ : nullptr;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = ::DefWindowProcW;
    p.WindowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    p.WindowClass.hInstance = ModuleInstance();
    std::wcsncpy(p.WinClassName, ClassName().c_str(), 63);
    p.WinClassName[63] = 0;
}

void TWinControl::CreateSubClass(TCreateParams& p, const wchar_t* systemClass) {
    WNDCLASSW wc{};
    if (::GetClassInfoW(nullptr, systemClass, &wc) || ::GetClassInfoW(ModuleInstance(), systemClass, &wc)) {
        p.WindowClass = wc;
        p.WindowClass.style &= ~CS_GLOBALCLASS;
        p.WindowClass.hInstance = ModuleInstance();
    }
}

void TWinControl::CreateWnd() {
    if (parent_ && !parent_->handle_) parent_->HandleNeeded();
    if (handle_) return;
    TCreateParams p;
    CreateParams(p);
    WNDCLASSW existing{};
    const HINSTANCE instance = ModuleInstance();
    bool registered = ::GetClassInfoW(instance, p.WinClassName, &existing) != 0;
    if (registered && existing.lpfnWndProc != &TWinControl::FrameworkWndProc) {
        ::UnregisterClassW(p.WinClassName, instance);
        registered = false;
    }
    if (!registered) {
        WNDCLASSW wc = p.WindowClass;
        wc.lpfnWndProc = &TWinControl::FrameworkWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = p.WinClassName;
        wc.lpszMenuName = nullptr;
        if (!::RegisterClassW(&wc))
            throw Exception(L"Cannot register window class " + std::wstring(p.WinClassName) + L": " +
                            SysErrorMessage(::GetLastError()));
    }
    defWndProc_ = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : ::DefWindowProcW;
    TWinControl* saved = t_creationControl;
    t_creationControl = this;
    CreateWindowHandle(p);
    t_creationControl = saved;
    if (!handle_)
        throw Exception(L"Cannot create window " + std::wstring(p.WinClassName) + L": " +
                        SysErrorMessage(::GetLastError()));
    ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
    if (requestedClientWidth_ >= 0) {
        // The real frame may differ from the estimate made without a window.
        int w = requestedClientWidth_, h = requestedClientHeight_;
        requestedClientWidth_ = requestedClientHeight_ = -1;
        SetClientSize(w, h);
    }
    InitializeWindow();
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->isWindowed_) static_cast<TWinControl*>(c)->HandleNeeded();
    for (TWinControl* c : tabList_)
        if (c->handle_) ::SetWindowPos(c->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    HWND h = ::CreateWindowExW(p.ExStyle, p.WinClassName, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                               p.WndParent, nullptr, ModuleInstance(), p.Param);
    if (h && !handle_) {
        handle_ = h;
        ::SetPropW(h, MAKEINTATOM(ControlAtom()), this);
    }
}

void TWinControl::DestroyWnd() { text_ = GetText(); }

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TControl* c : controls_)
        if (c->isWindowed_) static_cast<TWinControl*>(c)->DestroyHandle();
    DestroyWnd();
    HWND h = handle_;
    ::DestroyWindow(h);
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    bool hadFocus = Focused();
    DestroyHandle();
    HandleNeeded();
    if (hadFocus) SetFocus();
    Perform(CM_RECREATEWND);
}

LRESULT CALLBACK TWinControl::FrameworkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(::GetPropW(window, MAKEINTATOM(ControlAtom())));
    if (!control) {
        control = t_creationControl;
        if (!control) return ::DefWindowProcW(window, msg, wParam, lParam);
        t_creationControl = nullptr;
        control->handle_ = window;
        ::SetPropW(window, MAKEINTATOM(ControlAtom()), control);
    }
    TMessage m{msg, wParam, lParam, 0};
    try {
        control->WindowProc(m);
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(control, e);
    } catch (...) {
        if (Application) Application->HandleException(control, Exception(L"Unknown error"));
    }
    if (msg == WM_NCDESTROY) {
        ::RemovePropW(window, MAKEINTATOM(ControlAtom()));
        if (control->handle_ == window) control->handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!handle_ || (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400)) return;
    m.Result = ::CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) return nullptr;
    return controls_[static_cast<size_t>(index)];
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWindowed) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->isWindowed_ && !allowWindowed) continue;
        if (!c->GetVisible() || (!c->GetEnabled() && !allowDisabled)) continue;
        if (p.x >= c->left_ && p.y >= c->top_ && p.x < c->left_ + c->width_ && p.y < c->top_ + c->height_) return c;
    }
    return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
    return control && control != this && IsAncestor(this, control);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->isWindowed_) tabList_.push_back(static_cast<TWinControl*>(control));
    if (control->parentFont_) control->ParentFontChanged();
    if (control->parentColor_) control->ParentColorChanged();
    control->UpdateAnchorRules();
    if (control->isWindowed_) {
        auto* w = static_cast<TWinControl*>(control);
        if (w->handle_ && handle_) ::SetParent(w->handle_, handle_);
        else if (handle_) w->HandleNeeded();
    }
    if (control->align_ != alNone) Realign();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    if (control->isWindowed_) {
        auto* w = static_cast<TWinControl*>(control);
        if (!IsDestroying() && !w->IsDestroying()) w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (control->align_ != alNone && !IsDestroying()) Realign();
}

void TWinControl::SetParent(TWinControl* parent) { TControl::SetParent(parent); }

RECT TWinControl::GetClientRect() const {
    RECT r{0, 0, width_, height_};
    if (handle_) {
        ::GetClientRect(handle_, &r);
        return r;
    }
    // Without a window: the bounds less the frame the window will have.
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, p.Style & ~WS_CHILD, FALSE, p.ExStyle);
    r.right = std::max(0L, static_cast<LONG>(width_ - (frame.right - frame.left)));
    r.bottom = std::max(0L, static_cast<LONG>(height_ - (frame.bottom - frame.top)));
    return r;
}

void TWinControl::SetClientSize(int width, int height) {
    RECT client = GetClientRect();
    const int frameWidth = width_ - (client.right - client.left);
    const int frameHeight = height_ - (client.bottom - client.top);
    if (!handle_) {
        requestedClientWidth_ = width;
        requestedClientHeight_ = height;
    }
    SetBounds(left_, top_, width + frameWidth, height + frameHeight);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_) {
        settingBounds_ = true;
        ::SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        settingBounds_ = false;
    }
    UpdateAnchorRules();
    RequestAlign();
    if (resized) {
        Realign();
        Resize();
    }
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || settingBounds_) return;
    RECT r;
    ::GetWindowRect(handle_, &r);
    if (::GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) {
        HWND parentWindow = ::GetParent(handle_);
        if (parentWindow) ::MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&r), 2);
    } else if (::IsIconic(handle_)) {
        return;
    }
    int w = r.right - r.left, h = r.bottom - r.top;
    if (r.left == left_ && r.top == top_ && w == width_ && h == height_) return;
    bool resized = w != width_ || h != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = w;
    height_ = h;
    UpdateAnchorRules();
    RequestAlign();
    if (resized) Resize();
}

void TWinControl::SetVisible(bool visible) {
    if (visible == GetVisible()) return;
    TControl::SetVisible(visible);
    if (handle_) ::ShowWindow(handle_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == GetEnabled()) return;
    if (handle_) ::EnableWindow(handle_, enabled ? TRUE : FALSE);
    TControl::SetEnabled(enabled);
}

void TWinControl::Invalidate() {
    if (handle_) ::InvalidateRect(handle_, nullptr, opaque_ ? FALSE : TRUE);
}

void TWinControl::Update() {
    if (handle_) ::UpdateWindow(handle_);
}

void TWinControl::SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

int TWinControl::GetTabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool value) {
    tabStop_ = value;
    if (handle_) {
        LONG style = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    Realign();
    Invalidate();
}

bool TWinControl::CanFocus() const {
    // The control and its parents up to (not including) the top-level window must be
    // visible and enabled; a hidden form's controls can still be chosen for focus.
    for (const TControl* c = this; c && c->GetParent(); c = c->GetParent())
        if (!c->GetVisible() || !c->GetEnabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) return;
    ::SetFocus(GetHandle());
}

bool TWinControl::Focused() const { return handle_ && ::GetFocus() == handle_; }

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward) const {
    std::vector<TWinControl*> all;
    GetTabOrderList(all);
    std::vector<TWinControl*> list;
    for (TWinControl* c : all)
        if (c == current || (c->tabStop_ && c->CanFocus())) list.push_back(c);
    if (list.empty()) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    size_t n = list.size();
    size_t start = it == list.end() ? (forward ? n - 1 : 0) : static_cast<size_t>(it - list.begin());
    for (size_t step = 1; step <= n; ++step) {
        size_t i = forward ? (start + step) % n : (start + n - step) % n;
        if (list[i] != current) return list[i];
    }
    return nullptr;
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0) --alignDisabled_;
    if (alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    if (aligning_) return;
    alignPending_ = false;
    aligning_ = true;
    RECT r = GetClientRect();
    AdjustClientRect(r);
    try {
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AdjustClientRect(RECT& r) const { ::InflateRect(&r, -borderWidth_, -borderWidth_); }

void TWinControl::AlignControls(RECT& r) {
    auto collect = [this](TAlign kind) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->align_ == kind && c->GetVisible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
            switch (kind) {
            case alTop: return a->top_ < b->top_;
            case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
            case alLeft: return a->left_ < b->left_;
            case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
            default: return false;
            }
        });
        return list;
    };
    for (TControl* c : collect(alTop)) {
        c->SetBounds(r.left, r.top, r.right - r.left, c->height_);
        r.top += c->height_;
    }
    for (TControl* c : collect(alBottom)) {
        c->SetBounds(r.left, r.bottom - c->height_, r.right - r.left, c->height_);
        r.bottom -= c->height_;
    }
    for (TControl* c : collect(alLeft)) {
        c->SetBounds(r.left, r.top, c->width_, r.bottom - r.top);
        r.left += c->width_;
    }
    for (TControl* c : collect(alRight)) {
        c->SetBounds(r.right - c->width_, r.top, c->width_, r.bottom - r.top);
        r.right -= c->width_;
    }
    for (TControl* c : collect(alClient)) c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    // Right- and bottom-anchored children keep their distance to those edges.
    RECT client = GetClientRect();
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    for (TControl* c : controls_) {
        if (c->align_ != alNone) continue;
        TAnchors a = c->anchors_;
        if (!(a & (akRight | akBottom))) continue;
        int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
        if (a & akRight) {
            if (a & akLeft) w = cw - c->anchorRight_ - l;
            else l = cw - c->anchorRight_ - w;
        }
        if (a & akBottom) {
            if (a & akTop) h = ch - c->anchorBottom_ - t;
            else t = ch - c->anchorBottom_ - h;
        }
        c->SetBounds(l, t, w, h);
    }
}

void TWinControl::FontChanged() {
    if (handle_) {
        ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 1);
    }
    for (TControl* c : controls_) c->ParentFontChanged();
    TControl::FontChanged();
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_) c->ParentColorChanged();
    Invalidate();
}

std::wstring TWinControl::GetText() const {
    if (!handle_) return TControl::GetText();
    int length = ::GetWindowTextLengthW(handle_);
    std::wstring s(static_cast<size_t>(length) + 1, L'\0');
    length = ::GetWindowTextW(handle_, s.data(), length + 1);
    s.resize(static_cast<size_t>(std::max(0, length)));
    return s;
}

void TWinControl::TextChanged() {
    if (handle_) ::SetWindowTextW(handle_, text_.c_str());
}

HBRUSH TWinControl::ColorBrush() {
    TColor c = ColorToRGB(GetColor()) & 0xFFFFFF;
    if (!colorBrush_ || brushColor_ != c) {
        colorBrush_.Reset(::CreateSolidBrush(c));
        brushColor_ = c;
    }
    return colorBrush_.Get();
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown && !IsDestroying()) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp && !IsDestroying()) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress && !IsDestroying()) OnKeyPress(this, key);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    RECT clip;
    if (::GetClipBox(dc, &clip) == ERROR) return;
    bool started = first == nullptr;
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (!started) {
            if (c != first) continue;
            started = true;
        }
        if (c->isWindowed_ || !c->GetVisible()) continue;
        RECT bounds = c->BoundsRect(), overlap;
        if (!::IntersectRect(&overlap, &bounds, &clip)) continue;
        TSavedDC saved(dc);
        ::OffsetWindowOrgEx(dc, -c->left_, -c->top_, nullptr);
        ::IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<std::uintptr_t>(dc), 0);
    }
}

void TWinControl::PaintHandler(TMessage& m) {
    HDC given = reinterpret_cast<HDC>(m.WParam);
    if (given) {
        {
            TSavedDC saved(given);
            PaintWindow(given);
        }
        PaintControls(given);
        return;
    }
    TPaintDC paint(handle_);
    HDC dc = paint.Get();
    const RECT& area = paint.Info().rcPaint;
    if (doubleBuffered_) {
        RECT cr;
        ::GetClientRect(handle_, &cr);
        TMemoryDC memory(dc);
        TBitmapHandle bitmap(::CreateCompatibleBitmap(dc, std::max(1L, cr.right), std::max(1L, cr.bottom)));
        TSelectObject selection(memory.Get(), bitmap.Get());
        ::IntersectClipRect(memory.Get(), area.left, area.top, area.right, area.bottom);
        Perform(WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(memory.Get()),
                reinterpret_cast<std::intptr_t>(memory.Get()));
        Perform(WM_PAINT, reinterpret_cast<std::uintptr_t>(memory.Get()), 0);
        ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(), area.left,
                 area.top, SRCCOPY);
    } else {
        {
            TSavedDC saved(dc);
            PaintWindow(dc);
        }
        PaintControls(dc);
    }
}

bool TWinControl::HasGraphicChildren() const {
    return std::any_of(controls_.begin(), controls_.end(),
                       [](const TControl* c) { return !c->isWindowed_ && c->GetVisible(); });
}

// A system control (tab control, ...) paints itself; graphic controls placed on it are
// drawn over its picture in the same paint, on the DC the system control painted on.
void TWinControl::PaintSystemControl(TMessage& m) {
    HDC given = reinterpret_cast<HDC>(m.WParam);
    if (given) {
        {
            TSavedDC saved(given);
            DefaultHandler(m);
        }
        PaintControls(given);
        return;
    }
    {
        TPaintDC paint(handle_);
        HDC dc = paint.Get();
        TMessage withDC{m.Msg, reinterpret_cast<std::uintptr_t>(dc), 0, 0};
        {
            TSavedDC saved(dc);
            DefaultHandler(withDC);
        }
        PaintControls(dc);
    }
    m.Result = 0;
}

bool TWinControl::RouteMouseToGraphic(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = nullptr;
    if (g_captureControl && !g_captureControl->isWindowed_ && g_captureControl->parent_ == this)
        target = g_captureControl;
    else if (!g_captureControl || g_captureControl == this)
        target = ControlAtPos(p, false);
    if (!target) return false;
    if (m.Msg == WM_MOUSEMOVE) {
        // The control holding the capture gets every move, but the mouse is over it only
        // while the point is inside it: a pressed button dragged off is left, and entered
        // again on its return.
        RECT bounds = target->BoundsRect();
        bool over = target != g_captureControl || ::PtInRect(&bounds, p);
        SetMouseControl(over ? target : FindDragTarget(ClientToScreen(p), false));
    }
    std::intptr_t l = MAKELPARAM(p.x - target->left_, p.y - target->top_);
    m.Result = target->Perform(m.Msg, m.WParam, l);
    return true;
}

void TWinControl::Reflect(TMessage& m, HWND child, unsigned cnMessage) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(cnMessage, m.WParam, m.LParam);
    } else {
        TControl::WndProc(m);
    }
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (OwnClass()) {
            PaintHandler(m);
            return;
        }
        if (HasGraphicChildren()) {
            PaintSystemControl(m);
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (OwnClass()) {
            // Double-buffered, the window's own DC needs no erasing: the buffered paint
            // covers it (and erasing would flicker). Any other DC, such as one someone
            // paints this control's picture into, is erased.
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (!doubleBuffered_ || m.WParam == static_cast<std::uintptr_t>(m.LParam) ||
                ::WindowFromDC(dc) != handle_) {
                RECT r;
                ::GetClientRect(handle_, &r);
                ::FillRect(dc, &r, ColorBrush());
            }
            m.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
    case WM_MOVE:
        TControl::WndProc(m);
        UpdateBoundsFromWindow();
        if (m.Msg == WM_SIZE) Realign();
        return;
    case WM_COMMAND:
        if (m.LParam != 0) {
            Reflect(m, reinterpret_cast<HWND>(m.LParam), CN_COMMAND);
            return;
        }
        if (HIWORD(m.WParam) == 0 && TMenu::DispatchCommand(LOWORD(m.WParam))) {
            m.Result = 0;
            return;
        }
        break;
    case WM_NOTIFY:
        Reflect(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom, CN_NOTIFY);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam != 0) {
            Reflect(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg);
            return;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        Reflect(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
    case CN_BASE + WM_CTLCOLORSCROLLBAR: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        ::SetTextColor(dc, ColorToColorRef(GetFont()->GetColor()));
        ::SetBkColor(dc, ColorToColorRef(GetColor()));
        m.Result = reinterpret_cast<std::intptr_t>(ColorBrush());
        return;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis->CtlType == ODT_MENU) {
            if (TMenuItem::DispatchDrawItem(*dis)) m.Result = 1;
            return;
        }
        Reflect(m, dis->hwndItem, CN_DRAWITEM);
        return;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis->CtlType == ODT_MENU) {
            if (TMenuItem::DispatchMeasureItem(*mis)) m.Result = 1;
            return;
        }
        Reflect(m, ::GetDlgItem(handle_, static_cast<int>(mis->CtlID)), CN_MEASUREITEM);
        return;
    }
    case WM_SETFOCUS:
        TControl::WndProc(m);
        if (TCustomForm* form = GetParentForm()) form->FocusChanged(this);
        Perform(CM_ENTER);
        if (OnEnter && !IsDestroying()) OnEnter(this);
        return;
    case WM_KILLFOCUS:
        TControl::WndProc(m);
        Perform(CM_EXIT);
        if (OnExit && !IsDestroying()) OnExit(this);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(m.WParam);
        KeyDown(key, KeyboardStateToShiftState());
        if (key == 0) return;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        KeyUp(key, KeyboardStateToShiftState());
        if (key == 0) return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        wchar_t ch = static_cast<wchar_t>(m.WParam);
        KeyPress(ch);
        if (ch == 0) return;
        m.WParam = ch;
        break;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
            TCursor cursor = Screen ? Screen->GetCursor() : crDefault;
            if (cursor == crDefault) {
                POINT p;
                ::GetCursorPos(&p);
                ::ScreenToClient(handle_, &p);
                TControl* c = ControlAtPos(p, true);
                cursor = (c ? c : this)->GetCursor();
            }
            if (cursor != crDefault) {
                ::SetCursor(CursorHandle(cursor));
                m.Result = 1;
                return;
            }
        }
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
        ::TrackMouseEvent(&tme);
        if (RouteMouseToGraphic(m)) return;
        if (!g_captureControl || g_captureControl == this) SetMouseControl(this);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (Application) Application->CancelHint();
        if (RouteMouseToGraphic(m)) return;
        break;
    case WM_MOUSELEAVE:
        if (g_mouseControl == this || (g_mouseControl && g_mouseControl->parent_ == this && !g_mouseControl->isWindowed_)) {
            POINT p;
            ::GetCursorPos(&p);
            TControl* now = FindDragTarget(p, true);
            SetMouseControl(now == g_mouseControl ? nullptr : now);
        }
        break;
    case WM_CAPTURECHANGED:
        if (g_captureControl && g_captureControl != this && g_captureControl->parent_ == this &&
            reinterpret_cast<HWND>(m.LParam) != handle_) {
            TControl* lost = g_captureControl;
            g_captureControl = nullptr;
            lost->Perform(WM_CANCELMODE);
        }
        break;
    case WM_CONTEXTMENU: {
        POINT sp{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (!(sp.x == -1 && sp.y == -1) && handle_) {
            POINT p = sp;
            ::ScreenToClient(handle_, &p);
            TControl* c = ControlAtPos(p, false);
            if (c && c->GetPopupMenu()) {
                m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
                return;
            }
        }
        break;
    }
    default: break;
    }
    TControl::WndProc(m);
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
