#include "skin/controls/SkinDateTime.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/RangeRules.h"
#include "skin/controls/SkinRanges.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TArrowButton, TCustomControl)
VX_IMPLEMENT_CLASS(TSkinDateTime, TSkinControl)

namespace {

bool HasArrowPicture(const TControlSkinData* data) {
    return data && data->Model && data->Model->ComboxArrow && !data->Model->ComboxArrow->Bitmap.GetEmpty();
}

}  // namespace

// ---- The arrow companion ---------------------------------------------------------------

TArrowButton::TArrowButton(TSkinDateTime* owner, TWinControl* picker)
    : TCustomControl(owner), skin_(owner), picker_(picker) {
    SetTabStop(false);
    SetParent(picker);
}

int TArrowButton::CurrentFrame() const {
    const bool enabled = picker_->HandleAllocated() && ::IsWindowEnabled(picker_->GetHandle());
    const bool focused = picker_->HandleAllocated() && ::GetFocus() == picker_->GetHandle();
    return ArrowButtonFrame(enabled, pressed_ || skin_->DroppedDown(), hot_, skin_->CanShowHover(), focused);
}

void TArrowButton::Paint() {
    const TControlSkinData* data = skin_->Data();
    if (!HasArrowPicture(data)) return;
    TDataSkinObject& arrow = *data->Model->ComboxArrow;
    HDC dc = GetCanvas()->GetHandle();
    const RECT r = GetClientRect();
    TBrushHandle face(::CreateSolidBrush(ResolveColour(data->Model->ButtonFaceColour)));
    ::FillRect(dc, &r, face.Get());
    DrawFrame(dc, r, arrow.Bitmap, true, std::max(1, arrow.FrameCount), CurrentFrame());
}

void TArrowButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;  // Paint covers every pixel
        return;
    case CM_MOUSEENTER:
        hot_ = true;
        Invalidate();
        break;
    case CM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(message);
}

void TArrowButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !picker_->HandleAllocated() || !::IsWindowEnabled(picker_->GetHandle())) return;
    pressed_ = true;
    Invalidate();
    Update();
    // The press goes to the picker at the same place, over its own drop-down button,
    // which opens the calendar.
    const HWND picker = picker_->GetHandle();
    const LPARAM at = MAKELPARAM(GetLeft() + x, GetTop() + y);
    ::ReleaseCapture();
    if (::GetFocus() != picker) ::SetFocus(picker);
    ::SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, at);
}

void TArrowButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    pressed_ = false;
    Invalidate();
}

// ---- The picker ------------------------------------------------------------------------

void TSkinDateTime::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                                TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    if (!first || !initialised_) return;
    auto* picker = dynamic_cast<TWinControl*>(control_);
    if (!picker || !HasArrowPicture(data)) return;
    if (WindowLong(window_, GWL_STYLE) & DTS_UPDOWN) return;  // its up-down is skinned instead
    arrow_ = new TArrowButton(this, picker);
    companion_ = arrow_;
    PlaceArrow();
}

void TSkinDateTime::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == opRemove && component == arrow_) {
        // The picker frees its children first when it goes.
        arrow_ = nullptr;
        companion_ = nullptr;
    }
}

void TSkinDateTime::PlaceArrow() {
    if (!arrow_ || !window_) return;
    RECT client{};
    ::GetClientRect(window_, &client);
    const RECT r = [&] {
        const TLayoutRect a = DateTimeArrowRect(TLayoutRect{client.left, client.top, client.right, client.bottom},
                                                ::GetSystemMetrics(SM_CXVSCROLL));
        return RECT{a.Left, a.Top, a.Right, a.Bottom};
    }();
    arrow_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TSkinDateTime::AttachUpDown() {
    if (!skinData_ || !skinrules::Has(skinData_->SkinControls, skinrules::xcSpin)) return;
    const HWND spin = ::FindWindowExW(window_, nullptr, UPDOWN_CLASSW, nullptr);
    if (!spin || ::SendMessageW(spin, skinmsg::WM_SKINQUERY, 0, 0) == 1) return;
    auto* skin = new TSkinUpDown(form_ ? nullptr : this);
    skin->InitWindow(spin, skinData_, form_, canvas_);
}

bool TSkinDateTime::CanShowHover() {
    return window_ && ::IsWindowEnabled(window_) && !droppedDown_;
}

bool TSkinDateTime::BeforeMessage(TMessage& message) {
    if (TWinControl::IsNotifyRecord(message)) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(message.LParam);
        if (hdr->code == DTN_DROPDOWN || hdr->code == DTN_CLOSEUP) {
            droppedDown_ = hdr->code == DTN_DROPDOWN;
            if (arrow_) {
                if (!droppedDown_) arrow_->pressed_ = false;
                arrow_->Invalidate();
            }
        }
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinDateTime::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        PlaceArrow();
        break;
    case WM_NCPAINT:
        PaintWindow(nullptr);
        break;
    case WM_PAINT:
        AttachUpDown();
        PaintWindow(nullptr);
        break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        if (arrow_) arrow_->Invalidate();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinDateTime::DrawControl(HDC dc, const RECT& rect) {
    const TSkinModel* skin = Skin();
    if (!skin || !window_) return;
    // How thick the control's own border is: where its client area starts.
    RECT client{};
    ::GetClientRect(window_, &client);
    ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT window{};
    ::GetWindowRect(window_, &window);
    const int border = std::min<int>(client.left - window.left, client.top - window.top);
    if (border <= 0) return;  // no border: nothing to draw over
    TBrushHandle shadow(::CreateSolidBrush(ResolveColour(skin->ButtonShadowColour)));
    ::FrameRect(dc, &rect, shadow.Get());
    const COLORREF background = control_ ? ColorToColorRef(control_->GetColor()) : ::GetSysColor(COLOR_WINDOW);
    TBrushHandle inside(::CreateSolidBrush(background));
    RECT r = rect;
    for (int i = 1; i < border; ++i) {
        ::InflateRect(&r, -1, -1);
        ::FrameRect(dc, &r, inside.Get());
    }
}

}  // namespace vx
