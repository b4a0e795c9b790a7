// Skinned windows under Wine, with the program's own skin: which windows the manager
// takes (forms, a standard dialog) and which it leaves (Tag 99, the application window,
// zero-size windows); the client area kept; title-bar buttons run their actions from
// posted non-client clicks; the region's corners and when it is rebuilt; detaching puts
// procedure, style, colour, size and region back; a destroyed window is purged; the
// frame's pixels come from the skin's own cells, active and inactive, and the buttons'
// states from their frames.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/Classes.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/WindowSubclass.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/window/SkinnedWindows.h"

namespace vx {
namespace {

using testing::Pump;
using testing::PumpUntil;

// Handles messages until `done` holds (or a generous limit of rounds passed).

// A host form carrying the skin data component, loaded from the skin the build packs.
class Skinned : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindowSkinning();
        host_ = new TForm(nullptr);
        host_->SetName(L"frmHost");
        data_ = new TSkinData(host_);
        data_->SetActive(true);
        testing::ReadProgramSkin(*data_);
        host_->FinishBuilding();  // Loaded: manager, hook, activation
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
        data_ = nullptr;
        DestroySkinManager();
    }
    void SetUp() override {
        ASSERT_TRUE(data_->GetHasSkin());
        ASSERT_NE(TSkinManage::Instance(), nullptr);
        ASSERT_TRUE(TSkinManage::Instance()->GetActive());
    }
    static TSkinManage& manager() { return *TSkinManage::Instance(); }
    static TFormSkinner* SkinnerOf(HWND h) { return manager().FindForm(h); }
    // Shows a form and waits until its attach has completed.
    static TFormSkinner* ShowSkinned(TForm& form) {
        form.Show();
        ::SetForegroundWindow(form.GetHandle());
        HWND h = form.GetHandle();
        PumpUntil([&] { return SkinnerOf(h) && SkinnerOf(h)->Lifecycle() == 1; });
        Pump(5);
        return SkinnerOf(h);
    }
    static TForm* host_;
    static TSkinData* data_;
};
TForm* Skinned::host_ = nullptr;
TSkinData* Skinned::data_ = nullptr;

TEST_F(Skinned, AnActivatedFormIsSkinnedAndKeepsItsClientArea) {
    TForm form(nullptr);
    form.SetBounds(60, 60, 300, 200);
    form.SetClientSize(330, 210);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    EXPECT_EQ(::SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
    RECT client{}, window{};
    ::GetClientRect(h, &client);
    ::GetWindowRect(h, &window);
    EXPECT_EQ(client.right, 330);
    EXPECT_EQ(client.bottom, 210);
    // The skin's frame: borders of 4, a title of 30.
    EXPECT_EQ(s->Borders(), (TBorderSizes{4, 30, 4, 4}));
    EXPECT_EQ(window.right - window.left, 338);
    EXPECT_EQ(window.bottom - window.top, 244);
    // Activating it again attaches nothing new.
    const size_t count = manager().Forms().size();
    EXPECT_FALSE(manager().AttachForm(h));
    EXPECT_EQ(manager().Forms().size(), count);
    // The caption is laid out after the icon, with its spaces.
    EXPECT_EQ(s->CaptionRect().Left, 28);
}

TEST_F(Skinned, WindowsThatStayUnskinned) {
    TForm tagged(nullptr);
    tagged.SetTag(99);
    tagged.SetBounds(80, 80, 200, 120);
    tagged.Show();
    Pump(20);
    EXPECT_EQ(SkinnerOf(tagged.GetHandle()), nullptr);
    EXPECT_NE(::SendMessageW(tagged.GetHandle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_FALSE(manager().AttachForm(tagged.GetHandle()));

    EXPECT_FALSE(manager().AttachForm(Application->GetHandle()));
    EXPECT_EQ(SkinnerOf(Application->GetHandle()), nullptr);

    HWND zero = ::CreateWindowExW(0, L"STATIC", L"zero", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 0, 0, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(manager().AttachForm(zero));
    ::DestroyWindow(zero);

    // A window of another module that is not a standard dialog.
    HWND foreign = ::CreateWindowExW(0, L"STATIC", L"foreign", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 100, 50,
                                     nullptr, nullptr, nullptr, nullptr);
    if (reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(foreign, GWLP_HINSTANCE)) != ::GetModuleHandleW(nullptr)) {
        EXPECT_FALSE(manager().AttachForm(foreign));
    }
    ::DestroyWindow(foreign);
}

// The message box under test: checked and closed from a timer while it runs.
HWND g_box = nullptr;
LRESULT g_boxQuery = 0;
RECT g_boxClient{}, g_boxWindow{};
void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", L"盒子");
    if (!box) return;
    if (!TSkinManage::Instance()->FindForm(box) || TSkinManage::Instance()->FindForm(box)->Lifecycle() != 1) return;
    ::KillTimer(nullptr, id);
    g_box = box;
    g_boxQuery = ::SendMessageW(box, WM_SKINQUERY, 0, 0);
    ::GetClientRect(box, &g_boxClient);
    ::GetWindowRect(box, &g_boxWindow);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Skinned, AStandardDialogIsSkinnedAndPurgedWhenItCloses) {
    g_box = nullptr;
    g_boxQuery = 0;
    ::SetTimer(nullptr, 0, 50, &InspectBox);
    ::MessageBoxW(host_->GetHandle(), L"文字", L"盒子", MB_OK);
    ASSERT_NE(g_box, nullptr);
    EXPECT_EQ(g_boxQuery, 1);
    EXPECT_GT(g_boxClient.right, 0);
    // A dialog frame: the dialog's own buttons stay where they are in its client area.
    EXPECT_FALSE(::IsWindow(g_box));
    manager().Purge();
    EXPECT_EQ(manager().FindForm(g_box), nullptr);
}

TEST_F(Skinned, ADestroyedForeignWindowIsPurged) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VxForeignSkinned";
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, L"VxForeignSkinned", L"外来", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 240, 160,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetForegroundWindow(w);
    PumpUntil([&] { return SkinnerOf(w) && SkinnerOf(w)->Lifecycle() == 1; });
    TFormSkinner* s = SkinnerOf(w);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Form(), nullptr);
    EXPECT_EQ(::SendMessageW(w, WM_SKINQUERY, 0, 0), 1);
    ::DestroyWindow(w);
    EXPECT_EQ(s->Lifecycle(), 6);
    const size_t before = manager().Forms().size();
    manager().Purge();
    EXPECT_EQ(manager().Forms().size(), before - 1);
    EXPECT_EQ(SkinnerOf(w), nullptr);
}

