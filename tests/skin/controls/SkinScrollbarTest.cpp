// Scroll bars, list views, headers and combo boxes skinned on real controls of a test
// form with the program's skin: the companions lie over the native bars and follow
// them, a press goes to the part under the pointer, every part shows its frame of the
// skin (checked by pixels against the skin's own cells drawn at the same place), the
// header shows its items normal and hot, the combo button sits where the platform
// reports it in each state, and detaching gives everything back.

#include "SkinTestSupport.h"

#include <commctrl.h>

#include <set>

#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinMessages.h"

namespace vx {

// A memo with the integer property a grid has.
class TFixedColorMemo : public TMemo {
    VX_DECLARE_CLASS(TFixedColorMemo, TMemo)
public:
    explicit TFixedColorMemo(TComponent* owner) : TMemo(owner) {}
    int GetFixedColor() const { return fixedColor_; }
    void SetFixedColor(int v) { fixedColor_ = v; }
    static void RegisterProperties(TPropertyRegistrar<TFixedColorMemo>& r) {
        r.Integer(L"FixedColor", &TFixedColorMemo::GetFixedColor, &TFixedColorMemo::SetFixedColor);
    }

private:
    int fixedColor_ = 0x123456;
};
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TFixedColorMemo, TMemo)

namespace {

using namespace vx::testing;

// A bitmap to draw the expected look into, the same size as a picture.
class TExpected {
public:
    TExpected(int width, int height, COLORREF background) {
        TWindowDC screen(nullptr);
        dc_ = std::make_unique<TMemoryDC>(screen.Get());
        bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), width, height));
        select_ = std::make_unique<TSelectObject>(dc_->Get(), bitmap_.Get());
        ::SetStretchBltMode(dc_->Get(), COLORONCOLOR);
        TBrushHandle brush(::CreateSolidBrush(background));
        const RECT all{0, 0, width, height};
        ::FillRect(dc_->Get(), &all, brush.Get());
    }
    HDC Dc() const { return dc_->Get(); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_->Get(), x, y); }

private:
    TBitmapHandle bitmap_;
    std::unique_ptr<TMemoryDC> dc_;
    std::unique_ptr<TSelectObject> select_;
};

// Pixels of `area` where the picture differs from the expectation (the first one is
// reported).
int Mismatches(const TWindowPicture& shown, const TExpected& expected, RECT area, bool report = true) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shown.At(x, y) != expected.At(x, y) && n++ == 0 && report)
                ADD_FAILURE() << "first difference at (" << x << ", " << y << "): shown " << std::hex
                              << shown.At(x, y) << ", expected " << expected.At(x, y) << std::dec;
    return n;
}

