// What a layer that restyles controls from outside relies on: published properties
// read by name, message methods chained in front of controls, mouse enter/leave
// notifications from real mouse moves, and owner-drawn menu messages.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace {

using namespace vx;

std::wstring Enum(const TObject* object, const wchar_t* name) {
    std::wstring value;
    if (!GetEnumProp(object, name, value)) return L"<missing>";
    return value;
}

std::int64_t Ord(const TObject* object, const wchar_t* name) {
    std::int64_t value = 0;
    if (!GetOrdProp(object, name, value)) return -12345;
    return value;
}

// Pumps the thread's messages for a while, or until `done` says so.
template <class Done>
void PumpUntil(Done done, int milliseconds = 1500) {
    DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
}

// --- Published properties --------------------------------------------------------------

TEST(PublishedPropertiesTest, ButtonsReportTheirStateUnderTheNamesAndValueTextsReadByName) {
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    EXPECT_EQ(Enum(button, L"Default"), L"False");
    button->SetDefault(true);
    EXPECT_EQ(Enum(button, L"default"), L"True");
    EXPECT_EQ(Enum(button, L"Enabled"), L"True");
    button->SetEnabled(false);
    EXPECT_EQ(Enum(button, L"ENABLED"), L"False");
    // Controls without a multi-line switch simply have none; the reader falls back.
    EXPECT_EQ(Enum(button, L"MultiLine"), L"<missing>");
    ASSERT_TRUE(SetStrProp(button, L"Caption", L"开始转换"));
    std::wstring caption;
    ASSERT_TRUE(GetStrProp(button, L"caption", caption));
    EXPECT_EQ(caption, L"开始转换");
    EXPECT_EQ(button->GetText(), L"开始转换");
    TObject* font = nullptr;
    ASSERT_TRUE(GetObjectProp(button, L"Font", font));
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->InheritsFrom(L"TFont"));
    EXPECT_EQ(font, button->GetFont());

    auto* speed = new TSpeedButton(&form);
    speed->SetParent(&form);
    EXPECT_EQ(Enum(speed, L"Flat"), L"False");
    speed->SetFlat(true);
    EXPECT_EQ(Enum(speed, L"Flat"), L"True");
    // Down only sticks for a button in a group.
    EXPECT_TRUE(SetEnumProp(speed, L"Down", L"true"));
    EXPECT_EQ(Enum(speed, L"Down"), L"False");
    speed->SetGroupIndex(3);
    EXPECT_TRUE(SetEnumProp(speed, L"Down", L"true"));
    EXPECT_EQ(Enum(speed, L"Down"), L"True");
    EXPECT_TRUE(speed->GetDown());
    EXPECT_EQ(Enum(speed, L"Layout"), L"blGlyphLeft");
    EXPECT_EQ(Ord(speed, L"NumGlyphs"), 1);
    EXPECT_EQ(Ord(speed, L"Margin"), -1);
    EXPECT_EQ(Ord(speed, L"Spacing"), 4);
    TObject* glyph = nullptr;
    ASSERT_TRUE(GetObjectProp(speed, L"Glyph", glyph));
    ASSERT_NE(glyph, nullptr);
    EXPECT_TRUE(glyph->InheritsFrom(L"TBitmap"));

    auto* bitBtn = new TBitBtn(&form);
    bitBtn->SetParent(&form);
    ASSERT_TRUE(SetEnumProp(bitBtn, L"Layout", L"blGlyphBottom"));
    EXPECT_EQ(Enum(bitBtn, L"Layout"), L"blGlyphBottom");
    ASSERT_TRUE(SetOrdProp(bitBtn, L"NumGlyphs", 2));
    EXPECT_EQ(bitBtn->GetNumGlyphs(), 2);
    glyph = nullptr;
    ASSERT_TRUE(GetObjectProp(bitBtn, L"Glyph", glyph));
    EXPECT_NE(glyph, nullptr);
    EXPECT_EQ(Enum(bitBtn, L"Default"), L"False");  // a bit button is a button
}

