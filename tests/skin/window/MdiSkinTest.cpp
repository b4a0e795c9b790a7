// A skinned MDI frame, built as plain windows (the framework has no MDI form): the frame
// is recognised and its client window gets the skin's client object, which keeps the
// client's scroll bars out of a skinned frame, switches the menu-update setting while
// children exist, clears the maximised-child flag when the children are tiled or
// cascaded, tells the manager whether the active child is maximised when one closes,
// and lets go of the client when the frame is detached or destroyed. A frame with a menu
// shows a maximised child's buttons in its skinned bar, and they work.

#include <gtest/gtest.h>

#include <vector>

#include "framework/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MdiClientSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/window/SkinnedWindows.h"

namespace vx {
namespace {

using testing::PumpUntil;

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = ::FindWindowExW(window, nullptr, L"MDIClient", nullptr);
    return ::DefFrameProcW(window, client, msg, wParam, lParam);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSW frame{};
    frame.lpfnWndProc = &FrameProc;
    frame.hInstance = ::GetModuleHandleW(nullptr);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    frame.lpszClassName = L"VxMdiFrame";
    ::RegisterClassW(&frame);
    WNDCLASSW child{};
    child.lpfnWndProc = &::DefMDIChildProcW;
    child.hInstance = ::GetModuleHandleW(nullptr);
    child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    child.lpszClassName = L"VxMdiChild";
    ::RegisterClassW(&child);
}

// A native menu bar for a frame: 文件 and 窗口, each with a drop-down.
HMENU MakeFrameMenu() {
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 101, L"新建(&N)");
    HMENU window = ::CreatePopupMenu();
    ::AppendMenuW(window, MF_STRING, 201, L"层叠(&C)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"窗口(&W)");
    return bar;
}

// A frame window with its MDI client (and a menu, if given), shown and activated; freed
// with the test.
class MdiFrame {
public:
    explicit MdiFrame(HMENU menu = nullptr) {
        RegisterClasses();
        frame = ::CreateWindowExW(0, L"VxMdiFrame", L"多文档", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 500,
                                  360, nullptr, menu, ::GetModuleHandleW(nullptr), nullptr);
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = 1000;
        client = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
                                   WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 480, 300,
                                   frame, nullptr, ::GetModuleHandleW(nullptr), &ccs);
        ::ShowWindow(frame, SW_SHOW);
        ::SetForegroundWindow(frame);
    }
    ~MdiFrame() {
        if (::IsWindow(frame)) ::DestroyWindow(frame);
    }
    MdiFrame(const MdiFrame&) = delete;
    MdiFrame& operator=(const MdiFrame&) = delete;
    HWND AddChild(const wchar_t* title, bool maximized = false) {
        MDICREATESTRUCTW mcs{};
        mcs.szClass = L"VxMdiChild";
        mcs.szTitle = title;
        mcs.hOwner = ::GetModuleHandleW(nullptr);
        mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
        mcs.style = WS_VISIBLE | (maximized ? WS_MAXIMIZE : 0);
        return reinterpret_cast<HWND>(::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }
    HWND frame = nullptr;
    HWND client = nullptr;
};

class MdiSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host_ = testing::MakeSkinnedHost(); }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
        DestroySkinManager();
    }
    static TSkinManage& manager() { return *TSkinManage::Instance(); }
    static TSkinData& data() { return *manager().MainSkinData(); }
    static TFormSkinner* Skinned(HWND frame) {
        PumpUntil([&] {
            TFormSkinner* s = manager().FindForm(frame);
            return s && s->Lifecycle() == 1;
        });
        return manager().FindForm(frame);
    }
    static TForm* host_;
};
TForm* MdiSkin::host_ = nullptr;

