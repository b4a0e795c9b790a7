// Object-bound window procedures on any window: messages reach the objects and the old
// procedure; removal in any order, with procedures of other code before and after;
// objects that detach or free themselves inside their handler; windows destroyed while
// subclassed (also from inside a handler); ANSI windows stay ANSI. Also the
// application's teardown handlers and CM_MENUCHANGED passing the window's procedure.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WindowSubclass.h"

namespace vx {
namespace {

constexpr UINT kProbe = WM_APP + 7;

// A plain window whose own procedure counts the probes it gets and answers 1000.
int g_originalProbes = 0;
LRESULT CALLBACK OriginalProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProbe) {
        ++g_originalProbes;
        return 1000;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
}
LRESULT CALLBACK OriginalProcA(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProbe) {
        ++g_originalProbes;
        return 1000;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
}

HWND MakeWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &OriginalProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VxSubclassTestWindow";
        ::RegisterClassW(&wc);
        registered = true;
    }
    return ::CreateWindowExW(0, L"VxSubclassTestWindow", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

// A subclass that adds its value to each probe's answer and records its name.
struct TAdder : TWindowSubclass {
    std::vector<std::string>* log;
    std::string name;
    LRESULT add;
    TAdder(std::vector<std::string>* l, std::string n, LRESULT a) : log(l), name(std::move(n)), add(a) {}
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != kProbe) return CallPrevious(msg, wp, lp);
        log->push_back(name);
        return CallPrevious(msg, wp, lp) + add;
    }
};

// Procedures of other code, installed with SetWindowLongPtr and calling the one before.
WNDPROC g_foreignPrevious = nullptr;
int g_foreignProbes = 0;
LRESULT CALLBACK ForeignProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProbe) ++g_foreignProbes;
    LRESULT r = ::CallWindowProcW(g_foreignPrevious, w, msg, wp, lp);
    return msg == kProbe ? r + 1 : r;
}

WNDPROC Proc(HWND w) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(w, GWLP_WNDPROC)); }
LRESULT Probe(HWND w) { return ::SendMessageW(w, kProbe, 0, 0); }

TEST(WindowSubclass, MessagesPassThroughAndDetachRestoresTheProcedure) {
    HWND w = MakeWindow();
    const WNDPROC original = Proc(w);
    const int chains = TWindowSubclass::ChainCount();
    std::vector<std::string> log;
    TAdder a(&log, "a", 10);
    ASSERT_TRUE(a.Attach(w));
    EXPECT_FALSE(a.Attach(w));  // once only
    EXPECT_NE(Proc(w), original);
    g_originalProbes = 0;
    EXPECT_EQ(Probe(w), 1010);
    EXPECT_EQ(g_originalProbes, 1);
    a.Detach();
    EXPECT_FALSE(a.Attached());
    EXPECT_EQ(Proc(w), original);
    EXPECT_EQ(TWindowSubclass::ChainCount(), chains);
    EXPECT_EQ(Probe(w), 1000);
    EXPECT_EQ(log.size(), 1u);
    ::DestroyWindow(w);
}

TEST(WindowSubclass, RemovedInAnyOrder) {
    HWND w = MakeWindow();
    const WNDPROC original = Proc(w);
    std::vector<std::string> log;
    TAdder a(&log, "a", 10), b(&log, "b", 100), c(&log, "c", 1);
    a.Attach(w);
    b.Attach(w);
    c.Attach(w);
    EXPECT_EQ(Probe(w), 1111);
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a"}));  // the last attached first
    b.Detach();  // from the middle
    log.clear();
    EXPECT_EQ(Probe(w), 1011);
    EXPECT_EQ(log, (std::vector<std::string>{"c", "a"}));
    a.Detach();  // the first one while a later one stays
    EXPECT_EQ(Probe(w), 1001);
    EXPECT_NE(Proc(w), original);
    c.Detach();
    EXPECT_EQ(Proc(w), original);
    ::DestroyWindow(w);
}

TEST(WindowSubclass, AProcedureInstalledEarlierKeepsItsMessages) {
    HWND w = MakeWindow();
    g_foreignPrevious = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    std::vector<std::string> log;
    TAdder a(&log, "a", 10);
    a.Attach(w);
    g_foreignProbes = 0;
    EXPECT_EQ(Probe(w), 1011);
    a.Detach();
    EXPECT_EQ(Proc(w), &ForeignProc);
    EXPECT_EQ(Probe(w), 1001);
    EXPECT_EQ(g_foreignProbes, 2);
    ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrevious));
    ::DestroyWindow(w);
}

