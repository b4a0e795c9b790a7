// The Win32 owners: what they hold is really released, exactly once, and what they hand
// over (Detach, a move) is not.
#include "framework/Handles.h"
#include "tests/framework/GuiObjectCounts.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <stdexcept>
#include <vector>

namespace vx {
namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

HANDLE NewEvent() { return ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }

TEST(HandleOwner, ClosesWhatItHoldsAndNothingItHandedOver) {
    HANDLE raw = NewEvent();
    ASSERT_TRUE(IsOpen(raw));
    {
        THandle owner(raw);
        EXPECT_TRUE(owner.Valid());
    }
    EXPECT_FALSE(IsOpen(raw)) << "the owner left its handle open";

    HANDLE kept = nullptr;
    {
        THandle owner(NewEvent());
        kept = owner.Detach();
        EXPECT_FALSE(owner.Valid());
    }
    EXPECT_TRUE(IsOpen(kept)) << "a detached handle was closed";
    THandle adopt(kept);

    // Reset closes the old handle and keeps the new one; resetting to the held handle
    // must not close it.
    HANDLE first = NewEvent(), second = NewEvent();
    THandle owner(first);
    owner.Reset(second);
    EXPECT_FALSE(IsOpen(first));
    EXPECT_TRUE(IsOpen(second));
    owner.Reset(second);
    EXPECT_TRUE(IsOpen(second)) << "resetting to the same handle closed it";
    owner.Reset();
    EXPECT_FALSE(IsOpen(second));

    // CreateFile's failure value counts as no handle.
    THandle failed(::CreateFileW(L"Z:\\no\\such\\folder\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                 nullptr));
    EXPECT_FALSE(failed.Valid());
    EXPECT_FALSE(static_cast<bool>(failed));
}

TEST(HandleOwner, AMoveHandsTheHandleOverAndTheSourceClosesNothing) {
    HANDLE raw = NewEvent();
    THandle target;
    {
        THandle source(raw);
        target = std::move(source);
        EXPECT_EQ(source.Get(), nullptr);
        THandle constructed(std::move(target));
        EXPECT_EQ(target.Get(), nullptr);
        target = std::move(constructed);
    }
    EXPECT_TRUE(IsOpen(raw)) << "a moved-from owner closed the handle";
    EXPECT_EQ(target.Get(), raw);

    // Once the handle is closed its value may be handed out again; an owner that was
    // moved from must not close the new handle that now has the same value.
    THandle movedFrom(NewEvent());
    THandle holder(std::move(movedFrom));
    holder.Reset();
    std::vector<THandle> fresh;
    for (int i = 0; i < 8; ++i) fresh.emplace_back(NewEvent());
    movedFrom.Reset();
    { THandle gone(std::move(movedFrom)); }
    for (const THandle& h : fresh) EXPECT_TRUE(IsOpen(h.Get())) << "a handle was closed twice";
}

TEST(HandleOwner, ReceiveFillsTheSlotThroughAnOutParameter) {
    THandle readEnd, writeEnd;
    HANDLE stale = NewEvent();
    readEnd.Reset(stale);
    HANDLE* slot = readEnd.Receive();
    // (checked before the pipe is made: the new handle may get the freed value)
    EXPECT_FALSE(IsOpen(stale)) << "Receive did not close the handle held before";
    EXPECT_EQ(*slot, nullptr);
    ASSERT_TRUE(::CreatePipe(slot, writeEnd.Receive(), nullptr, 0));
    const char sent[] = "pipe";
    DWORD done = 0;
    ASSERT_TRUE(::WriteFile(writeEnd.Get(), sent, sizeof sent, &done, nullptr));
    char got[sizeof sent] = {};
    ASSERT_TRUE(::ReadFile(readEnd.Get(), got, sizeof got, &done, nullptr));
    EXPECT_STREQ(got, sent);
    HANDLE rawRead = readEnd.Get();
    readEnd.Reset();
    EXPECT_FALSE(IsOpen(rawRead));
}

TEST(GdiOwners, ObjectsAndMemoryDcsAreDeletedAndDetachedOnesAreNot) {
    HBRUSH raw = nullptr;
    HDC rawDC = nullptr;
    {
        TBrushHandle brush(::CreateSolidBrush(RGB(1, 2, 3)));
        TMemoryDC dc;
        raw = brush.Get();
        rawDC = dc.Get();
        ASSERT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
        ASSERT_EQ(::GetObjectType(rawDC), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(::GetObjectType(raw), 0u) << "the brush was not deleted";
    EXPECT_EQ(::GetObjectType(rawDC), 0u) << "the memory DC was not deleted";

    HPEN kept = nullptr;
    {
        TPenHandle pen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        TPenHandle moved(std::move(pen));
        EXPECT_FALSE(static_cast<bool>(pen));
        kept = moved.Detach();
    }
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_PEN)) << "a detached pen was deleted";
    TPenHandle adopt(kept);
}

// Every owner made and released many times leaves nothing behind: each object and
// memory DC it made is gone at the end of its scope, the window DCs go back to the
// system's cache (a DC kept would make every later GetDC hand out a new one), and the
// process's GDI object count, where the system keeps one, is where it was.
TEST(GdiOwners, ManyScopedObjectsLeaveNothingBehind) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    std::set<HDC> windowDCs;
    int leaked = 0;
    auto drawOnce = [&] {
        std::vector<HGDIOBJ> made;
        {
            TWindowDC screen(nullptr);
            TWindowDC client(window);
            TWindowDC whole = TWindowDC::Whole(window);
            windowDCs.insert({screen.Get(), client.Get(), whole.Get()});
            TMemoryDC memory(screen.Get());
            TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), 16, 16));
            TSelectObject selectBitmap(memory.Get(), bitmap.Get());
            TFontHandle font(
                ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
            TSelectObject selectFont(memory.Get(), font.Get());
            TPenHandle pen(::CreatePen(PS_SOLID, 1, RGB(9, 9, 9)));
            TSelectObject selectPen(memory.Get(), pen.Get());
            TBrushHandle brush(::CreateSolidBrush(RGB(7, 7, 7)));
            TSelectObject selectBrush(memory.Get(), brush.Get());
            TRegionHandle region(::CreateRectRgn(0, 0, 8, 8));
            TSavedDC saved(memory.Get());
            ::SelectClipRgn(memory.Get(), region.Get());
            ::Rectangle(memory.Get(), 0, 0, 16, 16);
            ::TextOutW(memory.Get(), 0, 0, L"x", 1);
            made = {memory.Get(), bitmap.Get(), font.Get(), pen.Get(), brush.Get(), region.Get()};
        }
        for (HGDIOBJ object : made) leaked += ::GetObjectType(object) != 0;
    };
    drawOnce();  // first use may allocate caches of its own
    const int before = testing::CountGuiObjects().Gdi;
    for (int i = 0; i < 300; ++i) drawOnce();
    const int after = testing::CountGuiObjects().Gdi;
    EXPECT_EQ(leaked, 0) << "objects or memory DCs outlived their owners";
    EXPECT_LE(windowDCs.size(), 6u) << "window DCs were not given back: every GetDC made a new one";
    EXPECT_EQ(after, before) << "the process's GDI object count grew";
    ::DestroyWindow(window);
}

