// Skinned menus under Wine, with the program's own skin: a form with a main menu gets a
// skinned bar inside its frame and keeps its client area; a top-level item without
// sub-items fires its click and opens nothing; the arrow keys wrap across the
// drop-downs; Alt alone and Alt+letter open drop-downs; a disabled top-level item is
// drawn in the disabled colour and opens nothing; closing the last popup resets the
// menu kind; a popup menu's border and items by pixels; detaching gives the native menu
// and the menus' own drawing back. Menus that come and go while the form is skinned (a
// freed menu, a menu set later, none), the mouse moving across open drop-downs, arrow
// keys in a right-to-left menu, and the paths of older systems (chosen through the
// version seam).
//
// Menus run modal loops: what happens while one is open is looked at (and the menu is
// closed) from a thread timer, which the menu loop dispatches.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/window/SkinnedWindows.h"

namespace vx {
namespace {

using testing::Pump;
using testing::PumpUntil;


COLORREF ScreenPixel(HWND h, int x, int y) {
    TWindowDC dc = TWindowDC::Whole(h);
    return ::GetPixel(dc.Get(), x, y) & 0xFFFFFF;
}
COLORREF BitmapPixel(TBitmap& bitmap, int x, int y) { return ::GetPixel(bitmap.GetCanvas()->GetHandle(), x, y) & 0xFFFFFF; }
COLORREF Rgb(TColour c) { return static_cast<COLORREF>(ResolveColour(c) & 0xFFFFFF); }
int PopupBorder() { return TPopupMenuSkinner::kBorder; }

// Whether a window rectangle (window coordinates) shows a colour anywhere.
bool Shows(HWND h, const RECT& r, COLORREF colour) {
    TWindowDC dc = TWindowDC::Whole(h);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((::GetPixel(dc.Get(), x, y) & 0xFFFFFF) == colour) return true;
    return false;
}

// A script run inside a menu loop: called every 20 ms until it answers true (or 150
// calls passed, when the menu is ended).
std::function<bool()> g_step;
int g_calls = 0;
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ++g_calls;
    const bool done = g_calls > 150 || (g_step && g_step());
    if (!done) return;
    ::KillTimer(nullptr, id);
    g_step = nullptr;
    ::EndMenu();
}
void RunInMenu(std::function<bool()> step) {
    g_calls = 0;
    g_step = std::move(step);
    ::SetTimer(nullptr, 0, 20, &StepTimer);
}

class SkinnedMenus : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindowSkinning();
        host_ = new TForm(nullptr);
        host_->SetName(L"frmHost");
        data_ = new TSkinData(host_);
        data_->SetActive(true);
        testing::ReadProgramSkin(*data_);
        host_->FinishBuilding();
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
        data_ = nullptr;
        DestroySkinManager();
    }
    static TSkinManage& manager() { return *TSkinManage::Instance(); }

    // A form with the menu 文件(&F) [drop-down], 编辑(&E) [disabled drop-down],
    // 帮助(&H) [no sub-items], 窗口(&W) [drop-down], and a popup menu.
    void SetUp() override {
        ASSERT_TRUE(data_->GetHasSkin());
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(120, 100, 300, 200);
        form_->SetClientSize(360, 220);
        menu_ = new TMainMenu(form_.get());
        file_ = NewItem(form_.get(), L"文件(&F)", 0, nullptr);
        file_->Add(NewItem(form_.get(), L"打开(&O)...", ShortCut('O', ssCtrl), nullptr));
        file_->Add(NewItem(form_.get(), L"-", 0, nullptr));
        file_->Add(NewItem(form_.get(), L"退出(&X)", 0, nullptr));
        edit_ = NewItem(form_.get(), L"编辑(&E)", 0, [this](TObject*) { ++editClicks_; });
        edit_->Add(NewItem(form_.get(), L"复制", 0, nullptr));
        edit_->SetEnabled(false);
        help_ = NewItem(form_.get(), L"帮助(&H)", 0, [this](TObject*) { ++helpClicks_; });
        window_ = NewItem(form_.get(), L"窗口(&W)", 0, nullptr);
        window_->Add(NewItem(form_.get(), L"层叠", 0, nullptr));
        for (TMenuItem* item : {file_, edit_, help_, window_}) menu_->GetItems()->Add(item);
        form_->SetMenu(menu_);
        popup_ = new TPopupMenu(form_.get());
        popup_->GetItems()->Add(NewItem(form_.get(), L"添加文件(&A)", ShortCut('O', ssCtrl), nullptr));
        popup_->GetItems()->Add(NewItem(form_.get(), L"-", 0, nullptr));
        disabledItem_ = NewItem(form_.get(), L"删除当前(&D)", 0, nullptr);
        disabledItem_->SetEnabled(false);
        popup_->GetItems()->Add(disabledItem_);
        checkedItem_ = NewItem(form_.get(), L"完成后关机", 0, nullptr);
        checkedItem_->SetChecked(true);
        popup_->GetItems()->Add(checkedItem_);
    }
    void TearDown() override {
        form_.reset();
        manager().Purge();
    }
    TFormSkinner* ShowSkinned() {
        form_->Show();
        HWND h = form_->GetHandle();
        ::SetForegroundWindow(h);
        PumpUntil([&] { return manager().FindForm(h) && manager().FindForm(h)->Lifecycle() == 1; });
        Pump(5);
        return manager().FindForm(h);
    }
    POINT ScreenPointOf(const TMenuBtn& b) const {
        RECT wr{};
        ::GetWindowRect(form_->GetHandle(), &wr);
        return POINT{wr.left + (b.Rect.Left + b.Rect.Right) / 2, wr.top + (b.Rect.Top + b.Rect.Bottom) / 2};
    }

    static TForm* host_;
    static TSkinData* data_;
    std::unique_ptr<TForm> form_;
    TMainMenu* menu_ = nullptr;
    TMenuItem *file_ = nullptr, *edit_ = nullptr, *help_ = nullptr, *window_ = nullptr;
    TPopupMenu* popup_ = nullptr;
    TMenuItem *disabledItem_ = nullptr, *checkedItem_ = nullptr;
    int editClicks_ = 0, helpClicks_ = 0;
};
TForm* SkinnedMenus::host_ = nullptr;
TSkinData* SkinnedMenus::data_ = nullptr;

