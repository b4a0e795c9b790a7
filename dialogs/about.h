#pragma once
// The about box: product and version, the author's link and contact lines, the
// encoder's credit and a thanks line. The web link underlines itself in blue under
// the mouse and opens in the browser when clicked; the box stays open.

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include "dialogs/ShellOpen.h"

namespace vx {

inline constexpr wchar_t kVersionLine[] = L"版本: 1.3 Build (1.3.0.40)";

class TfrmAbout : public TForm {
    VX_DECLARE_CLASS(TfrmAbout, TForm)
public:
    // The link opens through `shell`.
    explicit TfrmAbout(TComponent* owner, TShellServices& shell = TShellServices::System());

    void Label3MouseEnter(TObject* Sender);
    void Label3MouseLeave(TObject* Sender);
    void Label3Click(TObject* Sender);

    TImage* Image1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label5;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label9;
    TLabel* Label6;
    TLabel* Label7;
    TBevel* Bevel1;
    TLabel* Label8;
    TButton* btnOK;

private:
    TShellServices& shell_;
};

}  // namespace vx
