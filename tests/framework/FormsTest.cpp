#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/Threads.h"

namespace {

using namespace vx;

// A dialog with an edit field, an OK button (default, mrOk) and a cancel button.
class TAskForm : public TForm {
public:
    explicit TAskForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsDialog);
        SetPosition(poScreenCenter);
        SetClientSize(300, 120);
        edit = new TEdit(this);
        edit->SetParent(this);
        edit->SetBounds(10, 10, 280, 21);
        ok = new TButton(this);
        ok->SetParent(this);
        ok->SetCaption(L"确定");
        ok->SetBounds(130, 80, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        cancel = new TButton(this);
        cancel->SetParent(this);
        cancel->SetCaption(L"取消");
        cancel->SetBounds(215, 80, 75, 25);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        timer = new TTimer(this);
        timer->SetInterval(30);
    }
    TEdit* edit;
    TButton* ok;
    TButton* cancel;
    TTimer* timer;
};

// Runs `action` once, from the form's timer, while the form is shown modally.
TModalResult RunModal(TAskForm& form, std::function<void()> action) {
    int ticks = 0;
    form.timer->OnTimer = [&](TObject*) {
        if (++ticks == 1) action();
        if (ticks > 100) form.SetModalResult(mrAbort);  // never hang the test run
    };
    return form.ShowModal();
}

TEST(FormsTest, ShowModalEndsWithTheButtonsModalResult) {
    TAskForm form(nullptr);
    EXPECT_EQ(RunModal(form, [&] { ::PostMessageW(form.ok->GetHandle(), BM_CLICK, 0, 0); }), mrOk);
    EXPECT_FALSE(form.GetVisible());
    EXPECT_FALSE(form.IsModal());
}

TEST(FormsTest, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    TAskForm form(nullptr);
    EXPECT_EQ(RunModal(form, [&] { ::PostMessageW(form.edit->GetHandle(), WM_KEYDOWN, VK_RETURN, 0); }), mrOk);
    EXPECT_EQ(RunModal(form, [&] { ::PostMessageW(form.edit->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0); }), mrCancel);
}

TEST(FormsTest, TheCloseBoxGivesCancelAndCloseQueryCanRefuse) {
    TAskForm form(nullptr);
    EXPECT_EQ(RunModal(form, [&] { ::PostMessageW(form.GetHandle(), WM_CLOSE, 0, 0); }), mrCancel);
    int asked = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = ++asked > 1;
        if (!canClose) ::PostMessageW(form.ok->GetHandle(), BM_CLICK, 0, 0);
    };
    // The first close is refused; the OK click that follows is accepted.
    EXPECT_EQ(RunModal(form, [&] { ::PostMessageW(form.GetHandle(), WM_CLOSE, 0, 0); }), mrOk);
    EXPECT_EQ(asked, 2);
}

TEST(FormsTest, OtherWindowsAreDisabledWhileAFormIsModal) {
    TForm other(nullptr);
    other.Show();
    TAskForm form(nullptr);
    bool otherEnabledMeanwhile = true;
    RunModal(form, [&] {
        otherEnabledMeanwhile = ::IsWindowEnabled(other.GetHandle()) != 0;
        form.SetModalResult(mrOk);
    });
    EXPECT_FALSE(otherEnabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(other.GetHandle()));
}

TEST(FormsTest, CloseHidesOrIsCancelledByOnClose) {
    TForm form(nullptr);
    form.Show();
    TCloseAction wanted = caNone;
    form.OnClose = [&](TObject*, TCloseAction& action) { action = wanted; };
    form.Close();
    EXPECT_TRUE(form.GetVisible());
    wanted = caHide;
    form.Close();
    EXPECT_FALSE(form.GetVisible());
    EXPECT_FALSE(::IsWindowVisible(form.GetHandle()));
}

TEST(FormsTest, ProcessMessagesServesAThreadHandOver) {
    Application->GetHandle();
    std::atomic<bool> done{false};
    DWORD ranOn = 0;
    std::thread worker([&] {
        TThread::Synchronize([&] {
            ranOn = ::GetCurrentThreadId();
            done = true;  // set on the main thread, inside the message it handles
        });
    });
    // HandleMessage waits for messages: only the wake-up posted by the hand-over can
    // bring it back, so a missing wake-up hangs here (and the test times out).
    while (!done) Application->HandleMessage();
    worker.join();
    EXPECT_EQ(ranOn, ::GetCurrentThreadId());
    std::atomic<int> count{0};
    std::thread second([&] { TThread::Synchronize([&] { ++count; }); });
    for (int i = 0; i < 500 && count == 0; ++i) {
        Application->ProcessMessages();
        ::Sleep(2);
    }
    second.join();
    EXPECT_EQ(count, 1);
}