TEST_F(SkinnedMenus, AMainMenuBecomesASkinnedBarInsideTheFrame) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    HWND h = form_->GetHandle();
    ASSERT_NE(s->MenuBar(), nullptr);
    EXPECT_EQ(::GetMenu(h), nullptr) << "the native bar is taken out";
    EXPECT_EQ(s->MenuBarHeight(), ::GetSystemMetrics(SM_CYMENU));
    RECT client{}, wr{};
    ::GetClientRect(h, &client);
    ::GetWindowRect(h, &wr);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 220);
    EXPECT_EQ(wr.bottom - wr.top, 220 + 30 + 4 + s->MenuBarHeight());
    const auto& buttons = s->MenuBar()->Buttons();
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0]->Caption, L"文件(&F)");
    EXPECT_EQ(buttons[0]->DropDown, file_->GetHandle());
    EXPECT_EQ(buttons[2]->DropDown, nullptr);
    EXPECT_FALSE(buttons[1]->Enabled);
    // The first text after the border and the bar picture's left end + 4.
    EXPECT_EQ(buttons[0]->Rect.Left, s->Borders().Left + data_->Model().MenuBar->LeftWidth + 4);
    EXPECT_EQ(buttons[0]->Rect.Top, s->Borders().Top);
    EXPECT_EQ(buttons[1]->Rect.Left, buttons[0]->Rect.Right);
    // Hit tests in the band answer HTMENU.
    const POINT p = ScreenPointOf(*buttons[0]);
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTMENU);
    // Enabled captions in the bar's text colour, the disabled one in the disabled colour.
    const TSkinModel& m = data_->Model();
    auto rect = [](const TMenuBtn& b) { return RECT{b.Rect.Left, b.Rect.Top, b.Rect.Right, b.Rect.Bottom}; };
    EXPECT_TRUE(Shows(h, rect(*buttons[0]), Rgb(m.MenuBarTextColour)));
    EXPECT_FALSE(Shows(h, rect(*buttons[0]), Rgb(m.ButtonShadowColour)));
    EXPECT_TRUE(Shows(h, rect(*buttons[1]), Rgb(m.ButtonShadowColour)));
    EXPECT_FALSE(Shows(h, rect(*buttons[1]), Rgb(m.MenuBarTextColour)));
}