POINT ScreenCentre(HWND h, const TLayoutRect& r) {
    RECT wr{};
    ::GetWindowRect(h, &wr);
    return POINT{wr.left + (r.Left + r.Right) / 2, wr.top + (r.Top + r.Bottom) / 2};
}

TWinSysButton* ButtonWithAction(TFormSkinner* s, int action, int visibility = -1) {
    for (const auto& b : s->TitleButtons())
        if (b->Def.Action == action && b->Visible && (visibility < 0 || b->Def.Visibility == visibility)) return b.get();
    return nullptr;
}

void ClickAt(HWND h, POINT p) {
    ::PostMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
    ::PostMessageW(h, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(p.x, p.y));
}

TEST_F(Skinned, PostedClicksOnTitleButtonsRunTheirActions) {
    TForm form(nullptr);
    form.SetBounds(100, 100, 320, 220);
    int closes = 0, clicks = 0;
    form.OnClose = [&](TObject*, TCloseAction& a) {
        ++closes;
        a = caNone;
    };
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    // Maximise, then restore through the restore button that replaced it.
    TWinSysButton* max = ButtonWithAction(s, 1, 2);
    ASSERT_NE(max, nullptr);
    EXPECT_TRUE(max->Enabled);
    ClickAt(h, ScreenCentre(h, max->Rect));
    EXPECT_TRUE(PumpUntil([&] { return ::IsZoomed(h) != 0; }));
    Pump(5);
    TWinSysButton* restore = ButtonWithAction(s, 1, 1);
    ASSERT_NE(restore, nullptr);
    ClickAt(h, ScreenCentre(h, restore->Rect));
    EXPECT_TRUE(PumpUntil([&] { return !::IsZoomed(h); }));
    Pump(5);
    // Minimise.
    TWinSysButton* min = ButtonWithAction(s, 2);
    ASSERT_NE(min, nullptr);
    ClickAt(h, ScreenCentre(h, min->Rect));
    EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(h) != 0; }));
    ::ShowWindow(h, SW_RESTORE);
    ::SetForegroundWindow(h);
    Pump(10);
    // Close.
    TWinSysButton* close = ButtonWithAction(s, 0);
    ASSERT_NE(close, nullptr);
    ClickAt(h, ScreenCentre(h, close->Rect));
    EXPECT_TRUE(PumpUntil([&] { return closes == 1; }));
    // A custom button shows when the window says so and posts its action.
    TWinSysButton* pin = nullptr;
    TMessageHook answer;
    answer.Install(&form, [&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == WM_SKINBUTTONVISIBLE) {
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_SKINBUTTONCLICK) {
            clicks += static_cast<int>(m.WParam);
            return;
        }
        previous(m);
    });
    ::SendMessageW(h, WM_SKINNCPAINT, 0, 0);
    pin = ButtonWithAction(s, 20);
    ASSERT_NE(pin, nullptr);
    ClickAt(h, ScreenCentre(h, pin->Rect));
    EXPECT_TRUE(PumpUntil([&] { return clicks == 20; }));
    answer.Remove();
}