TEST(WindowSubclass, AProcedureInstalledLaterIsNotDroppedAndTheFreedObjectIsNotReached) {
    HWND w = MakeWindow();
    const WNDPROC original = Proc(w);
    std::vector<std::string> log;
    auto* a = new TAdder(&log, "a", 10);
    a->Attach(w);
    g_foreignPrevious = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    g_foreignProbes = 0;
    EXPECT_EQ(Probe(w), 1011);
    delete a;  // detaches: the other code's procedure stays in front
    EXPECT_EQ(Proc(w), &ForeignProc);
    EXPECT_EQ(Probe(w), 1001);
    EXPECT_EQ(g_foreignProbes, 2);
    EXPECT_EQ(log.size(), 1u);
    // The other code takes its procedure away: the pass-through left behind hands the
    // window its own procedure back at the next message.
    ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrevious));
    EXPECT_EQ(Probe(w), 1000);
    EXPECT_EQ(Proc(w), original);
    ::DestroyWindow(w);
}

TEST(WindowSubclass, DetachInsideTheHandlerStillPassesTheMessageOn) {
    HWND w = MakeWindow();
    const WNDPROC original = Proc(w);
    int seen = 0;
    TWindowSubclass s([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == kProbe) {
            ++seen;
            self.Detach();
            return self.CallPrevious(msg, wp, lp) + 5;
        }
        return self.CallPrevious(msg, wp, lp);
    });
    s.Attach(w);
    EXPECT_EQ(Probe(w), 1005);
    EXPECT_EQ(Proc(w), original);  // tidied once the message was done
    EXPECT_EQ(Probe(w), 1000);
    EXPECT_EQ(seen, 1);
    ::DestroyWindow(w);
}

TEST(WindowSubclass, AnObjectFreedInsideItsHandlerIsNotTouchedAgain) {
    HWND w = MakeWindow();
    std::vector<std::string> log;
    TAdder below(&log, "below", 100);
    below.Attach(w);
    struct TSelfFreeing : TWindowSubclass {
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
            if (msg != kProbe) return CallPrevious(msg, wp, lp);
            LRESULT r = CallPrevious(msg, wp, lp);
            delete this;
            return r + 7;
        }
    };
    (new TSelfFreeing)->Attach(w);
    EXPECT_EQ(Probe(w), 1107);
    EXPECT_EQ(Probe(w), 1100);
    below.Detach();
    EXPECT_EQ(Probe(w), 1000);
    ::DestroyWindow(w);
}

TEST(WindowSubclass, AnotherObjectFreedWhileAMessageIsUnderWayIsSkipped) {
    HWND w = MakeWindow();
    std::vector<std::string> log;
    auto* lower = new TAdder(&log, "lower", 100);
    lower->Attach(w);
    TWindowSubclass upper([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == kProbe && lower) {
            delete lower;  // the object below goes before the message reaches it
            lower = nullptr;
        }
        return self.CallPrevious(msg, wp, lp);
    });
    upper.Attach(w);
    EXPECT_EQ(Probe(w), 1000);
    EXPECT_TRUE(log.empty());
    upper.Detach();
    ::DestroyWindow(w);
}

TEST(WindowSubclass, ADestroyedWindowDetachesEveryObject) {
    const int chains = TWindowSubclass::ChainCount();
    HWND w = MakeWindow();
    std::vector<std::string> log;
    TAdder a(&log, "a", 1), b(&log, "b", 2);
    a.Attach(w);
    b.Attach(w);
    std::vector<UINT> lastMessages;
    TWindowSubclass watcher([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY || msg == WM_NCDESTROY) lastMessages.push_back(msg);
        return self.CallPrevious(msg, wp, lp);
    });
    watcher.Attach(w);
    ::DestroyWindow(w);
    EXPECT_EQ(lastMessages, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(a.Attached());
    EXPECT_FALSE(b.Attached());
    EXPECT_FALSE(watcher.Attached());
    EXPECT_EQ(TWindowSubclass::ChainCount(), chains);
    a.Detach();  // harmless now
}

TEST(WindowSubclass, AWindowDestroyedFromInsideAHandler) {
    const int chains = TWindowSubclass::ChainCount();
    HWND w = MakeWindow();
    bool afterDestroy = false;
    TWindowSubclass s([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == kProbe) {
            ::DestroyWindow(self.Window());
            afterDestroy = !self.Attached();
            return 3;
        }
        return self.CallPrevious(msg, wp, lp);
    });
    s.Attach(w);
    EXPECT_EQ(Probe(w), 3);
    EXPECT_TRUE(afterDestroy);
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_EQ(TWindowSubclass::ChainCount(), chains);
}

