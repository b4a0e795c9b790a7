// Progress bars, track bars, up-downs, status bars, tab controls and date-time pickers
// painted by their skin objects on real controls of a test form with the program's
// skin, checked by pixels against the skin's own cells: each state shows its frame,
// the thumb sits where the control itself has it, the panels show their texts, the
// selected tab stands out; freeing the object gives the control back, and 200 attach
// and detach cycles leave no GDI or USER object behind.

#include "SkinTestSupport.h"
#include "tests/skin/controls/AdvPageControl.h"

#include <commctrl.h>

#include <set>

#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/RangeRules.h"
#include "skin/controls/SkinAdvPage.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinPlayer.h"
#include "skin/controls/SkinRanges.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinFactory.h"
#include "skin/controls/SkinTabSet.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinData.h"
#include "tests/framework/GuiObjectCounts.h"

namespace vx {
namespace {

using namespace vx::testing;

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// How many opaque pixels of a w x h piece of frame `frame` (cell origin + (cx, cy))
// differ from the picture at (x, y): the piece is expected at its own size.
int CellMismatches(const TWindowPicture& p, TBitmap& strip, int frames, int frame, int x, int y, int cx, int cy,
                   int w, int h) {
    int bad = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const COLORREF want = CellPixel(strip, frames, frame, cx + i, cy + j);
            if (want == kMagenta) continue;
            bad += p.At(x + i, y + j) != want;
        }
    return bad;
}

// The frames of a strip differ from each other in their opaque pixels.
bool FramesTellable(TBitmap& strip, int frames) {
    std::set<std::vector<COLORREF>> seen;
    const int cw = strip.GetWidth() / frames;
    for (int f = 1; f <= frames; ++f) {
        std::vector<COLORREF> v;
        for (int y = 0; y < strip.GetHeight(); ++y)
            for (int x = 0; x < cw; ++x) v.push_back(CellPixel(strip, frames, f, x, y));
        seen.insert(v);
    }
    return static_cast<int>(seen.size()) == frames;
}

class SkinRangePaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(ProgramSkin(), nullptr);
        ParkCursor();
        skin = ProgramSkin();
        data.Model = skin;
        data.Options |= skinrules::Bit(skinrules::xoNoFocusRect);
        face = ResolveColour(skin->ButtonFaceColour);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 520, 400);
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(400, 330, 80, 22);
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        edit->SetFocus();
        Pump();
    }
    void TearDown() override {
        ParkCursor();
        form.reset();
        // Objects made for bare windows stay listed until their host frees them.
        for (TSkinControl* s : std::vector<TSkinControl*>(host.list))
            if (!s->Owner()) delete s;
        Pump();
    }
    template <class Skin, class Control>
    Skin* Attach(Control* c) {
        auto* s = new Skin(c);
        s->InitControl(&host, &data, false, nullptr);
        return s;
    }
    void Hover(TWinControl* c, int x, int y) {
        const POINT at = c->ClientToScreen(POINT{x, y});
        ::SetCursorPos(at.x, at.y);
        ::SendMessageW(c->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    TSkinModel* skin = nullptr;
    TControlSkinData data;
    TTestHost host;
    COLORREF face = 0;
    std::unique_ptr<TForm> form;
    TEdit* edit = nullptr;
};

// ---- Progress bars -------------------------------------------------------------------

TEST_F(SkinRangePaintTest, ProgressChunksFollowThePosition) {
    ASSERT_TRUE(skin->Progress && skin->ProgressChunk);
    TDataSkinBorder& bar = *skin->Progress;
    TDataSkinObject& chunk = *skin->ProgressChunk;
    ASSERT_EQ(bar.FrameCount, 2);
    ASSERT_EQ(bar.Bitmap.GetHeight(), 12);
    ASSERT_EQ(chunk.Bitmap.GetWidth(), 8);
    auto* p = new TProgressBar(form.get());
    p->SetParent(form.get());
    p->SetBounds(20, 20, 150, 12);  // rows map one to one onto the skin's 12-pixel cells
    Attach<TSkinProgress>(p);
    p->SetPosition(50);
    TWindowPicture pic(p->GetHandle());
    // The trough's corners (frame 1, unscaled margins of 3) at both ends.
    EXPECT_EQ(CellMismatches(pic, bar.Bitmap, 2, 1, 0, 0, 0, 0, 3, 3), 0);
    EXPECT_EQ(CellMismatches(pic, bar.Bitmap, 2, 1, 147, 9, 9, 9, 3, 3), 0);
    // Interior 3..147 (144 pixels) and rows 3..9; 50 % fills 72: nine chunks of 8 (the
    // chunk's own width, so columns map one to one) from x = 3. Row 4 is the chunk's
    // unscaled second row.
    int cx = 0;
    while (cx < 8 && CellPixel(chunk.Bitmap, 1, 1, cx, 1) == kMagenta) ++cx;
    ASSERT_LT(cx, 8);
    const COLORREF chunkPixel = CellPixel(chunk.Bitmap, 1, 1, cx, 1);
    p->SetPosition(0);
    TWindowPicture empty(p->GetHandle());
    ASSERT_NE(empty.At(3 + cx, 4), chunkPixel);
    for (int x = 3; x < 147; x += 8) EXPECT_EQ(empty.At(x + cx, 4), empty.At(3 + cx, 4)) << "nothing filled at " << x;
    p->SetPosition(50);
    TWindowPicture half(p->GetHandle());
    for (int i = 0; i < 9; ++i) EXPECT_EQ(half.At(3 + 8 * i + cx, 4), chunkPixel) << "chunk " << i;
    EXPECT_EQ(half.At(3 + 8 * 9 + cx, 4), empty.At(3 + 8 * 9 + cx, 4));
    p->SetPosition(100);
    TWindowPicture full(p->GetHandle());
    EXPECT_EQ(full.At(3 + 8 * 17 + cx, 4), chunkPixel);  // the 18th and last chunk
}

TEST_F(SkinRangePaintTest, SmoothProgressShowsTheFilledBarFrame) {
    TDataSkinBorder& bar = *skin->Progress;
    ASSERT_TRUE(FramesTellable(bar.Bitmap, 2));
    auto* p = new TProgressBar(form.get());
    p->SetParent(form.get());
    p->SetSmooth(true);
    p->SetBounds(20, 20, 150, 12);
    p->SetPosition(40);
    Attach<TSkinProgress>(p);
    TWindowPicture pic(p->GetHandle());
    // The filled bar (frame 2) from the left to 60 (40 % of 150): its corners at 0 and
    // at 57..60; the trough's (frame 1) at the far end.
    EXPECT_EQ(CellMismatches(pic, bar.Bitmap, 2, 2, 0, 0, 0, 0, 3, 3), 0);
    EXPECT_EQ(CellMismatches(pic, bar.Bitmap, 2, 2, 57, 9, 9, 9, 3, 3), 0);
    EXPECT_EQ(CellMismatches(pic, bar.Bitmap, 2, 1, 147, 0, 9, 0, 3, 3), 0);
    EXPECT_NE(pic.At(30, 6), pic.At(100, 6));
    p->SetPosition(0);
    TWindowPicture empty(p->GetHandle());
    EXPECT_EQ(CellMismatches(empty, bar.Bitmap, 2, 1, 0, 0, 0, 0, 3, 3), 0);
}

TEST_F(SkinRangePaintTest, VerticalProgressFillsFromTheBottom) {
    auto* p = new TProgressBar(form.get());
    p->SetParent(form.get());
    p->SetOrientation(pbVertical);
    p->SetBounds(20, 20, 12, 100);
    Attach<TSkinProgress>(p);
    TWindowPicture empty(p->GetHandle());
    p->SetPosition(25);
    TWindowPicture pic(p->GetHandle());
    // Interior 3..97 (94 pixels), a quarter is 24 (23.5 to even): three chunks of 8,
    // 89..97, 81..89 and 73..81; the same place in each chunk looks the same.
    EXPECT_EQ(pic.At(6, 92), pic.At(6, 76));
    EXPECT_NE(pic.At(6, 76), empty.At(6, 76));
    EXPECT_EQ(pic.At(6, 68), empty.At(6, 68));
    EXPECT_EQ(pic.At(6, 20), empty.At(6, 20));
}

// ---- Track bars ----------------------------------------------------------------------

class SkinTrackBarTest : public SkinRangePaintTest {
protected:
    void SetUp() override {
        SkinRangePaintTest::SetUp();
        thumb = skin->TrackbarThumbHorz.get();
        ASSERT_TRUE(thumb && thumb->FrameCount == 5);
        ASSERT_TRUE(FramesTellable(thumb->Bitmap, 5));
        bar = new TTrackBar(form.get());
        bar->SetParent(form.get());
        bar->SetBounds(20, 60, 200, 40);
        bar->SetMax(10);
        bar->SetPosition(3);
        s = Attach<TSkinTrackBar>(bar);
        Pump();
    }
    // The thumb's cell of `frame` drawn whole at the skin's thumb rectangle.
    void ExpectThumb(int frame) {
        TWindowPicture pic(bar->GetHandle());
        const RECT r = s->ThumbRect();
        ASSERT_EQ(r.right - r.left, thumb->Bitmap.GetWidth() / 5);
        EXPECT_EQ(CellMismatches(pic, thumb->Bitmap, 5, frame, r.left, r.top, 0, 0, r.right - r.left,
                                 r.bottom - r.top),
                  0)
            << "expected frame " << frame;
    }
    POINT ThumbCentre() const {
        const RECT r = s->ThumbRect();
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    TDataSkinObject* thumb = nullptr;
    TTrackBar* bar = nullptr;
    TSkinTrackBar* s = nullptr;
};

TEST_F(SkinTrackBarTest, ThumbWhereTheControlHasIt) {
    RECT channel{};
    ::SendMessageW(bar->GetHandle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    for (int pos : {0, 3, 5, 10}) {
        bar->SetPosition(pos);
        RECT native{};
        ::SendMessageW(bar->GetHandle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&native));
        const RECT r = s->ThumbRect();
        // Within a pixel of the control's own thumb, so a press on the drawn thumb
        // takes hold of the control's.
        EXPECT_LE(std::abs((r.left + r.right) - (native.left + native.right)), 2) << "position " << pos;
        EXPECT_GE(r.left, channel.left - 1);
        EXPECT_LE(r.right, channel.right + 1);
        ExpectThumb(1);
    }
}

TEST_F(SkinTrackBarTest, ThumbStates) {
    ExpectThumb(1);
    const POINT c = ThumbCentre();
    Hover(bar, c.x, c.y);
    EXPECT_EQ(s->MouseState(), msHot);
    ExpectThumb(4);
    // Away from the thumb, over the channel: not hot.
    Hover(bar, 190, c.y);
    ExpectThumb(1);
    Hover(bar, c.x, c.y);
    ::SendMessageW(bar->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
    ExpectThumb(2);
    ::SendMessageW(bar->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    ParkCursor();
    ::SendMessageW(bar->GetHandle(), WM_MOUSELEAVE, 0, 0);
    bar->SetFocus();
    Pump();
    ExpectThumb(5);
    edit->SetFocus();
    bar->SetEnabled(false);
    ExpectThumb(3);
}

TEST_F(SkinTrackBarTest, TicksInTheShadowColourAndKeyboardMoves) {
    const COLORREF shadow = ResolveColour(skin->ButtonShadowColour);
    TWindowPicture pic(bar->GetHandle());
    const RECT r = s->ThumbRect();
    // Eleven ticks (0..10) below the thumb's band.
    int ticks = 0;
    for (int x = 0; x < pic.Width(); ++x) ticks += pic.At(x, r.bottom + 3) == shadow;
    EXPECT_EQ(ticks, 11);
    bar->SetFocus();
    ::SendMessageW(bar->GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
    Pump();
    EXPECT_EQ(bar->GetPosition(), 4);
    EXPECT_GT(s->ThumbRect().left, r.left);
    ExpectThumb(5);
}

TEST_F(SkinTrackBarTest, SelectionRangeShowsAlongTheChannel) {
    const COLORREF shadow = ResolveColour(skin->ButtonShadowColour);
    const HWND w = bar->GetHandle();
    auto nativeCentre = [&](int pos) {
        bar->SetPosition(pos);
        RECT native{};
        ::SendMessageW(w, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&native));
        return (native.left + native.right) / 2;
    };
    const int from = nativeCentre(2), to = nativeCentre(6), beyond = nativeCentre(8);
    bar->SetPosition(10);
    const int y = ThumbCentre().y;
    auto shadowRun = [&](int a, int b) {
        TWindowPicture pic(w);
        int n = 0;
        for (int x = a; x <= b; ++x) n += pic.At(x, y) == shadow;
        return n;
    };
    ::SendMessageW(w, TBM_SETSEL, TRUE, MAKELPARAM(2, 6));
    // Without the style the control keeps no range to show.
    EXPECT_EQ(shadowRun(from + 2, to - 2), 0);
    ::SetWindowLongPtrW(w, GWL_STYLE, ::GetWindowLongPtrW(w, GWL_STYLE) | TBS_ENABLESELRANGE);
    ::SendMessageW(w, TBM_SETSEL, TRUE, MAKELPARAM(2, 6));
    EXPECT_EQ(shadowRun(from + 2, to - 2), to - from - 3);
    EXPECT_EQ(shadowRun(beyond - 1, beyond + 1), 0);
    // An empty range shows nothing.
    ::SendMessageW(w, TBM_SETSEL, TRUE, MAKELPARAM(4, 4));
    EXPECT_EQ(shadowRun(from + 2, to - 2), 0);
}

TEST_F(SkinRangePaintTest, VerticalTrackBarUsesTheVerticalPictures) {
    TDataSkinObject* thumb = skin->TrackbarThumbVert.get();
    ASSERT_TRUE(thumb);
    auto* bar = new TTrackBar(form.get());
    bar->SetParent(form.get());
    bar->SetOrientation(trVertical);
    bar->SetBounds(300, 20, 40, 200);
    bar->SetMax(10);
    bar->SetPosition(10);
    auto* s = Attach<TSkinTrackBar>(bar);
    TWindowPicture pic(bar->GetHandle());
    const RECT r = s->ThumbRect();
    EXPECT_EQ(r.right - r.left, thumb->Bitmap.GetWidth() / 5);
    EXPECT_EQ(r.bottom - r.top, thumb->Bitmap.GetHeight());
    EXPECT_EQ(CellMismatches(pic, thumb->Bitmap, 5, 1, r.left, r.top, 0, 0, r.right - r.left, r.bottom - r.top), 0);
    RECT native{};
    ::SendMessageW(bar->GetHandle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&native));
    EXPECT_LE(std::abs((r.top + r.bottom) - (native.top + native.bottom)), 2);
}

// ---- Up-down controls ----------------------------------------------------------------

class SkinUpDownTest : public SkinRangePaintTest {
protected:
    void SetUp() override {
        SkinRangePaintTest::SetUp();
        element = skin->UpDownVert.get();
        ASSERT_TRUE(element && element->FrameCount == 8);
        ASSERT_TRUE(FramesTellable(element->Bitmap, 8));
    }
    // The unscaled 3 x 3 corners of both buttons show frames `first` and `second`.
    void ExpectFrames(HWND window, int first, int second) {
        TWindowPicture pic(window);
        const int cw = element->Bitmap.GetWidth() / 8, ch = element->Bitmap.GetHeight();
        const int half = pic.Height() / 2;
        EXPECT_EQ(CellMismatches(pic, element->Bitmap, 8, first, 0, 0, 0, 0, 3, 3), 0) << "first " << first;
        EXPECT_EQ(CellMismatches(pic, element->Bitmap, 8, first, pic.Width() - 3, half - 3, cw - 3, ch - 3, 3, 3), 0)
            << "first " << first;
        EXPECT_EQ(CellMismatches(pic, element->Bitmap, 8, second, 0, half, 0, 0, 3, 3), 0) << "second " << second;
        EXPECT_EQ(CellMismatches(pic, element->Bitmap, 8, second, pic.Width() - 3, pic.Height() - 3, cw - 3, ch - 3,
                                 3, 3),
                  0)
            << "second " << second;
    }
    TDataSkinBorder* element = nullptr;
};

TEST_F(SkinUpDownTest, ButtonStatesOfAFrameworkUpDown) {
    auto* ud = new TUpDown(form.get());
    ud->SetParent(form.get());
    ud->SetBounds(20, 20, 17, 24);
    ud->SetPosition(5);
    auto* s = Attach<TSkinUpDown>(ud);
    ExpectFrames(ud->GetHandle(), 1, 5);
    Hover(ud, 8, 4);
    EXPECT_EQ(s->HotPart(), 1);
    ExpectFrames(ud->GetHandle(), 4, 5);
    Hover(ud, 8, 20);
    ExpectFrames(ud->GetHandle(), 1, 8);
    ::SendMessageW(ud->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 20));
    EXPECT_EQ(s->PressedPart(), 2);
    ExpectFrames(ud->GetHandle(), 1, 6);
    ::SendMessageW(ud->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(8, 20));
    Pump();
    EXPECT_EQ(ud->GetPosition(), 4);  // the control still counts: one step down
    ::SendMessageW(ud->GetHandle(), WM_MOUSELEAVE, 0, 0);
    ExpectFrames(ud->GetHandle(), 1, 5);
    ud->SetEnabled(false);
    ExpectFrames(ud->GetHandle(), 3, 7);
}

TEST_F(SkinUpDownTest, BareUpDownSubclassedAndGivenBack) {
    const HWND w = ::CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 60, 20, 17, 24,
                                     form->GetHandle(), nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    const LONG_PTR own = ::GetWindowLongPtrW(w, GWLP_WNDPROC);
    auto* s = new TSkinUpDown(nullptr);
    s->InitWindow(w, &data, &host, nullptr);
    EXPECT_EQ(::SendMessageW(w, skinmsg::WM_SKINQUERY, 0, 0), 1);
    ExpectFrames(w, 1, 5);
    ::SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(8, 4));
    ExpectFrames(w, 4, 5);
    TWindowPicture skinned(w);
    delete s;
    EXPECT_TRUE(host.list.empty());
    EXPECT_EQ(::GetWindowLongPtrW(w, GWLP_WNDPROC), own);
    EXPECT_EQ(::SendMessageW(w, skinmsg::WM_SKINQUERY, 0, 0), 0);
    TWindowPicture plain(w);
    EXPECT_NE(plain.At(1, 1), skinned.At(1, 1));
    ::DestroyWindow(w);
}

TEST_F(SkinUpDownTest, TabScrollerGetsAnUpDownSkinWhenSpinIsOn) {
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(20, 120, 160, 100);
    for (int i = 0; i < 12; ++i) tabs->GetTabs()->Add(L"标签页 " + std::to_wstring(i));
    Pump();
    const HWND scroller = ::FindWindowExW(tabs->GetHandle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(scroller, nullptr) << "the tabs do not overflow";
    data.SkinControls &= ~skinrules::Bit(skinrules::xcSpin);
    Attach<TSkinTab>(tabs);
    { TWindowPicture p(tabs->GetHandle()); }
    EXPECT_EQ(::SendMessageW(scroller, skinmsg::WM_SKINQUERY, 0, 0), 0);
    data.SkinControls |= skinrules::Bit(skinrules::xcSpin);
    { TWindowPicture p(tabs->GetHandle()); }
    EXPECT_EQ(::SendMessageW(scroller, skinmsg::WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(host.list.size(), 2u);
    // Horizontal: the UpDown.Horz strip.
    TWindowPicture pic(scroller);
    TDataSkinBorder& horz = *skin->UpDownHorz;
    EXPECT_EQ(CellMismatches(pic, horz.Bitmap, 8, 1, 0, 0, 0, 0, 3, 3), 0);
    EXPECT_EQ(CellMismatches(pic, horz.Bitmap, 8, 5, pic.Width() / 2, 0, 0, 0, 3, 3), 0);
}

// ---- Status bars ---------------------------------------------------------------------

class SkinStatusBarTest : public SkinRangePaintTest {
protected:
    void SetUp() override {
        SkinRangePaintTest::SetUp();
        edges = skin->StatusBarEdges.get();
        ASSERT_TRUE(edges && edges->FrameCount == 3);
        bar = new TStatusBar(form.get());
        bar->SetParent(form.get());
        bar->SetAlign(alNone);
        bar->SetBounds(0, 250, 400, 20);
    }
    // Pixels of the panel that differ between two pictures.
    static int Differ(const TWindowPicture& a, const TWindowPicture& b, const RECT& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += a.At(x, y) != b.At(x, y);
        return n;
    }
    TDataSkinObject* edges = nullptr;
    TStatusBar* bar = nullptr;
};

TEST_F(SkinStatusBarTest, PanelsShowTheirTexts) {
    TStatusPanel* first = bar->GetPanels()->Add();
    first->SetWidth(120);
    TStatusPanel* second = bar->GetPanels()->Add();
    second->SetWidth(150);
    auto* s = Attach<TSkinStatusBar>(bar);
    TWindowPicture blank(bar->GetHandle());
    ASSERT_EQ(s->Panels().size(), 2u);
    const RECT p0 = s->Panels()[0].Rect, p1 = s->Panels()[1].Rect;
    first->SetText(L"就绪");
    second->SetText(L"\t\t4 个文件");
    TWindowPicture written(bar->GetHandle());
    EXPECT_EQ(s->Panels()[0].Text, L"就绪");
    EXPECT_EQ(s->Panels()[1].Text, L"\t\t4 个文件");
    EXPECT_GT(Differ(blank, written, p0), 20);
    EXPECT_GT(Differ(blank, written, p1), 20);
    // The first text at the left of its panel, the second right-aligned: its right half.
    const int mid0 = (p0.left + p0.right) / 2, mid1 = (p1.left + p1.right) / 2;
    EXPECT_EQ(Differ(blank, written, RECT{mid0, p0.top, p0.right, p0.bottom}), 0);
    EXPECT_EQ(Differ(blank, written, RECT{p1.left, p1.top, mid1, p1.bottom}), 0);
    // Each panel is the panel frame: its unscaled top-left corner.
    EXPECT_EQ(CellMismatches(blank, edges->Bitmap, 3, sfPanel, p0.left, p0.top, 0, 0, 3, 3), 0);
    // The grip in the corner (frame 3, bottom-right margin unscaled), the bar elsewhere.
    const int cw = edges->Bitmap.GetWidth() / 3;
    const RECT g = s->GripRect();
    EXPECT_EQ(g.right - g.left, cw);
    EXPECT_EQ(CellMismatches(blank, edges->Bitmap, 3, sfGrip, 397, 17, cw - 3, 17, 3, 3), 0);
}

TEST_F(SkinStatusBarTest, SimplePanelText) {
    bar->SetSimplePanel(true);
    auto* s = Attach<TSkinStatusBar>(bar);
    TWindowPicture blank(bar->GetHandle());
    bar->SetSimpleText(L"正在转换 C:\\视频\\片段.avi");
    TWindowPicture written(bar->GetHandle());
    ASSERT_EQ(s->Panels().size(), 1u);
    EXPECT_EQ(s->Panels()[0].Text, L"正在转换 C:\\视频\\片段.avi");
    // A framework status bar's simple text is its property, whatever the window holds.
    ::SendMessageW(bar->GetHandle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L"别的"));
    { TWindowPicture again(bar->GetHandle()); }
    EXPECT_EQ(s->Panels()[0].Text, L"正在转换 C:\\视频\\片段.avi");
    EXPECT_GT(Differ(blank, written, RECT{0, 0, 200, 20}), 40);
    // The bar's own frame at its left edge (unscaled 3 x 3 corner).
    EXPECT_EQ(CellMismatches(blank, edges->Bitmap, 3, sfBar, 0, 0, 0, 0, 3, 3), 0);
}

// ---- Tab controls --------------------------------------------------------------------

class SkinTabTest : public SkinRangePaintTest {
protected:
    void SetUp() override {
        SkinRangePaintTest::SetUp();
        tabsElement = skin->Tabs.get();
        ASSERT_TRUE(tabsElement && tabsElement->FrameCount == 5);
        ASSERT_TRUE(FramesTellable(tabsElement->Bitmap, 5));
        tabs = new TTabControl(form.get());
        tabs->SetParent(form.get());
        tabs->SetBounds(20, 20, 300, 160);
        tabs->GetTabs()->Add(L"队列");
        tabs->GetTabs()->Add(L"日志");
        tabs->GetTabs()->Add(L"选项");
        tabs->SetTabIndex(1);
        s = Attach<TSkinTab>(tabs);
        Pump();
    }
    // A top 5 x 5 corner (the unscaled margin) of tab i shows `frame`: the one away
    // from the selected tab, which lies over its neighbours' near corners.
    void ExpectTab(int i, int frame) {
        TWindowPicture pic(tabs->GetHandle());
        ASSERT_LT(static_cast<size_t>(i), s->Tabs().size());
        RECT item{};
        ::SendMessageW(tabs->GetHandle(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        // Where the control has the tab; the selected one stands out by 2.
        const int selected = tabs->GetTabIndex();
        const int d = i == selected ? 2 : 0;
        const RECT r{item.left - d, item.top - d, item.right + d, item.bottom};
        EXPECT_EQ(s->Tabs()[static_cast<size_t>(i)].Rect.left, r.left);
        const int cell = tabsElement->Bitmap.GetWidth() / 5;
        if (i > selected)
            EXPECT_EQ(CellMismatches(pic, tabsElement->Bitmap, 5, frame, r.right - 5, r.top, cell - 5, 0, 5, 5), 0)
                << "tab " << i << " expected frame " << frame;
        else
            EXPECT_EQ(CellMismatches(pic, tabsElement->Bitmap, 5, frame, r.left, r.top, 0, 0, 5, 5), 0)
                << "tab " << i << " expected frame " << frame;
    }
    TDataSkinBorder* tabsElement = nullptr;
    TTabControl* tabs = nullptr;
    TSkinTab* s = nullptr;
};

TEST_F(SkinTabTest, SelectedHotFocusedAndDisabledTabs) {
    ExpectTab(0, 1);
    ExpectTab(1, 2);
    ExpectTab(2, 1);
    RECT third{};
    ::SendMessageW(tabs->GetHandle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    Hover(tabs, (third.left + third.right) / 2, (third.top + third.bottom) / 2);
    EXPECT_EQ(s->HotItem(), 2);
    ExpectTab(2, 4);
    ::SendMessageW(tabs->GetHandle(), WM_MOUSELEAVE, 0, 0);
    ExpectTab(2, 1);
    tabs->SetFocus();
    Pump();
    ExpectTab(1, 5);
    ExpectTab(0, 1);
    edit->SetFocus();
    tabs->SetTabIndex(0);
    ExpectTab(0, 2);
    ExpectTab(1, 1);
    tabs->SetEnabled(false);
    ExpectTab(0, 3);
    ExpectTab(2, 3);
}

TEST_F(SkinTabTest, SelectedTabTextAndPane) {
    const COLORREF selectedText = ResolveColour(tabsElement->PressedColour2);
    TWindowPicture pic(tabs->GetHandle());
    const RECT sel = s->Tabs()[1].Rect;
    const RECT other = s->Tabs()[0].Rect;
    EXPECT_GT(pic.Count(selectedText, sel), 10);
    // The pane starts below the tabs, and the selected tab reaches one pixel into it.
    const RECT pane = s->PaneRect();
    RECT item{};
    ::SendMessageW(tabs->GetHandle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(pane.top, item.bottom);
    EXPECT_EQ(sel.bottom, pane.top + 1);
    EXPECT_EQ(other.bottom, pane.top);
    // The pane's bottom-left corner (unscaled margins of 4): the outline of the Tabs
    // element's second picture over the pane picture.
    TBitmap& outline = tabsElement->SecondBitmap;
    TBitmap& paneBitmap = skin->TabPane->Bitmap;
    ASSERT_FALSE(outline.GetEmpty());
    const int oh = outline.GetHeight(), ph = paneBitmap.GetHeight();
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const COLORREF line = CellPixel(outline, 1, 1, i, oh - 4 + j);
            const COLORREF want = line != kMagenta ? line : CellPixel(paneBitmap, 1, 1, i, ph - 4 + j);
            EXPECT_EQ(pic.At(pane.left + i, pane.bottom - 4 + j), want) << i << "," << j;
        }
}

TEST_F(SkinTabTest, BottomTabsAreDrawnUpsideDown) {
    const HWND w = tabs->GetHandle();
    ::SetWindowLongPtrW(w, GWL_STYLE, ::GetWindowLongPtrW(w, GWL_STYLE) | TCS_BOTTOM);
    ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    TWindowPicture pic(w);
    RECT item{};
    ::SendMessageW(w, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const RECT r = s->Tabs()[1].Rect;  // the selected tab
    EXPECT_EQ(r.left, item.left - 2);
    EXPECT_EQ(r.bottom, item.bottom + 2);
    EXPECT_EQ(s->PaneRect().bottom, item.top);
    // The cell's top-left corner shows at the tab's bottom-left, mirrored.
    int bad = 0;
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            const COLORREF want = CellPixel(tabsElement->Bitmap, 5, 2, i, j);
            if (want != kMagenta) bad += pic.At(r.left + i, r.bottom - 1 - j) != want;
        }
    EXPECT_EQ(bad, 0);
}

TEST_F(SkinTabTest, SideTabsAreTurnedTowardsThePane) {
    const HWND w = tabs->GetHandle();
    const COLORREF selectedText = ResolveColour(tabsElement->PressedColour2);
    for (const bool right : {false, true}) {
        SCOPED_TRACE(right ? "right" : "left");
        LONG_PTR style = (::GetWindowLongPtrW(w, GWL_STYLE) & ~TCS_RIGHT) | TCS_VERTICAL | TCS_MULTILINE;
        if (right) style |= TCS_RIGHT;
        ::SetWindowLongPtrW(w, GWL_STYLE, style);
        ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        ASSERT_TRUE(s->Paints());
        TWindowPicture pic(w);
        RECT item{};
        ::SendMessageW(w, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
        ASSERT_GT(item.bottom - item.top, item.right - item.left);  // the control stacks them
        const RECT r = s->Tabs()[1].Rect;  // the selected tab stands out, into the pane
        EXPECT_EQ(r.top, item.top - 2);
        EXPECT_EQ(r.bottom, item.bottom + 2);
        if (right) {
            EXPECT_EQ(r.left, item.left - 1);
            EXPECT_EQ(r.right, item.right + 2);
            EXPECT_EQ(s->PaneRect().right, item.left);
        } else {
            EXPECT_EQ(r.left, item.left - 2);
            EXPECT_EQ(r.right, item.right + 1);
            EXPECT_EQ(s->PaneRect().left, item.right);
        }
        // The cell's top-left corner, turned: at the bottom-left on the left side (a
        // quarter counter-clockwise), at the top-right on the right side.
        int bad = 0, seen = 0;
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 5; ++i) {
                const COLORREF want = CellPixel(tabsElement->Bitmap, 5, 2, i, j);
                if (want == kMagenta) continue;
                ++seen;
                const COLORREF got = right ? pic.At(r.right - 1 - j, r.top + i) : pic.At(r.left + j, r.bottom - 1 - i);
                bad += got != want;
            }
        EXPECT_GT(seen, 0);
        EXPECT_EQ(bad, 0);
        // The selected tab's text is written along it.
        EXPECT_GT(pic.Count(selectedText, r), 10);
    }
}

TEST_F(SkinTabTest, PageSheetsShowThePane) {
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(20, 200, 300, 120);
    auto* sheet = new TTabSheet(form.get());
    sheet->SetCaption(L"队列");
    sheet->SetPageControl(pages);
    Attach<TSkinTab>(pages);
    auto* sheetSkin = new TSkinTabSheet(sheet);
    sheetSkin->InitControl(&host, &data, false, nullptr);
    Pump();
    // The sheet shows the pane drawn by the page control's skin: the same pixel in the
    // page control's picture (under the sheet) and in the sheet's own picture.
    TWindowPicture page(pages->GetHandle());
    // The sheet's background erase into a memory DC.
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), sheet->GetWidth(), sheet->GetHeight()));
    TSelectObject select(dc.Get(), bitmap.Get());
    EXPECT_EQ(::SendMessageW(sheet->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
    const int x = sheet->GetLeft(), y = sheet->GetTop();
    int differ = 0;
    for (int j = 0; j < sheet->GetHeight(); j += 7)
        for (int i = 0; i < sheet->GetWidth(); i += 7) differ += ::GetPixel(dc.Get(), i, j) != page.At(x + i, y + j);
    EXPECT_EQ(differ, 0);
    EXPECT_NE(::GetPixel(dc.Get(), 20, 20), ColorToColorRef(clBtnFace));
}

// A tab set as another component family has it: a custom control publishing its
// tabs ("Tabs") and the selected one ("TabIndex"), counting the presses it sees.
class TTabSet : public TCustomControl {
    VX_DECLARE_CLASS(TTabSet, TCustomControl)
public:
    explicit TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {}
    TStrings* GetTabs() const { return tabs_.get(); }
    int GetTabIndex() const { return index_; }
    void SetTabIndex(int index) {
        index_ = index;
        Invalidate();
    }
    static void RegisterProperties(TPropertyRegistrar<TTabSet>& r) {
        r.Object(L"Tabs", &TTabSet::GetTabs).Integer(L"TabIndex", &TTabSet::GetTabIndex, &TTabSet::SetTabIndex);
    }
    int presses = 0;

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_LBUTTONDOWN) ++presses;
        TCustomControl::WndProc(message);
    }

private:
    std::unique_ptr<TStringList> tabs_;
    int index_ = -1;
};
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TTabSet, TCustomControl)

TEST_F(SkinRangePaintTest, TabSetTabsHangFromTheTopAndThePressChoosesAmongThem) {
    TDataSkinBorder* tabsElement = skin->Tabs.get();
    ASSERT_TRUE(tabsElement && tabsElement->FrameCount == 5);
    auto* set = new TTabSet(form.get());
    set->SetParent(form.get());
    set->SetBounds(20, 200, 300, 24);
    for (const wchar_t* caption : {L"视频", L"音频", L"字幕"}) set->GetTabs()->Add(caption);
    set->SetTabIndex(1);
    // The built-in chain's tab-set row makes this object for it.
    TDispatchSettings settings;
    settings.HasTabImage = true;
    const TSkinChoice choice = BuiltInChain(TControlDispatcher::FactsOf(set), settings);
    std::unique_ptr<TSkinControl> made = CreateControlSkin(choice, set);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), L"TSkinTab31");
    made.reset();
    auto* s = Attach<TSkinTab31>(set);
    ASSERT_TRUE(s->Paints());
    // The corner of frame `frame`, upside down at the bottom-left of tab i.
    auto expectTab = [&](int i, int frame) {
        TWindowPicture pic(set->GetHandle());
        ASSERT_EQ(s->TabRects().size(), 3u);
        const TLayoutRect r = s->TabRects()[static_cast<size_t>(i)];
        int bad = 0, seen = 0;
        for (int j = 0; j < 5; ++j)
            for (int x = 0; x < 5; ++x) {
                const COLORREF want = CellPixel(tabsElement->Bitmap, 5, frame, x, j);
                if (want == kMagenta) continue;
                ++seen;
                bad += pic.At(r.Left + x, r.Bottom - 1 - j) != want;
            }
        EXPECT_GT(seen, 0);
        EXPECT_EQ(bad, 0) << "tab " << i << " expected frame " << frame;
    };
    expectTab(0, 1);
    expectTab(1, 2);
    EXPECT_EQ(s->TabRects()[1].Bottom, 24);  // the selected one the whole height
    EXPECT_EQ(s->TabRects()[0].Bottom, 22);
    // The selected tab's text in the element's pressed colour.
    {
        TWindowPicture pic(set->GetHandle());
        const TLayoutRect r = s->TabRects()[1];
        EXPECT_GT(pic.Count(ResolveColour(tabsElement->PressedColour2), RECT{r.Left, r.Top, r.Right, r.Bottom}), 10);
    }
    // Hover over the first tab.
    const TLayoutRect first = s->TabRects()[0];
    Hover(set, first.Left + 6, 8);
    EXPECT_EQ(s->HotItem(), 0);
    expectTab(0, 4);
    ::SendMessageW(set->GetHandle(), WM_MOUSELEAVE, 0, 0);
    expectTab(0, 1);
    // A press on the third tab selects it; the control never sees the press.
    const TLayoutRect third = s->TabRects()[2];
    ::SendMessageW(set->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((third.Left + third.Right) / 2, 8));
    ::SendMessageW(set->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM((third.Left + third.Right) / 2, 8));
    EXPECT_EQ(set->GetTabIndex(), 2);
    EXPECT_EQ(set->presses, 0);
    EXPECT_EQ(::GetFocus(), set->GetHandle());
    expectTab(2, 5);  // selected, with the focus
    // Beyond the last tab nothing changes.
    ::SendMessageW(set->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(290, 8));
    EXPECT_EQ(set->GetTabIndex(), 2);
    edit->SetFocus();
    set->SetEnabled(false);
    Pump();
    expectTab(0, 3);
}