TMargins MarginsOf(const TDataSkinObject& e) { return TMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

SCROLLBARINFO BarInfo(HWND window, LONG id) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    EXPECT_TRUE(::GetScrollBarInfo(window, id, &sbi));
    return sbi;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

BOOL CALLBACK CountWindow(HWND, LPARAM p) {
    ++*reinterpret_cast<int*>(p);
    return TRUE;
}

// The process's GDI objects: GetGuiResources, or (Wine answers 0 there) the live slots
// of the handle table, found by probing every slot index.
int GdiObjectCount() {
    int n = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    if (n == 0)
        for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
            if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++n;
    return n;
}

int ChildWindowCount(HWND parent) {
    int n = 0;
    ::EnumChildWindows(parent, CountWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

class SkinScrollbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(ProgramSkin(), nullptr);
        ParkCursor();
        skin = ProgramSkin();
        data.Model = skin;
        face = ResolveColour(skin->ButtonFaceColour);
        b = ::GetSystemMetrics(SM_CXHSCROLL);
        t = ScrollBarThickness(skin->Scrollbar->Bitmap.GetHeight(), b);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 600, 440);
        memo = new TFixedColorMemo(form.get());
        memo->SetParent(form.get());
        memo->SetBounds(10, 10, 220, 170);
        memo->SetScrollBars(ssBoth);
        memo->SetWordWrap(false);
        std::wstring text;
        for (int i = 0; i < 100; ++i) text += L"line " + std::to_wstring(i) + L" " + std::wstring(80, L'x') + L"\r\n";
        memo->SetText(text);
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        Pump();
    }
    void TearDown() override {
        ParkCursor();
        form.reset();
        Pump();
    }

    TSkinScrollbar* SkinMemo() {
        auto* s = new TSkinScrollbar(memo);
        s->InitScrollbar(memo, &data, &host, nullptr);
        Pump();
        return s;
    }
    int FirstLine() { return static_cast<int>(::SendMessageW(memo->GetHandle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }

    // The frame `k` of the Scrollbar strip drawn over `r` on the face colour.
    void ExpectStripFrame(const TWindowPicture& shown, RECT r, int k, RECT compare) {
        TExpected e(shown.Width(), shown.Height(), face);
        DrawFrame(e.Dc(), r, skin->Scrollbar->Bitmap, true, skin->Scrollbar->FrameCount, k);
        EXPECT_EQ(Mismatches(shown, e, compare), 0) << "strip frame " << k;
    }
    // An element frame drawn over `r` on the face colour, compared over `compare`.
    void ExpectElementFrame(const TWindowPicture& shown, TDataSkinObject& element, RECT r, int k, bool tile,
                            RECT compare, TDataSkinObject* track = nullptr) {
        TExpected e(shown.Width(), shown.Height(), face);
        if (track)  // the thumb lies over the track
            DrawElement(e.Dc(), RECT{0, b, t, shown.Height() - b}, track->Bitmap, false, track->Tile != 0,
                        track->Trans != 0, track->FrameCount, 1, MarginsOf(*track));
        DrawElement(e.Dc(), r, element.Bitmap, false, tile, element.Trans != 0, element.FrameCount, k,
                    MarginsOf(element));
        EXPECT_EQ(Mismatches(shown, e, compare), 0) << element.Name << " frame " << k;
    }

    // Sends a press to a companion with a release waiting in the queue, so the
    // platform's scroll loop that the press starts ends at once.
    void Press(TWScrollbar* bar, int along) {
        const HWND target = bar->Kind() == wsControl ? scrollBar->GetHandle() : memo->GetHandle();
        ::PostMessageW(target, WM_LBUTTONUP, 0, 0);
        const LPARAM at = bar->Horizontal() ? MAKELPARAM(along, 5) : MAKELPARAM(5, along);
        ::SendMessageW(bar->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(bar->GetHandle(), WM_LBUTTONUP, 0, at);
        Pump();
    }

    TSkinModel* skin = nullptr;
    TControlSkinData data;
    TTestHost host;
    COLORREF face = 0;
    int b = 0, t = 0;
    std::unique_ptr<TForm> form;
    TFixedColorMemo* memo = nullptr;
    TScrollBar* scrollBar = nullptr;
};

TEST_F(SkinScrollbarTest, CompanionsLieOverTheNativeBarsJustAboveTheControl) {
    TSkinScrollbar* s = SkinMemo();
    EXPECT_EQ(::SendMessageW(memo->GetHandle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_TRUE(s->BorderPainting());
    for (TWScrollbar* bar : {s->HorzBar(), s->VertBar()}) {
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(bar->HandleAllocated());
        const HWND w = bar->GetHandle();
        const SCROLLBARINFO sbi = BarInfo(memo->GetHandle(), bar->Horizontal() ? OBJID_HSCROLL : OBJID_VSCROLL);
        RECT r{};
        ::GetWindowRect(w, &r);
        EXPECT_TRUE(SameRect(r, sbi.rcScrollBar)) << "horizontal " << bar->Horizontal();
        EXPECT_TRUE(::IsWindowVisible(w));
        EXPECT_EQ(bar->BarLength(), bar->Horizontal() ? r.right - r.left : r.bottom - r.top);
        // Between the control and whatever lay above it.
        HWND below = ::GetWindow(w, GW_HWNDNEXT);
        while (below && (below == s->HorzBar()->GetHandle() || below == s->VertBar()->GetHandle()))
            below = ::GetWindow(below, GW_HWNDNEXT);
        EXPECT_EQ(below, memo->GetHandle());
        // Recognisable, no tab stop, only the tool-window extended style.
        wchar_t cls[64] = {};
        ::GetClassNameW(w, cls, 64);
        EXPECT_STREQ(cls, L"TWScrollbar");
        EXPECT_TRUE(IsScrollbarCompanion(bar));
        EXPECT_FALSE(::GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(w, GWL_EXSTYLE)), static_cast<DWORD>(WS_EX_TOOLWINDOW));
        EXPECT_EQ(bar->GetColor(), static_cast<TColor>(skin->ButtonFaceColour));
    }
    EXPECT_FALSE(IsScrollbarCompanion(memo));
    EXPECT_FALSE(IsScrollbarCompanion(nullptr));
}

TEST_F(SkinScrollbarTest, CompanionsFollowScrollingResizingAndHiding) {
    TSkinScrollbar* s = SkinMemo();
    TWScrollbar* v = s->VertBar();
    const HWND w = memo->GetHandle();

    // Scrolling: the scroll code becomes the active part, the thumb is drawn where the
    // native thumb now is and the track where it was.
    const SCROLLBARINFO before = BarInfo(w, OBJID_VSCROLL);
    ::SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(v->ActivePart(), spPageAfter);
    ::SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
    Pump();
    const SCROLLBARINFO after = BarInfo(w, OBJID_VSCROLL);
    ASSERT_GT(after.xyThumbTop, before.xyThumbBottom);
    {
        TWindowPicture shown(v->GetHandle());
        const int width = shown.Width();
        ExpectElementFrame(shown, *skin->VertScrollThumb, RECT{0, after.xyThumbTop, t, after.xyThumbBottom}, 1,
                           false, RECT{0, after.xyThumbTop, width, after.xyThumbTop + 3}, skin->VertScroll.get());
        ExpectElementFrame(shown, *skin->VertScroll, RECT{0, b, t, shown.Height() - b}, 1,
                           skin->VertScroll->Tile != 0, RECT{0, before.xyThumbTop, width, before.xyThumbBottom});
    }

    // Resizing.
    memo->SetBounds(20, 30, 260, 200);
    Pump();
    for (TWScrollbar* bar : {s->HorzBar(), s->VertBar()}) {
        RECT r{};
        ::GetWindowRect(bar->GetHandle(), &r);
        EXPECT_TRUE(SameRect(r, BarInfo(w, bar->Horizontal() ? OBJID_HSCROLL : OBJID_VSCROLL).rcScrollBar));
    }

    // Hiding and showing.
    memo->SetVisible(false);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(s->HorzBar()->GetHandle()));
    EXPECT_FALSE(::IsWindowVisible(v->GetHandle()));
    memo->SetVisible(true);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(s->HorzBar()->GetHandle()));
    EXPECT_TRUE(::IsWindowVisible(v->GetHandle()));

    // Enabling follows the control.
    memo->SetEnabled(false);
    EXPECT_FALSE(v->GetEnabled());
    memo->SetEnabled(true);
    EXPECT_TRUE(v->GetEnabled());
}

TEST_F(SkinScrollbarTest, PartUnderThePointerAndPressesOnEachPart) {
    TSkinScrollbar* s = SkinMemo();
    TWScrollbar* v = s->VertBar();
    const HWND w = memo->GetHandle();
    ::SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
    ::SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
    Pump();
    const SCROLLBARINFO sbi = BarInfo(w, OBJID_VSCROLL);
    const int L = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
    const struct {
        int along;
        TScrollPart part;
    } points[] = {{0, spFirstArrow},
                  {b - 1, spFirstArrow},
                  {b, spPageBefore},
                  {sbi.xyThumbTop - 1, spPageBefore},
                  {sbi.xyThumbTop, spThumb},
                  {sbi.xyThumbBottom - 1, spThumb},
                  {sbi.xyThumbBottom, spPageAfter},
                  {L - b - 1, spPageAfter},
                  {L - b, spSecondArrow},
                  {L - 1, spSecondArrow}};
    for (const auto& p : points) {
        ::SendMessageW(v->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, p.along));
        EXPECT_EQ(v->ActivePart(), p.part) << "at " << p.along;
    }
    ::SendMessageW(v->GetHandle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(v->ActivePart(), spNone);

    // Each press reaches the platform at the same part of the native bar. While the
    // platform's loop runs the companion tracks and shows the pressed arrow.
    bool trackedDuringLoop = false;
    int pressedFrameMismatches = -1;
    TWndMethod previous = memo->WindowProc;
    memo->WindowProc = [&](TMessage& m) {
        previous(m);
        if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_LINEDOWN && v->Tracking()) {
            trackedDuringLoop = true;
            TWindowPicture shown(v->GetHandle());
            TExpected e(shown.Width(), shown.Height(), face);
            const RECT arrow{0, shown.Height() - b, t, shown.Height()};
            DrawFrame(e.Dc(), arrow, skin->Scrollbar->Bitmap, true, skin->Scrollbar->FrameCount, 14);
            pressedFrameMismatches = Mismatches(shown, e, RECT{0, arrow.top, shown.Width(), arrow.bottom});
        }
    };
    const int first = FirstLine();
    Press(v, L - 2);
    EXPECT_EQ(FirstLine(), first + 1);
    EXPECT_TRUE(trackedDuringLoop);
    EXPECT_EQ(pressedFrameMismatches, 0);
    EXPECT_FALSE(v->Tracking());
    memo->WindowProc = previous;
    Press(v, 2);
    EXPECT_EQ(FirstLine(), first);
    Press(v, L - b - 2);  // page after
    EXPECT_GT(FirstLine(), first + 1);
    const int paged = FirstLine();
    Press(v, b + 1);  // page before
    EXPECT_LT(FirstLine(), paged);

    // The horizontal bar scrolls sideways.
    TWScrollbar* h = s->HorzBar();
    const int x = ::GetScrollPos(w, SB_HORZ);
    Press(h, h->BarLength() - 2);
    EXPECT_GT(::GetScrollPos(w, SB_HORZ), x);
}

TEST_F(SkinScrollbarTest, EveryPartShowsItsFrameOfTheSkin) {
    // The frames read here differ from one another, so a wrong one cannot pass.
    {
        std::set<std::vector<COLORREF>> cells;
        for (int k : {9, 10, 12, 13, 14, 16, 20, 21, 22}) {
            std::vector<COLORREF> v;
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 17; ++x) v.push_back(CellPixel(skin->Scrollbar->Bitmap, 23, k, x, y));
            cells.insert(v);
        }
        EXPECT_EQ(cells.size(), 9u);
    }
    // Few lines: a thumb long enough for its grip.
    std::wstring text;
    for (int i = 0; i < 20; ++i) text += L"line " + std::to_wstring(i) + L" " + std::wstring(80, L'x') + L"\r\n";
    memo->SetText(text);
    TSkinScrollbar* s = SkinMemo();
    TWScrollbar* v = s->VertBar();
    const HWND w = memo->GetHandle();
    ::SendMessageW(w, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(v->ActivePart(), spSecondArrow);  // the scroll code
    ::SendMessageW(v->GetHandle(), WM_MOUSELEAVE, 0, 0);
    Pump();
    const SCROLLBARINFO sbi = BarInfo(w, OBJID_VSCROLL);
    const int L = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
    const int width = sbi.rcScrollBar.right - sbi.rcScrollBar.left;
    const RECT firstArrow{0, 0, t, b}, secondArrow{0, L - b, t, L};
    const RECT thumb{0, sbi.xyThumbTop, t, sbi.xyThumbBottom};
    const int g = skin->Scrollbar->Bitmap.GetHeight();
    const int gripTop = sbi.xyThumbTop + (sbi.xyThumbBottom - sbi.xyThumbTop - g) / 2;
    const RECT grip{0, gripTop, t, gripTop + g};
    ASSERT_GT(sbi.xyThumbBottom - sbi.xyThumbTop + 2, g) << "the thumb is too short for its grip";
    ASSERT_GT(grip.top, thumb.top);
    const auto along = [&](const RECT& r) { return RECT{0, r.top, width, r.bottom}; };

    {
        TWindowPicture shown(v->GetHandle());
        ASSERT_EQ(shown.Width(), width);
        ASSERT_EQ(shown.Height(), L);
        ExpectStripFrame(shown, firstArrow, 9, along(firstArrow));
        ExpectStripFrame(shown, secondArrow, 13, along(secondArrow));
        ExpectElementFrame(shown, *skin->VertScroll, RECT{0, b, t, L - b}, 1, skin->VertScroll->Tile != 0,
                           RECT{0, b, width, sbi.xyThumbTop});
        // Thumb frame 1 above and below its grip; the grip frame 20 drawn over it.
        ExpectElementFrame(shown, *skin->VertScrollThumb, thumb, 1, false, RECT{0, thumb.top, width, grip.top},
                           skin->VertScroll.get());
        TExpected e(width, L, face);
        DrawElement(e.Dc(), RECT{0, b, t, L - b}, skin->VertScroll->Bitmap, false, skin->VertScroll->Tile != 0,
                    skin->VertScroll->Trans != 0, skin->VertScroll->FrameCount, 1, MarginsOf(*skin->VertScroll));
        DrawElement(e.Dc(), thumb, skin->VertScrollThumb->Bitmap, false, false, skin->VertScrollThumb->Trans != 0,
                    skin->VertScrollThumb->FrameCount, 1, MarginsOf(*skin->VertScrollThumb));
        DrawFrame(e.Dc(), grip, skin->Scrollbar->Bitmap, true, 23, 20);
        EXPECT_EQ(Mismatches(shown, e, along(grip)), 0) << "grip frame 20";
    }
    // Hot: the arrow adds 3, the thumb shows frame 3 and its grip 22.
    ::SendMessageW(v->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 2));
    {
        TWindowPicture shown(v->GetHandle());
        ExpectStripFrame(shown, firstArrow, 12, along(firstArrow));
        ExpectStripFrame(shown, secondArrow, 13, along(secondArrow));
    }
    ::SendMessageW(v->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, L - 2));
    {
        TWindowPicture shown(v->GetHandle());
        ExpectStripFrame(shown, firstArrow, 9, along(firstArrow));
        ExpectStripFrame(shown, secondArrow, 16, along(secondArrow));
    }
    ::SendMessageW(v->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, sbi.xyThumbTop + 1));
    {
        TWindowPicture shown(v->GetHandle());
        ExpectElementFrame(shown, *skin->VertScrollThumb, thumb, 3, false, RECT{0, thumb.top, width, grip.top},
                           skin->VertScroll.get());
        TExpected e(width, L, face);
        DrawElement(e.Dc(), RECT{0, b, t, L - b}, skin->VertScroll->Bitmap, false, skin->VertScroll->Tile != 0,
                    skin->VertScroll->Trans != 0, skin->VertScroll->FrameCount, 1, MarginsOf(*skin->VertScroll));
        DrawElement(e.Dc(), thumb, skin->VertScrollThumb->Bitmap, false, false, skin->VertScrollThumb->Trans != 0,
                    skin->VertScrollThumb->FrameCount, 3, MarginsOf(*skin->VertScrollThumb));
        DrawFrame(e.Dc(), grip, skin->Scrollbar->Bitmap, true, 23, 22);
        EXPECT_EQ(Mismatches(shown, e, along(grip)), 0) << "grip frame 22";
    }
    // A disabled control: the track's disabled frame and no thumb.
    ::SendMessageW(v->GetHandle(), WM_MOUSELEAVE, 0, 0);
    memo->SetEnabled(false);
    Pump();
    {
        TWindowPicture shown(v->GetHandle());
        ExpectElementFrame(shown, *skin->VertScroll, RECT{0, b, t, L - b}, 3, skin->VertScroll->Tile != 0,
                           RECT{0, b, width, L - b});
    }
}

