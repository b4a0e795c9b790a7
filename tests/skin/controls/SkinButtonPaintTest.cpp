// The button family and the check and radio skins painted on framework controls of a
// test form with the program's skin, checked by pixels against the skin's own cells:
// each state (normal, hot, pressed, focused, default, disabled; checked, unchecked,
// mixed) shows its frame; the caption takes the state's colour; a press is one click.

#include "SkinTestSupport.h"

#include <set>

#include "framework/Buttons.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckBox.h"

namespace vx {
namespace {

using namespace vx::testing;

constexpr int kButtonFrames = 5;

class SkinButtonPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(ProgramSkin(), nullptr);
        ParkCursor();
        skin = ProgramSkin();
        data.Model = skin;
        // No focus rectangle unless a test asks for it: it would cover the centre.
        data.Options |= skinrules::Bit(skinrules::xoNoFocusRect);
        face = ResolveColour(skin->ButtonFaceColour);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(60, 60, 360, 220);
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(200, 100, 100, 22);
        // The cell height, so rows map one to one.
        cellWidth = skin->Buttons.Bitmap.GetWidth() / kButtonFrames;
        cellHeight = skin->Buttons.Bitmap.GetHeight();
        button = AddButton(20, 20, L"");
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        edit->SetFocus();
        Pump();
    }
    void TearDown() override {
        ParkCursor();
        form.reset();
        Pump();
    }

    TButton* AddButton(int x, int y, const std::wstring& caption) {
        auto* b = new TButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(x, y, 80, cellHeight);
        b->SetCaption(caption);
        b->OnClick = [this](TObject*) { ++clicks; };
        auto* s = new TSkinButton(b);
        s->InitControl(&host, &data, false, nullptr);
        return b;
    }
    TSkinButton* SkinOf(TControl* c) {
        for (TSkinControl* s : host.list)
            if (s->Control() == c) return dynamic_cast<TSkinButton*>(s);
        return nullptr;
    }

    // What frame k of the Buttons strip looks like on a w x cellHeight button at the
    // pixels these tests read: the unscaled corners (keyed over the face colour) and
    // the middle column (rows map one to one, the middle is uniform across).
    std::vector<COLORREF> Expected(int k) {
        std::vector<COLORREF> v;
        TBitmap& strip = skin->Buttons.Bitmap;
        const int m = skin->Buttons.LeftWidth;
        for (int y = 0; y < m; ++y)
            for (int x = 0; x < m; ++x) {
                v.push_back(Keyed(CellPixel(strip, kButtonFrames, k, x, y), face));
                v.push_back(Keyed(CellPixel(strip, kButtonFrames, k, cellWidth - m + x, cellHeight - m + y), face));
            }
        for (int y = 0; y < cellHeight; ++y) v.push_back(Keyed(CellPixel(strip, kButtonFrames, k, cellWidth / 2, y), face));
        return v;
    }
    std::vector<COLORREF> Shown(const TWindowPicture& p) {
        std::vector<COLORREF> v;
        const int m = skin->Buttons.LeftWidth;
        for (int y = 0; y < m; ++y)
            for (int x = 0; x < m; ++x) {
                v.push_back(p.At(x, y));
                v.push_back(p.At(p.Width() - m + x, p.Height() - m + y));
            }
        for (int y = 0; y < p.Height(); ++y) v.push_back(p.At(p.Width() / 2, y));
        return v;
    }
    void ExpectFrame(TButton* b, int k) {
        TWindowPicture p(b->GetHandle());
        ASSERT_EQ(p.Height(), cellHeight);
        EXPECT_EQ(Shown(p), Expected(k)) << "expected frame " << k;
    }
    void Hover(TButton* b) {
        POINT centre = b->ClientToScreen(POINT{40, cellHeight / 2});
        ::SetCursorPos(centre.x, centre.y);
        ::SendMessageW(b->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(40, cellHeight / 2));
    }

    TSkinModel* skin = nullptr;
    TControlSkinData data;
    TTestHost host;
    COLORREF face = 0;
    int cellWidth = 0, cellHeight = 0;
    std::unique_ptr<TForm> form;
    TEdit* edit = nullptr;
    TButton* button = nullptr;
    int clicks = 0;
};

TEST_F(SkinButtonPaintTest, FramesOfTheSkinAreTellable) {
    // Each state's frame differs from every other at the pixels read, so a wrong frame
    // cannot pass for the right one.
    std::set<std::vector<COLORREF>> frames;
    for (int k = 1; k <= kButtonFrames; ++k) frames.insert(Expected(k));
    EXPECT_EQ(frames.size(), static_cast<size_t>(kButtonFrames));
}

