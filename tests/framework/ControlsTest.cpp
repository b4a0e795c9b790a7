#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/framework/MessageSpy.h"

namespace {

using namespace vx;

std::wstring WindowText(HWND h) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(h, buffer, 256);
    return buffer;
}

std::wstring WindowClass(HWND h) {
    wchar_t buffer[128] = {};
    ::GetClassNameW(h, buffer, 128);
    return buffer;
}

// A form whose window class is renamed in CreateParams, as the main window does.
class TRenamedForm : public TForm {
    VX_DECLARE_CLASS(TRenamedForm, TForm)
public:
    using TForm::TForm;

protected:
    void CreateParams(TCreateParams& params) override {
        TForm::CreateParams(params);
        std::wcscpy(params.WinClassName, L"_VXTestClass_");
    }
};
VX_IMPLEMENT_CLASS(TRenamedForm, TForm)

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(484, 393);
    }
    std::unique_ptr<TForm> form;
};

TEST_F(ControlsTest, AReplacedMessageMethodSeesEveryMessageAndPassesThemOn) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    HWND h = panel->GetHandle();
    auto log = SpyOn(panel);
    ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"面板"));
    EXPECT_EQ(WindowText(h), L"面板");  // handed on: the window did its own work
    EXPECT_EQ(panel->GetCaption(), L"面板");
    panel->SetEnabled(false);
    panel->SetVisible(false);
    EXPECT_TRUE(log->Has(WM_SETTEXT));
    EXPECT_TRUE(log->Has(0xB00C));
    EXPECT_TRUE(log->Has(0xB00B));
    EXPECT_TRUE(log->Has(WM_ENABLE));
    EXPECT_FALSE(::IsWindowEnabled(h));
}

TEST_F(ControlsTest, AReplacedMessageMethodCanConsumeAMessage) {
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetText(L"old");
    HWND h = edit->GetHandle();
    TWndMethod previous = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_SETTEXT) {
            m.Result = 42;  // consumed: the edit never sees it
            return;
        }
        previous(m);
    };
    EXPECT_EQ(::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new")), 42);
    EXPECT_EQ(WindowText(h), L"old");
    edit->WindowProc = previous;
    ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new"));
    EXPECT_EQ(edit->GetText(), L"new");
}