TEST_F(SkinScrollbarTest, RestoreGivesTheControlBack) {
    EXPECT_EQ(memo->GetFixedColor(), 0x123456);
    TSkinScrollbar* s = SkinMemo();
    EXPECT_EQ(static_cast<TColour>(memo->GetFixedColor()), skin->ButtonFaceColour);
    const HWND h = s->HorzBar()->GetHandle(), v = s->VertBar()->GetHandle();
    const int children = ChildWindowCount(form->GetHandle());
    s->RestoreControl();
    EXPECT_EQ(memo->GetFixedColor(), 0x123456);
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_FALSE(::IsWindow(v));
    EXPECT_EQ(s->HorzBar(), nullptr);
    EXPECT_EQ(ChildWindowCount(form->GetHandle()), children - 2);
    delete s;
    EXPECT_TRUE(host.list.empty());
    EXPECT_EQ(::SendMessageW(memo->GetHandle(), WM_SKINQUERY, 0, 0), 0);  // the message method is back

    // A borderless control gets no border; the single mode neither.
    memo->SetBorderStyle(bsNone);
    s = SkinMemo();
    EXPECT_FALSE(s->BorderPainting());
    delete s;
    memo->SetBorderStyle(bsSingle);
    s = new TSkinScrollbar(memo);
    s->SingleMode = true;
    s->InitScrollbar(memo, &data, &host, nullptr);
    EXPECT_FALSE(s->BorderPainting());
    EXPECT_EQ(::SendMessageW(memo->GetHandle(), WM_SKINPAINTFRAMETO, 0, kSkinMagic), kSkinMagic);

    // Destroyed with the control: the companions go with the object.
    const HWND h2 = s->HorzBar()->GetHandle();
    delete memo;
    memo = nullptr;
    EXPECT_FALSE(::IsWindow(h2));
    EXPECT_TRUE(host.list.empty());
}