TEST_F(SkinButtonPaintTest, NormalHotPressedAndClick) {
    ExpectFrame(button, sbNormal);
    Hover(button);
    EXPECT_EQ(SkinOf(button)->MouseState(), msHot);
    ExpectFrame(button, sbHot);

    const LPARAM at = MAKELPARAM(40, cellHeight / 2);
    ::SendMessageW(button->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(::GetFocus(), button->GetHandle());
    ExpectFrame(button, sbPressed);  // pressed wins over hot and focused
    EXPECT_EQ(clicks, 0);
    ::SendMessageW(button->GetHandle(), WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(clicks, 1);  // the skin's click only: the system button never saw the press
    ExpectFrame(button, sbHot);

    // Leaving clears hot and pressed; the focus stays.
    ::SendMessageW(button->GetHandle(), WM_MOUSELEAVE, 0, 0);
    ExpectFrame(button, sbFocused);
    // Released away from the button (no pressed bit): no click.
    ::SendMessageW(button->GetHandle(), WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonPaintTest, SpaceKeyPressesAndTheSystemClicks) {
    button->SetFocus();
    ::SendMessageW(button->GetHandle(), WM_KEYDOWN, VK_SPACE, 0);
    ExpectFrame(button, sbPressed);
    ::SendMessageW(button->GetHandle(), WM_KEYUP, VK_SPACE, 0);
    Pump();
    ExpectFrame(button, sbFocused);
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonPaintTest, FocusedDefaultAndDisabled) {
    button->SetFocus();
    ExpectFrame(button, sbFocused);
    edit->SetFocus();
    ExpectFrame(button, sbNormal);
    button->SetDefault(true);
    ExpectFrame(button, sbFocused);  // the default button shows the same frame
    button->SetEnabled(false);
    ExpectFrame(button, sbDisabled);
    // A disabled button does not turn hot.
    Hover(button);
    ExpectFrame(button, sbDisabled);
}

TEST_F(SkinButtonPaintTest, FocusRectangleUnlessTheOptionSaysNo) {
    button->SetFocus();
    data.Options &= ~skinrules::Bit(skinrules::xoNoFocusRect);
    TWindowPicture with(button->GetHandle());
    data.Options |= skinrules::Bit(skinrules::xoNoFocusRect);
    TWindowPicture without(button->GetHandle());
    int differ = 0;
    for (int y = 0; y < with.Height(); ++y)
        for (int x = 0; x < with.Width(); ++x) differ += with.At(x, y) != without.At(x, y);
    EXPECT_GT(differ, 0);
    // Only around the (empty) caption in the middle: the frame is untouched.
    EXPECT_EQ(with.At(0, 0), without.At(0, 0));
    EXPECT_EQ(with.At(with.Width() - 1, with.Height() - 1), without.At(without.Width() - 1, without.Height() - 1));
}

TEST_F(SkinButtonPaintTest, CaptionTakesTheColourOfTheState) {
    TButton* b = AddButton(20, 60, L"HHHH");
    b->GetFont()->SetHeight(-16);
    b->GetFont()->SetName(L"Arial");
    Pump();
    const RECT middle{8, 2, 72, cellHeight - 2};
    const COLORREF normal = ResolveColour(skin->Buttons.NormalColour2);
    const COLORREF hot = ResolveColour(skin->Buttons.MouseOverColour2);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    ASSERT_TRUE(skin->Buttons.HasNormalColour2);
    ASSERT_TRUE(skin->Buttons.HasMouseOverColour2);
    ASSERT_NE(normal, hot);
    {
        TWindowPicture p(b->GetHandle());
        EXPECT_GT(p.Count(normal, middle), 10);
        EXPECT_EQ(p.Count(hot, middle), 0);
    }
    Hover(b);
    {
        TWindowPicture p(b->GetHandle());
        EXPECT_GT(p.Count(hot, middle), 10);
        EXPECT_EQ(p.Count(normal, middle), 0);
    }
    ::SendMessageW(b->GetHandle(), WM_MOUSELEAVE, 0, 0);
    b->SetDefault(true);
    b->SetEnabled(false);
    {
        // A disabled default button: frame 3 and the button-shadow text colour.
        TWindowPicture p(b->GetHandle());
        EXPECT_GT(p.Count(shadow, middle), 10);
        EXPECT_EQ(p.Count(normal, middle), 0);
        EXPECT_EQ(p.At(0, p.Height() / 2), Keyed(CellPixel(skin->Buttons.Bitmap, kButtonFrames, sbDisabled, 0,
                                                           cellHeight / 2), face));
    }
}

TEST_F(SkinButtonPaintTest, TwoLineCaptionFromTheFirstDoubleBar) {
    TButton* one = AddButton(20, 60, L"HH");
    TButton* two = AddButton(120, 60, L"HH||HH");
    one->SetHeight(60);
    two->SetHeight(60);
    const COLORREF normal = ResolveColour(skin->Buttons.NormalColour2);
    TWindowPicture p1(one->GetHandle());
    TWindowPicture p2(two->GetHandle());
    // Rows that hold text: one band for a line, two bands for two lines.
    auto bands = [&](const TWindowPicture& p) {
        int count = 0;
        bool inText = false;
        for (int y = 0; y < p.Height(); ++y) {
            const bool text = p.Count(normal, RECT{5, y, p.Width() - 5, y + 1}) > 0;
            if (text && !inText) ++count;
            inText = text;
        }
        return count;
    };
    EXPECT_EQ(bands(p1), 1);
    EXPECT_EQ(bands(p2), 2);
    EXPECT_EQ(SkinOf(two)->Caption(), L"HH\r\nHH");
}

TEST_F(SkinButtonPaintTest, OneLineCaptionStaysOnOneLineWhenItBarelyFits) {
    // The system's button keeps a caption without a line break on one line. A caption
    // a little wider than the space inside the skin's margins must not break there (the
    // main window's "添加文件(A)..." showed only its first part when it did); a button
    // with the multi-line style still breaks it.
    const std::wstring caption = L"HH HH";
    TButton* probe = AddButton(20, 60, caption);
    probe->GetFont()->SetHeight(-16);
    probe->GetFont()->SetName(L"Arial");
    SIZE extent{};
    {
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), probe->GetFont()->GetHandle());
        ASSERT_TRUE(::GetTextExtentPoint32W(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent));
    }
    probe->SetBounds(20, 60, extent.cx + 3, 60);  // one pixel short of the caption's room
    TButton* multi = AddButton(200, 60, caption);
    multi->GetFont()->Assign(*probe->GetFont());
    multi->SetBounds(200, 60, extent.cx + 3, 60);
    ::SetWindowLongPtrW(multi->GetHandle(), GWL_STYLE, ::GetWindowLongPtrW(multi->GetHandle(), GWL_STYLE) | BS_MULTILINE);
    Pump();
    const COLORREF normal = ResolveColour(skin->Buttons.NormalColour2);
    auto bands = [&](const TWindowPicture& p) {
        int count = 0;
        bool inText = false;
        for (int y = 0; y < p.Height(); ++y) {
            const bool text = p.Count(normal, RECT{0, y, p.Width(), y + 1}) > 0;
            if (text && !inText) ++count;
            inText = text;
        }
        return count;
    };
    TWindowPicture one(probe->GetHandle());
    TWindowPicture broken(multi->GetHandle());
    EXPECT_EQ(bands(one), 1);
    EXPECT_EQ(bands(broken), 2);
}

// Bitmap buttons: the glyph frame of each state at the place its layout gives.
class SkinBitButtonPaintTest : public SkinButtonPaintTest {
protected:
    static constexpr COLORREF kKey = RGB(0, 128, 128);
    static constexpr COLORREF kUp = RGB(255, 255, 0);
    static constexpr COLORREF kDisabledFrame = RGB(255, 255, 255);

    // A strip of `frames` 16 x 16 frames: up (yellow, a key-coloured hole at (8, 8)),
    // disabled (white); every frame's bottom-left pixel is the key colour.
    static void MakeGlyph(TBitmap& g, int frames) {
        g.SetSize(16 * frames, 16);
        HDC dc = g.GetCanvas()->GetHandle();
        for (int f = 0; f < frames; ++f) {
            TBrushHandle brush(::CreateSolidBrush(f == 0 ? kUp : kDisabledFrame));
            RECT r{16 * f, 0, 16 * f + 16, 16};
            ::FillRect(dc, &r, brush.Get());
            ::SetPixel(dc, 16 * f, 15, kKey);
        }
        ::SetPixel(dc, 8, 8, kKey);
    }
    TBitBtn* AddBitBtn(int y, const std::wstring& caption, int frames) {
        auto* b = new TBitBtn(form.get());
        b->SetParent(form.get());
        b->SetBounds(20, y, 80, cellHeight);
        b->SetCaption(caption);
        TBitmap glyph;
        MakeGlyph(glyph, frames);
        b->SetGlyph(&glyph);
        b->SetNumGlyphs(frames);
        auto* s = new TSkinBitButton(b);
        s->InitControl(&host, &data, false, nullptr);
        return b;
    }
};

TEST_F(SkinBitButtonPaintTest, GlyphFrameOfEachStateCentredWithoutCaption) {
    TBitBtn* b = AddBitBtn(60, L"", 2);
    // No caption: no spacing, margin (80 - 16) / 2 = 32; across (22 - 16 + 1) / 2 = 3.
    {
        TWindowPicture p(b->GetHandle());
        EXPECT_EQ(p.At(32, 3), kUp);
        EXPECT_EQ(p.At(47, 17), kUp);
        EXPECT_NE(p.At(31, 10), kUp);
        EXPECT_NE(p.At(48, 10), kUp);
        // Key-coloured pixels show the button face below.
        EXPECT_NE(p.At(40, 11), kKey);
        EXPECT_EQ(p.At(40, 11), Keyed(CellPixel(skin->Buttons.Bitmap, kButtonFrames, sbNormal, cellWidth / 2, 11), face));
        EXPECT_NE(p.At(32, 18), kKey);
        // The face is the normal frame.
        EXPECT_EQ(p.At(0, 0), Keyed(CellPixel(skin->Buttons.Bitmap, kButtonFrames, sbNormal, 0, 0), face));
    }
    ::SendMessageW(b->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    {
        // Pressed asks for glyph frame 3; a strip of 2 gives its first frame.
        TWindowPicture p(b->GetHandle());
        EXPECT_EQ(p.At(32, 3), kUp);
        EXPECT_EQ(p.At(1, cellHeight / 2),
                  Keyed(CellPixel(skin->Buttons.Bitmap, kButtonFrames, sbPressed, 1, cellHeight / 2), face));
    }
    ::SendMessageW(b->GetHandle(), WM_MOUSELEAVE, 0, 0);
    b->SetEnabled(false);
    {
        // Disabled: frame 2, turned grey (white stays white).
        TWindowPicture p(b->GetHandle());
        EXPECT_EQ(p.At(32, 3), kDisabledFrame);
        EXPECT_EQ(p.At(40, 11), kDisabledFrame);  // frame 2 has no hole
    }
}

TEST_F(SkinBitButtonPaintTest, SingleGlyphTurnsGreyWhenDisabled) {
    TBitBtn* b = AddBitBtn(60, L"", 1);
    b->SetEnabled(false);
    TWindowPicture p(b->GetHandle());
    EXPECT_EQ(p.At(32, 3), RGB(170, 170, 170));  // (255 + 255 + 0) / 3
    EXPECT_NE(p.At(40, 11), RGB(170, 170, 170));  // the hole stays transparent
}

TEST_F(SkinBitButtonPaintTest, LayoutMarginAndSpacing) {
    TBitBtn* right = AddBitBtn(60, L"", 2);
    right->SetLayout(blGlyphRight);
    right->SetMargin(5);
    {
        TWindowPicture p(right->GetHandle());
        EXPECT_EQ(p.At(59, 3), kUp);  // 80 - 5 - 16
        EXPECT_EQ(p.At(74, 3), kUp);
        EXPECT_NE(p.At(58, 3), kUp);
        EXPECT_NE(p.At(75, 3), kUp);
    }
    TBitBtn* left = AddBitBtn(100, L"HH", 2);
    left->GetFont()->SetName(L"Arial");
    left->GetFont()->SetHeight(-14);
    left->SetMargin(4);
    left->SetSpacing(6);
    {
        // Glyph at 4, caption from 4 + 16 + 6 = 26 on.
        TWindowPicture p(left->GetHandle());
        const COLORREF text = ResolveColour(skin->Buttons.NormalColour2);
        EXPECT_EQ(p.At(4, 3), kUp);
        EXPECT_NE(p.At(3, 3), kUp);
        EXPECT_EQ(p.Count(text, RECT{0, 0, 26, cellHeight}), 0);
        EXPECT_GT(p.Count(text, RECT{26, 0, 80, cellHeight}), 5);
        EXPECT_GT(p.Count(text, RECT{26, 0, 30, cellHeight}), 0);  // it starts right there
    }
}

TEST_F(SkinButtonPaintTest, DropDownButtonArrowAndCaption) {
    auto* b = new TButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(20, 60, 90, cellHeight);
    b->SetCaption(L"HH");
    b->GetFont()->SetName(L"Arial");
    b->GetFont()->SetHeight(-14);
    (new TSkinMenuButton(b))->InitControl(&host, &data, false, nullptr);
    const COLORREF text = ResolveColour(skin->Buttons.NormalColour2);
    {
        TWindowPicture p(b->GetHandle());
        // The triangle (78, 13), (75, 10), (81, 10) in the window-text colour.
        EXPECT_EQ(p.At(78, 11), ::GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(p.At(76, 10), ::GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_NE(p.At(78, 15), ::GetSysColor(COLOR_WINDOWTEXT));
        // The caption stays left of the arrow area, centred there 2 pixels to the right.
        int left = 999, right = -1;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
                if (p.At(x, y) == text) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, 0);
        EXPECT_LT(right, 90 - 17);
        EXPECT_NEAR((left + right + 1) / 2.0, (2 + 71) / 2.0 + 2, 2.0);
    }
    b->SetEnabled(false);
    TWindowPicture p(b->GetHandle());
    EXPECT_EQ(p.At(78, 11), ::GetSysColor(COLOR_BTNSHADOW));
}

// Speed buttons have no window: they are read from the form's own painting.
class SkinSpeedButtonPaintTest : public SkinBitButtonPaintTest {
protected:
    static constexpr COLORREF kDownFrame = RGB(0, 255, 255);
    static constexpr COLORREF kHeldFrame = RGB(0, 0, 255);
    static constexpr POINT kAt{20, 60};

    TSpeedButton* AddSpeedButton() {
        auto* b = new TSpeedButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(kAt.x, kAt.y, 80, cellHeight);
        TBitmap glyph;
        MakeGlyph(glyph, 4);
        HDC dc = glyph.GetCanvas()->GetHandle();
        const COLORREF colours[2] = {kDownFrame, kHeldFrame};
        for (int f = 2; f < 4; ++f) {
            TBrushHandle brush(::CreateSolidBrush(colours[f - 2]));
            RECT r{16 * f, 0, 16 * f + 16, 15};
            ::FillRect(dc, &r, brush.Get());
        }
        b->SetGlyph(&glyph);
        b->SetNumGlyphs(4);
        (new TSkinSpeedButton(b))->InitControl(&host, &data, false, nullptr);
        return b;
    }
    // The face frame and the glyph colour the form shows for the speed button.
    void ExpectLook(int frame, COLORREF glyph) {
        TWindowPicture p(form->GetHandle());
        const int m = skin->Buttons.LeftWidth;
        int wrong = 0;
        for (int y = 0; y < m; ++y)
            for (int x = 0; x < m; ++x)
                wrong += p.At(kAt.x + x, kAt.y + y) !=
                         Keyed(CellPixel(skin->Buttons.Bitmap, kButtonFrames, frame, x, y), p.At(kAt.x - 1, kAt.y));
        EXPECT_EQ(wrong, 0) << "expected frame " << frame;
        EXPECT_EQ(p.At(kAt.x + 1, kAt.y + cellHeight / 2),
                  CellPixel(skin->Buttons.Bitmap, kButtonFrames, frame, 1, cellHeight / 2));
        EXPECT_EQ(p.At(kAt.x + 32, kAt.y + 3), glyph);
    }
};

TEST_F(SkinSpeedButtonPaintTest, StatesIntoTheDeviceContextOfTheParent) {
    TSpeedButton* b = AddSpeedButton();
    ExpectLook(sbNormal, kUp);
    b->Perform(CM_MOUSEENTER);
    ExpectLook(sbHot, kUp);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ExpectLook(sbPressed, kDownFrame);
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ExpectLook(sbHot, kUp);
    b->Perform(CM_MOUSELEAVE);
    ExpectLook(sbNormal, kUp);
    b->SetGroupIndex(1);
    b->SetDown(true);
    ExpectLook(sbPressed, kHeldFrame);  // held down: the fourth glyph frame
    b->SetAllowAllUp(true);  // a group keeps one button down otherwise
    b->SetDown(false);
    b->SetEnabled(false);
    ExpectLook(sbDisabled, kDisabledFrame);
}

TEST_F(SkinSpeedButtonPaintTest, FlatShowsTheFaceOnlyHotOrPressed) {
    TSpeedButton* b = AddSpeedButton();
    b->SetFlat(true);
    {
        TWindowPicture p(form->GetHandle());
        // No Buttons frame: the form's own background at the button's corner and edge.
        EXPECT_EQ(p.At(kAt.x + 1, kAt.y + cellHeight / 2), p.At(kAt.x - 1, kAt.y + cellHeight / 2));
        EXPECT_EQ(p.At(kAt.x + 32, kAt.y + 3), kUp);
    }
    b->Perform(CM_MOUSEENTER);
    ExpectLook(sbHot, kUp);
}

// Check boxes and radio buttons: the strip frame of each state in the glyph cell.
class SkinCheckPaintTest : public SkinButtonPaintTest {
protected:
    template <class C, class S>
    C* Add(int y, const std::wstring& caption) {
        auto* c = new C(form.get());
        c->SetParent(form.get());
        c->SetBounds(20, y, 120, 17);
        c->SetCaption(caption);
        auto* s = new S(c);
        s->InitControl(&host, &data, false, nullptr);
        return c;
    }
    // The glyph cell, 13 x 13 at the left, vertically centred, against frame k.
    void ExpectGlyph(TWinControl* c, TBitmap& strip, int frames, int k) {
        TWindowPicture p(c->GetHandle());
        const int w = strip.GetWidth() / frames, h = strip.GetHeight();
        const int top = (p.Height() - h) / 2;
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += p.At(x, top + y) != Keyed(CellPixel(strip, frames, k, x, y), face);
        EXPECT_EQ(wrong, 0) << "expected frame " << k;
        // The rest of the face is the skin's face colour.
        EXPECT_EQ(p.At(p.Width() - 1, 0), face);
    }
};

TEST_F(SkinCheckPaintTest, CheckBoxStates) {
    TBitmap& strip = skin->Buttons.CheckBitmap;
    const int n = skin->Buttons.CheckButtonFrame;
    ASSERT_EQ(n, 12);
    auto* box = Add<TCheckBox, TSkinCheckBox>(60, L"关机");
    EXPECT_TRUE(dynamic_cast<TSkinCheckBox*>(host.list.back())->CustomPaint());
    ExpectGlyph(box, strip, n, 1);
    box->SetChecked(true);
    ExpectGlyph(box, strip, n, 5);
    box->SetEnabled(false);
    ExpectGlyph(box, strip, n, 8);
    box->SetChecked(false);
    ExpectGlyph(box, strip, n, 4);
    box->SetEnabled(true);
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    ExpectGlyph(box, strip, n, 9);
    box->SetEnabled(false);
    ExpectGlyph(box, strip, n, 12);
}

TEST_F(SkinCheckPaintTest, CheckBoxClickAndCaption) {
    auto* box = Add<TCheckBox, TSkinCheckBox>(60, L"HHHH");
    box->GetFont()->SetName(L"Arial");
    box->GetFont()->SetHeight(-14);
    box->GetFont()->SetColor(RGB(200, 0, 0));
    ::SendMessageW(box->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    ::SendMessageW(box->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
    Pump();
    EXPECT_TRUE(box->GetChecked());
    ExpectGlyph(box, skin->Buttons.CheckBitmap, 12, 5);
    TWindowPicture p(box->GetHandle());
    const RECT text{15, 0, 120, 17};
    EXPECT_GT(p.Count(RGB(200, 0, 0), text), 10);  // the control's font colour
    box->SetEnabled(false);
    TWindowPicture q(box->GetHandle());
    EXPECT_EQ(q.Count(RGB(200, 0, 0), text), 0);
    EXPECT_GT(q.Count(::GetSysColor(COLOR_BTNSHADOW), text), 10);
}

TEST_F(SkinCheckPaintTest, RadioButtonStates) {
    TBitmap& strip = skin->Buttons.RadioBitmap;
    const int n = skin->Buttons.RadioButtonFrame;
    ASSERT_EQ(n, 12);
    auto* a = Add<TRadioButton, TSkinRadioButton>(60, L"甲");
    auto* b = Add<TRadioButton, TSkinRadioButton>(80, L"乙");
    ExpectGlyph(a, strip, n, 1);
    a->SetChecked(true);
    ExpectGlyph(a, strip, n, 5);
    b->SetChecked(true);  // clears the other one
    ExpectGlyph(a, strip, n, 1);
    ExpectGlyph(b, strip, n, 5);
    b->SetEnabled(false);
    ExpectGlyph(b, strip, n, 8);
    a->SetEnabled(false);
    ExpectGlyph(a, strip, n, 4);
}

}  // namespace
}  // namespace vx