TEST(GdiOwners, ASelectionPutsThePreviousObjectBack) {
    TMemoryDC dc;
    TPenHandle first(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    TPenHandle second(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
    TSelectObject outer(dc.Get(), first.Get());
    ASSERT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), first.Get());
    try {
        TSelectObject inner(dc.Get(), second.Get());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), second.Get());
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), first.Get()) << "the previous pen was not put back";
    {
        TSelectObject nothing(dc.Get(), nullptr);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), first.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), first.Get());
}

TEST(GdiOwners, ASavedDcBringsTheClipRegionAndOriginBack) {
    TMemoryDC dc;
    TBitmapHandle bitmap(::CreateBitmap(40, 40, 1, 32, nullptr));
    TSelectObject select(dc.Get(), bitmap.Get());
    RECT before{};
    ASSERT_NE(::GetClipBox(dc.Get(), &before), ERROR);
    {
        TSavedDC saved(dc.Get());
        TRegionHandle clip(::CreateRectRgn(5, 5, 10, 10));
        ::SelectClipRgn(dc.Get(), clip.Get());
        ::SetViewportOrgEx(dc.Get(), 3, 4, nullptr);
        RECT inside{};
        ::GetClipBox(dc.Get(), &inside);
        EXPECT_LT(inside.right - inside.left, 40);
    }
    RECT after{};
    ::GetClipBox(dc.Get(), &after);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "the clip region stayed after the saved DC's scope";
    TRegionHandle probe(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetClipRgn(dc.Get(), probe.Get()), 0) << "a clip region is still set";
    POINT origin{-1, -1};
    ::GetViewportOrgEx(dc.Get(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

// A window that paints through TPaintDC. BeginPaint validates the update region and
// hands out a DC of the system's cache; EndPaint gives the DC back, so paint after
// paint gets the same few DCs, while a paint that was never ended keeps its DC for good.
std::set<HDC> g_paintDCs;

LRESULT CALLBACK PaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        TPaintDC paint(window);
        g_paintDCs.insert(paint.Get());
        ::FillRect(paint.Get(), &paint.Info().rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(GdiOwners, APaintDcEndsThePaint) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VxHandlesPaintProbe";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    g_paintDCs.clear();
    for (int i = 0; i < 100; ++i) {
        ::InvalidateRect(window, nullptr, FALSE);
        ASSERT_TRUE(::GetUpdateRect(window, nullptr, FALSE));
        ::UpdateWindow(window);
        EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "the paint did not validate the window";
    }
    EXPECT_GE(g_paintDCs.size(), 1u);
    EXPECT_LE(g_paintDCs.size(), 4u) << "paint DCs were not given back: every paint got a new one";
    ::DestroyWindow(window);
}

// A DC clipped to a region: GetDCEx takes the region over when it hands out the DC (the
// system deletes it with the DC), so its owner must let go then, and only then; the DC
// paints only inside the region.
TEST(GdiOwners, AClippedWindowDcTakesItsRegionOverOnlyWhenItIsHandedOut) {
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 30, 30, 80, 40, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ::UpdateWindow(window);
    const testing::TGuiObjectCounts before = testing::CountGuiObjects();
    for (int i = 0; i < 50; ++i) {
        TRegionHandle clip(::CreateRectRgn(30, 30, 70, 70));
        TWindowDC dc = TWindowDC::Clipped(window, clip, DCX_WINDOW | DCX_INTERSECTRGN);
        ASSERT_TRUE(dc);
        EXPECT_FALSE(clip) << "the owner kept a region the DC took over";
    }
    EXPECT_EQ(testing::CountGuiObjects().Gdi, before.Gdi) << "regions or DCs were left behind";
    {
        // No DC: the region stays with its owner, which deletes it.
        TRegionHandle clip(::CreateRectRgn(0, 0, 5, 5));
        const HRGN raw = clip.Get();
        TWindowDC dc = TWindowDC::Clipped(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7FF0)), clip,
                                          DCX_WINDOW | DCX_INTERSECTRGN);
        EXPECT_FALSE(dc);
        EXPECT_EQ(clip.Get(), raw);
    }
    EXPECT_EQ(testing::CountGuiObjects().Gdi, before.Gdi);
    {
        // The left half of the window (screen coordinates) is painted, the right is not.
        TWindowDC white = TWindowDC::Whole(window);
        RECT all{0, 0, 80, 40};
        ::FillRect(white.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        TRegionHandle clip(::CreateRectRgn(30, 30, 70, 70));
        TWindowDC dc = TWindowDC::Clipped(window, clip, DCX_WINDOW | DCX_INTERSECTRGN);
        ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(::GetPixel(white.Get(), 10, 20) & 0xFFFFFF, 0u);
        EXPECT_EQ(::GetPixel(white.Get(), 60, 20) & 0xFFFFFF, 0xFFFFFFu);
    }
    ::DestroyWindow(window);
}

// The counts that leak tests compare: each kind of object created shows, and goes when
// freed.
TEST(GuiObjectCounts, SeeObjectsComeAndGo) {
    // A window of the thread stays throughout: the thread's input-method window comes
    // with its first window and goes with its last.
    HWND keeper = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const testing::TGuiObjectCounts before = testing::CountGuiObjects();
    EXPECT_GT(before.Gdi, 0) << "not even the stock objects were found";
    {
        std::vector<TBrushHandle> brushes;
        for (int i = 0; i < 10; ++i) brushes.emplace_back(::CreateSolidBrush(RGB(i, 2, 3)));
        TRegionHandle region(::CreateRectRgn(0, 0, 5, 5));
        HMENU menu = ::CreatePopupMenu();
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, window, nullptr, nullptr, nullptr);
        ASSERT_TRUE(menu && window && child);
        const testing::TGuiObjectCounts during = testing::CountGuiObjects();
        EXPECT_EQ(during.Gdi - before.Gdi, 11);
        EXPECT_EQ(during.Menus - before.Menus, 1);
        EXPECT_EQ(during.Windows - before.Windows, 2);
        ::DestroyWindow(window);
        ::DestroyMenu(menu);
    }
    const testing::TGuiObjectCounts after = testing::CountGuiObjects();
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.Menus, before.Menus);
    EXPECT_EQ(after.Windows, before.Windows);
    ::DestroyWindow(keeper);
}