TEST_F(SkinScrollbarTest, FreedParentTakesTheCompanionsFirst) {
    // The form frees its children (the companions among them) before the memo's skin
    // object: the object forgets them and frees nothing twice.
    SkinMemo();
    form.reset();
    Pump();
    EXPECT_TRUE(host.list.empty());
}

TEST_F(SkinScrollbarTest, StandAloneScrollBar) {
    scrollBar = new TScrollBar(form.get());
    scrollBar->SetParent(form.get());
    scrollBar->SetKind(sbVertical);
    scrollBar->SetBounds(300, 20, ::GetSystemMetrics(SM_CXVSCROLL), 200);
    scrollBar->SetParams(0, 0, 100);
    Pump();
    auto* s = new TSkinScControl(scrollBar);
    s->InitControl(&host, &data, false, nullptr);
    Pump();
    TWScrollbar* bar = s->Bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Kind(), wsControl);
    EXPECT_FALSE(bar->Horizontal());
    RECT shownAt{}, control{};
    ::GetWindowRect(bar->GetHandle(), &shownAt);
    ::GetWindowRect(scrollBar->GetHandle(), &control);
    EXPECT_TRUE(SameRect(shownAt, control));

    const auto thumbNow = [&] {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        ::GetScrollInfo(scrollBar->GetHandle(), SB_CTL, &si);
        return ScrollThumb(200, b, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos);
    };
    scrollBar->SetPosition(50);
    Pump();
    {
        TWindowPicture shown(bar->GetHandle());
        const TThumb th = thumbNow();
        ExpectStripFrame(shown, RECT{0, 0, t, b}, 9, RECT{0, 0, shown.Width(), b});
        ExpectStripFrame(shown, RECT{0, 200 - b, t, 200}, 13, RECT{0, 200 - b, shown.Width(), 200});
        ExpectElementFrame(shown, *skin->VertScrollThumb, RECT{0, th.Start, t, th.End}, 1, false,
                           RECT{0, th.Start, shown.Width(), th.Start + 2}, skin->VertScroll.get());
    }
    // A press on the second arrow moves the position by one.
    Press(bar, 198);
    EXPECT_EQ(scrollBar->GetPosition(), 51);
    Press(bar, 2);
    EXPECT_EQ(scrollBar->GetPosition(), 50);

    s->RestoreControl();
    EXPECT_EQ(s->Bar(), nullptr);
    delete s;
}