// A form that collects dropped files.
class TDropForm : public TForm {
public:
    using TForm::TForm;
    std::vector<std::wstring> dropped;

protected:
    void WMDropFiles(TMessage& m) override {
        dropped = DroppedFileNames(reinterpret_cast<HDROP>(m.WParam));
        TForm::WMDropFiles(m);
    }
};

HDROP MakeDrop(const std::vector<std::wstring>& names) {
    size_t chars = 1;
    for (const auto& n : names) chars += n.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(::GlobalLock(memory));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
    for (const auto& n : names) {
        std::memcpy(p, n.c_str(), (n.size() + 1) * sizeof(wchar_t));
        p += n.size() + 1;
    }
    *p = 0;
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// A drop in the system code page (fWide false), as older programs make it.
HDROP MakeAnsiDrop(const std::vector<std::string>& names) {
    size_t bytes = 1;
    for (const auto& n : names) bytes += n.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* df = static_cast<DROPFILES*>(::GlobalLock(memory));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    char* p = reinterpret_cast<char*>(df) + sizeof(DROPFILES);
    for (const auto& n : names) {
        std::memcpy(p, n.c_str(), n.size() + 1);
        p += n.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(FormsTest, DroppedFileNamesKeepOrderLengthAndCodePage) {
    TDropForm form(nullptr);
    form.DragAcceptFiles(true);
    std::vector<std::wstring> many;
    for (int i = 0; i < 3000; ++i) many.push_back(L"D:\\c\\" + std::to_wstring(i) + L".avi");
    many.push_back(L"C:\\" + std::wstring(300, L'x') + L".avi");
    ::SendMessageW(form.GetHandle(), 0x233, reinterpret_cast<WPARAM>(MakeDrop(many)), 0);
    EXPECT_EQ(form.dropped, many);

    ::SendMessageW(form.GetHandle(), 0x233, reinterpret_cast<WPARAM>(MakeAnsiDrop({"C:\\a.avi", "D:\\b c.mpg"})), 0);
    EXPECT_EQ(form.dropped, (std::vector<std::wstring>{L"C:\\a.avi", L"D:\\b c.mpg"}));

    ::SendMessageW(form.GetHandle(), 0x233, reinterpret_cast<WPARAM>(MakeDrop({})), 0);
    EXPECT_TRUE(form.dropped.empty());
}

TEST(FormsTest, DroppedFilesReachTheFormsHandler) {
    TDropForm form(nullptr);
    form.DragAcceptFiles(true);
    EXPECT_TRUE(::GetWindowLongW(form.GetHandle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ::SendMessageW(form.GetHandle(), 0x233, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\视频\\a.avi", L"D:\\b.rmvb"})), 0);
    EXPECT_EQ(form.dropped, (std::vector<std::wstring>{L"C:\\视频\\a.avi", L"D:\\b.rmvb"}));
}

TEST(FormsTest, TheApplicationWindowAndTheScreensFormList) {
    wchar_t cls[64] = {};
    ::GetClassNameW(Application->GetHandle(), cls, 64);
    EXPECT_STREQ(cls, L"TApplication");
    EXPECT_FALSE(::IsWindowVisible(Application->GetHandle()));
    int before = Screen->FormCount();
    auto* form = new TForm(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 1);
    EXPECT_EQ(Screen->Forms(before), form);
    delete form;
    EXPECT_EQ(Screen->FormCount(), before);
}

// A component that counts Loaded calls and sees the form's OnCreate order.
class TLoadProbe : public TComponent {
public:
    using TComponent::TComponent;
    void Loaded() override {
        TComponent::Loaded();
        ++loaded;
    }
    int loaded = 0;
};

TEST(FormsTest, BuildingAFormCallsLoadedOnceThenOnCreate) {
    class TBuiltForm : public TForm {
    public:
        explicit TBuiltForm(TComponent* owner) : TForm(owner) {
            probe = new TLoadProbe(this);
            loadingDuringBuild = probe->IsLoading();
            OnCreate = [this](TObject*) { loadedAtCreate = probe->loaded; };
        }
        TLoadProbe* probe;
        bool loadingDuringBuild = false;
        int loadedAtCreate = -1;
    };
    TBuiltForm form(nullptr);
    EXPECT_TRUE(form.loadingDuringBuild);
    form.FinishBuilding();
    form.FinishBuilding();
    EXPECT_EQ(form.probe->loaded, 1);
    EXPECT_EQ(form.loadedAtCreate, 1);
    EXPECT_FALSE(form.probe->IsLoading());
}

TEST(FormsTest, AnExceptionFromAnEventHandlerGoesToOnException) {
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->OnClick = [](TObject*) { throw Exception(L"转换失败"); };
    std::wstring shown;
    Application->OnException = [&](TObject*, const std::exception& e) { shown = ExceptionMessage(e); };
    ::SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
    Application->OnException = nullptr;
    EXPECT_EQ(shown, L"转换失败");
}

TEST(FormsTest, TimersFireOnlyWhileEnabled) {
    TForm form(nullptr);
    auto* timer = new TTimer(&form);
    timer->SetInterval(10);
    int fired = 0;
    timer->OnTimer = [&](TObject*) { ++fired; };
    DWORD until = ::GetTickCount() + 2000;
    while (fired < 3 && ::GetTickCount() < until) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
    EXPECT_GE(fired, 3);
    timer->SetEnabled(false);
    int stopped = fired;
    for (int i = 0; i < 10; ++i) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
    EXPECT_EQ(fired, stopped);
}

}  // namespace

namespace {

TEST(FormsTest, TabMovesTheFocusThroughTabStopsInTabOrder) {
    TAskForm form(nullptr);
    form.cancel->SetTabOrder(0);  // cancel first, then the edit, then OK
    form.ok->SetTabStop(false);
    std::vector<TWinControl*> order;
    form.GetTabOrderList(order);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], form.cancel);
    EXPECT_EQ(form.FindNextControl(form.cancel, true), form.edit);
    EXPECT_EQ(form.FindNextControl(form.edit, true), form.cancel);  // OK has no tab stop
    EXPECT_EQ(form.FindNextControl(nullptr, true), form.cancel);
    form.Show();
    form.edit->SetFocus();
    MSG msg{form.edit->GetHandle(), WM_KEYDOWN, VK_TAB, 0};
    EXPECT_TRUE(Application->IsKeyMsg(msg));
    EXPECT_TRUE(form.cancel->Focused());
    form.Hide();
}

// Every control with a message method chained in front, as a restyling layer does:
// the modal loop's keys still work. Tab moves on, Enter presses the focused button
// (not the default one), Esc the cancel button, Space a focused button.
TEST(FormsTest, ModalKeysStillWorkWithEveryControlsMessageMethodChained) {
    TAskForm form(nullptr);
    std::vector<std::pair<TControl*, TWndMethod>> saved;
    int messages = 0;
    for (TControl* c : std::initializer_list<TControl*>{&form, form.edit, form.ok, form.cancel}) {
        TWndMethod previous = c->WindowProc;
        saved.emplace_back(c, previous);
        c->WindowProc = [previous, &messages](TMessage& m) {
            ++messages;
            previous(m);
        };
    }
    auto key = [](HWND to, WORD vk) {
        ::PostMessageW(to, WM_KEYDOWN, vk, 1);
        ::PostMessageW(to, WM_KEYUP, vk, 0xC0000001);
    };
    // One step per timer tick while the form is modal.
    auto run = [&](std::vector<std::function<void()>> steps) {
        size_t next = 0;
        int ticks = 0;
        form.timer->OnTimer = [&](TObject*) {
            if (next < steps.size()) steps[next++]();
            if (++ticks > 100) form.SetModalResult(mrAbort);  // never hang the test run
        };
        TModalResult result = form.ShowModal();
        form.timer->OnTimer = nullptr;
        return result;
    };
    HWND afterFirstTab = nullptr, afterSecondTab = nullptr;
    EXPECT_EQ(run({[&] {
                       form.edit->SetFocus();
                       key(form.edit->GetHandle(), VK_TAB);
                   },
                   [&] {
                       afterFirstTab = ::GetFocus();
                       key(afterFirstTab, VK_TAB);
                   },
                   [&] {
                       afterSecondTab = ::GetFocus();
                       key(afterSecondTab, VK_RETURN);
                   }}),
              mrCancel);
    EXPECT_EQ(afterFirstTab, form.ok->GetHandle());
    EXPECT_EQ(afterSecondTab, form.cancel->GetHandle());
    // Space on the focused OK button clicks it.
    EXPECT_EQ(run({[&] {
                  form.ok->SetFocus();
                  ::PostMessageW(form.ok->GetHandle(), WM_KEYDOWN, VK_SPACE, 1);
                  ::PostMessageW(form.ok->GetHandle(), WM_CHAR, L' ', 1);
                  ::PostMessageW(form.ok->GetHandle(), WM_KEYUP, VK_SPACE, 0xC0000001);
              }}),
              mrOk);
    // Esc from the edit.
    EXPECT_EQ(run({[&] { key(form.edit->GetHandle(), VK_ESCAPE); }}), mrCancel);
    EXPECT_GT(messages, 0);
    for (auto& [c, previous] : saved) c->WindowProc = previous;
}

}  // namespace