int g_hookCalls = 0;
LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) ++g_hookCalls;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posts a thread message and takes it, so that a message hook of the thread sees it.
void PassOneMessage() {
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 7, 0, 0);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE)) {
    }
}

TEST(HookOwner, UnhooksWhenItGoesAndWhenGivenAnother) {
    auto hook = [] { return ::SetWindowsHookExW(WH_GETMESSAGE, &CountingHook, nullptr, ::GetCurrentThreadId()); };
    g_hookCalls = 0;
    HHOOK first = nullptr;
    {
        THook owner(hook());
        ASSERT_TRUE(owner);
        first = owner.Get();
        PassOneMessage();
        EXPECT_EQ(g_hookCalls, 1);
        owner.Reset(hook());  // the first hook goes, the second one counts alone
        PassOneMessage();
        EXPECT_EQ(g_hookCalls, 2);
        EXPECT_FALSE(::UnhookWindowsHookEx(first)) << "the first hook was still installed";
    }
    PassOneMessage();
    EXPECT_EQ(g_hookCalls, 2) << "the hook outlived its owner";
}

TEST(CriticalSectionLock, IsLetGoWhenAnExceptionLeavesTheScope) {
    TCriticalSection cs;
    auto otherThreadEnters = [&cs] {
        return std::async(std::launch::async, [&cs] {
                   if (!cs.TryEnter()) return false;
                   cs.Leave();
                   return true;
               }).get();
    };
    {
        TCriticalSectionLock lock(cs);
        EXPECT_FALSE(otherThreadEnters()) << "the lock does not hold";
    }
    EXPECT_TRUE(otherThreadEnters());
    try {
        TCriticalSectionLock lock(cs);
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    const bool free = otherThreadEnters();
    EXPECT_TRUE(free) << "the lock was kept when an exception left its scope";
    if (!free) cs.Leave();
}

}  // namespace
}  // namespace vx