TEST_F(Skinned, ADisabledMaximiseButtonDoesNothing) {
    TForm form(nullptr);
    form.SetBorderIcons(biSystemMenu | biMinimize);
    form.SetBounds(100, 100, 320, 220);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    TWinSysButton* max = ButtonWithAction(s, 1, 2);
    ASSERT_NE(max, nullptr);
    EXPECT_FALSE(max->Enabled);
    ClickAt(h, ScreenCentre(h, max->Rect));
    Pump(20);
    EXPECT_FALSE(::IsZoomed(h));
}

TEST_F(Skinned, RegionCornersAndRebuildsOnlyOnResize) {
    TForm form(nullptr);
    form.SetBounds(120, 90, 300, 200);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    TRegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetWindowRgn(h, region.Get()), COMPLEXREGION);
    RECT wr{};
    ::GetWindowRect(h, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    // Rounded top corners (radius 7), slightly rounded bottom ones (3).
    EXPECT_FALSE(::PtInRegion(region.Get(), 0, 0));
    EXPECT_FALSE(::PtInRegion(region.Get(), W - 1, 0));
    EXPECT_FALSE(::PtInRegion(region.Get(), 0, H - 1));
    EXPECT_FALSE(::PtInRegion(region.Get(), W - 1, H - 1));
    EXPECT_TRUE(::PtInRegion(region.Get(), W / 2, 0));
    EXPECT_TRUE(::PtInRegion(region.Get(), 0, H / 2));
    EXPECT_TRUE(::PtInRegion(region.Get(), W - 1, H / 2));
    EXPECT_TRUE(::PtInRegion(region.Get(), W / 2, H - 1));
    EXPECT_TRUE(::PtInRegion(region.Get(), 7, 7));
    // Moving and repainting keep the region; a new size rebuilds it.
    const int builds = s->RegionBuilds();
    form.SetBounds(140, 100, form.GetWidth(), form.GetHeight());
    ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(5);
    EXPECT_EQ(s->RegionBuilds(), builds);
    form.SetBounds(140, 100, form.GetWidth() + 20, form.GetHeight());
    Pump(5);
    EXPECT_EQ(s->RegionBuilds(), builds + 1);
    TRegionHandle wider(::CreateRectRgn(0, 0, 0, 0));
    ::GetWindowRgn(h, wider.Get());
    EXPECT_TRUE(::PtInRegion(wider.Get(), W + 19, H / 2));
    EXPECT_FALSE(::PtInRegion(wider.Get(), W + 19, 0));
}

TEST_F(Skinned, HitTestsOfTheTitle) {
    TForm form(nullptr);
    form.SetBounds(150, 120, 300, 200);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    RECT wr{};
    ::GetWindowRect(h, &wr);
    auto hit = [&](int x, int y) { return ::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y)); };
    EXPECT_EQ(hit(150, 15), HTCAPTION);
    EXPECT_EQ(hit(150, 28), HTCAPTION);  // below the system's own caption height too
    EXPECT_EQ(hit(150, 60), HTCLIENT);
}

