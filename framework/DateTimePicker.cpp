#include "framework/DateTimePicker.h"

namespace vx {

// --- Date-time picker ----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TDateTimePicker, TWinControl)

void TDateTimePicker::RegisterProperties(TPropertyRegistrar<TDateTimePicker>& r) {
    r.Enumeration(L"Kind", &TDateTimePicker::GetKind, &TDateTimePicker::SetKind, {L"dtkDate", L"dtkTime"})
        .Enumeration(L"DateFormat", &TDateTimePicker::GetDateFormat, &TDateTimePicker::SetDateFormat,
                     {L"dfShort", L"dfLong"});
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 186, 21);
    ::GetLocalTime(&value_);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, DATETIMEPICK_CLASSW);
    p.Style |= kind_ == dtkTime ? DTS_TIMEFORMAT : (dateFormat_ == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT);
}

void TDateTimePicker::InitializeWindow() {
    ::SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
}

void TDateTimePicker::DestroyWnd() {
    value_ = GetDateTime();
    TWinControl::DestroyWnd();
}

SYSTEMTIME TDateTimePicker::GetDateTime() const {
    if (!handle_) return value_;
    SYSTEMTIME st{};
    if (::SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID) return st;
    return value_;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value) {
    value_ = value;
    if (HandleAllocated()) InitializeWindow();
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat format) {
    if (format == dateFormat_) return;
    dateFormat_ = format;
    RecreateWnd();
}

void TDateTimePicker::WndProc(TMessage& m) {
    if (IsNotifyRecord(m)) {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        if (hdr->code == DTN_DATETIMECHANGE) {
            value_ = GetDateTime();
            if (OnChange && !IsDestroying()) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace vx
