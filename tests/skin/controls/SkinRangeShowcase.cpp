// A window that shows every range, tab, status and date-time skin in several states,
// for looking at (it asserts nothing, and is left out of test runs). Pictures:
//   scripts/screenshot.sh OUT.png --wait 8 build/win/tests/skin/controls/test_skin_controls.exe \
//       --gtest_also_run_disabled_tests --gtest_filter=RangeShowcase.*

#include "SkinTestSupport.h"

#include <commctrl.h>

#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinRanges.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTabs.h"

namespace vx {
namespace {

using namespace vx::testing;

TEST(RangeShowcase, DISABLED_Window) {
    TSkinModel* skin = ProgramSkin();
    ASSERT_NE(skin, nullptr);
    TControlSkinData data;
    data.Model = skin;
    TTestHost host;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 1000, 700);
    form->SetCaption(L"进度条、滑块、微调、状态栏、标签页和日期选择的皮肤");
    form->SetColor(ColorToRGB(ResolveColour(skin->ButtonFaceColour)));
    TWinControl* parent = form.get();
    auto label = [&](int x, int y, const std::wstring& text) {
        auto* l = new TLabel(form.get());
        l->SetParent(parent);
        l->SetBounds(x, y, 200, 16);
        l->SetCaption(text);
    };
    auto attach = [&](TSkinControl* s) { s->InitControl(&host, &data, false, nullptr); };

    // Progress bars.
    label(10, 10, L"进度条：0%、35%、100%、平滑 60%、竖直 40%");
    int y = 30;
    for (int pos : {0, 35, 100}) {
        auto* p = new TProgressBar(form.get());
        p->SetParent(parent);
        p->SetBounds(10, y, 220, 16);
        p->SetPosition(pos);
        attach(new TSkinProgress(p));
        y += 24;
    }
    auto* smooth = new TProgressBar(form.get());
    smooth->SetParent(parent);
    smooth->SetSmooth(true);
    smooth->SetBounds(10, y, 220, 16);
    smooth->SetPosition(60);
    attach(new TSkinProgress(smooth));
    auto* tall = new TProgressBar(form.get());
    tall->SetParent(parent);
    tall->SetOrientation(pbVertical);
    tall->SetBounds(240, 30, 16, 110);
    tall->SetPosition(40);
    attach(new TSkinProgress(tall));

    // Track bars: normal, hot, focused, disabled, vertical.
    label(10, 150, L"滑块：普通、悬停、焦点、禁用、竖直");
    std::vector<TTrackBar*> bars;
    for (int i = 0; i < 4; ++i) {
        auto* t = new TTrackBar(form.get());
        t->SetParent(parent);
        t->SetBounds(10, 170 + 40 * i, 220, 36);
        t->SetMax(10);
        t->SetPosition(2 + 2 * i);
        attach(new TSkinTrackBar(t));
        bars.push_back(t);
    }
    auto* vbar = new TTrackBar(form.get());
    vbar->SetParent(parent);
    vbar->SetOrientation(trVertical);
    vbar->SetBounds(240, 170, 36, 150);
    vbar->SetMax(10);
    vbar->SetPosition(7);
    attach(new TSkinTrackBar(vbar));
    bars[3]->SetEnabled(false);

    // Up-downs: normal, first hot, second hot, disabled, horizontal; and one on an edit.
    label(300, 10, L"微调：普通、上悬停、下悬停、禁用、水平、编辑框");
    std::vector<TUpDown*> spins;
    for (int i = 0; i < 4; ++i) {
        auto* u = new TUpDown(form.get());
        u->SetParent(parent);
        u->SetBounds(300 + 30 * i, 30, 17, 26);
        attach(new TSkinUpDown(u));
        spins.push_back(u);
    }
    spins[3]->SetEnabled(false);
    auto* hs = new TUpDown(form.get());
    hs->SetParent(parent);
    hs->SetOrientation(udHorizontal);
    hs->SetBounds(420, 34, 34, 17);
    attach(new TSkinUpDown(hs));
    auto* buddy = new TEdit(form.get());
    buddy->SetParent(parent);
    buddy->SetBounds(470, 32, 60, 22);
    auto* bs = new TUpDown(form.get());
    bs->SetParent(parent);
    bs->SetBounds(530, 32, 17, 22);
    bs->SetAssociate(buddy);
    bs->SetPosition(42);
    attach(new TSkinUpDown(bs));