TEST_F(SkinnedMenus, AnItemWithoutSubItemsFiresItsClickAndOpensNothing) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->MenuBar(), nullptr);
    HWND h = form_->GetHandle();
    size_t most = 0;
    RunInMenu([&] {
        most = std::max(most, manager().PopupCount());
        return false;
    });
    const POINT p = ScreenPointOf(*s->MenuBar()->Buttons()[2]);
    ::SendMessageW(h, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(p.x, p.y));
    PumpUntil([&] { return helpClicks_ > 0; }, 100);
    EXPECT_EQ(helpClicks_, 1);
    EXPECT_EQ(most, 0u);
    EXPECT_EQ(manager().PopupCount(), 0u);
    EXPECT_EQ(s->MenuBar()->CurrentIndex(), -1);
    EXPECT_FALSE(s->MenuTracking());
    g_step = [] { return true; };  // ends the script's timer
    Pump(5);
}

TEST_F(SkinnedMenus, ADisabledTopLevelItemOpensNothing) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->MenuBar(), nullptr);
    HWND h = form_->GetHandle();
    const POINT p = ScreenPointOf(*s->MenuBar()->Buttons()[1]);
    ::SendMessageW(h, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(p.x, p.y));
    Pump(10);
    EXPECT_EQ(editClicks_, 0);
    EXPECT_EQ(manager().PopupCount(), 0u);
    EXPECT_EQ(manager().MenuKind, mkPopup) << "no drop-down opened, no kind left behind";
    EXPECT_FALSE(manager().MenuBarTracking);
}

TEST_F(SkinnedMenus, ArrowKeysWrapFromTheLastButtonToTheFirstAndBack) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    TMenuBarSkinner* bar = s->MenuBar();
    ASSERT_NE(bar, nullptr);
    std::vector<int> seen;
    int stage = 0;
    RunInMenu([&] {
        if (manager().PopupCount() == 0) return false;
        const int current = bar->CurrentIndex();
        HWND menu = manager().NewestPopupWindow();
        if (stage == 0 && current == 3) {
            seen.push_back(current);
            ::PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);  // last → first
            stage = 1;
        } else if (stage == 1 && current == 0) {
            seen.push_back(current);
            ::PostMessageW(menu, WM_KEYDOWN, VK_LEFT, 0);  // first → last
            stage = 2;
        } else if (stage == 2 && current == 3) {
            seen.push_back(current);
            return true;
        }
        return false;
    });
    bar->OpenDropDown(3);
    EXPECT_EQ(seen, (std::vector<int>{3, 0, 3}));
    EXPECT_EQ(bar->CurrentIndex(), -1);
    EXPECT_EQ(manager().PopupCount(), 0u);
}

TEST_F(SkinnedMenus, AltAloneAndAltLetterOpenDropDowns) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    TMenuBarSkinner* bar = s->MenuBar();
    ASSERT_NE(bar, nullptr);
    HWND h = form_->GetHandle();
    int opened = -1, kind = -1;
    auto record = [&] {
        if (manager().PopupCount() == 0) return false;
        opened = bar->CurrentIndex();
        kind = manager().MenuKind;
        return true;
    };
    RunInMenu(record);
    EXPECT_EQ(::SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);  // Alt or F10 alone
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(kind, mkMenuBarDropDown);
    // Alt+W through the form's dialog characters: the button is pressed by a posted click.
    opened = -1;
    RunInMenu(record);
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, L'w', 1 << 29), 1);
    PumpUntil([&] { return opened >= 0; }, 100);
    EXPECT_EQ(opened, 3);
    // Alt+H through the system's key menu: no drop-down, the click runs.
    EXPECT_EQ(::SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, L'h'), 1);
    Pump(5);
    EXPECT_EQ(helpClicks_, 1);
}

