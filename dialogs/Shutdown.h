#pragma once
// The countdown offered after an unattended batch: 15 seconds, then the dialog ends
// with OK and the caller switches the computer off. "取消关闭" or the close box end it
// with Cancel; "关闭电脑" ends it with OK at once.

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace vx {

class TfrmShutdown : public TForm {
    VX_DECLARE_CLASS(TfrmShutdown, TForm)
public:
    static constexpr int kCountdownSeconds = 15;

    explicit TfrmShutdown(TComponent* owner);

    // One tick of the one-second timer: one second less, shown; at 0 the dialog ends
    // with OK.
    void Timer1Timer(TObject* Sender);
    void btnShutdownClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);

    int Counter() const { return counter_; }

    TLabel* lblMessage;
    TImage* imgShutdown;
    TBevel* Bevel1;
    TLabel* lblCounter;
    TButton* btnShutdown;
    TButton* btnCancel;
    TTimer* Timer1;

private:
    int counter_ = kCountdownSeconds;
};

}  // namespace vx
