#include "skin/controls/SkinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

using namespace skinmsg;

VX_IMPLEMENT_CLASS(TSkinControl, TComponent)

namespace {

// The window property that leads a subclassed bare window to its skin object.
const wchar_t kSkinObjectProperty[] = L"VxControlSkinObject";

}  // namespace

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
    *alive_ = false;
    Unhook();
    if (form_) form_->UnregisterControlSkin(this);
}

void TSkinControl::Unhook() {
    // A framework control that frees its owned components has already let go of this
    // object (its owner is cleared first): its message method must not be touched then.
    if (hasPreviousMethod_ && control_ && Owner() == control_ && !control_->IsDestroying())
        control_->WindowProc = previousMethod_;
    hasPreviousMethod_ = false;
    if (previousProc_ && window_ && state_ != scsDestroyed && ::IsWindow(window_)) {
        if (unicodeWindow_) ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        else ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        ::RemovePropW(window_, kSkinObjectProperty);
    }
    previousProc_ = nullptr;
}

void TSkinControl::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                               TCanvas* canvas) {
    if (initialised_) return;
    auto* control = dynamic_cast<TControl*>(Owner());
    if (!control) return;  // the owner must be the control to skin
    adoptColour_ = adoptColour;
    skinData_ = data;
    form_ = form;
    canvas_ = canvas;
    control_ = control;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        window_ = windowed->GetHandle();
        unicodeWindow_ = ::IsWindowUnicode(window_) != FALSE;
    }
    previousMethod_ = control_->WindowProc;
    hasPreviousMethod_ = true;
    control_->WindowProc = [this](TMessage& m) { Route(m); };
    if (form_) form_->RegisterControlSkin(this);
    if (adoptColour_ && Skin()) {
        savedColour_ = control_->GetColor();
        control_->SetColor(Skin()->ButtonFaceColour);
    }
    control_->Invalidate();
    initialised_ = true;
    state_ = scsInitialised;
}

void TSkinControl::InitWindow(HWND window, const TControlSkinData* data, IControlSkinHost* form, TCanvas* canvas) {
    if (initialised_ || !window) return;
    skinData_ = data;
    canvas_ = canvas;
    form_ = form;
    window_ = window;
    enabled_ = true;
    if (form_) form_->RegisterControlSkin(this);
    unicodeWindow_ = ::IsWindowUnicode(window) != FALSE;
    caption_ = ReadWindowText(window);
    ::SetPropW(window, kSkinObjectProperty, this);
    const auto proc = reinterpret_cast<LONG_PTR>(&TSkinControl::SubclassProc);
    previousProc_ = reinterpret_cast<WNDPROC>(unicodeWindow_ ? ::SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                                             : ::SetWindowLongPtrA(window, GWLP_WNDPROC, proc));
    ::InvalidateRect(window, nullptr, TRUE);
    initialised_ = true;
    state_ = scsInitialised;
}

LRESULT CALLBACK TSkinControl::SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TSkinControl*>(::GetPropW(window, kSkinObjectProperty));
    if (!self) return ::DefWindowProcW(window, msg, wParam, lParam);
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    self->Route(m);
    if (msg == WM_NCDESTROY) {
        // The window is gone: nothing is given back to it, the object is only unlisted
        // later by its host.
        ::RemovePropW(window, kSkinObjectProperty);
    }
    return m.Result;
}

void TSkinControl::RestoreControl() {
    if (adoptColour_ && control_ && !control_->IsDestroying()) control_->SetColor(savedColour_);
}

void TSkinControl::PassOn(TMessage& message) {
    if (hasPreviousMethod_) {
        // A copy: the call may end in this object being freed.
        TWndMethod previous = previousMethod_;
        if (previous) previous(message);
    } else if (previousProc_) {
        message.Result = unicodeWindow_
                             ? ::CallWindowProcW(previousProc_, window_, message.Msg, message.WParam, message.LParam)
                             : ::CallWindowProcA(previousProc_, window_, message.Msg, message.WParam, message.LParam);
    }
}