TEST_F(SkinnedMenus, ClosingTheLastPopupResetsTheMenuKind) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    int kind = -1;
    bool tracking = false, flagged = false;
    RunInMenu([&] {
        if (manager().PopupCount() == 0) return false;
        kind = manager().MenuKind;
        tracking = manager().MenuBarTracking && s->MenuTracking();
        flagged = manager().IsPopupSkinned(manager().NewestPopupWindow());
        return true;
    });
    s->MenuBar()->OpenDropDown(0);
    EXPECT_EQ(kind, mkMenuBarDropDown);
    EXPECT_TRUE(tracking);
    EXPECT_TRUE(flagged);
    EXPECT_EQ(manager().PopupCount(), 0u);
    EXPECT_EQ(manager().MenuKind, mkPopup);
    EXPECT_FALSE(manager().MenuBarTracking);
    // The system menu: kind 2 while open, 0 after.
    kind = -1;
    bool wasActive = false;
    RunInMenu([&] {
        if (manager().PopupCount() == 0) return false;
        kind = manager().MenuKind;
        wasActive = s->Active() && ::GetActiveWindow() == form_->GetHandle();
        return true;
    });
    RECT wr{};
    ::GetWindowRect(form_->GetHandle(), &wr);
    s->OpenSystemMenu(POINT{wr.left + 10, wr.top + 20});
    EXPECT_EQ(kind, mkSystemMenu);
    EXPECT_EQ(manager().PopupCount(), 0u);
    EXPECT_EQ(manager().MenuKind, mkPopup);
    // The system menu's items are drawn by the skin.
    ASSERT_NE(s->SystemMenu(), nullptr);
    EXPECT_TRUE(s->SystemMenu()->GetOwnerDraw());
    EXPECT_TRUE(HasSkinnedDrawer(*s->SystemMenu()->GetItems()->Items(0)));
    // Its close item shows the shortcut the system's text carries after a tab.
    TMenuItem* close = nullptr;
    for (int i = 0; i < s->SystemMenu()->GetItems()->Count(); ++i)
        if (s->SystemMenu()->GetItems()->Items(i)->GetTag() == SC_CLOSE) close = s->SystemMenu()->GetItems()->Items(i);
    ASSERT_NE(close, nullptr);
    const TMenuItemLook look = LookOfItem(*close);
    EXPECT_EQ(look.Caption.find(L'\t'), std::wstring::npos);
    EXPECT_FALSE(look.ShortCut.empty());
    // The popup left the form active.
    EXPECT_TRUE(wasActive);
}

