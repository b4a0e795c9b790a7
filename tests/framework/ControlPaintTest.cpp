// Painting of windowless controls through their parents: the device context they get
// is moved to their origin and clipped to them, however deep they sit, whether the
// parent is one of our own windows, a double-buffered one or a system control such as
// a tab control.

#include <gtest/gtest.h>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"

#include <commctrl.h>

namespace {

using namespace vx;

constexpr COLORREF kProbeRed = RGB(255, 0, 0);

// A windowless control that fills far more than its own rectangle, so the clipping
// shows, and notes what the device context looked like when it painted.
class TPaintProbe : public TGraphicControl {
    VX_DECLARE_CLASS(TPaintProbe, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;
    int paints = 0;
    POINT origin{};
    RECT clip{};

protected:
    void Paint() override {
        ++paints;
        HDC dc = GetCanvas()->GetHandle();
        POINT viewport{};
        ::GetWindowOrgEx(dc, &origin);
        ::GetViewportOrgEx(dc, &viewport);
        origin.x -= viewport.x;
        origin.y -= viewport.y;
        ::GetClipBox(dc, &clip);
        GetCanvas()->GetBrush()->SetColor(clRed);
        GetCanvas()->FillRect(RECT{-500, -500, 500, 500});
    }
};
VX_IMPLEMENT_CLASS(TPaintProbe, TGraphicControl)

// Draws a window into a bitmap by sending it WM_PAINT with a memory DC, as the
// framework's own double buffering and print paths do.
class TOffscreen {
public:
    TOffscreen(HWND window, int width, int height)
        : window_(window), bitmap_(ScreenBitmap(width, height)), selection_(dc_.Get(), bitmap_.Get()) {
        RECT all{0, 0, width, height};
        ::FillRect(dc_.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SendMessageW(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_.Get()), 0);
        ::SendMessageW(window_, WM_PAINT, reinterpret_cast<WPARAM>(dc_.Get()), 0);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.Get(), x, y); }

private:
    static HBITMAP ScreenBitmap(int width, int height) {
        const TWindowDC screen(nullptr);
        return ::CreateCompatibleBitmap(screen.Get(), width, height);
    }
    HWND window_;
    TMemoryDC dc_;  // compatible with the screen
    TBitmapHandle bitmap_;
    TSelectObject selection_;
};

// The pixel a window shows on screen after it painted itself.
COLORREF OnScreen(HWND window, int x, int y) {
    const TWindowDC dc(window);
    return ::GetPixel(dc.Get(), x, y);
}

void RepaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Checks the probe's rectangle (in the coordinates of `at`) is red inside and not
// red just outside on all four sides.
template <class PixelAt>
void ExpectProbeExactly(const RECT& r, PixelAt at) {
    EXPECT_EQ(at(r.left, r.top), kProbeRed);
    EXPECT_EQ(at(r.right - 1, r.bottom - 1), kProbeRed);
    EXPECT_EQ(at((r.left + r.right) / 2, (r.top + r.bottom) / 2), kProbeRed);
    EXPECT_NE(at(r.left - 1, r.top), kProbeRed);
    EXPECT_NE(at(r.right, r.bottom - 1), kProbeRed);
    EXPECT_NE(at(r.left, r.top - 1), kProbeRed);
    EXPECT_NE(at(r.right - 1, r.bottom), kProbeRed);
}

class ControlPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(30, 30, 420, 320);
        outer = new TPanel(form.get());
        outer->SetParent(form.get());
        outer->SetBounds(10, 10, 260, 200);
        outer->SetColor(clWhite);
        inner = new TPanel(form.get());
        inner->SetParent(outer);
        inner->SetBounds(30, 20, 150, 120);
        inner->SetColor(clWhite);
        inner->SetBevelOuter(bvNone);
        probe = new TPaintProbe(form.get());
        probe->SetParent(inner);
        probe->SetBounds(15, 25, 40, 30);
    }
    std::unique_ptr<TForm> form;
    TPanel* outer = nullptr;
    TPanel* inner = nullptr;
    TPaintProbe* probe = nullptr;
};

TEST_F(ControlPaintTest, ANestedWindowlessControlPaintsOnlyItsOwnRectangle) {
    form->Show();
    RepaintNow(form->GetHandle());
    ASSERT_GE(probe->paints, 1);
    // Its own coordinates: origin at its top-left corner, clip inside its size.
    EXPECT_EQ(probe->origin.x, -15);
    EXPECT_EQ(probe->origin.y, -25);
    EXPECT_GE(probe->clip.left, 0);
    EXPECT_GE(probe->clip.top, 0);
    EXPECT_LE(probe->clip.right, 40);
    EXPECT_LE(probe->clip.bottom, 30);
    HWND h = inner->GetHandle();
    ExpectProbeExactly(probe->BoundsRect(), [h](int x, int y) { return OnScreen(h, x, y); });
    // The outer panel around it stays white apart from its bevel.
    EXPECT_EQ(OnScreen(outer->GetHandle(), 20, 150), RGB(255, 255, 255));
}