void TSkinControl::Route(TMessage& message) {
    if (message.Msg == CM_RECREATEWND && state_ == scsDestroyed && form_) {
        // The control stood aside when its old window went; its new one is skinned by
        // the host (a fresh object), after this message.
        if (auto* windowed = dynamic_cast<TWinControl*>(control_); windowed && windowed->HandleAllocated())
            form_->ControlWindowRecreated(windowed->GetHandle());
    }
    if (message.Msg == WM_SKINSWITCH) {
        skinActive_ = static_cast<std::intptr_t>(message.WParam) > 0;
        if (skinActive_) Repaint();
        return;
    }
    if (!skinActive_) {
        PassOn(message);
        return;
    }
    const std::shared_ptr<bool> alive = alive_;
    if (BeforeMessage(message) && *alive) {
        PassOn(message);
        if (*alive) AfterMessage(message);
    }
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY:
        PassOn(message);
        skinActive_ = false;
        state_ = scsDestroyed;
        RestoreControl();
        if (form_) form_->ControlWindowDestroyed();
        return false;
    case WM_SKINQUERY:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
        break;
    case WM_SKINSWITCH:
        skinActive_ = static_cast<std::intptr_t>(message.WParam) > 0;
        break;
    default:
        break;
    }
}

bool TSkinControl::AnswerOwnPaint(TMessage& message, bool paints) {
    if (!paints) return false;
    if (message.Msg == WM_PAINT) {
        PaintClient(message);
        return true;
    }
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return true;
    }
    return false;
}

void TSkinControl::PaintClient(TMessage& message) {
    RECT r{};
    ::GetClientRect(window_, &r);
    if (message.WParam) {
        DrawControl(reinterpret_cast<HDC>(message.WParam), r);
    } else {
        TPaintDC paint(window_);
        DrawControl(paint.Get(), r);
    }
    message.Result = 0;
}

void TSkinControl::PaintWindow(HDC dc) {
    if (!window_) return;
    RECT r{};
    if (!::GetWindowRect(window_, &r)) return;
    windowRect_ = r;
    ::OffsetRect(&r, -r.left, -r.top);
    try {
        if (dc) {
            DrawControl(dc, r);
        } else {
            TWindowDC whole = TWindowDC::Whole(window_);
            if (whole) DrawControl(whole.Get(), r);
        }
    } catch (...) {
        // A faulty element never breaks the control's own handling.
    }
}

void TSkinControl::RefreshSkin() {
    if (adoptColour_ && control_ && Skin()) control_->SetColor(Skin()->ButtonFaceColour);
    Repaint();
}

void TSkinControl::Repaint() {
    if (companion_) {
        companion_->Invalidate();
        return;
    }
    if (window_ && ::IsWindow(window_)) {
        ::InvalidateRect(window_, nullptr, TRUE);
        ::UpdateWindow(window_);
    }
}

const TSkinModel* TSkinControl::Skin() const { return skinData_ ? skinData_->Model : nullptr; }

bool TSkinControl::HasOption(int option) const {
    return skinData_ && skinrules::Has(skinData_->Options, option);
}

void TSkinControl::FillColour(HDC dc, const RECT& rect, TColour colour) {
    TBrushHandle brush(::CreateSolidBrush(ResolveColour(colour)));
    if (brush) ::FillRect(dc, &rect, brush.Get());
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) {
    FillColour(dc, rect, Skin() ? Skin()->ButtonFaceColour : SystemColourRef(COLOR_BTNFACE));
}

void TSkinControl::FillParentColour(HDC dc, const RECT& rect) {
    const int colour = control_ ? ReadIntProperty(control_->GetParent(), L"Color") : -1;
    if (colour == -1) FillFace(dc, rect);
    else FillColour(dc, rect, static_cast<TColour>(colour));
}

void TSkinControl::DrawTextFocus(HDC dc, UINT flags, const RECT& rect) {
    RECT measured = rect;
    DrawTextWide(dc, caption_, measured, flags | DT_CALCRECT | DT_NOCLIP);
    const int w = measured.right - measured.left;
    const int h = measured.bottom - measured.top;
    RECT f{rect.left, rect.top, rect.left + w, rect.top + h};
    if (flags & DT_CENTER) ::OffsetRect(&f, (rect.right - rect.left - w) / 2, 0);
    else if (flags & DT_RIGHT) ::OffsetRect(&f, rect.right - rect.left - w, 0);
    ::InflateRect(&f, 2, 1);
    RECT clipped{};
    if (::IntersectRect(&clipped, &f, &rect)) ::DrawFocusRect(dc, &clipped);
}

LONG_PTR TSkinControl::WindowLong(HWND window, int index) const {
    return unicodeWindow_ ? ::GetWindowLongPtrW(window, index) : ::GetWindowLongPtrA(window, index);
}