TEST_F(SkinnedMenus, APopupMenusBorderAndItemsComeFromTheSkin) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(popup_->GetOwnerDraw());
    const TSkinModel& m = data_->Model();
    ASSERT_TRUE(m.MenuBackground && m.MenuItem);
    bool looked = false;
    COLORREF corner = 0, edge = 0, farCorner = 0, inside = 0, itemLeft = 0, expectedItemLeft = 1;
    bool disabledText = false, normalText = false, bound = false;
    int stage = 0;
    RunInMenu([&] {
        HWND w = manager().NewestPopupWindow();
        if (!w || !::IsWindowVisible(w)) return false;
        HMENU menu = popup_->GetHandle();
        RECT wr{};
        ::GetWindowRect(w, &wr);
        const int W = wr.right - wr.left, H = wr.bottom - wr.top;
        if (stage == 0) {
            // Nothing selected yet.
            bound = manager().PopupFor(menu) != nullptr;
            corner = ScreenPixel(w, 0, 0);
            edge = ScreenPixel(w, 1, H / 2);
            farCorner = ScreenPixel(w, W - 1, H - 1);
            RECT item{};
            ::GetMenuItemRect(nullptr, menu, 2, &item);  // the disabled item
            RECT local{item.left - wr.left, item.top - wr.top, item.right - wr.left, item.bottom - wr.top};
            disabledText = Shows(w, local, Rgb(m.ButtonShadowColour));
            ::GetMenuItemRect(nullptr, menu, 0, &item);
            local = RECT{item.left - wr.left, item.top - wr.top, item.right - wr.left, item.bottom - wr.top};
            normalText = Shows(w, local, Rgb(m.MenuTextColour));
            inside = ScreenPixel(w, local.right - 3, local.top + 2);
            ::PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);  // selects the first item
            stage = 1;
            return false;
        }
        if (stage < 4) {  // a few rounds for the selection to be drawn
            ++stage;
            return false;
        }
        RECT item{};
        ::GetMenuItemRect(nullptr, menu, 0, &item);
        const int iw = item.right - item.left, ih = item.bottom - item.top;
        auto expected = StretchElement(RECT{0, 0, iw, ih}, const_cast<TBitmap&>(m.MenuItem->Bitmap),
                                       TMargins{m.MenuItem->LeftWidth, m.MenuItem->TopHeight, m.MenuItem->RightWidth,
                                                m.MenuItem->BottomHeight},
                                       false, m.MenuItem->Tile != 0, 5, 4);
        itemLeft = ScreenPixel(w, item.left - wr.left + 1, item.top - wr.top + ih / 2);
        expectedItemLeft = BitmapPixel(*expected, 1, ih / 2);
        looked = true;
        return true;
    });
    RECT wr{};
    ::GetWindowRect(form_->GetHandle(), &wr);
    popup_->Popup(wr.left + 40, wr.top + 80);
    ASSERT_TRUE(looked);
    EXPECT_TRUE(bound) << "the popup object learned its menu from the item drawing";
    TBitmap& back = const_cast<TBitmap&>(m.MenuBackground->Bitmap);
    const int bw = back.GetWidth(), bh = back.GetHeight();
    EXPECT_EQ(corner, BitmapPixel(back, 0, 0));
    EXPECT_EQ(edge, BitmapPixel(back, 1, bh / 2));
    EXPECT_EQ(farCorner, BitmapPixel(back, bw - 1, bh - 1));
    EXPECT_NE(corner, edge) << "the picture's outer and inner edge differ";
    EXPECT_EQ(inside, BitmapPixel(back, bw / 2, bh / 2)) << "an item's background is the border picture's middle";
    EXPECT_TRUE(disabledText);
    EXPECT_TRUE(normalText);
    EXPECT_EQ(itemLeft, expectedItemLeft) << "the selected item shows the MenuItem picture's fourth frame";
    EXPECT_EQ(manager().PopupCount(), 0u);
}

// The window's size with the skin's frame around a client area (the bar included).
int FrameHeight(TFormSkinner& s, int clientHeight) {
    return clientHeight + s.Borders().Top + s.Borders().Bottom + s.MenuBarHeight();
}
SIZE ClientSize(HWND h) {
    RECT r{};
    ::GetClientRect(h, &r);
    return SIZE{r.right, r.bottom};
}
int WindowHeight(HWND h) {
    RECT r{};
    ::GetWindowRect(h, &r);
    return r.bottom - r.top;
}

TEST_F(SkinnedMenus, AFreedMainMenuTakesTheSkinnedBarWithIt) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->MenuBar(), nullptr);
    HWND h = form_->GetHandle();
    delete menu_;  // its items go with it
    menu_ = nullptr;
    EXPECT_EQ(form_->GetMenu(), nullptr);
    EXPECT_EQ(s->MenuBar(), nullptr) << "the bar stayed with a freed menu";
    EXPECT_EQ(s->MenuBarHeight(), 0);
    EXPECT_EQ(::GetMenu(h), nullptr);
    SIZE client = ClientSize(h);
    EXPECT_EQ(client.cx, 360);
    EXPECT_EQ(client.cy, 220);
    EXPECT_EQ(WindowHeight(h), FrameHeight(*s, 220)) << "the bar's room stayed in the frame";
    // Painting, resizing, Alt and a press where the bar was touch nothing freed.
    ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ::SetWindowPos(h, nullptr, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER);
    Pump(3);
    EXPECT_EQ(::SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    RECT wr{};
    ::GetWindowRect(h, &wr);
    const LPARAM where = MAKELPARAM(wr.left + s->Borders().Left + 12, wr.top + s->Borders().Top + 4);
    ::SendMessageW(h, WM_NCMOUSEMOVE, HTMENU, where);
    ::SendMessageW(h, WM_NCLBUTTONDOWN, HTMENU, where);
    ::SendMessageW(h, WM_NCLBUTTONUP, HTMENU, where);
    Pump(3);
    EXPECT_EQ(manager().PopupCount(), 0u);
    // Detaching gives back no menu and the client area it had.
    client = ClientSize(h);
    manager().RemoveForm(s);
    s->Detach();
    delete s;
    EXPECT_EQ(::GetMenu(h), nullptr);
    const SIZE after = ClientSize(h);
    EXPECT_EQ(after.cx, client.cx);
    EXPECT_EQ(after.cy, client.cy);
}