TEST_F(ControlPaintTest, APartialUpdateClipsTheControlToTheUpdatedArea) {
    form->Show();
    RepaintNow(form->GetHandle());
    HWND h = inner->GetHandle();
    // Paint the inner panel blue by hand, then ask for a repaint of the lower half
    // of the probe only: the upper half must stay as it was.
    {
        const TWindowDC dc(h);
        RECT all{0, 0, 150, 120};
        const TBrushHandle blue(::CreateSolidBrush(RGB(0, 0, 255)));
        ::FillRect(dc.Get(), &all, blue.Get());
    }
    RECT lower{15, 40, 55, 55};
    ::InvalidateRect(h, &lower, FALSE);
    probe->paints = 0;
    ::UpdateWindow(h);
    EXPECT_EQ(probe->paints, 1);
    EXPECT_EQ(probe->clip.top, 15);  // 40 in the panel is 15 in the probe
    EXPECT_EQ(OnScreen(h, 30, 45), kProbeRed);
    EXPECT_EQ(OnScreen(h, 30, 30), RGB(0, 0, 255));
    EXPECT_EQ(OnScreen(h, 100, 100), RGB(0, 0, 255));
}

TEST_F(ControlPaintTest, DoubleBufferedAndPrintedParentsGiveTheSameOffsetAndClip) {
    inner->SetDoubleBuffered(true);
    form->Show();
    RepaintNow(form->GetHandle());
    HWND h = inner->GetHandle();
    ExpectProbeExactly(probe->BoundsRect(), [h](int x, int y) { return OnScreen(h, x, y); });
    TOffscreen printed(h, 150, 120);
    ExpectProbeExactly(probe->BoundsRect(), [&](int x, int y) { return printed.At(x, y); });
    EXPECT_EQ(probe->origin.x, -15);
    EXPECT_EQ(probe->origin.y, -25);
}

TEST_F(ControlPaintTest, AHiddenOrMovedControlIsPaintedWhereItIsNow) {
    form->Show();
    probe->SetVisible(false);
    RepaintNow(form->GetHandle());
    HWND h = inner->GetHandle();
    EXPECT_NE(OnScreen(h, 30, 35), kProbeRed);
    probe->SetBounds(70, 60, 20, 10);
    probe->SetVisible(true);
    ::UpdateWindow(h);
    ExpectProbeExactly(probe->BoundsRect(), [h](int x, int y) { return OnScreen(h, x, y); });
    EXPECT_NE(OnScreen(h, 30, 35), kProbeRed);
}

// --- Painting the parent behind a control ---------------------------------------------------

// What a layer drawing a control "transparent" does: it has the parent paint itself,
// with its graphic children, into the control's device context, moved and clipped so that
// only the part behind the control lands there.
void PaintParentInto(TControl* control, HDC dc) {
    HWND parent = control->GetParent()->GetHandle();
    const TSavedDC saved(dc);
    ::OffsetViewportOrgEx(dc, -control->GetLeft(), -control->GetTop(), nullptr);
    RECT r = control->BoundsRect();
    ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

// A 40 × 40 bitmap, first filled black, with the parent painted behind `control`.
template <class Check>
void WithParentBehind(TControl* control, Check check) {
    const TWindowDC screen(nullptr);
    const TMemoryDC dc(screen.Get());
    const TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), 40, 40));
    const TSelectObject selection(dc.Get(), bitmap.Get());
    RECT all{0, 0, 40, 40};
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    PaintParentInto(control, dc.Get());
    check(dc.Get());
}

TEST_F(ControlPaintTest, TheParentPaintsBehindAControlWithItsOtherGraphicChildren) {
    // The probe covers (15, 25)-(55, 55) of the inner panel; the control overlaps it.
    auto* front = new TPanel(form.get());
    front->SetParent(inner);
    front->SetBounds(35, 40, 40, 40);
    for (bool doubleBuffered : {false, true}) {
        SCOPED_TRACE(doubleBuffered ? "double-buffered parent" : "plain parent");
        inner->SetDoubleBuffered(doubleBuffered);
        form->Show();
        WithParentBehind(front, [](HDC dc) {
            EXPECT_EQ(::GetPixel(dc, 0, 0), kProbeRed);           // the probe at (35, 40)
            EXPECT_EQ(::GetPixel(dc, 19, 14), kProbeRed);         // its corner at (54, 54)
            EXPECT_EQ(::GetPixel(dc, 20, 14), RGB(255, 255, 255));  // the panel beside it
            EXPECT_EQ(::GetPixel(dc, 5, 15), RGB(255, 255, 255));   // and below it
            EXPECT_EQ(::GetPixel(dc, 39, 39), RGB(255, 255, 255));
        });
    }
}

