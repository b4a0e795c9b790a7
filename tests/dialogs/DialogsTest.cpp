// The countdown dialog and the about box, built and driven in this process.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/ShellOpen.h"
#include "dialogs/Shutdown.h"
#include "dialogs/about.h"
#include "framework/SysUtils.h"

using namespace vx;

namespace {

// Runs `action` once, from the message loop, after `delayMs`.
class TOneShot {
public:
    TOneShot(unsigned delayMs, std::function<void()> action) : timer_(new TTimer(nullptr)) {
        timer_->SetInterval(delayMs);
        timer_->OnTimer = [this, action](TObject*) {
            timer_->SetEnabled(false);
            action();
        };
        timer_->SetEnabled(true);
    }
    ~TOneShot() { delete timer_; }

private:
    TTimer* timer_;
};

struct TShellCall {
    HWND parent;
    std::wstring verb, target;
};

// Records shell requests instead of opening anything.
class TShellRecorder : public TShellServices {
public:
    void ShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target) override {
        Calls.push_back({parent, verb, target});
    }
    std::vector<TShellCall> Calls;
};

RECT Bounds(const TControl* c) { return c->BoundsRect(); }
void ExpectBounds(const TControl* c, int l, int t, int w, int h) {
    const RECT r = Bounds(c);
    EXPECT_EQ(r.left, l) << WideToUtf8(c->GetName());
    EXPECT_EQ(r.top, t) << WideToUtf8(c->GetName());
    EXPECT_EQ(r.right - r.left, w) << WideToUtf8(c->GetName());
    EXPECT_EQ(r.bottom - r.top, h) << WideToUtf8(c->GetName());
}

TEST(Shutdown, LayoutAndStartValue) {
    std::unique_ptr<TfrmShutdown> form(new TfrmShutdown(Application));
    EXPECT_EQ(form->GetCaption(), L"视频转换完成");
    EXPECT_EQ(form->GetClientWidth(), 250);
    EXPECT_EQ(form->GetClientHeight(), 152);
    EXPECT_EQ(form->lblMessage->GetCaption(), L"视频转换完成，即将关闭电脑。");
    EXPECT_EQ(form->lblMessage->GetFont()->GetHeight(), -14);
    ExpectBounds(form->imgShutdown, 41, 44, 48, 48);
    EXPECT_FALSE(form->imgShutdown->GetPicture()->GetGraphic() == nullptr) << "SHUTDOWNPICTURE not loaded";
    ExpectBounds(form->Bevel1, 104, 48, 100, 41);
    ExpectBounds(form->lblCounter, 106, 52, 95, 36);
    EXPECT_EQ(form->lblCounter->GetFont()->GetName(), L"Arial");
    ExpectBounds(form->btnShutdown, 41, 112, 75, 25);
    ExpectBounds(form->btnCancel, 129, 112, 75, 25);
    EXPECT_EQ(form->btnCancel->GetTabOrder(), 0);
    EXPECT_EQ(form->btnShutdown->GetTabOrder(), 1);
    // The design-time text is replaced before the dialog is shown.
    EXPECT_EQ(form->lblCounter->GetCaption(), L"15");
    EXPECT_EQ(form->Counter(), 15);
    EXPECT_TRUE(form->Timer1->GetEnabled());
    EXPECT_EQ(form->Timer1->GetInterval(), 1000u);
}