TEST_F(SkinnedMenus, AMenuSetAfterSkinningGetsTheBarAndNoneTakesItAway) {
    // Main menu items drawn by the skin.
    const TSkinControlSet controls = data_->GetSkinControls();
    struct TRestore {
        TSkinData* data;
        TSkinControlSet controls;
        ~TRestore() { data->SetSkinControls(controls); }
    } restore{data_, controls};
    data_->SetSkinControls(controls | SkinBit(xcMenuItem));
    form_->SetMenu(nullptr);
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    HWND h = form_->GetHandle();
    EXPECT_EQ(s->MenuBar(), nullptr);
    EXPECT_EQ(s->MenuBarHeight(), 0);
    const int bare = WindowHeight(h);
    // A main menu made after the attach.
    auto* late = new TMainMenu(form_.get());
    TMenuItem* tools = NewItem(form_.get(), L"工具(&T)", 0, nullptr);
    TMenuItem* options = NewItem(form_.get(), L"选项(&O)", 0, nullptr);
    tools->Add(options);
    late->GetItems()->Add(tools);
    late->GetItems()->Add(NewItem(form_.get(), L"关于(&A)", 0, nullptr));
    form_->SetMenu(late);
    ASSERT_NE(s->MenuBar(), nullptr) << "a menu set after skinning got no skinned bar";
    EXPECT_EQ(::GetMenu(h), nullptr) << "the native bar stayed";
    EXPECT_EQ(s->MenuBarHeight(), ::GetSystemMetrics(SM_CYMENU));
    ASSERT_EQ(s->MenuBar()->Buttons().size(), 2u);
    EXPECT_EQ(s->MenuBar()->Buttons()[0]->Caption, L"工具(&T)");
    EXPECT_EQ(s->MenuBar()->Buttons()[0]->DropDown, tools->GetHandle());
    EXPECT_EQ(s->MenuBar()->FrameworkMenu(), late);
    EXPECT_TRUE(HasSkinnedDrawer(*options)) << "the late menu's items are not drawn by the skin";
    SIZE client = ClientSize(h);
    EXPECT_EQ(client.cx, 360);
    EXPECT_EQ(client.cy, 220);
    EXPECT_EQ(WindowHeight(h), bare + s->MenuBarHeight());
    const TMenuBtn& first = *s->MenuBar()->Buttons()[0];
    EXPECT_EQ(first.Rect.Top, s->Borders().Top);
    const POINT p = ScreenPointOf(first);
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTMENU);
    EXPECT_TRUE(Shows(h, RECT{first.Rect.Left, first.Rect.Top, first.Rect.Right, first.Rect.Bottom},
                      Rgb(data_->Model().MenuBarTextColour)))
        << "the new bar was not painted";
    // Set to none: the bar and its room go, the client area stays.
    form_->SetMenu(nullptr);
    EXPECT_EQ(s->MenuBar(), nullptr);
    EXPECT_EQ(s->MenuBarHeight(), 0);
    EXPECT_EQ(WindowHeight(h), bare);
    client = ClientSize(h);
    EXPECT_EQ(client.cy, 220);
    // Back again, then detached: the native bar returns and the client area keeps its size.
    form_->SetMenu(late);
    ASSERT_NE(s->MenuBar(), nullptr);
    manager().RemoveForm(s);
    s->Detach();
    delete s;
    EXPECT_EQ(::GetMenu(h), late->GetHandle());
    client = ClientSize(h);
    EXPECT_EQ(client.cx, 360);
    EXPECT_EQ(client.cy, 220) << "the detached window lost or gained the bar's height";
    EXPECT_FALSE(HasSkinnedDrawer(*options));
}