TEST_F(SkinScrollbarTest, SizeGripShowsTheCornerCell) {
    const HWND grip = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 400, 300, 17,
                                        17, form->GetHandle(), nullptr, nullptr, nullptr);
    ASSERT_NE(grip, nullptr);
    {
        TSkinSizer sizer(nullptr);
        sizer.InitWindow(grip, &data, &host, nullptr);
        TWindowPicture shown(grip);
        ExpectStripFrame(shown, RECT{0, 0, shown.Width(), shown.Height()}, 23,
                         RECT{0, 0, shown.Width(), shown.Height()});
    }
    ::DestroyWindow(grip);
}

class SkinListViewTest : public SkinScrollbarTest {
protected:
    void SetUp() override {
        SkinScrollbarTest::SetUp();
        list = new TListView(form.get());
        list->SetParent(form.get());
        list->SetBounds(250, 10, 320, 220);
        list->SetViewStyle(vsReport);
        for (const wchar_t* name : {L"文件", L"状态", L"进度"}) {
            TListColumn* c = list->GetColumns()->Add();
            c->SetCaption(name);
            c->SetWidth(90);
        }
        list->GetItems()->BeginUpdate();
        for (int i = 0; i < 200; ++i) {
            TListItem* item = list->GetItems()->Add();
            item->SetCaption(L"row " + std::to_wstring(i));
            item->GetSubItems()->Add(L"准备转换");
            item->GetSubItems()->Add(L"0%");
        }
        list->GetItems()->EndUpdate();
        Pump();
    }
    TSkinListView* SkinList() {
        auto* s = new TSkinListView(list);
        s->InitScrollbar(list, &data, &host, nullptr);
        Pump();
        return s;
    }
    TListView* list = nullptr;
};