TEST(PublishedPropertiesTest, CheckStatesAndColoursReadAsTheRestylerExpects) {
    TForm form(nullptr);
    auto* check = new TCheckBox(&form);
    check->SetParent(&form);
    check->SetAllowGrayed(true);
    // The reader looks for "uncheck", then "check", then "gray" in the lower-cased name.
    EXPECT_EQ(Enum(check, L"State"), L"cbUnchecked");
    check->SetChecked(true);
    EXPECT_EQ(Enum(check, L"State"), L"cbChecked");
    EXPECT_EQ(Enum(check, L"Checked"), L"True");
    ASSERT_TRUE(SetEnumProp(check, L"state", L"CBGRAYED"));
    EXPECT_EQ(Enum(check, L"State"), L"cbGrayed");
    EXPECT_EQ(::SendMessageW(check->GetHandle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    // User clicks change what the property reads: unchecked, grayed, checked, unchecked.
    check->SetState(cbUnchecked);
    ::SendMessageW(check->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Enum(check, L"State"), L"cbGrayed");
    ::SendMessageW(check->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Enum(check, L"State"), L"cbChecked");
    EXPECT_EQ(::SendMessageW(check->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(check->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Enum(check, L"State"), L"cbUnchecked");

    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetColor(clBtnFace);
    EXPECT_EQ(Ord(panel, L"Color"), static_cast<std::int64_t>(clBtnFace));
    panel->SetColor(static_cast<TColor>(0x00123456));
    EXPECT_EQ(Ord(panel, L"Color"), 0x00123456);
    EXPECT_EQ(Enum(panel, L"Alignment"), L"taCenter");

    auto* bar = new TScrollBar(&form);
    bar->SetParent(&form);
    EXPECT_EQ(Enum(bar, L"Kind"), L"sbHorizontal");
    ASSERT_TRUE(SetEnumProp(bar, L"Kind", L"sbVertical"));
    EXPECT_TRUE(::GetWindowLongW(bar->GetHandle(), GWL_STYLE) & SBS_VERT);

    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    EXPECT_EQ(Enum(edit, L"BorderStyle"), L"bsSingle");
    EXPECT_EQ(Enum(&form, L"BorderStyle"), L"bsSizeable");
    // Unknown names and wrong kinds are refused without harm.
    EXPECT_FALSE(SetEnumProp(edit, L"BorderStyle", L"bsNoSuchStyle"));
    EXPECT_EQ(Enum(edit, L"BorderStyle"), L"bsSingle");
    std::int64_t number = 0;
    EXPECT_FALSE(GetOrdProp(edit, L"Font", number));
    EXPECT_FALSE(GetOrdProp(nullptr, L"Color", number));
}

// --- Chained message methods ------------------------------------------------------------

// Puts a named recorder in front of a control; every recorder writes into one shared log.
struct TChainLog {
    std::vector<std::wstring> entries;
};

TWndMethod Chain(TControl* control, TChainLog& log, const std::wstring& name, unsigned watched) {
    TWndMethod previous = control->WindowProc;
    control->WindowProc = [&log, name, previous, watched](TMessage& m) {
        if (m.Msg == watched) log.entries.push_back(name);
        previous(m);
    };
    return previous;
}

TEST(MessageChainTest, ChainedMethodsSeeEachMessageOutermostFirstAndUnhookInAnyOrder) {
    TForm form(nullptr);
    form.SetClientSize(300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 200, 150);
    auto* speed = new TSpeedButton(&form);  // windowless: messages come through the panel
    speed->SetParent(panel);
    speed->SetBounds(10, 10, 40, 30);
    int clicks = 0;
    speed->OnClick = [&](TObject*) { ++clicks; };
    form.Show();

    for (TControl* control : {static_cast<TControl*>(panel), static_cast<TControl*>(speed)}) {
        TChainLog log;
        TWndMethod original = Chain(control, log, L"inner", WM_LBUTTONDOWN);
        TWndMethod afterInner = Chain(control, log, L"outer", WM_LBUTTONDOWN);
        HWND window = panel->GetHandle();
        LPARAM at = control == speed ? MAKELPARAM(20, 20) : MAKELPARAM(150, 100);
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(window, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(log.entries, (std::vector<std::wstring>{L"outer", L"inner"}));
        // Taking the outer one away leaves the inner one working.
        control->WindowProc = afterInner;
        log.entries.clear();
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(window, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(log.entries, std::vector<std::wstring>{L"inner"});
        // Restoring the first value takes every recorder away.
        control->WindowProc = original;
        log.entries.clear();
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(window, WM_LBUTTONUP, 0, at);
        EXPECT_TRUE(log.entries.empty());
    }
    // The control's own handling ran every time: three clicks on the speed button.
    EXPECT_EQ(clicks, 3);
    speed->OnClick = nullptr;
}

TEST(MessageChainTest, ARecorderSeesTheWindowsOwnMessagesInTheOrderTheyCame) {
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    HWND h = edit->GetHandle();
    std::vector<unsigned> seen;
    TWndMethod previous = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_SETTEXT || m.Msg == WM_GETTEXTLENGTH || m.Msg == WM_SIZE || m.Msg == WM_ENABLE ||
            m.Msg == CM_ENABLEDCHANGED || m.Msg == WM_SETFONT || m.Msg == CM_TEXTCHANGED)
            seen.push_back(m.Msg);
        previous(m);
    };
    ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"a"));
    ::SetWindowPos(h, nullptr, 0, 0, 50, 21, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    ::EnableWindow(h, FALSE);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], static_cast<unsigned>(WM_SETTEXT));
    auto size = std::find(seen.begin(), seen.end(), static_cast<unsigned>(WM_SIZE));
    auto enable = std::find(seen.begin(), seen.end(), static_cast<unsigned>(WM_ENABLE));
    ASSERT_NE(size, seen.end());
    ASSERT_NE(enable, seen.end());
    EXPECT_LT(size, enable);
    EXPECT_EQ(edit->GetWidth(), 50);  // the size still reached the control
    EXPECT_EQ(edit->GetText(), L"a");
    edit->WindowProc = previous;
}

// --- Mouse enter and leave ---------------------------------------------------------------

// form ─┬─ outer panel ─┬─ label (windowless)
//       │               └─ inner panel ── speed button (windowless)
//       └─ (form background)
class MouseTrackingTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 420, 320);
        outer = new TPanel(form.get());
        outer->SetParent(form.get());
        outer->SetBounds(10, 10, 200, 150);
        label = new TLabel(form.get());
        label->SetParent(outer);
        label->SetAutoSize(false);
        label->SetBounds(10, 10, 60, 20);
        inner = new TPanel(form.get());
        inner->SetParent(outer);
        inner->SetBounds(100, 50, 90, 80);
        speed = new TSpeedButton(form.get());
        speed->SetParent(inner);
        speed->SetBounds(10, 10, 40, 30);
        Watch(form.get(), L"form");
        Watch(outer, L"outer");
        Watch(label, L"label");
        Watch(inner, L"inner");
        Watch(speed, L"speed");
        form->Show();
        ::UpdateWindow(form->GetHandle());
        SetMouseControl(nullptr);
        log.clear();
    }
    void TearDown() override {
        // The pointer goes to a corner where later tests' windows are not.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        SetMouseControl(nullptr);
        for (auto& [control, previous] : hooks) control->WindowProc = previous;
        form.reset();
    }
    // Records CM_MOUSEENTER as "+name", CM_MOUSELEAVE as "-name" and checks that no
    // control is entered twice.
    void Watch(TControl* control, const std::wstring& name) {
        TWndMethod previous = control->WindowProc;
        hooks.emplace_back(control, previous);
        control->WindowProc = [this, name, previous](TMessage& m) {
            if (m.Msg == CM_MOUSEENTER) log.push_back(L"+" + name);
            if (m.Msg == CM_MOUSELEAVE) log.push_back(L"-" + name);
            previous(m);
        };
    }
    // A mouse move as the system delivers it: to the window under the point.
    void MoveTo(TWinControl* window, int x, int y) {
        ::SendMessageW(window->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
    std::wstring Joined() const {
        std::wstring s;
        for (const auto& e : log) s += (s.empty() ? L"" : L" ") + e;
        return s;
    }

    std::unique_ptr<TForm> form;
    TPanel* outer = nullptr;
    TPanel* inner = nullptr;
    TLabel* label = nullptr;
    TSpeedButton* speed = nullptr;
    std::vector<std::wstring> log;
    std::vector<std::pair<TControl*, TWndMethod>> hooks;
};

TEST_F(MouseTrackingTest, EachControlIsLeftBeforeTheNextIsEnteredAcrossNesting) {
    MoveTo(form.get(), 300, 250);
    MoveTo(form.get(), 301, 250);  // moving inside one control says nothing new
    MoveTo(outer, 150, 20);
    MoveTo(outer, 20, 15);         // over the label
    MoveTo(inner, 20, 20);         // over the speed button, one level deeper
    MoveTo(inner, 80, 70);
    MoveTo(form.get(), 300, 250);
    EXPECT_EQ(Joined(), L"+form -form +outer -outer +label -label +speed -speed +inner -inner +form");
    EXPECT_EQ(GetMouseControl(), form.get());
}

TEST_F(MouseTrackingTest, AControlFreedUnderTheMouseIsNotToldLater) {
    MoveTo(outer, 20, 15);
    ASSERT_EQ(GetMouseControl(), label);
    TControl* freed = label;
    delete label;
    label = nullptr;
    hooks.erase(hooks.begin() + 2);
    EXPECT_NE(GetMouseControl(), freed);
    MoveTo(form.get(), 300, 250);  // would tell the freed label it was left
    EXPECT_EQ(GetMouseControl(), form.get());
    EXPECT_EQ(log.back(), L"+form");
}

TEST_F(MouseTrackingTest, APressedControlDraggedOffIsLeftAndEnteredAgainOnReturn) {
    int clicks = 0;
    speed->OnClick = [&](TObject*) { ++clicks; };
    MoveTo(inner, 20, 20);
    ::SendMessageW(inner->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(GetCaptureControl(), speed);
    // Dragged off (the moves still come to the holder of the capture) and back.
    ::SendMessageW(inner->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 70));
    EXPECT_NE(GetMouseControl(), speed);
    ::SendMessageW(inner->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(22, 21));
    EXPECT_EQ(GetMouseControl(), speed);
    ::SendMessageW(inner->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(22, 21));
    EXPECT_EQ(clicks, 1);
    // Released outside: no click.
    ::SendMessageW(inner->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ::SendMessageW(inner->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 70));
    ::SendMessageW(inner->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(80, 70));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Joined(), L"+speed -speed +inner -inner +speed -speed +inner");
    speed->OnClick = nullptr;
}

