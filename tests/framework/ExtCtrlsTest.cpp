#include <gtest/gtest.h>

#include <memory>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/framework/MessageSpy.h"

namespace {

using namespace vx;

class ExtCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(400, 300);
        form->FinishBuilding();
    }
    std::unique_ptr<TForm> form;
};

TEST_F(ExtCtrlsTest, PanelBevelsAndBorderNarrowTheAlignedArea) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* child = new TPanel(form.get());
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->GetLeft(), 7);  // border 3 + two bevels of 2
    EXPECT_EQ(child->GetTop(), 7);
    EXPECT_EQ(child->GetWidth(), 200 - 14);
    EXPECT_EQ(child->GetHeight(), 100 - 14);
    panel->SetBevelOuter(bvNone);
    EXPECT_EQ(child->GetLeft(), 5);
}

TEST_F(ExtCtrlsTest, RadioGroupItemsBecomeButtonsAndClicksSetTheIndex) {
    auto* group = new TRadioGroup(form.get());
    group->SetParent(form.get());
    group->GetItems()->Add(L"低");
    group->GetItems()->Add(L"中");
    group->GetItems()->Add(L"高");
    group->SetItemIndex(1);
    ASSERT_EQ(group->ButtonCount(), 3);
    EXPECT_TRUE(group->Buttons(1)->GetChecked());
    EXPECT_EQ(group->Buttons(2)->GetCaption(), L"高");
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    ::SendMessageW(group->Buttons(2)->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(group->GetItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(group->Buttons(1)->GetChecked());
    // Setting the index from code checks the button without a click.
    group->SetItemIndex(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(group->Buttons(0)->GetChecked());
    group->GetItems()->Delete(2);
    EXPECT_EQ(group->ButtonCount(), 2);
    group->OnClick = nullptr;
}

TEST_F(ExtCtrlsTest, ImagePlacementFollowsCenterStretchAndProportional) {
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(0, 0, 100, 50);
    TBitmap picture(20, 10);
    image->GetPicture()->SetGraphic(&picture);
    RECT r = image->DestRect();
    EXPECT_EQ(r.right - r.left, 20);
    EXPECT_EQ(r.left, 0);
    image->SetCenter(true);
    r = image->DestRect();
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 20);
    image->SetStretch(true);
    image->SetProportional(true);
    r = image->DestRect();
    EXPECT_EQ(r.right - r.left, 100);  // scaled by 5: 100 x 50
    EXPECT_EQ(r.bottom - r.top, 50);
    image->SetProportional(false);
    image->SetBounds(0, 0, 30, 60);
    r = image->DestRect();
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(r.bottom - r.top, 60);
}

TEST_F(ExtCtrlsTest, BitBtnKindsAndTheGlyphsTransparentColour) {
    auto* btn = new TBitBtn(form.get());
    btn->SetParent(form.get());
    btn->SetKind(bkCancel);
    EXPECT_EQ(btn->GetModalResult(), mrCancel);
    EXPECT_TRUE(btn->GetCancel());
    TBitmap glyph(32, 16);  // two frames: normal and disabled
    glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    glyph.GetCanvas()->FillRect(RECT{0, 0, 32, 16});
    glyph.GetCanvas()->GetBrush()->SetColor(clBlue);
    glyph.GetCanvas()->FillRect(RECT{4, 4, 12, 12});
    btn->SetGlyph(&glyph);
    EXPECT_EQ(btn->GetNumGlyphs(), 2);
    btn->SetCaption(L"");
    btn->SetBounds(0, 0, 40, 40);
    TBitmap target(40, 40);
    target.GetCanvas()->GetBrush()->SetColor(clWhite);
    target.GetCanvas()->FillRect(RECT{0, 0, 40, 40});
    HDC dc = target.GetCanvas()->GetHandle();
    DrawButtonGlyphAndText(dc, RECT{0, 0, 40, 40}, btn->GetGlyph(), 2, 0, L"", blGlyphLeft, -1, 4, true, clBlack,
                           false);
    EXPECT_EQ(target.GetCanvas()->GetPixel(20, 20), clBlue);   // the glyph, centred
    EXPECT_EQ(target.GetCanvas()->GetPixel(13, 13), clWhite);  // its magenta stays out
}

TEST_F(ExtCtrlsTest, ProgressTrackUpDownAndScrollBarKeepTheirRanges) {
    auto* progress = new TProgressBar(form.get());
    progress->SetParent(form.get());
    progress->SetPosition(150);
    EXPECT_EQ(progress->GetPosition(), 100);
    progress->SetPosition(42);
    EXPECT_EQ(::SendMessageW(progress->GetHandle(), PBM_GETPOS, 0, 0), 42);
    auto* track = new TTrackBar(form.get());
    track->SetParent(form.get());
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    track->SetPosition(7);
    EXPECT_EQ(::SendMessageW(track->GetHandle(), TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(changes, 1);
    track->OnChange = nullptr;
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* upDown = new TUpDown(form.get());
    upDown->SetParent(form.get());
    upDown->SetAssociate(edit);
    upDown->SetPosition(25);
    EXPECT_EQ(edit->GetText(), L"25");
    EXPECT_EQ(::SendMessageW(upDown->GetHandle(), UDM_GETPOS32, 0, 0), 25);
    auto* scroll = new TScrollBar(form.get());
    scroll->SetParent(form.get());
    scroll->SetLargeChange(10);
    scroll->SetPosition(95);
    ::SendMessageW(form->GetHandle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(scroll->GetHandle()));
    EXPECT_EQ(scroll->GetPosition(), 100);
    EXPECT_EQ(::GetScrollPos(scroll->GetHandle(), SB_CTL), 100);
}

TEST_F(ExtCtrlsTest, RecreatingAWindowTellsTheControlAndKeepsTheLink) {
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    HWND before = edit->GetHandle();
    auto log = SpyOn(edit);
    edit->SetBorderStyle(bsNone);
    HWND after = edit->GetHandle();
    EXPECT_NE(before, after);
    EXPECT_TRUE(log->Has(0xB033));
    EXPECT_EQ(FindControl(after), edit);
    EXPECT_EQ(FindControl(before), nullptr);
}

TEST_F(ExtCtrlsTest, AFreedPopupMenuIsForgottenByItsControls) {
    TForm other(nullptr);
    auto* menu = new TPopupMenu(&other);
    auto* list = new TListView(form.get());
    list->SetPopupMenu(menu);
    EXPECT_EQ(list->GetPopupMenu(), menu);
    delete menu;
    EXPECT_EQ(list->GetPopupMenu(), nullptr);
}

TEST_F(ExtCtrlsTest, KeyPreviewAndAltLetterReachTheForm) {
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetCaption(L"开始转换(&S)");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    edit->SetFocus();
    WORD seen = 0;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        seen = key;
        if (key == VK_F5) key = 0;  // the form keeps F5 for itself
    };
    MSG f5{edit->GetHandle(), WM_KEYDOWN, VK_F5, 0};
    EXPECT_TRUE(Application->IsKeyMsg(f5));
    EXPECT_EQ(seen, VK_F5);
    MSG a{edit->GetHandle(), WM_KEYDOWN, 'A', 0};
    EXPECT_FALSE(Application->IsKeyMsg(a));
    MSG alt{edit->GetHandle(), WM_SYSCHAR, 's', 0};
    EXPECT_TRUE(Application->IsKeyMsg(alt));
    EXPECT_EQ(clicks, 1);
    MSG altOther{edit->GetHandle(), WM_SYSCHAR, 'q', 0};
    EXPECT_FALSE(Application->IsKeyMsg(altOther));
    form->OnKeyDown = nullptr;
    button->OnClick = nullptr;
    form->Hide();
}

TEST_F(ExtCtrlsTest, ScreenCentredFormsSitInTheMiddle) {
    TForm centred(nullptr);
    centred.SetPosition(poScreenCenter);
    centred.SetBounds(0, 0, 300, 200);
    centred.Show();
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(centred.GetLeft() + 150, (work.left + work.right) / 2, 2);
    EXPECT_NEAR(centred.GetTop() + 100, (work.top + work.bottom) / 2, 2);
}

}  // namespace