// A page control of another component family: a page control publishing its own
// pictures for the tabs ("TabBackGround", "TabBackGroundActive"), empty at first.
using testing::TAdvPageControl;

void FillPicture(TBitmap& b, COLORREF colour) {
    b.SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) b.GetCanvas()->SetPixel(x, y, static_cast<TColor>(colour));
}

TEST_F(SkinRangePaintTest, AdvancedPageTabsFromTheSkinOrFromTheControlsOwnPictures) {
    TDataSkinBorder* tabsElement = skin->Tabs.get();
    ASSERT_TRUE(tabsElement && tabsElement->FrameCount == 5);
    auto* pages = new TAdvPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(20, 200, 300, 120);
    for (const wchar_t* caption : {L"视频", L"音频"}) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePageIndex(1);
    // The Skin3rd kind and the factory make this object for it.
    TDispatchSettings settings;
    settings.HasTabImage = true;
    const TSkinChoice choice = Skin3rdChoice(FindSkin3rd({L"TAdvPageControl=AdvPageControl"}, L"TAdvPageControl"),
                                             TControlDispatcher::FactsOf(pages), settings);
    std::unique_ptr<TSkinControl> made = CreateControlSkin(choice, pages);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), L"TSkinAdvPage");
    made.reset();
    auto* s = Attach<TSkinAdvPage>(pages);
    ASSERT_TRUE(s->Paints());
    auto corner = [&](const TWindowPicture& pic, int tab, int frame) {
        const RECT r = s->Tabs()[static_cast<size_t>(tab)].Rect;
        return CellMismatches(pic, tabsElement->Bitmap, 5, frame, r.left, r.top, 0, 0, 3, 3);
    };
    {
        TWindowPicture pic(pages->GetHandle());
        ASSERT_EQ(s->Tabs().size(), 2u);
        EXPECT_EQ(corner(pic, 0, 1), 0);
        EXPECT_EQ(corner(pic, 1, 2), 0);
    }
    // The control's own pictures: the one for the tabs not selected, then the active one.
    constexpr COLORREF kGreen = RGB(10, 200, 30), kBlue = RGB(20, 40, 220);
    FillPicture(*pages->GetTabBackGround(), kGreen);
    {
        TWindowPicture pic(pages->GetHandle());
        const RECT a = s->Tabs()[0].Rect;
        EXPECT_EQ(pic.At(a.left + 1, a.top + 1), kGreen);
        EXPECT_EQ(pic.At(a.left + 1, a.bottom - 2), kGreen);  // the selected tab overlaps its right edge
        EXPECT_EQ(corner(pic, 1, 2), 0) << "the selected tab keeps the skin without an active picture";
    }
    FillPicture(*pages->GetTabBackGroundActive(), kBlue);
    {
        TWindowPicture pic(pages->GetHandle());
        const RECT b = s->Tabs()[1].Rect;
        EXPECT_EQ(pic.At(b.left + 1, b.top + 1), kBlue);
        EXPECT_EQ(pic.At(s->Tabs()[0].Rect.left + 1, s->Tabs()[0].Rect.top + 1), kGreen);
    }
    // Disabled, every tab shows the skin's disabled frame.
    pages->SetEnabled(false);
    Pump();
    TWindowPicture pic(pages->GetHandle());
    EXPECT_EQ(corner(pic, 0, 3), 0);
    EXPECT_EQ(corner(pic, 1, 3), 0);
    EXPECT_EQ(pic.Count(kGreen, s->Tabs()[0].Rect) + pic.Count(kBlue, s->Tabs()[1].Rect), 0);
}