TEST_F(MouseTrackingTest, RealCursorMovesEnterAndLeaveInPairs) {
    auto screen = [](TControl* c, int x, int y) { return c->ClientToScreen(POINT{x, y}); };
    POINT overSpeed = screen(speed, 5, 5);
    ::SetCursorPos(overSpeed.x, overSpeed.y);
    PumpUntil([&] { return GetMouseControl() == speed; });
    EXPECT_EQ(GetMouseControl(), speed);
    POINT overLabel = screen(label, 5, 5);
    ::SetCursorPos(overLabel.x, overLabel.y);
    PumpUntil([&] { return GetMouseControl() == label; });
    EXPECT_EQ(GetMouseControl(), label);
    // Away from the form altogether: the tracked window hears the mouse leave.
    RECT frame;
    ::GetWindowRect(form->GetHandle(), &frame);
    ::SetCursorPos(frame.right + 60, frame.bottom + 60);
    PumpUntil([&] { return GetMouseControl() == nullptr; });
    EXPECT_EQ(GetMouseControl(), nullptr);
    // Whatever path the pointer took, every enter was matched by one leave.
    int depth = 0;
    for (const auto& e : log) {
        depth += e[0] == L'+' ? 1 : -1;
        EXPECT_GE(depth, 0) << Joined();
        EXPECT_LE(depth, 1) << Joined();
    }
    EXPECT_EQ(depth, 0) << Joined();
    EXPECT_NE(Joined().find(L"+speed -speed"), std::wstring::npos) << Joined();
    EXPECT_NE(Joined().find(L"+label -label"), std::wstring::npos) << Joined();
}