    // Tabs: a tab control (one tab hot), a page control with its sheet, tabs along the
    // bottom, button tabs, disabled tabs, and tabs that overflow with their scroller.
    label(300, 70, L"标签页：悬停、页面、底部、按钮、禁用、滚动");
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(parent);
    tabs->SetBounds(300, 90, 300, 90);
    for (const wchar_t* t : {L"队列", L"日志", L"选项"}) tabs->GetTabs()->Add(t);
    tabs->SetTabIndex(1);
    auto* tabSkin = new TSkinTab(tabs);
    attach(tabSkin);
    auto* pages = new TPageControl(form.get());
    pages->SetParent(parent);
    pages->SetBounds(620, 90, 300, 90);
    for (const wchar_t* t : {L"常规", L"高级"}) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetCaption(t);
        sheet->SetPageControl(pages);
        attach(new TSkinTabSheet(sheet));
        auto* l = new TLabel(form.get());
        l->SetParent(sheet);
        l->SetBounds(10, 10, 200, 16);
        l->SetCaption(L"页面显示标签页的底板");
    }
    attach(new TSkinTab(pages));
    auto* bottom = new TTabControl(form.get());
    bottom->SetParent(parent);
    bottom->SetBounds(300, 190, 300, 80);
    for (const wchar_t* t : {L"第一", L"第二", L"第三"}) bottom->GetTabs()->Add(t);
    bottom->HandleNeeded();
    ::SetWindowLongPtrW(bottom->GetHandle(), GWL_STYLE, ::GetWindowLongPtrW(bottom->GetHandle(), GWL_STYLE) | TCS_BOTTOM);
    bottom->SetTabIndex(2);
    attach(new TSkinTab(bottom));
    auto* buttons = new TTabControl(form.get());
    buttons->SetParent(parent);
    buttons->SetBounds(620, 190, 300, 40);
    for (const wchar_t* t : {L"按钮一", L"按钮二", L"按钮三"}) buttons->GetTabs()->Add(t);
    buttons->HandleNeeded();
    ::SetWindowLongPtrW(buttons->GetHandle(), GWL_STYLE,
                        ::GetWindowLongPtrW(buttons->GetHandle(), GWL_STYLE) | TCS_BUTTONS);
    buttons->SetTabIndex(0);
    attach(new TSkinTabBtn(buttons));
    auto* off = new TTabControl(form.get());
    off->SetParent(parent);
    off->SetBounds(620, 240, 300, 50);
    for (const wchar_t* t : {L"队列", L"日志"}) off->GetTabs()->Add(t);
    off->SetEnabled(false);
    attach(new TSkinTab(off));
    auto* many = new TTabControl(form.get());
    many->SetParent(parent);
    many->SetBounds(300, 280, 300, 60);
    for (int i = 1; i <= 10; ++i) many->GetTabs()->Add(L"标签 " + std::to_wstring(i));
    attach(new TSkinTab(many));

    // Date-time pickers: normal, arrow hot, disabled, the time kind with its up-down.
    label(10, 350, L"日期时间：普通、箭头悬停、禁用、时间");
    std::vector<TDateTimePicker*> pickers;
    std::vector<TSkinDateTime*> pickerSkins;
    for (int i = 0; i < 4; ++i) {
        auto* d = new TDateTimePicker(form.get());
        d->SetParent(parent);
        d->SetBounds(10, 370 + 30 * i, 186, 21);
        if (i == 3) d->SetKind(dtkTime);
        auto* s = new TSkinDateTime(d);
        attach(s);
        pickers.push_back(d);
        pickerSkins.push_back(s);
    }
    pickers[2]->SetEnabled(false);

    // Status bars: panels with texts in three alignments and the grip; a simple one.
    auto* status = new TStatusBar(form.get());
    status->SetParent(parent);
    TStatusPanel* a = status->GetPanels()->Add();
    a->SetWidth(200);
    a->SetText(L"4 个文件在队列中");
    TStatusPanel* b = status->GetPanels()->Add();
    b->SetWidth(200);
    b->SetAlignment(taCenter);
    b->SetText(L"正在转换");
    TStatusPanel* c = status->GetPanels()->Add();
    c->SetWidth(200);
    c->SetAlignment(taRightJustify);
    c->SetText(L"63%");
    attach(new TSkinStatusBar(status));
    auto* simple = new TStatusBar(form.get());
    simple->SetParent(parent);
    simple->SetAlign(alNone);
    simple->SetBounds(300, 600, 400, 20);
    simple->SetSizeGrip(false);
    simple->SetSimplePanel(true);
    simple->SetSimpleText(L"简单面板：C:\\视频\\片段.avi");
    attach(new TSkinStatusBar(simple));

    form->Show();
    Pump();
    // The focused look, and the hot look of one control under the pointer (the
    // environment variable VX_SHOWCASE_HOVER: track, spin or tab, the default).
    bars[2]->SetFocus();
    wchar_t which[16] = L"tab";
    ::GetEnvironmentVariableW(L"VX_SHOWCASE_HOVER", which, 16);
    TWinControl* target = tabs;
    POINT at{};
    RECT third{};
    ::SendMessageW(tabs->GetHandle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    at = POINT{(third.left + third.right) / 2, (third.top + third.bottom) / 2};
    if (std::wstring(which) == L"track") {
        target = bars[1];
        for (TSkinControl* s : host.list)
            if (s->Control() == bars[1]) {
                const RECT r = static_cast<TSkinTrackBar*>(s)->ThumbRect();
                at = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            }
    } else if (std::wstring(which) == L"spin") {
        target = spins[1];
        at = POINT{8, 5};
    }
    const POINT screen = target->ClientToScreen(at);
    ::SetCursorPos(screen.x, screen.y);
    Pump();
    ::SendMessageW(target->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    pickerSkins[1]->Arrow()->Perform(CM_MOUSEENTER);
    pickerSkins[1]->Arrow()->Invalidate();
    const DWORD end = ::GetTickCount() + 20000;
    while (::GetTickCount() < end && ::IsWindowVisible(form->GetHandle())) {
        Pump();
        ::Sleep(20);
    }
    form.reset();
    for (TSkinControl* s : std::vector<TSkinControl*>(host.list))
        if (!s->Owner()) delete s;
}

}  // namespace
}  // namespace vx