UINT TSkinControl::RightToLeftFlags(UINT flags) const {
    if ((control_ && control_->UseRightToLeftReading()) || (companion_ && companion_->UseRightToLeftReading()))
        flags |= DT_RTLREADING;
    return flags;
}

void TSkinControl::ForwardMouseDown(const TMessage& message) {
    if (!control_) return;
    int x = GET_X_LPARAM(message.LParam);
    int y = GET_Y_LPARAM(message.LParam);
    if (control_->GetWidth() > 32768 || control_->GetHeight() > 32768) {
        // 16-bit coordinates cannot hold the point: take the cursor instead.
        POINT p{};
        ::GetCursorPos(&p);
        p = control_->ScreenToClient(p);
        x = p.x;
        y = p.y;
    }
    control_->MouseDown(mbLeft, KeysToShiftState(message.WParam), x, y);
}

void TSkinControl::DrawSkinElement(HDC dc, const RECT& rect, int frame, TDataSkinObject* element) {
    if (!element || element->Bitmap.GetEmpty()) return;
    const TMargins margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    DrawElement(dc, rect, element->Bitmap, false, element->Tile != 0, element->Trans == 1, element->FrameCount,
                frame, margins);
}

void TSkinControl::TrackMouseLeave() {
    if (!window_) return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = window_;
    ::TrackMouseEvent(&tme);
}

int TSkinControl::ReadIntProperty(const TObject* object, std::wstring_view name) {
    const TPropInfo* p = GetPropInfo(object, name);
    std::int64_t value = 0;
    if (!p || p->Kind != TPropKind::Integer || !GetOrdProp(object, name, value)) return -1;
    return static_cast<int>(value);
}

std::wstring TSkinControl::ReadEnumProperty(const TObject* object, std::wstring_view name) {
    const TPropInfo* p = GetPropInfo(object, name);
    std::wstring value;
    if (!p || p->Kind != TPropKind::Enumeration || !GetEnumProp(object, name, value)) return {};
    return value;
}

std::wstring TSkinControl::ReadTextProperty(const TObject* object, std::wstring_view name) {
    const TPropInfo* p = GetPropInfo(object, name);
    std::wstring value;
    if (!p || p->Kind != TPropKind::Text || !GetStrProp(object, name, value)) return {};
    return value;
}

TObject* TSkinControl::ReadObjectProperty(const TObject* object, std::wstring_view name, const TClassInfo& cls) {
    const TPropInfo* p = GetPropInfo(object, name);
    TObject* value = nullptr;
    if (!p || p->Kind != TPropKind::Object || !GetObjectProp(object, name, value)) return nullptr;
    return value && value->InheritsFrom(cls) ? value : nullptr;
}

bool TSkinControl::WriteProperty(TObject* object, std::wstring_view name, const std::wstring& text) {
    const TPropInfo* p = GetPropInfo(object, name);
    if (!p) return false;
    switch (p->Kind) {
    case TPropKind::Integer: {
        if (text.empty()) return false;
        wchar_t* end = nullptr;
        errno = 0;
        const long long v = std::wcstoll(text.c_str(), &end, 10);
        if (errno != 0 || !end || *end != L'\0' || v < INT32_MIN || v > INT32_MAX) return false;
        return SetOrdProp(object, name, v);
    }
    case TPropKind::Enumeration:
        return SetEnumProp(object, name, text);
    case TPropKind::Text:
        return SetStrProp(object, name, text);
    case TPropKind::Object:
        return false;
    }
    return false;
}

std::wstring TSkinControl::ReadWindowText(HWND window) {
    if (!window) return {};
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(0, got)));
    return text;
}

void PaintParentInto(TControl* control, HDC dc) {
    if (!control || !dc) return;
    TWinControl* parent = control->GetParent();
    if (!parent || !parent->HandleAllocated()) return;
    // The parent's painting may paint this control again (a windowless control is
    // painted by its parent), which would ask for the parent once more.
    static thread_local std::vector<const TWinControl*> painting;
    if (std::find(painting.begin(), painting.end(), parent) != painting.end()) return;
    painting.push_back(parent);
    TScopeExit done([&] { painting.pop_back(); });

    TSavedDC saved(dc);
    ::OffsetViewportOrgEx(dc, -control->GetLeft(), -control->GetTop(), nullptr);
    ::IntersectClipRect(dc, control->GetLeft(), control->GetTop(), control->GetLeft() + control->GetWidth(),
                        control->GetTop() + control->GetHeight());
    const HWND window = parent->GetHandle();
    ::SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

}  // namespace vx