TEST_F(MouseTrackingTest, AFlatSpeedButtonRepaintsWhenTheMouseComesAndGoes) {
    speed->SetFlat(true);
    ::UpdateWindow(inner->GetHandle());
    int paints = 0;
    TWndMethod previous = speed->WindowProc;
    speed->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_PAINT) ++paints;
        previous(m);
    };
    MoveTo(inner, 20, 20);
    ::UpdateWindow(inner->GetHandle());
    EXPECT_EQ(paints, 1);
    MoveTo(inner, 25, 22);
    ::UpdateWindow(inner->GetHandle());
    EXPECT_EQ(paints, 1);  // no flicker while the mouse stays on it
    MoveTo(inner, 80, 70);
    ::UpdateWindow(inner->GetHandle());
    EXPECT_EQ(paints, 2);
    speed->WindowProc = previous;
}

// --- Owner-drawn menus -----------------------------------------------------------------

// Closes whatever menu is open once the menu loop has drawn it.
VOID CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

TEST(OwnerDrawMenuTest, AShownPopupMeasuresAndDrawsItsItemsThroughTheHandlers) {
    TForm form(nullptr);
    form.Show();
    auto* popup = new TPopupMenu(&form);
    auto* first = NewItem(&form, L"添加文件", 0, nullptr);
    auto* second = NewItem(&form, L"删除", ShortCut(VK_DELETE, 0), nullptr);
    popup->GetItems()->Add(first);
    popup->GetItems()->Add(second);
    popup->SetOwnerDraw(true);
    std::vector<std::wstring> events;
    for (TMenuItem* item : {first, second}) {
        item->OnMeasureItem = [&events, item](TObject* sender, TCanvas* canvas, int& w, int& h) {
            EXPECT_EQ(sender, item);
            EXPECT_NE(canvas->GetHandle(), nullptr);
            events.push_back(L"measure " + item->GetCaption());
            w = 150;
            h = 24;
        };
        item->OnDrawItem = [&events, item](TObject*, TCanvas* canvas, const RECT& r, bool) {
            events.push_back(L"draw " + item->GetCaption());
            EXPECT_EQ(r.bottom - r.top, 24);
            canvas->GetBrush()->SetColor(clWhite);
            canvas->FillRect(r);
        };
    }
    ::SetTimer(nullptr, 0, 400, CloseMenu);
    popup->Popup(100, 100);
    auto has = [&](const std::wstring& e) { return std::find(events.begin(), events.end(), e) != events.end(); };
    EXPECT_TRUE(has(L"measure 添加文件"));
    EXPECT_TRUE(has(L"measure 删除"));
    EXPECT_TRUE(has(L"draw 添加文件"));
    EXPECT_TRUE(has(L"draw 删除"));
    for (TMenuItem* item : {first, second}) {
        item->OnMeasureItem = nullptr;
        item->OnDrawItem = nullptr;
    }
}