TEST_F(SkinnedMenus, TheMouseMovesBetweenOpenDropDownsPassingOverADisabledButton) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    TMenuBarSkinner* bar = s->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->Buttons()[1]->DropDown && !bar->Buttons()[1]->Enabled);
    std::vector<int> seen;
    size_t popupsAtEnd = 0;
    int stage = 0, wait = 0;
    auto hover = [&](int index) {
        const POINT p = ScreenPointOf(*bar->Buttons()[static_cast<size_t>(index)]);
        ::SetCursorPos(p.x, p.y);
        // The menu loop sees the move with the cursor's position.
        ::PostMessageW(manager().NewestPopupWindow(), WM_MOUSEMOVE, 0, 0);
    };
    RunInMenu([&] {
        if (manager().PopupCount() == 0) return false;
        const int current = bar->CurrentIndex();
        if (stage == 0 && current == 0) {
            seen.push_back(current);
            hover(1);  // disabled: the open drop-down stays
            stage = 1;
            wait = 0;
        } else if (stage == 1 && ++wait > 5) {
            seen.push_back(current);
            hover(3);
            stage = 2;
        } else if (stage == 2 && current == 3) {
            seen.push_back(current);
            popupsAtEnd = manager().PopupCount();
            return true;
        }
        return false;
    });
    bar->OpenDropDown(0);
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 3}));
    EXPECT_EQ(popupsAtEnd, 1u) << "the first drop-down did not close";
    EXPECT_EQ(editClicks_, 0) << "the disabled button ran its click";
    EXPECT_EQ(bar->CurrentIndex(), -1);
    EXPECT_EQ(manager().PopupCount(), 0u);
}

// Left from the middle button: to the previous one in a left-to-right menu, to the next
// one when the selected item belongs to a right-to-left menu.
TEST_F(SkinnedMenus, ArrowKeysPointTheOtherWayInARightToLeftMenu) {
    edit_->SetEnabled(true);  // three drop-downs: 0, 1 and 3
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    TMenuBarSkinner* bar = s->MenuBar();
    ASSERT_NE(bar, nullptr);
    auto leftFromMiddle = [&] {
        int reached = -1, rounds = 0;
        RunInMenu([&] {
            if (manager().PopupCount() == 0) return false;
            const int current = bar->CurrentIndex();
            if (current != 1) {
                reached = current;
                return true;
            }
            // A few rounds for the first item to be selected, then Left.
            if (++rounds == 6) ::PostMessageW(manager().NewestPopupWindow(), WM_KEYDOWN, VK_LEFT, 0);
            return false;
        });
        bar->OpenDropDown(1);
        return reached;
    };
    EXPECT_EQ(leftFromMiddle(), 0);
    menu_->SetBiDiMode(bdRightToLeft);
    ASSERT_NE(s->MenuBar(), nullptr);
    bar = s->MenuBar();
    EXPECT_EQ(leftFromMiddle(), 3);
    menu_->SetBiDiMode(bdLeftToRight);
}

TEST_F(SkinnedMenus, OlderSystemsTakeTheButtonsFromTheFrameworkMenu) {
    window_->SetVisible(false);  // not in the native menu
    const uint32_t version = SkinWindowsVersion();
    struct TRestore {
        uint32_t v;
        ~TRestore() { SetSkinWindowsVersion(v); }
    } restore{version};
    SetSkinWindowsVersion(0x05650004);  // NT 4.0
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->MenuBar(), nullptr);
    const auto& buttons = s->MenuBar()->Buttons();
    ASSERT_EQ(buttons.size(), 4u) << "an invisible item has its (invisible) button";
    EXPECT_FALSE(buttons[3]->Visible);
    EXPECT_EQ(buttons[3]->Rect.Width(), 0);
    EXPECT_EQ(buttons[0]->Item, file_);
    EXPECT_EQ(buttons[0]->DropDown, file_->GetHandle());
    EXPECT_FALSE(buttons[1]->Enabled);
    // NT 4 opens its drop-downs without making their items owner-drawn.
    RunInMenu([&] { return manager().PopupCount() > 0; });
    s->MenuBar()->OpenDropDown(0);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(file_->GetHandle(), 0, TRUE, &info));
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
    // The systems of today build from the native menu, which lacks the invisible item.
    form_.reset();
    manager().Purge();
    SetSkinWindowsVersion(version);
    SetUp();
    window_->SetVisible(false);
    s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->MenuBar(), nullptr);
    EXPECT_EQ(s->MenuBar()->Buttons().size(), 3u);
}