TEST_F(ControlPaintTest, ADoubleBufferedFormStillErasesBehindAControlOnIt) {
    form->SetColor(clYellow);
    form->SetDoubleBuffered(true);
    auto* onForm = new TPanel(form.get());
    onForm->SetParent(form.get());
    onForm->SetBounds(300, 200, 40, 40);
    form->Show();
    WithParentBehind(onForm, [](HDC dc) {
        EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(255, 255, 0));
        EXPECT_EQ(::GetPixel(dc, 39, 39), RGB(255, 255, 0));
    });
    // Its own window's DC is still left alone by the erase (no flicker before the
    // buffered picture is copied in).
    HWND h = form->GetHandle();
    const TWindowDC own(h);
    RECT spot{2, 2, 8, 8};  // clear of the panels
    {
        const TBrushHandle blue(::CreateSolidBrush(RGB(0, 0, 255)));
        ::FillRect(own.Get(), &spot, blue.Get());
    }
    ::SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(own.Get()), 0);
    EXPECT_EQ(::GetPixel(own.Get(), 5, 5), RGB(0, 0, 255));
}

// --- Tab control and page control ---------------------------------------------------------

TEST_F(ControlPaintTest, AWindowlessControlOnATabControlIsPaintedAndGetsTheMouse) {
    outer->SetVisible(false);  // the tab control takes the place of the nested panels
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(20, 20, 300, 220);
    tabs->GetTabs()->Add(L"视频");
    tabs->GetTabs()->Add(L"音频");
    auto* onTabs = new TPaintProbe(form.get());
    onTabs->SetParent(tabs);
    onTabs->SetBounds(40, 80, 50, 40);
    int clicks = 0, entered = 0;
    onTabs->OnClick = [&](TObject*) { ++clicks; };
    onTabs->OnMouseEnter = [&](TObject*) { ++entered; };
    form->Show();
    RepaintNow(form->GetHandle());
    HWND h = tabs->GetHandle();
    EXPECT_GE(onTabs->paints, 1);
    ExpectProbeExactly(onTabs->BoundsRect(), [h](int x, int y) { return OnScreen(h, x, y); });
    TOffscreen printed(h, 300, 220);
    ExpectProbeExactly(onTabs->BoundsRect(), [&](int x, int y) { return printed.At(x, y); });
    // The tabs themselves are still drawn: the strip's text area is not plain face colour
    // everywhere (there is an edge line under the tabs).
    int strip = 0;
    for (int x = 2; x < 120; ++x)
        if (printed.At(x, 3) != ColorToColorRef(clBtnFace)) ++strip;
    EXPECT_GT(strip, 0);

    // The mouse: the system tab control is see-through outside its tabs, which would
    // send the pointer to the form and never to the control on it.
    POINT screen = tabs->ClientToScreen(POINT{60, 100});
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTCLIENT);
    EXPECT_EQ(::WindowFromPoint(screen), h);
    EXPECT_EQ(FindDragTarget(screen, false), onTabs);
    // The real pointer put there reaches it too.
    ::SetCursorPos(screen.x, screen.y);
    for (DWORD start = ::GetTickCount(); entered == 0 && ::GetTickCount() - start < 1500;) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
    EXPECT_EQ(entered, 1);
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 100));
    ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(60, 100));
    EXPECT_EQ(clicks, 1);
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    // The tabs still answer the mouse as tabs.
    RECT tab{};
    ::SendMessageW(h, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    POINT onTab = tabs->ClientToScreen(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(onTab.x, onTab.y)), HTCLIENT);
    onTabs->OnClick = nullptr;
    onTabs->OnMouseEnter = nullptr;
    SetMouseControl(nullptr);
}

TEST_F(ControlPaintTest, AWindowlessControlBesideThePagesOfAPageControlIsPainted) {
    outer->SetVisible(false);
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(20, 20, 300, 220);
    auto* sheet = new TTabSheet(form.get());
    sheet->SetCaption(L"常规");
    sheet->SetPageControl(pages);
    // In the tab row, right of the only tab: the sheet does not cover it.
    auto* beside = new TPaintProbe(form.get());
    beside->SetParent(pages);
    beside->SetBounds(220, 2, 40, 12);
    form->Show();
    RepaintNow(form->GetHandle());
    HWND h = pages->GetHandle();
    EXPECT_GE(beside->paints, 1);
    ExpectProbeExactly(beside->BoundsRect(), [h](int x, int y) { return OnScreen(h, x, y); });
    // Switching pages repaints the page control and the control on it again.
    beside->paints = 0;
    auto* second = new TTabSheet(form.get());
    second->SetCaption(L"高级");
    second->SetPageControl(pages);
    pages->SetActivePage(second);
    RepaintNow(h);
    EXPECT_GE(beside->paints, 1);
    ExpectProbeExactly(beside->BoundsRect(), [h](int x, int y) { return OnScreen(h, x, y); });
}

}  // namespace
