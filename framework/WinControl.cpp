// TWinControl: its window (made on demand, destroyed and made again), its children and
// their tab order, bounds, focus, alignment of its children, text, colour and keys.
// Painting and the message handlers are in WinControlMessages.cpp.
#include "framework/Controls.h"

#include <algorithm>

#include "framework/ControlsInternal.h"
#include "framework/Forms.h"

namespace vx {

namespace {

// The control whose window is being created: its first messages arrive before
// CreateWindowEx returns, so the window procedure links the two on the first message.
thread_local TWinControl* t_creationControl = nullptr;

bool IsAncestor(const TWinControl* parent, const TControl* control) {
    for (const TControl* c = control; c; c = c->GetParent())
        if (c == parent) return true;
    return false;
}

}  // namespace

using detail::ModuleInstance;

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

}  // namespace vx