TEST_F(MdiSkin, TheFrameIsRecognisedAndItsClientLosesItsScrollBars) {
    MdiFrame f;
    TFormSkinner* s = Skinned(f.frame);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Mdi(), TMdiKind::Frame);
    EXPECT_TRUE(s->FrameSkinned());
    EXPECT_EQ(manager().MdiClient(), f.client);
    ASSERT_NE(s->MdiClientSkinner(), nullptr);
    EXPECT_TRUE(s->MdiClientSkinner()->Attached());
    EXPECT_EQ(s->MdiClientSkinner()->Window(), f.client);
    // When the client's non-client area is computed, its scroll bars go.
    ::SetWindowLongW(f.client, GWL_STYLE, ::GetWindowLongW(f.client, GWL_STYLE) | WS_VSCROLL | WS_HSCROLL);
    RECT r{0, 0, 200, 100};
    ::SendMessageW(f.client, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(::GetWindowLongW(f.client, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
}

TEST_F(MdiSkin, TheClientKeepsItsScrollBarsWhenTheSkinDataAsksForThem) {
    const TSkinOptionSet before = data().GetOptions();
    data().SetOptions(before | SkinBit(xoMDIScrollbar));
    {
        MdiFrame f;
        ASSERT_NE(Skinned(f.frame), nullptr);
        ::SetWindowLongW(f.client, GWL_STYLE, ::GetWindowLongW(f.client, GWL_STYLE) | WS_VSCROLL);
        RECT r{0, 0, 200, 100};
        ::SendMessageW(f.client, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
        EXPECT_NE(::GetWindowLongW(f.client, GWL_STYLE) & WS_VSCROLL, 0);
    }
    data().SetOptions(before);
}

TEST_F(MdiSkin, ChildrenSwitchMenuUpdateOffAndTilingClearsTheMaximisedFlag) {
    const bool menuUpdate = data().GetMenuUpdate();
    data().SetMenuUpdate(true);
    MdiFrame f;
    TFormSkinner* s = Skinned(f.frame);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->MdiClientSkinner()->RememberedMenuUpdate());
    HWND first = f.AddChild(L"第一");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(data().GetMenuUpdate());  // a child was created

    manager().SetMdiChildMaximized(true);
    ::SendMessageW(f.client, WM_MDITILE, MDITILE_VERTICAL, 0);
    EXPECT_FALSE(manager().MdiChildMaximized());
    manager().SetMdiChildMaximized(true);
    ::SendMessageW(f.client, WM_MDICASCADE, 0, 0);
    EXPECT_FALSE(manager().MdiChildMaximized());

    // Closing a child tells the manager whether the child now active is maximised.
    HWND second = f.AddChild(L"第二");
    ::SendMessageW(f.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
    HWND third = f.AddChild(L"第三", true);
    ::SendMessageW(f.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(third), 0);
    BOOL maximized = FALSE;
    ::SendMessageW(f.client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    ASSERT_TRUE(maximized);
    manager().SetMdiChildMaximized(false);
    ::SendMessageW(f.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(third), 0);
    EXPECT_TRUE(manager().MdiChildMaximized());
    ::SendMessageW(f.client, WM_MDIRESTORE, static_cast<WPARAM>(::SendMessageW(f.client, WM_MDIGETACTIVE, 0, 0)),
                   0);
    ::SendMessageW(f.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
    EXPECT_FALSE(manager().MdiChildMaximized());
    ::SendMessageW(f.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_FALSE(manager().MdiChildMaximized());
    data().SetMenuUpdate(menuUpdate);
}

TEST_F(MdiSkin, DetachingAndDestroyingLetGoOfTheClient) {
    MdiFrame f;
    TFormSkinner* s = Skinned(f.frame);
    ASSERT_NE(s, nullptr);
    const LONG_PTR skinnedProc = ::GetWindowLongPtrW(f.client, GWLP_WNDPROC);
    s->Detach();
    EXPECT_EQ(s->MdiClientSkinner(), nullptr);
    EXPECT_NE(::GetWindowLongPtrW(f.client, GWLP_WNDPROC), skinnedProc) << "the client kept the skin's procedure";
    // A frame destroyed while skinned takes its client with it; nothing is left to purge.
    MdiFrame g;
    ASSERT_NE(Skinned(g.frame), nullptr);
    HWND frame = g.frame;
    ::DestroyWindow(frame);
    manager().Purge();
    EXPECT_EQ(manager().FindForm(frame), nullptr);
    // A redraw asked for after the frame is gone reaches no window.
    EXPECT_FALSE(::IsWindow(g.client));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// The MDI child buttons of the skin (visibility 100), in skin order: minimise, restore,
// close.
std::vector<TWinSysButton*> MdiButtons(TFormSkinner& s) {
    std::vector<TWinSysButton*> found;
    for (const auto& b : s.TitleButtons())
        if (b->Def.Visibility == 100) found.push_back(b.get());
    return found;
}
bool AllShown(const std::vector<TWinSysButton*>& buttons, bool shown) {
    for (TWinSysButton* b : buttons)
        if (b->Visible != shown) return false;
    return !buttons.empty();
}
POINT ScreenCentre(HWND w, const TLayoutRect& r) {
    RECT wr{};
    ::GetWindowRect(w, &wr);
    return POINT{wr.left + (r.Left + r.Right) / 2, wr.top + (r.Top + r.Bottom) / 2};
}
// Every pixel of a button picture's first frame that is not the transparent magenta
// shows in the window at the button's place.
bool ShowsFirstFrame(HWND w, TWinSysButton& b) {
    const int fw = b.Def.FrameWidth(), h = b.Image.GetHeight();
    TWindowDC dc = TWindowDC::Whole(w);
    HDC image = b.Image.GetCanvas()->GetHandle();
    int compared = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < fw; ++x) {
            const COLORREF want = ::GetPixel(image, x, y) & 0xFFFFFF;
            if (want == RGB(255, 0, 255)) continue;
            if ((::GetPixel(dc.Get(), b.Rect.Left + x, b.Rect.Top + y) & 0xFFFFFF) != want) return false;
            ++compared;
        }
    return compared > 0;
}

TEST_F(MdiSkin, AMaximisedChildsButtonsShowInTheFramesBarAndWork) {
    MdiFrame f(MakeFrameMenu());
    TFormSkinner* s = Skinned(f.frame);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->HasMenuBar());
    EXPECT_EQ(::GetMenu(f.frame), nullptr);
    const std::vector<TWinSysButton*> mdi = MdiButtons(*s);
    ASSERT_EQ(mdi.size(), 3u) << "the skin's MDI child buttons";
    EXPECT_TRUE(AllShown(mdi, false)) << "shown without a maximised child";

    HWND child = f.AddChild(L"文档一", true);
    ASSERT_TRUE(::IsZoomed(child));
    ASSERT_TRUE(PumpUntil([&] { return AllShown(mdi, true); })) << "the maximised child's buttons did not come";
    EXPECT_TRUE(manager().MdiChildMaximized());
    EXPECT_EQ(::GetMenu(f.frame), nullptr) << "the frame got a native bar back";
    // In the bar, right of the menu's last button, drawn with their first frame.
    const TLayoutRect& lastButton = s->MenuBar()->Buttons().back()->Rect;
    for (TWinSysButton* b : mdi) {
        EXPECT_GE(b->Rect.Top, s->Borders().Top);
        EXPECT_LE(b->Rect.Bottom, s->Borders().Top + s->MenuBarHeight());
        EXPECT_GT(b->Rect.Left, lastButton.Right);
        EXPECT_TRUE(ShowsFirstFrame(f.frame, *b)) << "action " << b->Def.Action;
        const POINT p = ScreenCentre(f.frame, b->Rect);
        EXPECT_EQ(::SendMessageW(f.frame, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTMENU);
    }
    auto click = [&](TWinSysButton& b) {
        const POINT p = ScreenCentre(f.frame, b.Rect);
        ::SendMessageW(f.frame, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(p.x, p.y));
        ::SendMessageW(f.frame, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(p.x, p.y));
        ::SendMessageW(f.frame, WM_NCLBUTTONUP, HTMENU, MAKELPARAM(p.x, p.y));
    };
    // Restore: the child leaves the maximised state and the buttons leave the bar.
    click(*mdi[1]);
    EXPECT_FALSE(::IsZoomed(child));
    EXPECT_TRUE(PumpUntil([&] { return AllShown(mdi, false); })) << "the buttons stayed after restoring";
    // Minimise.
    ::SendMessageW(f.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    ASSERT_TRUE(PumpUntil([&] { return AllShown(mdi, true); }));
    click(*mdi[0]);
    EXPECT_TRUE(::IsIconic(child));
    // Close.
    ::SendMessageW(f.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    ASSERT_TRUE(PumpUntil([&] { return AllShown(mdi, true); }));
    click(*mdi[2]);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(child); })) << "close did not close the child";
    EXPECT_TRUE(PumpUntil([&] { return AllShown(mdi, false); })) << "the buttons stayed after the child went";
    EXPECT_EQ(::GetMenu(f.frame), nullptr);
}

}  // namespace
}  // namespace vx