TEST_F(SkinListViewTest, HeaderItemsNormalAndHot) {
    TSkinListView* s = SkinList();
    ASSERT_NE(s->Header(), nullptr);
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(list->GetHandle(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(s->Header()->Window(), header);
    EXPECT_EQ(::SendMessageW(header, WM_SKINQUERY, 0, 0), 1);
    // Only the list itself is listed with the form object.
    EXPECT_EQ(host.list.size(), 1u);
    // The vertical companion lies over the list's bar.
    ASSERT_NE(s->VertBar(), nullptr);
    RECT r{};
    ::GetWindowRect(s->VertBar()->GetHandle(), &r);
    EXPECT_TRUE(SameRect(r, BarInfo(list->GetHandle(), OBJID_VSCROLL).rcScrollBar));

    TDataSkinObject& bar = *skin->Headerbar;
    // The item's edges (margins, no text there) of frame `k` drawn over its rectangle.
    const auto expectItem = [&](const TWindowPicture& shown, const RECT& item, int k) {
        TExpected e(shown.Width(), shown.Height(), RGB(1, 2, 3));
        DrawElement(e.Dc(), item, bar.Bitmap, false, bar.Tile != 0, false, bar.FrameCount, k, MarginsOf(bar));
        EXPECT_EQ(Mismatches(shown, e, RECT{item.left, item.top, item.left + 3, item.bottom}), 0) << "frame " << k;
        EXPECT_EQ(Mismatches(shown, e, RECT{item.right - 3, item.top, item.right, item.bottom}), 0) << "frame " << k;
        EXPECT_EQ(Mismatches(shown, e, RECT{item.left, item.top, item.right, item.top + 1}), 0) << "frame " << k;
    };
    RECT items[3];
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(::SendMessageW(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&items[i])));
    {
        TWindowPicture shown(header);
        for (const RECT& item : items) expectItem(shown, item, 1);
        // Beyond the last item: frame 1 over the rest of the width.
        expectItem(shown, RECT{items[2].right, 0, shown.Width(), shown.Height()}, 1);
        // The caption is drawn: the middle of the first item is not the bare frame.
        TExpected e(shown.Width(), shown.Height(), RGB(1, 2, 3));
        DrawElement(e.Dc(), items[0], bar.Bitmap, false, bar.Tile != 0, false, bar.FrameCount, 1, MarginsOf(bar));
        EXPECT_GT(Mismatches(shown, e, RECT{items[0].left + 6, 0, items[0].left + 40, shown.Height()}, false), 0);
    }
    ::SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM((items[1].left + items[1].right) / 2, 5));
    EXPECT_EQ(s->Header()->HotItem(), 1);
    {
        TWindowPicture shown(header);
        expectItem(shown, items[0], 1);
        expectItem(shown, items[1], 2);
        expectItem(shown, items[2], 1);
    }
    ::SendMessageW(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(s->Header()->HotItem(), -1);
    {
        TWindowPicture shown(header);
        expectItem(shown, items[1], 1);
    }
    delete s;
    EXPECT_EQ(::SendMessageW(header, WM_SKINQUERY, 0, 0), 0);  // the header's procedure is back
}

class SkinComBoxTest : public SkinScrollbarTest {
protected:
    void SetUp() override {
        SkinScrollbarTest::SetUp();
        combo = new TComboBox(form.get());
        combo->SetParent(form.get());
        combo->SetBounds(20, 300, 160, 24);
        combo->SetStyle(csDropDownList);
        for (int i = 0; i < 30; ++i) combo->GetItems()->Add(L"类型 " + std::to_wstring(i));
        combo->SetItemIndex(0);
        Pump();
    }
    COMBOBOXINFO Info() {
        COMBOBOXINFO cbi{};
        cbi.cbSize = sizeof(cbi);
        EXPECT_TRUE(::GetComboBoxInfo(combo->GetHandle(), &cbi));
        return cbi;
    }
    // Frame k of the composite combo strip over the whole combo box, compared in the
    // button rectangle (the skin's own pixels only: its keyed pixels show the control).
    int ButtonMismatches(int k) {
        TWindowPicture shown(combo->GetHandle());
        const COLORREF key = RGB(1, 2, 3);
        TExpected e(shown.Width(), shown.Height(), key);
        TDataSkinBorder& button = *skin->ComboButton;
        DrawElement(e.Dc(), RECT{0, 0, shown.Width(), shown.Height()}, button.Bitmap, false, false, true,
                    button.FrameCount, k, MarginsOf(button));
        const RECT r = Info().rcButton;
        int n = 0, skinPixels = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (e.At(x, y) == key) continue;
                ++skinPixels;
                n += shown.At(x, y) != e.At(x, y);
            }
        EXPECT_GT(skinPixels, (r.right - r.left) * (r.bottom - r.top) / 2);
        return n;
    }
    TComboBox* combo = nullptr;
};