TEST(WindowSubclass, AnAnsiWindowStaysAnsi) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &OriginalProcA;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = "VxSubclassAnsiWindow";
    ::RegisterClassA(&wc);
    HWND w = ::CreateWindowExA(0, "VxSubclassAnsiWindow", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_FALSE(::IsWindowUnicode(w));
    std::string textSeen;
    TWindowSubclass s([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_SETTEXT) textSeen = reinterpret_cast<const char*>(lp);
        return self.CallPrevious(msg, wp, lp);
    });
    s.Attach(w);
    EXPECT_FALSE(::IsWindowUnicode(w));
    ::SetWindowTextA(w, "abc");
    EXPECT_EQ(textSeen, "abc");
    char buffer[16] = {};
    ::GetWindowTextA(w, buffer, 16);
    EXPECT_STREQ(buffer, "abc");
    s.Detach();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(w, GWLP_WNDPROC)), &OriginalProcA);
    ::DestroyWindow(w);
}

TEST(WindowSubclass, OnlyWindowsOfThisThread) {
    TWindowSubclass s;
    EXPECT_FALSE(s.Attach(nullptr));
    EXPECT_FALSE(s.Attach(::GetDesktopWindow()));
    EXPECT_FALSE(s.Attached());
}

TEST(MessageHook, RemovedInAnyOrderWithoutDroppingALaterMethod) {
    TForm form(nullptr);
    form.HandleNeeded();
    std::vector<std::string> log;
    auto record = [&log](const char* name) {
        return [&log, name](TMessage& m, const TWndMethod& previous) {
            if (m.Msg == kProbe) log.push_back(name);
            previous(m);
        };
    };
    auto* inner = new TMessageHook;
    inner->Install(&form, record("inner"));
    TMessageHook outer;
    outer.Install(&form, record("outer"));
    // Code of its own in front of both, keeping what it replaced.
    TWndMethod beforeThird = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == kProbe) log.push_back("third");
        beforeThird(m);
    };
    form.Perform(kProbe);
    EXPECT_EQ(log, (std::vector<std::string>{"third", "outer", "inner"}));
    delete inner;  // from under two others
    outer.Remove();
    log.clear();
    form.Perform(kProbe);
    EXPECT_EQ(log, std::vector<std::string>{"third"});
    // The hook on top is removed exactly: the method it replaced comes back.
    form.WindowProc = beforeThird;
    TMessageHook top;
    top.Install(&form, record("top"));
    top.Remove();
    log.clear();
    form.Perform(kProbe);
    EXPECT_TRUE(log.empty());
    // A hook removed by its own handler finishes the message.
    TMessageHook self;
    self.Install(&form, [&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == kProbe) {
            self.Remove();
            log.push_back("self");
        }
        previous(m);
    });
    form.Perform(kProbe);
    form.Perform(kProbe);
    EXPECT_EQ(log, std::vector<std::string>{"self"});
}

TEST(ApplicationTeardown, HandlersRunLastFirstWhileTheFormsStillExist) {
    std::vector<std::string> order;
    {
        TApplication app;
        auto* form = new TForm(&app);
        form->SetName(L"frmTeardown");
        form->HandleNeeded();
        HWND h = form->GetHandle();
        app.AddTeardown([&] { order.push_back(::IsWindow(h) && app.ComponentCount() == 1 ? "first whole" : "first late"); });
        app.AddTeardown([&] { order.push_back(::IsWindow(h) ? "second whole" : "second late"); });
    }
    EXPECT_EQ(order, (std::vector<std::string>{"second whole", "first whole"}));
}

TEST(MenuChangeNotification, PassesTheWindowsProcedureWithTheMenuPutInDuringIt) {
    TForm form(nullptr);
    form.SetBounds(40, 40, 300, 200);
    auto* menu = new TMainMenu(&form);
    menu->GetItems()->Add(NewItem(&form, L"文件(&F)", 0, nullptr));
    form.HandleNeeded();
    HWND h = form.GetHandle();
    int notified = 0;
    HMENU before = reinterpret_cast<HMENU>(1), during = nullptr;
    TWindowSubclass frame([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg != CM_MENUCHANGED) return self.CallPrevious(msg, wp, lp);
        ++notified;
        before = ::GetMenu(h);
        LRESULT r = self.CallPrevious(msg, wp, lp);
        during = ::GetMenu(h);
        ::SetMenu(h, nullptr);  // a frame painter draws its own menu bar
        return r;
    });
    frame.Attach(h);
    form.SetMenu(menu);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(before, nullptr);
    EXPECT_EQ(during, menu->GetHandle());
    EXPECT_EQ(::GetMenu(h), nullptr);
    frame.Detach();
}

}  // namespace
}  // namespace vx