// A media player as its component family has it: its button sets published as texts,
// counting the presses it sees.
class TMediaPlayer : public TCustomControl {
    VX_DECLARE_CLASS(TMediaPlayer, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    std::wstring GetVisible() const { return visible; }
    std::wstring GetEnabledSet() const { return enabled; }
    std::wstring GetColored() const { return colored; }
    static void RegisterProperties(TPropertyRegistrar<TMediaPlayer>& r) {
        r.Text(L"VisibleButtons", &TMediaPlayer::GetVisible)
            .Text(L"EnabledButtons", &TMediaPlayer::GetEnabledSet)
            .Text(L"ColoredButtons", &TMediaPlayer::GetColored);
    }
    std::wstring visible = L"[btPlay,btPause,btStop,btEject]";
    std::wstring enabled = L"[btPlay,btPause,btEject]";
    std::wstring colored = L"[btPlay]";
    int presses = 0;

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_LBUTTONDOWN) ++presses;
        TCustomControl::WndProc(message);
    }
};
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TMediaPlayer, TCustomControl)

TEST_F(SkinRangePaintTest, MediaPlayerButtonsFromTheButtonsStripWithTheirGlyphs) {
    TDataSkinObject& buttons = skin->Buttons;
    const int frames = std::max(1, buttons.FrameCount);
    ASSERT_GE(frames, 4);
    auto* player = new TMediaPlayer(form.get());
    player->SetParent(form.get());
    player->SetBounds(20, 200, 240, 30);
    // The chain's row and the factory make this object for it.
    const TSkinChoice choice = BuiltInChain(TControlDispatcher::FactsOf(player), TDispatchSettings{});
    std::unique_ptr<TSkinControl> made = CreateControlSkin(choice, player);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), L"TSkinMP");
    made.reset();
    auto* s = Attach<TSkinMP>(player);
    ASSERT_TRUE(s->Paints());
    ASSERT_NE(s->Panel(), nullptr);
    EXPECT_TRUE(s->IsCompanion(s->Panel()));
    EXPECT_EQ(s->Panel()->ClassName(), L"TWMediaPlayer");
    Pump();
    EXPECT_EQ(s->Panel()->GetWidth(), 240);
    // The mouse goes through the companion to the player.
    const POINT inside = player->ClientToScreen(POINT{100, 15});
    EXPECT_EQ(::WindowFromPoint(inside), player->GetHandle());
    const std::vector<TPlayerButtonRect> rects = s->ButtonRects();
    ASSERT_EQ(rects.size(), 4u);  // play, pause, stop, eject: 60 pixels each
    EXPECT_EQ(rects[2].Button, pbStop);
    auto corner = [&](const TWindowPicture& pic, size_t i, int frame) {
        const TLayoutRect r = rects[i].Rect;
        return CellMismatches(pic, buttons.Bitmap, frames, frame, r.Left, r.Top, 0, 0, 3, 3);
    };
    auto rectOf = [&](size_t i) { return RECT{rects[i].Rect.Left, 0, rects[i].Rect.Right, 30}; };
    const COLORREF shadow = ResolveColour(skin->ButtonShadowColour);
    const COLORREF text = ResolveColour(buttons.NormalColour2);
    {
        TWindowPicture pic(s->Panel()->GetHandle());
        EXPECT_EQ(corner(pic, 0, 1), 0);
        EXPECT_EQ(corner(pic, 1, 1), 0);
        EXPECT_EQ(corner(pic, 2, 3), 0) << "stop is not enabled";
        EXPECT_EQ(corner(pic, 3, 1), 0);
        // Play coloured green, pause plain, stop in the shadow colour.
        EXPECT_GT(pic.Count(RGB(0, 128, 0), rectOf(0)), 20);
        EXPECT_GT(pic.Count(text, rectOf(1)), 20);
        EXPECT_EQ(pic.Count(RGB(0, 128, 0), rectOf(1)), 0);
        EXPECT_GT(pic.Count(shadow, rectOf(2)), 20);
    }
    // A press on pause: the player has it, the button shows pressed until released.
    ::SendMessageW(player->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 15));
    EXPECT_EQ(player->presses, 1);
    EXPECT_EQ(s->PressedButton(), pbPause);
    EXPECT_EQ(corner(TWindowPicture(s->Panel()->GetHandle()), 1, 2), 0);
    ::SendMessageW(player->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(90, 15));
    EXPECT_EQ(s->PressedButton(), -1);
    // A press on the disabled stop shows nothing.
    ::SendMessageW(player->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 15));
    EXPECT_EQ(s->PressedButton(), -1);
    ::SendMessageW(player->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 15));
    // Hot under the pointer.
    Hover(player, 220, 15);
    EXPECT_EQ(s->HotButton(), pbEject);
    EXPECT_EQ(corner(TWindowPicture(s->Panel()->GetHandle()), 3, 4), 0);
    ::SendMessageW(player->GetHandle(), WM_MOUSELEAVE, 0, 0);
    // Skinning switched off: the panel shows the player's own picture, then the skin's
    // again.
    ::SendMessageW(player->GetHandle(), skinmsg::WM_SKINSWITCH, 0, 0);
    EXPECT_GT(corner(TWindowPicture(s->Panel()->GetHandle()), 0, 1), 0);
    EXPECT_EQ(TWindowPicture(s->Panel()->GetHandle()).Count(RGB(0, 128, 0), rectOf(0)), 0);
    ::SendMessageW(player->GetHandle(), skinmsg::WM_SKINSWITCH, 1, 0);
    EXPECT_EQ(corner(TWindowPicture(s->Panel()->GetHandle()), 0, 1), 0);
    // A disabled player: every button disabled, no colour left.
    player->SetEnabled(false);
    Pump();
    TWindowPicture pic(s->Panel()->GetHandle());
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(corner(pic, i, 3), 0) << "button " << i;
    EXPECT_EQ(pic.Count(RGB(0, 128, 0), rectOf(0)), 0);
    EXPECT_GT(pic.Count(shadow, rectOf(0)), 20);
    // Given back, the player has no companion left.
    s->RestoreControl();
    EXPECT_EQ(s->Panel(), nullptr);
    delete s;
    EXPECT_EQ(player->ControlCount(), 0);
}