TEST_F(Skinned, DetachingPutsEverythingBack) {
    TForm form(nullptr);
    form.SetBounds(160, 110, 300, 200);
    form.HandleNeeded();
    HWND h = form.GetHandle();
    // A procedure installed before the skin.
    int earlierSaw = 0;
    TWindowSubclass earlier([&](TWindowSubclass& self, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_APP + 3) ++earlierSaw;
        return self.CallPrevious(msg, wp, lp);
    });
    earlier.Attach(h);
    const LONG_PTR procBefore = ::GetWindowLongPtrW(h, GWLP_WNDPROC);
    const TColor colorBefore = form.GetColor();
    RECT before{};
    ::GetWindowRect(h, &before);
    const LONG styleBefore = ::GetWindowLongW(h, GWL_STYLE);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(::SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(form.GetColor(), data_->Model().ButtonFaceColour);
    EXPECT_EQ(::GetWindowLongW(h, GWL_STYLE) & WS_SYSMENU, 0);  // the style trick
    RECT client{};
    ::GetClientRect(h, &client);
    // Switch skinning off.
    manager().SetRequestingSkinData(data_);
    manager().RequestAction(SkinActionDeactivate, 10);
    manager().RunPendingAction();
    EXPECT_EQ(SkinnerOf(h), nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(h, GWLP_WNDPROC), procBefore);
    EXPECT_NE(::SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(::GetWindowLongW(h, GWL_STYLE) & WS_SYSMENU, styleBefore & WS_SYSMENU);
    EXPECT_EQ(form.GetColor(), colorBefore);
    RECT after{}, clientAfter{};
    ::GetWindowRect(h, &after);
    ::GetClientRect(h, &clientAfter);
    EXPECT_EQ(clientAfter.right, client.right);
    EXPECT_EQ(clientAfter.bottom, client.bottom);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    TRegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(h, region.Get()), ERROR);  // no region any more
    ::SendMessageW(h, WM_APP + 3, 0, 0);
    EXPECT_EQ(earlierSaw, 1);
    // On again: the visible forms are skinned in one pass.
    manager().SetRequestingSkinData(data_);
    manager().RequestAction(SkinActionActivate, 10);
    manager().RunPendingAction();
    PumpUntil([&] { return SkinnerOf(h) && SkinnerOf(h)->Lifecycle() == 1; });
    EXPECT_NE(SkinnerOf(h), nullptr);
    ::SendMessageW(h, WM_APP + 3, 0, 0);
    EXPECT_EQ(earlierSaw, 2);
    earlier.Detach();
}

TEST_F(Skinned, AFormFreedWhileSkinnedLeavesNoFormObject) {
    auto* form = new TForm(nullptr);
    form->SetBounds(100, 100, 200, 150);
    TFormSkinner* s = ShowSkinned(*form);
    ASSERT_NE(s, nullptr);
    HWND h = form->GetHandle();
    const size_t count = manager().Forms().size();
    delete form;
    EXPECT_EQ(manager().Forms().size(), count - 1);
    EXPECT_EQ(SkinnerOf(h), nullptr);
}

// --- pixels -----------------------------------------------------------------------------