TEST_F(ControlsTest, GraphicControlsGetMouseAndPaintFromTheirParent) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 200, 100);
    auto* label = new TLabel(form.get());
    label->SetParent(panel);
    label->SetAutoSize(false);
    label->SetBounds(20, 30, 80, 20);
    label->SetCaption(L"我要捐助！");
    auto log = SpyOn(label);
    POINT down{-1, -1};
    int clicks = 0;
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { down = POINT{x, y}; };
    label->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    HWND ph = panel->GetHandle();
    ::SendMessageW(ph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    ::SendMessageW(ph, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
    EXPECT_EQ(down.x, 5);
    EXPECT_EQ(down.y, 5);
    EXPECT_EQ(clicks, 1);
    // A click outside the label reaches the panel, not the label.
    ::SendMessageW(ph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 80));
    ::SendMessageW(ph, WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
    EXPECT_EQ(clicks, 1);
    ::InvalidateRect(ph, nullptr, TRUE);
    ::UpdateWindow(ph);
    EXPECT_TRUE(log->Has(WM_PAINT));
    label->OnMouseDown = nullptr;
    label->OnClick = nullptr;
}

TEST_F(ControlsTest, MouseEnterAndLeaveReachTheControlAsNotifications) {
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    int entered = 0, left = 0;
    label->OnMouseEnter = [&](TObject*) { ++entered; };
    label->OnMouseLeave = [&](TObject*) { ++left; };
    SetMouseControl(label);
    SetMouseControl(form.get());
    SetMouseControl(nullptr);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
}

TEST_F(ControlsTest, FindControlFollowsTheWindowProperty) {
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    HWND h = button->GetHandle();
    wchar_t expected[64];
    std::swprintf(expected, 64, L"ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(::GetModuleHandleW(nullptr))),
                  static_cast<unsigned>(::GetCurrentThreadId()));
    EXPECT_EQ(ControlAtomName(), expected);
    EXPECT_EQ(::GetPropW(h, expected), static_cast<HANDLE>(static_cast<TWinControl*>(button)));
    EXPECT_EQ(FindControl(h), button);
    EXPECT_EQ(FindControl(form->GetHandle()), form.get());
    EXPECT_EQ(FindControl(Application->GetHandle()), nullptr);
    EXPECT_EQ(FindControl(nullptr), nullptr);
    delete button;
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(FindControl(h), nullptr);
}

TEST_F(ControlsTest, CreateParamsCanRenameTheWindowClass) {
    TRenamedForm renamed(nullptr);
    HWND h = renamed.GetHandle();
    EXPECT_EQ(WindowClass(h), L"_VXTestClass_");
    EXPECT_EQ(::FindWindowW(L"_VXTestClass_", nullptr), h);
    EXPECT_EQ(FindControl(h), &renamed);
    // Without the override the class is named after the control's class.
    EXPECT_EQ(WindowClass(form->GetHandle()), L"TForm");
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    EXPECT_EQ(WindowClass(panel->GetHandle()), L"TPanel");
}

TEST_F(ControlsTest, ClassIdentityFollowsTheClassicHierarchy) {
    auto* bitBtn = new TBitBtn(form.get());
    auto* check = new TCheckBox(form.get());
    auto* speed = new TSpeedButton(form.get());
    auto* list = new TListView(form.get());
    auto* panel = new TPanel(form.get());
    EXPECT_EQ(bitBtn->ClassName(), L"TBitBtn");
    EXPECT_TRUE(bitBtn->InheritsFrom(L"TButton"));
    EXPECT_TRUE(bitBtn->InheritsFrom(TButtonControl::StaticClass()));
    EXPECT_TRUE(bitBtn->InheritsFrom(L"TWinControl"));
    EXPECT_TRUE(check->InheritsFrom(L"TCustomCheckBox"));
    EXPECT_FALSE(check->InheritsFrom(L"TButton"));
    EXPECT_TRUE(speed->InheritsFrom(L"TGraphicControl"));
    EXPECT_FALSE(speed->InheritsFrom(L"TWinControl"));
    EXPECT_TRUE(list->InheritsFrom(L"TCustomListView"));
    EXPECT_TRUE(panel->InheritsFrom(L"TCustomPanel"));
    EXPECT_TRUE(panel->InheritsFrom(L"TCustomControl"));
    EXPECT_TRUE(form->InheritsFrom(L"TCustomForm"));
    EXPECT_TRUE(form->InheritsFrom(L"TScrollingWinControl"));
    EXPECT_TRUE(TRadioGroup::StaticClass().InheritsFrom(L"TCustomGroupBox"));
    EXPECT_TRUE(TTabSheet::StaticClass().InheritsFrom(L"TWinControl"));
    EXPECT_TRUE(TUpDown::StaticClass().InheritsFrom(L"TCustomUpDown"));
    EXPECT_TRUE(TMemo::StaticClass().InheritsFrom(L"TCustomEdit"));
}

TEST_F(ControlsTest, PropertiesAreReachedByNameOnRealControls) {
    auto* bitBtn = new TBitBtn(form.get());
    bitBtn->SetParent(form.get());
    std::wstring value;
    EXPECT_TRUE(GetEnumProp(bitBtn, L"Layout", value));
    EXPECT_EQ(value, L"blGlyphLeft");
    EXPECT_TRUE(SetEnumProp(bitBtn, L"layout", L"BLGLYPHTOP"));
    EXPECT_EQ(bitBtn->GetLayout(), blGlyphTop);
    EXPECT_TRUE(SetStrProp(bitBtn, L"Caption", L"确定"));
    EXPECT_EQ(WindowText(bitBtn->GetHandle()), L"确定");
    TObject* glyph = nullptr;
    EXPECT_TRUE(GetObjectProp(bitBtn, L"Glyph", glyph));
    EXPECT_EQ(glyph, bitBtn->GetGlyph());

    auto* check = new TCheckBox(form.get());
    check->SetParent(form.get());
    EXPECT_TRUE(SetOrdProp(check, L"Checked", 1));
    EXPECT_EQ(::SendMessageW(check->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(GetEnumProp(check, L"State", value));
    EXPECT_EQ(value, L"cbChecked");

    auto* speed = new TSpeedButton(form.get());
    speed->SetFlat(true);
    EXPECT_TRUE(GetEnumProp(speed, L"Flat", value));
    EXPECT_EQ(value, L"True");
    std::int64_t ord = 0;
    EXPECT_TRUE(GetOrdProp(speed, L"NumGlyphs", ord));
    EXPECT_EQ(ord, 1);

    auto* panel = new TPanel(form.get());
    EXPECT_TRUE(GetEnumProp(panel, L"BevelOuter", value));
    EXPECT_EQ(value, L"bvRaised");
    EXPECT_TRUE(GetOrdProp(panel, L"Color", ord));
    EXPECT_EQ(static_cast<TColor>(ord), clBtnFace);

    TObject* font = nullptr;
    EXPECT_TRUE(GetObjectProp(panel, L"Font", font));
    EXPECT_EQ(font, panel->GetFont());
    // Missing properties and the wrong kinds are refused, not guessed.
    EXPECT_FALSE(GetOrdProp(panel, L"NoSuchProperty", ord));
    EXPECT_FALSE(SetStrProp(panel, L"Left", L"12"));
    EXPECT_FALSE(SetEnumProp(panel, L"BevelOuter", L"bvSideways"));
    EXPECT_FALSE(GetOrdProp(nullptr, L"Left", ord));
}

TEST_F(ControlsTest, AlignedPanelsShareTheClientArea) {
    auto* top = new TPanel(form.get());
    top->SetParent(form.get());
    top->SetHeight(65);
    top->SetAlign(alTop);
    auto* bottom = new TPanel(form.get());
    bottom->SetParent(form.get());
    bottom->SetHeight(81);
    bottom->SetAlign(alBottom);
    bottom->SetBorderWidth(5);
    auto* rest = new TPanel(form.get());
    rest->SetParent(form.get());
    rest->SetAlign(alClient);
    form->HandleNeeded();
    EXPECT_EQ(form->GetClientWidth(), 484);
    EXPECT_EQ(form->GetClientHeight(), 393);
    EXPECT_EQ(top->BoundsRect().right, 484);
    EXPECT_EQ(top->GetTop(), 0);
    EXPECT_EQ(bottom->GetTop(), 393 - 81);
    EXPECT_EQ(rest->GetTop(), 65);
    EXPECT_EQ(rest->GetHeight(), 393 - 65 - 81);
    // A child filling the bordered panel keeps the border and the bevel free.
    auto* inner = new TProgressBar(form.get());
    inner->SetParent(bottom);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->GetLeft(), 6);
    EXPECT_EQ(inner->GetWidth(), 484 - 12);
    // Resizing the form re-lays the children out.
    form->SetClientSize(600, 400);
    EXPECT_EQ(top->GetWidth(), 600);
    EXPECT_EQ(bottom->GetTop(), 400 - 81);
}

TEST_F(ControlsTest, RightAnchoredControlsKeepTheirDistance) {
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(400, 10, 75, 25);
    button->SetAnchors(akTop | akRight);
    form->SetClientSize(584, 393);
    EXPECT_EQ(button->GetLeft(), 500);
}

TEST_F(ControlsTest, FormsUseTheChineseFontAndChildrenInheritIt) {
    TFont* f = form->GetFont();
    EXPECT_EQ(f->GetName(), L"宋体");
    EXPECT_EQ(f->GetCharset(), GB2312_CHARSET);
    EXPECT_EQ(std::abs(f->GetHeight()), 12);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    form->GetFont()->SetColor(clBlue);
    EXPECT_EQ(label->GetFont()->GetColor(), clBlue);
    label->GetFont()->SetStyle(fsUnderline);
    EXPECT_FALSE(label->GetParentFont());
    form->GetFont()->SetColor(clRed);
    EXPECT_EQ(label->GetFont()->GetColor(), clBlue);  // no longer follows
}

TEST_F(ControlsTest, ChildControlsOnAFreedParentAreFreedWithIt) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    auto* button = new TButton(form.get());
    button->SetParent(panel);
    HWND bh = button->GetHandle();
    EXPECT_EQ(form->ComponentCount(), 2);
    delete panel;
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_FALSE(::IsWindow(bh));
}

}  // namespace

