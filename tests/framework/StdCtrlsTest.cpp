#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"
#include "tests/framework/MessageSpy.h"
#include "framework/Handles.h"

namespace {

using namespace vx;

class StdCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(400, 300);
        form->FinishBuilding();  // controls made from here on are not being built
    }
    std::unique_ptr<TForm> form;
};

TEST_F(StdCtrlsTest, ComboBoxChangeFiresOnlyForTheUser) {
    auto* combo = new TComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetStyle(csDropDownList);
    combo->GetItems()->Add(L"MP4 - 标清");
    combo->GetItems()->Add(L"AVI - 高清");
    combo->GetItems()->Add(L"3GP");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(combo->GetText(), L"MP4 - 标清");
    form->Show();
    combo->SetFocus();
    // The user presses the down arrow: the list moves to the next item.
    ::SendMessageW(combo->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    combo->SetItemIndex(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->GetItemIndex(), 2);
}

TEST_F(StdCtrlsTest, ComboBoxKeepsItemsAndSelectionAcrossItsWindow) {
    auto* combo = new TComboBox(form.get());
    combo->GetItems()->Add(L"a");
    combo->GetItems()->Add(L"b");
    combo->SetItemIndex(1);
    combo->SetParent(form.get());
    EXPECT_EQ(::SendMessageW(combo->GetHandle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    combo->GetItems()->Add(L"c");
    EXPECT_EQ(::SendMessageW(combo->GetHandle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    combo->SetStyle(csDropDown);  // makes the window again
    EXPECT_EQ(::SendMessageW(combo->GetHandle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->GetItemIndex(), -1);
}

TEST_F(StdCtrlsTest, CheckBoxTogglesOnClickAndTellsItsMessageMethod) {
    auto* check = new TCheckBox(form.get());
    check->SetParent(form.get());
    check->SetCaption(L"视频转换完成后自动关闭电脑。");
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    auto log = SpyOn(check);
    ::SendMessageW(check->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(check->GetChecked());
    EXPECT_EQ(::SendMessageW(check->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(log->Has(BM_SETCHECK));
    EXPECT_TRUE(log->Has(0xB0D0));
    check->SetChecked(false);
    EXPECT_EQ(::SendMessageW(check->GetHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    check->SetAllowGrayed(true);
    ::SendMessageW(check->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(check->GetState(), cbGrayed);
}

TEST_F(StdCtrlsTest, RadioButtonsOfOneParentExcludeEachOther) {
    auto* a = new TRadioButton(form.get());
    auto* b = new TRadioButton(form.get());
    a->SetParent(form.get());
    b->SetParent(form.get());
    a->SetChecked(true);
    ::SendMessageW(b->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(b->GetChecked());
    EXPECT_FALSE(a->GetChecked());
    EXPECT_EQ(::SendMessageW(a->GetHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(StdCtrlsTest, EditReportsChangesReadOnlyAndDoubleClicks) {
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->HandleNeeded();
    int changes = 0, doubles = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnDblClick = [&](TObject*) { ++doubles; };
    edit->SetText(L"C:\\输出\\");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->GetText(), L"C:\\输出\\");
    edit->SetReadOnly(true);
    EXPECT_TRUE(::GetWindowLongW(edit->GetHandle(), GWL_STYLE) & ES_READONLY);
    ::SendMessageW(edit->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(doubles, 1);
    // The text survives a new window.
    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(edit->GetText(), L"C:\\输出\\");
    EXPECT_TRUE(::GetWindowLongW(edit->GetHandle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(StdCtrlsTest, MemoLinesFollowTheText) {
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->GetLines()->Add(L"第一行");
    memo->GetLines()->Add(L"second");
    EXPECT_EQ(memo->GetLines()->GetCount(), 2);
    EXPECT_EQ(memo->GetLines()->Get(1), L"second");
    EXPECT_EQ(memo->GetText(), L"第一行\r\nsecond\r\n");
    memo->GetLines()->Delete(0);
    EXPECT_EQ(memo->GetLines()->Get(0), L"second");
}

TEST_F(StdCtrlsTest, AutoSizedLabelsTakeTheSizeOfTheirText) {
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetCaption(L"我要捐助！");
    int narrow = label->GetWidth();
    label->SetCaption(L"我要捐助！我要捐助！");
    EXPECT_GT(label->GetWidth(), narrow + 20);
    EXPECT_GE(label->GetHeight(), 12);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 10, 10);
    label->SetCaption(L"长长长长长长长长长长");
    EXPECT_EQ(label->GetWidth(), 10);
}

TEST_F(StdCtrlsTest, DefaultButtonStyleAndModalResultProperty) {
    auto* b = new TButton(form.get());
    b->SetParent(form.get());
    b->SetDefault(true);
    EXPECT_EQ(::GetWindowLongW(b->GetHandle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(SetOrdProp(b, L"ModalResult", mrOk));
    b->Click();
    EXPECT_EQ(form->GetModalResult(), mrOk);
}

TEST_F(StdCtrlsTest, SpeedButtonsInAGroupReleaseEachOther) {
    auto* a = new TSpeedButton(form.get());
    auto* b = new TSpeedButton(form.get());
    a->SetParent(form.get());
    b->SetParent(form.get());
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    b->SetLeft(30);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->GetDown());
    EXPECT_TRUE(b->GetDown());
    b->SetDown(false);  // without AllowAllUp one stays down
    EXPECT_TRUE(b->GetDown());
    // A click on the other one through the parent's mouse messages.
    form->Show();
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ::SendMessageW(form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(a->State(), bsDown);
    ::SendMessageW(form->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(a->GetDown());
    EXPECT_FALSE(b->GetDown());
}

TEST_F(StdCtrlsTest, PanelPaintsItsBevelAndALabelItsText) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 100, 40);
    panel->SetColor(clWhite);
    panel->SetBevelOuter(bvLowered);
    auto* label = new TLabel(form.get());
    label->SetParent(panel);
    label->SetLeft(10);
    label->SetTop(10);
    label->SetCaption(L"■■■");
    label->GetFont()->SetColor(clRed);
    label->SetTransparent(true);
    HWND h = panel->GetHandle();
    const TWindowDC screen(h);
    const TMemoryDC memory(screen.Get());
    const TBitmapHandle bmp(::CreateCompatibleBitmap(screen.Get(), 100, 40));
    const TSelectObject selection(memory.Get(), bmp.Get());
    HDC dc = memory.Get();
    ::SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(::GetPixel(dc, 0, 20), ColorToColorRef(clBtnShadow));       // lowered: dark left edge
    EXPECT_EQ(::GetPixel(dc, 99, 20), ColorToColorRef(clBtnHighlight));   // light right edge
    EXPECT_EQ(::GetPixel(dc, 50, 3), RGB(255, 255, 255));                 // face
    int red = 0;
    for (int y = label->GetTop(); y < label->GetTop() + label->GetHeight(); ++y)
        for (int x = label->GetLeft(); x < label->GetLeft() + label->GetWidth(); ++x)
            if (::GetPixel(dc, x, y) == RGB(255, 0, 0)) ++red;
    EXPECT_GT(red, 20);
}

// A disabled caption is embossed: shadow-coloured glyphs over a highlight copy one pixel
// down and right, none of the font colour; an enabled one is drawn in the font colour.
TEST_F(StdCtrlsTest, DisabledCaptionsAreEmbossedInTheButtonColours) {
    auto render = [](bool enabled, std::vector<COLORREF>& pixels) {
        const TWindowDC screen(nullptr);
        const TMemoryDC memory(screen.Get());
        const TBitmapHandle bmp(::CreateCompatibleBitmap(screen.Get(), 60, 24));
        const TSelectObject selectBitmap(memory.Get(), bmp.Get());
        HDC dc = memory.Get();
        // Without smoothing, so every glyph pixel has exactly one of the colours.
        const TFontHandle font(::CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                             NONANTIALIASED_QUALITY, 0, L"Tahoma"));
        const TSelectObject selectFont(dc, font.Get());
        RECT r{0, 0, 60, 24};
        {
            const TBrushHandle face(::CreateSolidBrush(RGB(0, 0, 255)));
            ::FillRect(dc, &r, face.Get());
        }
        DrawCaptionText(dc, L"■■", RECT{4, 4, 56, 20}, DT_SINGLELINE, enabled, clRed);
        pixels.clear();
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 60; ++x) pixels.push_back(::GetPixel(dc, x, y));
    };
    auto count = [](const std::vector<COLORREF>& pixels, COLORREF colour) {
        return std::count(pixels.begin(), pixels.end(), colour);
    };
    std::vector<COLORREF> pixels;
    render(true, pixels);
    EXPECT_GT(count(pixels, RGB(255, 0, 0)), 20);
    EXPECT_EQ(count(pixels, ColorToColorRef(clBtnShadow)), 0);

    render(false, pixels);
    EXPECT_EQ(count(pixels, RGB(255, 0, 0)), 0);
    const COLORREF shadow = ColorToColorRef(clBtnShadow), highlight = ColorToColorRef(clBtnHighlight);
    EXPECT_GT(count(pixels, shadow), 20);
    EXPECT_GT(count(pixels, highlight), 0);
    // The highlight copy sits one pixel down and right of the shadow glyphs, so the
    // bottom-right-most glyph pixel is a highlight one.
    int lastShadow = -1, lastHighlight = -1;
    for (int i = 0; i < static_cast<int>(pixels.size()); ++i) {
        if (pixels[i] == shadow) lastShadow = i;
        if (pixels[i] == highlight) lastHighlight = i;
    }
    EXPECT_GT(lastHighlight, lastShadow);
}

TEST_F(StdCtrlsTest, ImageListMasksTheMaskColour) {
    TImageList images(nullptr);
    TBitmap bitmap(32, 16);
    bitmap.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    bitmap.GetCanvas()->FillRect(RECT{0, 0, 32, 16});
    bitmap.GetCanvas()->GetBrush()->SetColor(clBlue);
    bitmap.GetCanvas()->FillRect(RECT{4, 4, 8, 8});
    EXPECT_EQ(images.AddMasked(&bitmap, clFuchsia), 0);
    EXPECT_EQ(images.Count(), 2);  // 32 pixels wide: two 16 x 16 images
    TBitmap target(16, 16);
    target.GetCanvas()->GetBrush()->SetColor(clWhite);
    target.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
    images.Draw(target.GetCanvas(), 0, 0, 0);
    EXPECT_EQ(target.GetCanvas()->GetPixel(0, 0), clWhite);
    EXPECT_EQ(target.GetCanvas()->GetPixel(5, 5), clBlue);
}

}  // namespace