COLORREF CellPixel(const TBitmap& bitmap, int x, int y) {
    TBitmap copy;
    copy.Assign(bitmap);
    copy.SetPixelFormat(pf24bit);
    const auto* row = static_cast<const std::uint8_t*>(copy.ScanLine(y));
    return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

COLORREF ScreenPixel(HWND h, int x, int y) {
    TWindowDC dc = TWindowDC::Whole(h);
    return ::GetPixel(dc.Get(), x, y) & 0xFFFFFF;
}

TEST_F(Skinned, FramePixelsComeFromTheSkinsCellsActiveAndInactive) {
    TForm form(nullptr);
    form.SetBounds(200, 150, 300, 200);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    RECT wr{};
    ::GetWindowRect(h, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const TSkinModel& m = data_->Model();
    const int leftCell = m.LeftBorder.Bitmap.GetWidth() / m.LeftBorder.FrameCount;
    ASSERT_TRUE(s->Active());
    // Left border, in its stretched middle: column 1 of the first (active) cell.
    const int my = m.LeftBorder.TopHeight + (m.LeftBorder.Bitmap.GetHeight() - m.LeftBorder.TopHeight - m.LeftBorder.BottomHeight) / 2;
    EXPECT_EQ(ScreenPixel(h, 1, H / 2), CellPixel(m.LeftBorder.Bitmap, 1, my));
    // Bottom border middle: row 1 of the first stacked cell.
    const int bottomCell = m.BottomBorder.Bitmap.GetHeight() / m.BottomBorder.FrameCount;
    EXPECT_EQ(ScreenPixel(h, W / 2, H - bottomCell + 1),
              CellPixel(m.BottomBorder.Bitmap, m.BottomBorder.Bitmap.GetWidth() / 2, 1));
    // Inactive: the second cells.
    ::SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(s->Active());
    EXPECT_EQ(ScreenPixel(h, 1, H / 2), CellPixel(m.LeftBorder.Bitmap, leftCell + 1, my));
    EXPECT_EQ(ScreenPixel(h, W / 2, H - bottomCell + 1),
              CellPixel(m.BottomBorder.Bitmap, m.BottomBorder.Bitmap.GetWidth() / 2, bottomCell + 1));
    EXPECT_NE(CellPixel(m.LeftBorder.Bitmap, 1, my), CellPixel(m.LeftBorder.Bitmap, leftCell + 1, my));
    ::SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(ScreenPixel(h, 1, H / 2), CellPixel(m.LeftBorder.Bitmap, 1, my));
}

TEST_F(Skinned, TitleButtonStatesPaintTheirFrames) {
    TForm form(nullptr);
    form.SetBounds(220, 160, 320, 200);
    TFormSkinner* s = ShowSkinned(form);
    ASSERT_NE(s, nullptr);
    HWND h = form.GetHandle();
    TWinSysButton* close = ButtonWithAction(s, 0);
    ASSERT_NE(close, nullptr);
    const int fw = close->Def.FrameWidth();
    auto cell = [&](int frame, int px, int py) { return CellPixel(close->Image, (frame - 1) * fw + px, py); };
    // A point where the pressed and hover frames are opaque and differ.
    int cx = -1, cy = -1;
    const COLORREF key = RGB(255, 0, 255);
    for (int py = 0; py < close->Image.GetHeight() && cx < 0; ++py)
        for (int px = 0; px < fw && cx < 0; ++px)
            if (cell(2, px, py) != key && cell(3, px, py) != key && cell(2, px, py) != cell(3, px, py)) cx = px, cy = py;
    ASSERT_GE(cx, 0) << "the close button's pressed and hover frames do not differ anywhere";
    const int x = close->Rect.Left + cx, y = close->Rect.Top + cy;
    // Where a frame is transparent the title shows through.
    ASSERT_NE(s->TitleBackground(), nullptr);
    const COLORREF title = ::GetPixel(s->TitleBackground()->GetCanvas()->GetHandle(), x, y) & 0xFFFFFF;
    auto expected = [&](int frame) { return cell(frame, cx, cy) == key ? title : cell(frame, cx, cy); };
    EXPECT_EQ(ScreenPixel(h, x, y), expected(1));
    close->Hover();
    EXPECT_EQ(ScreenPixel(h, x, y), expected(3));
    close->Press();
    EXPECT_EQ(ScreenPixel(h, x, y), expected(2));
    close->Leave();
    EXPECT_EQ(ScreenPixel(h, x, y), expected(1));
    EXPECT_NE(expected(1), expected(3));  // the normal look differs from the hover look there
    // Inactive windows paint frame 4.
    ::SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
    const COLORREF inactiveTitle = ::GetPixel(s->TitleBackground()->GetCanvas()->GetHandle(), x, y) & 0xFFFFFF;
    EXPECT_EQ(ScreenPixel(h, x, y), cell(4, cx, cy) == key ? inactiveTitle : cell(4, cx, cy));
    ::SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
}

TEST(PaintParentInto, PaintsTheParentBehindTheControlOnly) {
    TForm form(nullptr);
    form.SetTag(99);  // not skinned: the test is about the parent's painting
    form.SetBounds(30, 30, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetCaption(L"");
    panel->SetBounds(0, 0, 200, 100);
    panel->SetColor(RGB(200, 30, 10));
    auto* lower = new TPanel(&form);  // another child of the parent, beside the control
    lower->SetParent(panel);
    lower->SetCaption(L"");
    lower->SetBounds(70, 10, 40, 30);
    lower->SetColor(RGB(0, 0, 255));
    auto* control = new TPanel(&form);
    control->SetParent(panel);
    control->SetBounds(20, 10, 50, 30);
    form.Show();
    Pump(5);
    TBitmap picture(60, 30, pf24bit);
    HDC dc = picture.GetCanvas()->GetHandle();
    RECT all{0, 0, 60, 30};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    PaintParentInto(*control, dc);
    EXPECT_EQ(::GetPixel(dc, 25, 15) & 0xFFFFFF, RGB(200, 30, 10));
    // Clipped to the control's 50 x 30: the bitmap's columns beyond stay black.
    EXPECT_EQ(::GetPixel(dc, 55, 15) & 0xFFFFFF, RGB(0, 0, 0));
    // The DC comes back as it was.
    POINT origin{1, 1};
    ::GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    // Without a parent nothing is painted.
    TPanel orphan(nullptr);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    PaintParentInto(orphan, dc);
    EXPECT_EQ(::GetPixel(dc, 25, 15) & 0xFFFFFF, RGB(0, 0, 0));
}

}  // namespace
}  // namespace vx