TEST(OwnerDrawMenuTest, TheFormsMessageMethodSeesItsMenusMeasureAndDrawMessages) {
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    auto* file = NewItem(&form, L"文件(&F)", 0, nullptr);
    auto* open = NewItem(&form, L"打开(&O)", 0, nullptr);
    file->Add(open);
    menu->GetItems()->Add(file);
    menu->SetOwnerDraw(true);
    form.SetMenu(menu);
    int drawn = 0;
    open->OnDrawItem = [&](TObject*, TCanvas*, const RECT&, bool) { ++drawn; };
    std::vector<unsigned> seen;
    TWndMethod previous = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_MEASUREITEM || m.Msg == WM_DRAWITEM) {
            auto type = m.Msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType
                                             : reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType;
            if (type == ODT_MENU) seen.push_back(m.Msg);
        }
        previous(m);
    };
    form.Show();
    ::SetForegroundWindow(form.GetHandle());
    HMENU sub = ::GetSubMenu(::GetMenu(form.GetHandle()), 0);
    ASSERT_NE(sub, nullptr);
    ::SetTimer(nullptr, 0, 400, CloseMenu);
    ::TrackPopupMenu(sub, TPM_RETURNCMD, 120, 120, 0, form.GetHandle(), nullptr);
    form.WindowProc = previous;
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<unsigned>(WM_MEASUREITEM)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<unsigned>(WM_DRAWITEM)), seen.end());
    EXPECT_GE(drawn, 1);  // handed on to the item after the recorder
    open->OnDrawItem = nullptr;
}

