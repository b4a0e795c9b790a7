#include "framework/RangeControls.h"

#include <algorithm>
#include <string>

namespace vx {

// --- Range base --------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TRangeControl, TWinControl)

void TRangeControl::RegisterProperties(TPropertyRegistrar<TRangeControl>& r) {
    r.Integer(L"Min", &TRangeControl::GetMin, &TRangeControl::SetMin)
        .Integer(L"Max", &TRangeControl::GetMax, &TRangeControl::SetMax)
        .Integer(L"Position", &TRangeControl::GetPosition, &TRangeControl::SetPosition);
}

TRangeControl::TRangeControl(TComponent* owner, int max, UINT positionQuery)
    : TWinControl(owner), max_(max), positionQuery_(positionQuery) {}

void TRangeControl::SetMin(int v) {
    min_ = v;
    if (HandleAllocated()) InitializeWindow();
}
void TRangeControl::SetMax(int v) {
    max_ = v;
    if (HandleAllocated()) InitializeWindow();
}
int TRangeControl::GetPosition() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, positionQuery_, 0, 0));
    return position_;
}

// --- Progress bar ----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TProgressBar, TRangeControl)

void TProgressBar::RegisterProperties(TPropertyRegistrar<TProgressBar>& r) {
    r.Integer(L"Step", &TProgressBar::GetStep, &TProgressBar::SetStep)
        .Boolean(L"Smooth", &TProgressBar::GetSmooth, &TProgressBar::SetSmooth)
        .Enumeration(L"Orientation", &TProgressBar::GetOrientation, &TProgressBar::SetOrientation,
                     {L"pbHorizontal", L"pbVertical"});
}

TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner, 100, PBM_GETPOS) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, PROGRESS_CLASSW);
    if (smooth_) p.Style |= PBS_SMOOTH;
    if (orientation_ == pbVertical) p.Style |= PBS_VERTICAL;
}

void TProgressBar::InitializeWindow() {
    ::SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
    ::SendMessageW(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, std::max(min_, max_));
    if (HandleAllocated()) ::SendMessageW(handle_, PBM_SETPOS, position_, 0);
}
void TProgressBar::SetSmooth(bool v) {
    if (v == smooth_) return;
    smooth_ = v;
    RecreateWnd();
}
void TProgressBar::SetOrientation(TProgressBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}

// --- Track bar ---------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TTrackBar, TRangeControl)

void TTrackBar::RegisterProperties(TPropertyRegistrar<TTrackBar>& r) {
    r.Integer(L"Frequency", &TTrackBar::GetFrequency, &TTrackBar::SetFrequency)
        .Enumeration(L"Orientation", &TTrackBar::GetOrientation, &TTrackBar::SetOrientation,
                     {L"trHorizontal", L"trVertical"});
}

TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner, 10, TBM_GETPOS) {
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, TRACKBAR_CLASSW);
    p.Style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::InitializeWindow() {
    ::SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
    ::SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
    ::SendMessageW(handle_, TBM_SETTICFREQ, frequency_, 0);
    ::SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetPosition(int v) {
    v = std::clamp(v, min_, std::max(min_, max_));
    bool changed = v != GetPosition();
    position_ = v;
    if (HandleAllocated()) ::SendMessageW(handle_, TBM_SETPOS, TRUE, v);
    if (changed && OnChange && !IsDestroying()) OnChange(this);
}
void TTrackBar::SetFrequency(int v) {
    frequency_ = v;
    if (HandleAllocated()) ::SendMessageW(handle_, TBM_SETTICFREQ, v, 0);
}
void TTrackBar::SetOrientation(TTrackBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = static_cast<int>(::SendMessageW(handle_, TBM_GETPOS, 0, 0));
        if (pos != position_) {
            position_ = pos;
            if (OnChange && !IsDestroying()) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

// --- Up-down -----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomUpDown, TRangeControl)
VX_IMPLEMENT_CLASS(TUpDown, TCustomUpDown)

void TCustomUpDown::RegisterProperties(TPropertyRegistrar<TCustomUpDown>& r) {
    r.Integer(L"Increment", &TCustomUpDown::GetIncrement, &TCustomUpDown::SetIncrement)
        .Boolean(L"Wrap", &TCustomUpDown::GetWrap, &TCustomUpDown::SetWrap)
        .Enumeration(L"Orientation", &TCustomUpDown::GetOrientation, &TCustomUpDown::SetOrientation,
                     {L"udHorizontal", L"udVertical"})
        .Object(L"Associate", &TCustomUpDown::GetAssociate, &TCustomUpDown::SetAssociate);
}

TCustomUpDown::TCustomUpDown(TComponent* owner) : TRangeControl(owner, 100, UDM_GETPOS32) { SetBounds(0, 0, 17, 25); }

void TCustomUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSW);
    p.Style |= UDS_SETBUDDYINT | UDS_NOTHOUSANDS;
    if (wrap_) p.Style |= UDS_WRAP;
    if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
}

void TCustomUpDown::InitializeWindow() {
    ::SendMessageW(handle_, UDM_SETRANGE32, min_, max_);
    ::SendMessageW(handle_, UDM_SETPOS32, 0, position_);
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    ::SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_) ::SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->GetHandle()), 0);
}

void TCustomUpDown::SetPosition(int v) {
    position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (HandleAllocated()) ::SendMessageW(handle_, UDM_SETPOS32, 0, position_);
    if (associate_) associate_->SetText(std::to_wstring(position_));
}
void TCustomUpDown::SetIncrement(int v) {
    increment_ = v;
    if (HandleAllocated()) InitializeWindow();
}
void TCustomUpDown::SetWrap(bool v) {
    if (v == wrap_) return;
    wrap_ = v;
    RecreateWnd();
}
void TCustomUpDown::SetOrientation(TUDOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}
void TCustomUpDown::SetAssociate(TWinControl* control) {
    if (associate_) RemoveFreeNotification(associate_);
    associate_ = control;
    if (control) {
        FreeNotification(control);
        control->SetText(std::to_wstring(position_));
        if (HandleAllocated()) ::SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control->GetHandle()), 0);
    }
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == associate_) {
        associate_ = nullptr;
        // The window must not keep the handle of a buddy that is gone (handles are
        // reused, and it writes the position into its buddy's text).
        if (HandleAllocated()) ::SendMessageW(handle_, UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::WndProc(TMessage& m) {
    if (IsNotifyRecord(m)) {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        if (hdr->code == UDN_DELTAPOS) {
            auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
            if (OnClick && !IsDestroying()) OnClick(this, nm->iDelta > 0 ? btNext : btPrev);
        }
        return;
    }
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        position_ = static_cast<int>(::SendMessageW(handle_, UDM_GETPOS32, 0, 0));
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace vx