namespace {

BOOL CALLBACK FindVisibleTooltip(HWND window, LPARAM data) {
    wchar_t cls[64] = {};
    ::GetClassNameW(window, cls, 64);
    if (::lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleTooltip() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleTooltip, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(ControlsTest, AHintShowsAfterThePauseAndGoesWithTheMouse) {
    form->SetShowHint(true);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetHint(L"添加视频文件|长说明");
    auto* silent = new TLabel(form.get());
    silent->SetParent(form.get());
    silent->SetShowHint(false);
    silent->SetHint(L"不显示");
    form->Show();
    Application->SetHintPause(20);
    auto pump = [] {
        for (int i = 0; i < 30; ++i) {
            Application->ProcessMessages();
            ::Sleep(10);
        }
    };
    SetMouseControl(silent);
    pump();
    EXPECT_EQ(VisibleTooltip(), nullptr);
    SetMouseControl(label);
    pump();
    HWND tip = VisibleTooltip();
    ASSERT_NE(tip, nullptr);
    wchar_t text[64] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = Application->GetHandle();
    ti.uId = 1;
    ti.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, L"添加视频文件");
    SetMouseControl(nullptr);
    EXPECT_EQ(VisibleTooltip(), nullptr);
    Application->SetHintPause(500);
}

}  // namespace
