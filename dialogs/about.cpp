#include "dialogs/about.h"

#include "app/AuthorLinks.h"
#include "dialogs/ShellOpen.h"
#include "framework/FormBuilding.h"

namespace vx {

VX_IMPLEMENT_CLASS(TfrmAbout, TForm)

namespace {

void FixWidth(TLabel& label, int width) {
    label.SetAutoSize(false);
    label.SetWidth(width);
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* owner, TShellServices& shell) : TForm(owner), shell_(shell) {
    SetName(L"frmAbout");
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetCaption(L"关于 ...");
    SetColor(clWhite);
    UseDialogFont(*this);
    SetClientSize(311, 261);

    Image1 = Place<TImage>(this, this, L"Image1", 18, 20, 48, 48);
    LoadBitmapResource(*Image1, L"APPICON48");

    Label1 = PlaceLabel(this, this, L"Label1", 80, 20, L"Vexlo视频转换器");
    Label1->GetFont()->SetHeight(-16);
    Label1->GetFont()->SetStyle(fsBold);

    // The placeholders below get the texts the user sees at the end of creation.
    Label2 = PlaceLabel(this, this, L"Label2", 80, 54, L"Label2");
    Label5 = PlaceLabel(this, this, L"Label5", 80, 72, L"Label5");
    Label3 = PlaceLabel(this, this, L"Label3", 80, 90, L"Label3");
    Label3->SetCursor(crHandPoint);
    Label3->OnMouseEnter = [this](TObject* sender) { Label3MouseEnter(sender); };
    Label3->OnMouseLeave = [this](TObject* sender) { Label3MouseLeave(sender); };
    Label3->OnClick = [this](TObject* sender) { Label3Click(sender); };
    Label4 = PlaceLabel(this, this, L"Label4", 80, 108, L"Label4");
    Label9 = PlaceLabel(this, this, L"Label9", 230, 108, L"Label9");
    Label6 = PlaceLabel(this, this, L"Label6", 80, 138, L"采用 Mencoder 压缩核心");
    Label7 = PlaceLabel(this, this, L"Label7", 80, 156, L"Copyright (C) 2000-2008 MPlayer Team");

    Bevel1 = Place<TBevel>(this, this, L"Bevel1", 78, 178, 219, 39);
    Label8 = PlaceLabel(this, this, L"Label8", 85, 185, L"Label8");

    btnOK = Place<TButton>(this, this, L"btnOK", 228, 226, 68, 25);
    btnOK->SetCaption(L"OK");
    btnOK->SetModalResult(mrOk);
    btnOK->SetDefault(true);
    btnOK->SetTabOrder(0);

    Label2->SetCaption(kVersionLine);
    Label3->SetCaption(kAuthorWebSite);
    Label4->SetCaption(std::wstring(L"邮件: ") + kAuthorMail);
    Label5->SetCaption(L"Copyright (C) 2008 Vexlo");
    Label9->SetCaption(L"QQ: 00000000");
    Label8->SetCaption(L"感谢:\r\n    所有测试用户 ");

    // Fixed label boxes that reach to the right edge (the Label9 column for Label4):
    // the text is never cut short by a measurement in another face, and the labels
    // leave the frame around the thanks line visible.
    for (TLabel* label : {Label2, Label5, Label3, Label6, Label7}) FixWidth(*label, 311 - label->GetLeft() - 4);
    FixWidth(*Label4, Label9->GetLeft() - Label4->GetLeft() - 4);
    FixWidth(*Label9, 311 - Label9->GetLeft() - 2);
    FixWidth(*Label8, Bevel1->GetLeft() + Bevel1->GetWidth() - Label8->GetLeft() - 4);
    Label8->SetHeight(28);
    for (TLabel* label : {Label2, Label5, Label3, Label4, Label9, Label6, Label7, Label8}) label->SetTransparent(true);
}

void TfrmAbout::Label3MouseEnter(TObject*) {
    Label3->GetFont()->SetColor(static_cast<TColor>(RGB(0, 0, 255)));
    Label3->GetFont()->SetStyle(fsUnderline);
}

void TfrmAbout::Label3MouseLeave(TObject*) {
    Label3->GetFont()->SetColor(clBlack);
    Label3->GetFont()->SetStyle(0);
}

void TfrmAbout::Label3Click(TObject*) { shell_.ShellOpen(GetHandle(), L"OPEN", Label3->GetCaption()); }

}  // namespace vx