TEST_F(SkinComBoxTest, ButtonAtThePlatformsRectangleInEachState) {
    ASSERT_EQ(skin->ComboButton->Style, 2);  // the composite strip of the skin
    auto* s = new TSkinComBox(combo);
    s->InitControl(&host, &data, false, nullptr);
    Pump();
    const COMBOBOXINFO cbi = Info();
    EXPECT_EQ(ButtonMismatches(1), 0);
    EXPECT_TRUE(SameRect(s->ButtonRect(), cbi.rcButton));
    // The frames differ in the button, so each state is told apart.
    EXPECT_GT(ButtonMismatches(2), 0);
    EXPECT_GT(ButtonMismatches(3), 0);
    EXPECT_GT(ButtonMismatches(4), 0);

    // Hot over the button only.
    const int cx = (cbi.rcButton.left + cbi.rcButton.right) / 2, cy = (cbi.rcButton.top + cbi.rcButton.bottom) / 2;
    ::SendMessageW(combo->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, cy));
    EXPECT_EQ(s->MouseState() & msHot, 0u);
    ::SendMessageW(combo->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(cx, cy));
    EXPECT_EQ(s->MouseState() & msHot, msHot);
    EXPECT_EQ(ButtonMismatches(4), 0);
    ::SendMessageW(combo->GetHandle(), CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(s->MouseState() & msHot, 0u);
    EXPECT_EQ(ButtonMismatches(1), 0);

    // Pressed (the list drops down; closed again before the release).
    ::SendMessageW(combo->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
    EXPECT_EQ(s->MouseState() & msPressed, msPressed);
    ::SendMessageW(combo->GetHandle(), CB_SHOWDROPDOWN, FALSE, 0);
    ::ReleaseCapture();
    EXPECT_EQ(ButtonMismatches(2), 0);
    ::SendMessageW(combo->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(cx, cy));
    EXPECT_EQ(s->MouseState() & msPressed, 0u);
    Pump();

    // Focused shows as hot; disabled.
    combo->SetFocus();
    Pump();
    EXPECT_EQ(ButtonMismatches(4), 0);
    form->SetFocus();
    combo->SetEnabled(false);
    Pump();
    EXPECT_EQ(ButtonMismatches(3), 0);
    // A disabled control keeps its hot bit when the pointer leaves the button.
    combo->SetEnabled(true);
    ::SendMessageW(combo->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(cx, cy));
    combo->SetEnabled(false);
    ::SendMessageW(combo->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, cy));
    EXPECT_EQ(s->MouseState() & msHot, msHot);
    delete s;
}

TEST_F(SkinComBoxTest, ButtonPictureAndArrowWithoutTheCompositeStrip) {
    // The plain variant (as a skin without a sunken edge strip would have it): the
    // sunken edge, the button picture in the button rectangle, the arrow centred.
    const int style = skin->ComboButton->Style;
    skin->ComboButton->Style = 0;
    TScopeExit back([&] { skin->ComboButton->Style = style; });
    auto* s = new TSkinComBox(combo);
    s->InitControl(&host, &data, false, nullptr);
    Pump();
    TWindowPicture shown(combo->GetHandle());
    const int f = ::GetSystemMetrics(SM_CXHSCROLL);
    const TComboLayout layout = ComboButtonLayout(TLayoutRect{0, 0, shown.Width(), shown.Height()}, f, false);
    const RECT button{layout.Button.Left, layout.Button.Top, layout.Button.Right, layout.Button.Bottom};
    EXPECT_TRUE(SameRect(s->ButtonRect(), button));
    const COLORREF key = RGB(1, 2, 3);
    TExpected e(shown.Width(), shown.Height(), key);
    DrawFrame(e.Dc(), button, skin->ComboButton->Bitmap, true, skin->ComboButton->FrameCount, 1);
    DrawFrameCentered(e.Dc(), RECT{layout.Glyph.Left, layout.Glyph.Top, layout.Glyph.Right, layout.Glyph.Bottom},
                      skin->ExtraImages->Bitmap, true, skin->ExtraImages->FrameCount, 1);
    int n = 0;
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x)
            if (e.At(x, y) != key) n += shown.At(x, y) != e.At(x, y);
    EXPECT_EQ(n, 0);
    delete s;
}