TEST(Shutdown, CountsDownToZeroAndEndsWithOk) {
    std::unique_ptr<TfrmShutdown> form(new TfrmShutdown(Application));
    std::vector<std::wstring> shown;
    // A short interval; each tick's handler is the dialog's own.
    form->Timer1->SetInterval(10);
    auto tick = form->Timer1->OnTimer;
    form->Timer1->OnTimer = [&](TObject* s) {
        tick(s);
        shown.push_back(form->lblCounter->GetCaption());
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    ASSERT_EQ(shown.size(), 15u);
    EXPECT_EQ(shown.front(), L"14");
    EXPECT_EQ(shown.back(), L"0");
    EXPECT_EQ(form->Counter(), 0);
}

TEST(Shutdown, CancelButtonAndCloseBoxEndWithCancel) {
    {
        std::unique_ptr<TfrmShutdown> form(new TfrmShutdown(Application));
        TOneShot cancel(50, [&] { form->btnCancel->Click(); });
        EXPECT_EQ(form->ShowModal(), mrCancel);
        EXPECT_GT(form->Counter(), 0);
    }
    {
        std::unique_ptr<TfrmShutdown> form(new TfrmShutdown(Application));
        TOneShot close(50, [&] { ::SendMessageW(form->GetHandle(), WM_CLOSE, 0, 0); });
        EXPECT_EQ(form->ShowModal(), mrCancel);
    }
}

TEST(Shutdown, ShutdownButtonEndsWithOkAtOnce) {
    std::unique_ptr<TfrmShutdown> form(new TfrmShutdown(Application));
    TOneShot press(50, [&] { form->btnShutdown->Click(); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_GT(form->Counter(), 10);
}

TEST(About, LayoutAndTexts) {
    std::unique_ptr<TfrmAbout> form(new TfrmAbout(Application));
    EXPECT_EQ(form->GetCaption(), L"关于 ...");
    EXPECT_EQ(form->GetClientWidth(), 311);
    EXPECT_EQ(form->GetClientHeight(), 261);
    EXPECT_EQ(form->GetColor(), clWhite);
    ExpectBounds(form->Image1, 18, 20, 48, 48);
    EXPECT_FALSE(form->Image1->GetPicture()->GetGraphic() == nullptr) << "APPICON48 not loaded";
    EXPECT_EQ(form->Label1->GetCaption(), L"Vexlo视频转换器");
    EXPECT_EQ(form->Label1->GetFont()->GetStyle(), static_cast<TFontStyles>(fsBold));
    EXPECT_EQ(form->Label2->GetCaption(), L"版本: 1.3 Build (1.3.0.40)");
    EXPECT_EQ(form->Label3->GetCaption(), L"http://www.example.com/vexlo");
    EXPECT_NE(form->Label4->GetCaption().find(L"vexlo@example.com"), std::wstring::npos);
    EXPECT_EQ(form->Label6->GetCaption(), L"采用 Mencoder 压缩核心");
    EXPECT_EQ(form->Label8->GetCaption(), L"感谢:\r\n    所有测试用户 ");
    for (TLabel* placeholder : {form->Label2, form->Label3, form->Label4, form->Label5, form->Label8, form->Label9})
        EXPECT_NE(placeholder->GetCaption(), placeholder->GetName());
    const struct { TControl* c; int l, t; } at[] = {
        {form->Label1, 80, 20},  {form->Label2, 80, 54},  {form->Label5, 80, 72},
        {form->Label3, 80, 90},  {form->Label4, 80, 108}, {form->Label9, 230, 108},
        {form->Label6, 80, 138}, {form->Label7, 80, 156}, {form->Label8, 85, 185}};
    for (const auto& p : at) {
        EXPECT_EQ(p.c->GetLeft(), p.l) << WideToUtf8(p.c->GetName());
        EXPECT_EQ(p.c->GetTop(), p.t) << WideToUtf8(p.c->GetName());
    }
    ExpectBounds(form->Bevel1, 78, 178, 219, 39);
    ExpectBounds(form->btnOK, 228, 226, 68, 25);
    EXPECT_EQ(form->btnOK->GetModalResult(), mrOk);
    // Nothing overlaps the right edge of the box.
    for (TLabel* l : {form->Label4, form->Label9, form->Label5, form->Label7}) EXPECT_LE(l->GetLeft() + l->GetWidth(), 311);
    EXPECT_LE(form->Label4->GetLeft() + form->Label4->GetWidth(), form->Label9->GetLeft());
}

TEST(About, LinkHoverColoursAndClick) {
    TShellRecorder shell;
    std::unique_ptr<TfrmAbout> form(new TfrmAbout(Application, shell));
    TLabel* link = form->Label3;
    const TColor inherited = form->GetFont()->GetColor();
    EXPECT_EQ(link->GetFont()->GetColor(), inherited);
    EXPECT_EQ(link->GetFont()->GetStyle(), 0u);
    EXPECT_EQ(link->GetCursor(), crHandPoint);

    link->OnMouseEnter(link);
    EXPECT_EQ(link->GetFont()->GetColor(), static_cast<TColor>(RGB(0, 0, 255)));
    EXPECT_EQ(link->GetFont()->GetStyle(), static_cast<TFontStyles>(fsUnderline));
    link->OnMouseLeave(link);
    EXPECT_EQ(link->GetFont()->GetColor(), clBlack);
    EXPECT_EQ(link->GetFont()->GetStyle(), 0u);

    // A click opens the address and leaves the box open; OK closes it.
    TOneShot click(30, [&] {
        link->Click();
        EXPECT_EQ(form->GetModalResult(), mrNone);
        form->btnOK->Click();
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    ASSERT_EQ(shell.Calls.size(), 1u);
    EXPECT_EQ(shell.Calls[0].verb, L"OPEN");
    EXPECT_EQ(shell.Calls[0].target, L"http://www.example.com/vexlo");
    EXPECT_EQ(shell.Calls[0].parent, form->GetHandle());
}

}  // namespace
