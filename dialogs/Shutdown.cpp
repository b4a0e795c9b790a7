#include "dialogs/Shutdown.h"

#include "framework/FormBuilding.h"

namespace vx {

VX_IMPLEMENT_CLASS(TfrmShutdown, TForm)

TfrmShutdown::TfrmShutdown(TComponent* owner) : TForm(owner) {
    SetName(L"frmShutdown");
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetCaption(L"视频转换完成");
    SetColor(clBtnFace);
    UseDialogFont(*this);
    SetClientSize(250, 152);

    lblMessage = PlaceLabel(this, this, L"lblMessage", 32, 16, L"视频转换完成，即将关闭电脑。");
    lblMessage->GetFont()->SetHeight(-14);

    imgShutdown = Place<TImage>(this, this, L"imgShutdown", 41, 44, 48, 48);
    imgShutdown->SetTransparent(true);
    LoadBitmapResource(*imgShutdown, L"SHUTDOWNPICTURE");

    Bevel1 = Place<TBevel>(this, this, L"Bevel1", 104, 48, 100, 41);
    Bevel1->SetShape(bsBox);
    Bevel1->SetStyle(bsLowered);

    lblCounter = Place<TLabel>(this, this, L"lblCounter", 106, 52, 95, 36);
    lblCounter->SetAutoSize(false);
    lblCounter->SetAlignment(taCenter);
    lblCounter->SetLayout(tlCenter);
    lblCounter->SetParentFont(false);
    lblCounter->GetFont()->SetName(L"Arial");
    lblCounter->GetFont()->SetHeight(-29);
    lblCounter->GetFont()->SetCharset(ANSI_CHARSET);
    lblCounter->SetCaption(L"00");

    btnShutdown = Place<TButton>(this, this, L"btnShutdown", 41, 112, 75, 25);
    btnShutdown->SetCaption(L"关闭电脑");
    btnShutdown->OnClick = [this](TObject* sender) { btnShutdownClick(sender); };
    btnCancel = Place<TButton>(this, this, L"btnCancel", 129, 112, 75, 25);
    btnCancel->SetCaption(L"取消关闭");
    btnCancel->SetCancel(true);
    btnCancel->OnClick = [this](TObject* sender) { btnCancelClick(sender); };
    btnCancel->SetTabOrder(0);
    btnShutdown->SetTabOrder(1);
    SetActiveControl(btnCancel);

    counter_ = kCountdownSeconds;
    lblCounter->SetCaption(std::to_wstring(counter_));

    Timer1 = new TTimer(this);
    Timer1->SetName(L"Timer1");
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](TObject* sender) { Timer1Timer(sender); };
    Timer1->SetEnabled(true);

    // The batch may end while the user works in another program.
    ::SetForegroundWindow(GetHandle());
}

void TfrmShutdown::Timer1Timer(TObject*) {
    if (counter_ <= 0) return;
    --counter_;
    lblCounter->SetCaption(std::to_wstring(counter_));
    lblCounter->Update();
    if (counter_ == 0) {
        Timer1->SetEnabled(false);
        SetModalResult(mrOk);
    }
}

void TfrmShutdown::btnShutdownClick(TObject*) {
    Timer1->SetEnabled(false);
    SetModalResult(mrOk);
}

void TfrmShutdown::btnCancelClick(TObject*) {
    Timer1->SetEnabled(false);
    SetModalResult(mrCancel);
}

}  // namespace vx
