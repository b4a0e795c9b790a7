#pragma once
// The date-time picker: a date or a time, in the short or the long date format.

#include <windows.h>
#include <commctrl.h>

#include "framework/Controls.h"

namespace vx {

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
    VX_DECLARE_CLASS(TDateTimePicker, TWinControl)
public:
    explicit TDateTimePicker(TComponent* owner);
    SYSTEMTIME GetDateTime() const;
    void SetDateTime(const SYSTEMTIME& value);
    TDateTimeKind GetKind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    TDTDateFormat GetDateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat format);
    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TDateTimePicker>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    SYSTEMTIME value_{};
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
};

}  // namespace vx