TEST_F(SkinRangePaintTest, ButtonStyleTabsFromTheButtonsStrip) {
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(20, 20, 300, 60);
    tabs->GetTabs()->Add(L"一");
    tabs->GetTabs()->Add(L"二");
    tabs->HandleNeeded();
    ::SetWindowLongPtrW(tabs->GetHandle(), GWL_STYLE, ::GetWindowLongPtrW(tabs->GetHandle(), GWL_STYLE) | TCS_BUTTONS);
    ::SendMessageW(tabs->GetHandle(), TCM_SETCURSEL, 0, 0);
    auto* plain = Attach<TSkinTab>(tabs);
    EXPECT_FALSE(plain->Paints());  // the tab painter leaves button tabs alone
    delete plain;
    auto* s = Attach<TSkinTabBtn>(tabs);
    ASSERT_TRUE(s->Paints());
    TWindowPicture pic(tabs->GetHandle());
    ASSERT_EQ(s->Tabs().size(), 2u);
    TBitmap& buttons = skin->Buttons.Bitmap;
    const RECT a = s->Tabs()[0].Rect, b = s->Tabs()[1].Rect;
    RECT item{};
    ::SendMessageW(tabs->GetHandle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_TRUE(::EqualRect(&a, &item));  // a button tab does not stand out
    EXPECT_EQ(CellMismatches(pic, buttons, 5, 2, a.left, a.top, 0, 0, 4, 4), 0);
    EXPECT_EQ(CellMismatches(pic, buttons, 5, 1, b.left, b.top, 0, 0, 4, 4), 0);
}

// ---- Date-time pickers -------------------------------------------------------------------

class SkinDateTimeTest : public SkinRangePaintTest {
protected:
    void SetUp() override {
        SkinRangePaintTest::SetUp();
        arrowElement = skin->ComboxArrow.get();
        ASSERT_TRUE(arrowElement && arrowElement->FrameCount == 4);
        ASSERT_TRUE(FramesTellable(arrowElement->Bitmap, 4));
        picker = new TDateTimePicker(form.get());
        picker->SetParent(form.get());
        picker->SetBounds(20, 20, 186, 21);
        s = Attach<TSkinDateTime>(picker);
        Pump();
    }
    void ExpectArrow(int frame) {
        ASSERT_NE(s->Arrow(), nullptr);
        EXPECT_EQ(s->Arrow()->CurrentFrame(), frame);
        TWindowPicture pic(s->Arrow()->GetHandle());
        const int cell = arrowElement->Bitmap.GetWidth() / 4;
        ASSERT_EQ(pic.Width(), cell);
        ASSERT_EQ(pic.Height(), arrowElement->Bitmap.GetHeight());
        EXPECT_EQ(CellMismatches(pic, arrowElement->Bitmap, 4, frame, 0, 0, 0, 0, cell, pic.Height()), 0)
            << "expected frame " << frame;
    }
    TDataSkinObject* arrowElement = nullptr;
    TDateTimePicker* picker = nullptr;
    TSkinDateTime* s = nullptr;
};

TEST_F(SkinDateTimeTest, BorderInTheShadowColourAndArrowOverTheButton) {
    // The whole window painted into a memory DC: the outer line in the skin's shadow
    // colour, the rest of the border in the picker's background.
    RECT w{};
    ::GetWindowRect(picker->GetHandle(), &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    TSelectObject select(dc.Get(), bitmap.Get());
    s->PaintWindow(dc.Get());
    EXPECT_EQ(::GetPixel(dc.Get(), 0, 0), ResolveColour(skin->ButtonShadowColour));
    EXPECT_EQ(::GetPixel(dc.Get(), width - 1, height / 2), ResolveColour(skin->ButtonShadowColour));
    EXPECT_EQ(::GetPixel(dc.Get(), 1, 1), ColorToColorRef(picker->GetColor()));
    // The arrow covers the right end of the client area.
    const RECT client = picker->GetClientRect();
    EXPECT_EQ(s->Arrow()->GetLeft() + s->Arrow()->GetWidth(), client.right);
    EXPECT_EQ(s->Arrow()->GetWidth(), ::GetSystemMetrics(SM_CXVSCROLL));
    ExpectArrow(1);
}

TEST_F(SkinDateTimeTest, ArrowStatesAndTheCalendar) {
    ExpectArrow(1);
    s->Arrow()->Perform(CM_MOUSEENTER);
    ExpectArrow(4);
    s->Arrow()->Perform(CM_MOUSELEAVE);
    ExpectArrow(1);
    // A press on the arrow opens the picker's calendar; while it is down the arrow
    // shows pressed and refuses hover.
    ::SendMessageW(s->Arrow()->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Pump();
    EXPECT_NE(::SendMessageW(picker->GetHandle(), DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_TRUE(s->DroppedDown());
    EXPECT_FALSE(s->CanShowHover());
    ExpectArrow(2);
    ::SendMessageW(s->Arrow()->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    const HWND calendar = reinterpret_cast<HWND>(::SendMessageW(picker->GetHandle(), DTM_GETMONTHCAL, 0, 0));
    if (calendar) ::SendMessageW(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
}

TEST_F(SkinDateTimeTest, DisabledArrowAndTheObjectFreed) {
    picker->SetEnabled(false);
    ExpectArrow(3);
    picker->SetEnabled(true);
    TArrowButton* arrow = s->Arrow();
    const HWND arrowWindow = arrow->GetHandle();
    delete s;
    EXPECT_FALSE(::IsWindow(arrowWindow));
    EXPECT_EQ(picker->ControlCount(), 0);
    EXPECT_EQ(picker->Perform(skinmsg::WM_SKINQUERY), 0);
    EXPECT_TRUE(host.list.empty());
}

TEST_F(SkinDateTimeTest, PickerFreedBeforeItsSkin) {
    delete picker;  // takes its children (the arrow) and its skin object with it
    Pump();
    EXPECT_TRUE(host.list.empty());
}

// ---- The main window's own progress bar ----------------------------------------------------

TEST(MainWindowProgressBar, GetsNoSkinObject) {
    // The gradient bar is a windowless graphic control of the program's own: neither the
    // main window's Skin3rd rows nor any row of the built-in chain names it, so it keeps
    // its gradient look while a common-control progress bar of the same form would not.
    std::vector<std::wstring> rows(DefaultSkin3rdRows, DefaultSkin3rdRows + DefaultSkin3rdRowCount);
    TControlFacts gradient;
    gradient.ClassName = L"TGradientProgressBar";
    gradient.Ancestry = {L"TGradientProgressBar", L"TGraphicControl", L"TControl", L"TComponent", L"TPersistent",
                         L"TObject"};
    gradient.Windowed = false;
    TDispatchSettings all;
    all.HasTabImage = true;
    EXPECT_FALSE(FindSkin3rd(rows, gradient.ClassName).Found);
    EXPECT_FALSE(BuiltInChain(gradient, all).Matched);
    // A Skin3rd "progress" row is what gives a framework progress bar its skin object.
    rows.insert(rows.begin(), L"TProgressBar=progress");
    TControlFacts bar;
    bar.ClassName = L"TProgressBar";
    bar.Ancestry = {L"TProgressBar", L"TWinControl", L"TControl"};
    bar.Windowed = true;
    EXPECT_EQ(Skin3rdChoice(FindSkin3rd(rows, bar.ClassName), bar, all).Class, TSkinClass::SkinProgress);
    EXPECT_EQ(ForeignWindowChoice(L"tprogressbar", WS_CHILD, all.SkinControls).Class, TSkinClass::SkinProgress);
}

// ---- Giving back and leaving nothing behind ---------------------------------------------

TEST_F(SkinRangePaintTest, FreedObjectsGiveTheControlBack) {
    auto* p = new TProgressBar(form.get());
    p->SetParent(form.get());
    p->SetBounds(20, 20, 150, 12);
    p->SetPosition(50);
    TWindowPicture native(p->GetHandle());
    auto* s = Attach<TSkinProgress>(p);
    TWindowPicture skinned(p->GetHandle());
    delete s;
    TWindowPicture back(p->GetHandle());
    int skinDiffers = 0, backDiffers = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 150; ++x) {
            skinDiffers += skinned.At(x, y) != native.At(x, y);
            backDiffers += back.At(x, y) != native.At(x, y);
        }
    EXPECT_GT(skinDiffers, 100);
    EXPECT_EQ(backDiffers, 0);
    EXPECT_EQ(p->Perform(skinmsg::WM_SKINQUERY), 0);
}

TEST_F(SkinRangePaintTest, TwoHundredAttachAndDetachCyclesLeaveNothing) {
    auto* p = new TProgressBar(form.get());
    p->SetParent(form.get());
    p->SetBounds(20, 20, 150, 12);
    p->SetPosition(30);
    auto* t = new TTrackBar(form.get());
    t->SetParent(form.get());
    t->SetBounds(20, 40, 150, 40);
    auto* u = new TUpDown(form.get());
    u->SetParent(form.get());
    u->SetBounds(200, 20, 17, 24);
    auto* sb = new TStatusBar(form.get());
    sb->SetParent(form.get());
    sb->SetAlign(alNone);
    sb->SetBounds(0, 300, 400, 20);
    sb->GetPanels()->Add()->SetText(L"就绪");
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(20, 90, 200, 100);
    tabs->GetTabs()->Add(L"队列");
    auto* dt = new TDateTimePicker(form.get());
    dt->SetParent(form.get());
    dt->SetBounds(240, 90, 160, 21);
    Pump();
    auto cycle = [&] {
        std::vector<TSkinControl*> made{Attach<TSkinProgress>(p), Attach<TSkinTrackBar>(t), Attach<TSkinUpDown>(u),
                                        Attach<TSkinStatusBar>(sb), Attach<TSkinTab>(tabs),
                                        Attach<TSkinDateTime>(dt)};
        for (TWinControl* c : std::initializer_list<TWinControl*>{p, t, u, sb, tabs, dt}) {
            TWindowPicture pic(c->GetHandle());
        }
        ::SendMessageW(t->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        for (TSkinControl* s : made) delete s;
        Pump();
    };
    // The first rounds fill caches of their own: three GDI objects appear once, in
    // the second round, and the count stays flat from then on.
    cycle();
    cycle();
    const vx::testing::TGuiObjectCounts before = vx::testing::CountGuiObjects();
    ASSERT_GT(before.Windows, 6);
    for (int i = 0; i < 200; ++i) cycle();
    const vx::testing::TGuiObjectCounts after = vx::testing::CountGuiObjects();
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.Windows, before.Windows);
    EXPECT_EQ(after.Menus, before.Menus);
    EXPECT_TRUE(host.list.empty());
    EXPECT_EQ(dt->ControlCount(), 0);
}

}  // namespace
}  // namespace vx