// --- The form's frame and menu -------------------------------------------------------------

// Stands in front of a form as a frame painter does: the non-client area becomes a
// 4-pixel border with a 20-pixel caption, and a native menu bar is taken away whenever
// the form says its menu changed.
struct TFrameReplacement {
    TForm& form;
    TWndMethod previous;
    int menuChanges = 0;
    explicit TFrameReplacement(TForm& f) : form(f), previous(f.WindowProc) {
        form.WindowProc = [this](TMessage& m) { Handle(m); };
    }
    ~TFrameReplacement() { form.WindowProc = previous; }
    void Handle(TMessage& m) {
        if (m.Msg == WM_NCCALCSIZE) {
            RECT* r = reinterpret_cast<RECT*>(m.LParam);  // the first rectangle in both forms
            r->left += 4;
            r->top += 20;
            r->right -= 4;
            r->bottom -= 4;
            m.Result = 0;
            return;
        }
        previous(m);
        if (m.Msg == CM_MENUCHANGED) {
            ++menuChanges;
            if (form.HandleAllocated() && ::GetMenu(form.GetHandle())) ::SetMenu(form.GetHandle(), nullptr);
        }
    }
};

TEST(FormFrameTest, AFrameReplacementDecidesTheClientAreaAndAlignedControlsFollow) {
    TForm form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetAlign(alClient);
    HWND h = form.GetHandle();
    TFrameReplacement frame(form);
    ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    ::GetClientRect(h, &client);
    EXPECT_EQ(client.right, 292);
    EXPECT_EQ(client.bottom, 176);
    EXPECT_EQ(form.GetClientWidth(), 292);
    EXPECT_EQ(form.GetClientHeight(), 176);
    EXPECT_EQ(panel->GetWidth(), 292);
    EXPECT_EQ(panel->GetHeight(), 176);
    // Resizing the window keeps the replacement's borders.
    form.SetBounds(50, 50, 400, 260);
    EXPECT_EQ(panel->GetWidth(), 392);
    EXPECT_EQ(panel->GetHeight(), 236);
}

TEST(FormFrameTest, MenuChangesReachTheFormAndDoNotGrowAFramedWindow) {
    TForm form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    auto* menu = new TMainMenu(&form);
    auto* file = NewItem(&form, L"文件(&F)", 0, nullptr);
    menu->GetItems()->Add(file);
    form.Show();
    TFrameReplacement frame(form);
    form.SetMenu(menu);
    EXPECT_EQ(frame.menuChanges, 1);
    EXPECT_EQ(::GetMenu(form.GetHandle()), nullptr);  // the replacement draws its own bar
    RECT before;
    ::GetWindowRect(form.GetHandle(), &before);
    file->SetCaption(L"文件(&W)");
    file->Add(NewItem(&form, L"退出(&X)", 0, nullptr));
    file->SetEnabled(false);
    EXPECT_GE(frame.menuChanges, 4);
    RECT after;
    ::GetWindowRect(form.GetHandle(), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    // The menu itself carries the change for whoever draws it.
    EXPECT_FALSE(file->GetEnabled());
    EXPECT_EQ(file->Count(), 1);
}

}  // namespace