TEST_F(SkinComBoxTest, SimpleComboBoxGetsTheFieldEdgeAndNoButton) {
    ASSERT_TRUE(skin->SunkEdge && !skin->SunkEdge->Bitmap.GetEmpty());
    combo->SetStyle(csSimple);
    combo->SetBounds(20, 260, 160, 150);
    Pump();
    auto* s = new TSkinComBox(combo);
    s->InitControl(&host, &data, false, nullptr);
    Pump();
    const COMBOBOXINFO cbi = Info();
    ASSERT_NE(cbi.hwndList, nullptr);
    RECT window{}, list{};
    ::GetWindowRect(combo->GetHandle(), &window);
    ::GetWindowRect(cbi.hwndList, &list);
    const int fieldBottom = list.top - window.top;
    ASSERT_GT(fieldBottom, 4);
    TWindowPicture shown(combo->GetHandle());
    // The sunken edge (frame 1: enabled, not focused) around the text field, outside
    // the text rectangle the control reports.
    const COLORREF key = RGB(1, 2, 3);
    TExpected e(shown.Width(), shown.Height(), key);
    TDataSkinObject& edge = *skin->SunkEdge;
    DrawElement(e.Dc(), RECT{0, 0, shown.Width(), fieldBottom}, edge.Bitmap, false, edge.Tile != 0, edge.Trans == 1,
                edge.FrameCount, 1, MarginsOf(edge));
    int n = 0, edgePixels = 0;
    for (int y = 0; y < fieldBottom; ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            if (e.At(x, y) == key || ::PtInRect(&cbi.rcItem, POINT{x, y})) continue;
            ++edgePixels;
            n += shown.At(x, y) != e.At(x, y);
        }
    EXPECT_GT(edgePixels, 2 * shown.Width());
    EXPECT_EQ(n, 0);
    // No button anywhere.
    const RECT button = s->ButtonRect();
    EXPECT_TRUE(::IsRectEmpty(&button));
    // Below the list, the parent's colour instead of what nobody paints.
    if (list.bottom - window.top < shown.Height()) {
        const COLORREF parent = ColorToColorRef(form->GetColor());
        EXPECT_EQ(shown.Count(parent, RECT{0, list.bottom - window.top, shown.Width(), shown.Height()}),
                  shown.Width() * (shown.Height() - (list.bottom - window.top)));
    }
    delete s;
}

TEST_F(SkinComBoxTest, DropDownListScrollBarIsPainted) {
    auto* s = new TSkinComBox(combo);
    s->InitControl(&host, &data, false, nullptr);
    ASSERT_NE(s->ListScrollBar(), nullptr);
    const HWND list = Info().hwndList;
    EXPECT_EQ(s->ListScrollBar()->Window(), list);
    ::SendMessageW(combo->GetHandle(), CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    ASSERT_TRUE(::IsWindowVisible(list));
    s->ListScrollBar()->PaintBars();
    const SCROLLBARINFO sbi = BarInfo(list, OBJID_VSCROLL);
    ASSERT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    // Read back the first arrow from the list's frame.
    RECT window{};
    ::GetWindowRect(list, &window);
    const int width = sbi.rcScrollBar.right - sbi.rcScrollBar.left;
    TExpected e(width, b, face);
    DrawFrame(e.Dc(), RECT{0, 0, t, b}, skin->Scrollbar->Bitmap, true, 23, 9);
    TWindowDC whole = TWindowDC::Whole(list);
    int n = 0;
    for (int y = 0; y < b; ++y)
        for (int x = 0; x < width; ++x)
            n += ::GetPixel(whole.Get(), sbi.rcScrollBar.left - window.left + x, sbi.rcScrollBar.top - window.top + y) !=
                 e.At(x, y);
    EXPECT_EQ(n, 0);
    ::SendMessageW(combo->GetHandle(), CB_SHOWDROPDOWN, FALSE, 0);
    Pump();
    delete s;
    EXPECT_EQ(::SendMessageW(list, WM_SKINQUERY, 0, 0), 0);
}

TEST_F(SkinListViewTest, TwoHundredAttachAndDetachCyclesLeaveNothingBehind) {
    auto* combo = new TComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(20, 300, 160, 24);
    Pump();
    const auto cycle = [&] {
        auto* a = SkinMemo();
        auto* l = SkinList();
        auto* c = new TSkinComBox(combo);
        c->InitControl(&host, &data, false, nullptr);
        ::RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        a->RestoreControl();
        delete a;
        l->RestoreControl();
        delete l;
        c->RestoreControl();
        delete c;
    };
    cycle();  // first use may fill caches
    const int children = ChildWindowCount(form->GetHandle());
    const int gdi = GdiObjectCount();
    ASSERT_GT(gdi, 0);
    for (int i = 0; i < 200; ++i) cycle();
    Pump();
    EXPECT_EQ(ChildWindowCount(form->GetHandle()), children);
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_TRUE(host.list.empty());
    EXPECT_EQ(::SendMessageW(list->GetHandle(), WM_SKINQUERY, 0, 0), 0);
}

}  // namespace
}  // namespace vx