// Systems before NT 5.2 paint a menu's border through the update region of the
// non-client paint; the message's own region is left to its sender.
TEST_F(SkinnedMenus, OlderSystemsPaintAPopupsBorderOnlyInsideTheUpdateRegion) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    const uint32_t version = SkinWindowsVersion();
    struct TRestore {
        uint32_t v;
        ~TRestore() { SetSkinWindowsVersion(v); }
    } restore{version};
    SetSkinWindowsVersion(0x0A280105);  // XP, 5.1
    const COLORREF black = 0;
    COLORREF left = 1, right = 1, rightAfter = 1;
    bool regionKept = false;
    int width = 0;
    RunInMenu([&] {
        HWND w = manager().NewestPopupWindow();
        if (!w || !::IsWindowVisible(w)) return false;
        RECT wr{};
        ::GetWindowRect(w, &wr);
        width = wr.right - wr.left;
        {
            TWindowDC dc = TWindowDC::Whole(w);
            RECT top{0, 0, width, PopupBorder()};
            ::FillRect(dc.Get(), &top, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        }
        // The left half of the window, in screen coordinates.
        TRegionHandle update(::CreateRectRgn(wr.left, wr.top, wr.left + width / 2, wr.bottom));
        ::SendMessageW(w, WM_NCPAINT, reinterpret_cast<WPARAM>(update.Get()), 0);
        RECT box{};
        regionKept = ::GetRgnBox(update.Get(), &box) != ERROR;
        left = ScreenPixel(w, 1, 1);
        right = ScreenPixel(w, width - 2, 1);
        ::SendMessageW(w, WM_NCPAINT, 1, 0);  // the whole window
        rightAfter = ScreenPixel(w, width - 2, 1);
        return true;
    });
    RECT wr{};
    ::GetWindowRect(form_->GetHandle(), &wr);
    popup_->Popup(wr.left + 40, wr.top + 80);
    TBitmap& back = const_cast<TBitmap&>(data_->Model().MenuBackground->Bitmap);
    ASSERT_GT(width, 0);
    EXPECT_EQ(left, BitmapPixel(back, 1, 1)) << "the border was not painted inside the update region";
    EXPECT_EQ(right, black) << "the border was painted outside the update region";
    EXPECT_EQ(rightAfter, BitmapPixel(back, back.GetWidth() - 2, 1));
    EXPECT_TRUE(regionKept) << "the message's region was given away";
}

TEST_F(SkinnedMenus, DetachingGivesTheNativeMenuAndTheMenusOwnDrawingBack) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    HWND h = form_->GetHandle();
    RunInMenu([&] { return manager().PopupCount() > 0; });
    s->MenuBar()->OpenDropDown(0);  // makes the drop-down's items owner-drawn
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(file_->GetHandle(), 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_TRUE(HasSkinnedDrawer(*popup_->GetItems()->Items(0)));
    manager().RemoveForm(s);
    s->Detach();
    delete s;
    EXPECT_EQ(::GetMenu(h), menu_->GetHandle());
    ASSERT_TRUE(::GetMenuItemInfoW(file_->GetHandle(), 0, TRUE, &info));
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
    EXPECT_FALSE(popup_->GetOwnerDraw());
    EXPECT_FALSE(HasSkinnedDrawer(*popup_->GetItems()->Items(0)));
    EXPECT_FALSE(popup_->GetItems()->Items(0)->OnMeasureItem);
    RECT client{};
    ::GetClientRect(h, &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 220) << "the client area keeps its size with the native bar back";
}

}  // namespace
}  // namespace vx
