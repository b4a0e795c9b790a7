#include <gtest/gtest.h>

#include <memory>

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {

using namespace vx;

TEST(MenusTest, ShortCutsHaveTheirText) {
    EXPECT_EQ(ShortCutToText(ShortCut('O', ssCtrl)), L"Ctrl+O");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssShift)), L"Shift+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, 0)), L"F5");
    EXPECT_EQ(ShortCut(0x1234, 0), 0);
}

TEST(MenusTest, MainMenuBuildsTheNativeBarAndDispatchesCommands) {
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    auto* file = NewItem(&form, L"文件(&F)", 0, nullptr);
    int opened = 0;
    auto* open = NewItem(&form, L"打开(&O)...", ShortCut('O', ssCtrl), [&](TObject*) { ++opened; });
    auto* line = NewItem(&form, L"-", 0, nullptr);
    auto* quit = NewItem(&form, L"退出", 0, nullptr);
    file->Add(open);
    file->Add(line);
    file->Add(quit);
    menu->GetItems()->Add(file);
    form.SetMenu(menu);
    form.Show();
    HMENU bar = ::GetMenu(form.GetHandle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(::GetMenuItemCount(bar), 1);
    HMENU sub = ::GetSubMenu(bar, 0);
    EXPECT_EQ(::GetMenuItemCount(sub), 3);
    EXPECT_EQ(menu->FindItem(reinterpret_cast<UINT_PTR>(sub), fkHandle), file);
    wchar_t text[64] = {};
    ::GetMenuStringW(sub, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"打开(&O)...\tCtrl+O");
    EXPECT_TRUE(::GetMenuState(sub, 1, MF_BYPOSITION) & MF_SEPARATOR);
    ::SendMessageW(form.GetHandle(), WM_COMMAND, open->Command(), 0);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(form.IsShortCut('O', ssCtrl));
    EXPECT_EQ(opened, 2);
    open->SetEnabled(false);
    EXPECT_TRUE(::GetMenuState(::GetSubMenu(::GetMenu(form.GetHandle()), 0), 0, MF_BYPOSITION) & MF_DISABLED);
    EXPECT_FALSE(form.IsShortCut('O', ssCtrl));
    EXPECT_EQ(opened, 2);
    delete quit;
    EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(::GetMenu(form.GetHandle()), 0)), 2);
}

// A main menu freed while the form shows it: the form forgets it, the window loses its
// native bar (no handle of the freed menu stays in it) and keeps its client size; a menu
// owned by another component and freed does the same.
TEST(MenusTest, AFreedMainMenuLeavesTheFormAndItsWindow) {
    TForm form(nullptr);
    form.SetClientSize(240, 120);
    for (int owned = 0; owned < 2; ++owned) {
        TComponent keeper(nullptr);
        auto* menu = new TMainMenu(owned ? static_cast<TComponent*>(&form) : &keeper);
        auto* file = NewItem(menu, L"文件(&F)", 0, nullptr);
        file->Add(NewItem(menu, L"退出", 0, nullptr));
        menu->GetItems()->Add(file);
        form.SetMenu(menu);
        form.Show();
        HWND h = form.GetHandle();
        ASSERT_EQ(::GetMenu(h), menu->GetHandle());
        delete menu;
        EXPECT_EQ(form.GetMenu(), nullptr) << "owned " << owned;
        EXPECT_EQ(::GetMenu(h), nullptr) << "owned " << owned;
        EXPECT_EQ(form.GetClientWidth(), 240);
        EXPECT_EQ(form.GetClientHeight(), 120);
        form.MenuChanged();  // touches no freed menu
        EXPECT_EQ(::GetMenu(h), nullptr);
    }
}

TEST(MenusTest, PopupItemsAreOwnerDrawnOnRequestAndMeasured) {
    TForm form(nullptr);
    auto* popup = new TPopupMenu(&form);
    auto* item = NewItem(&form, L"删除", ShortCut(VK_DELETE, 0), nullptr);
    int measured = 0;
    item->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
        ++measured;
        w = 123;
        h = 21;
    };
    popup->GetItems()->Add(item);
    popup->SetOwnerDraw(true);
    HMENU h = popup->GetHandle();
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ::GetMenuItemInfoW(h, 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(item));
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = info.dwItemData;
    ::SendMessageW(form.GetHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(mis.itemWidth, 123u);
    EXPECT_EQ(mis.itemHeight, 21u);
}

TEST(MenusTest, AnItemKnowsTheNativeMenuThatHoldsIt) {
    TForm form(nullptr);
    auto* popup = new TPopupMenu(&form);
    auto* top = NewItem(&form, L"文件", 0, nullptr);
    auto* sub = NewItem(&form, L"打开", 0, nullptr);
    top->Add(sub);
    popup->GetItems()->Add(top);
    EXPECT_EQ(top->ContainingMenu(), nullptr) << "not built yet";
    HMENU root = popup->GetHandle();
    EXPECT_EQ(top->ContainingMenu(), root);
    EXPECT_EQ(sub->ContainingMenu(), top->GetHandle());
    EXPECT_EQ(sub->ContainingMenu(), ::GetSubMenu(root, 0));
    // After a rebuild the sub-menu is new and the item follows it.
    top->Add(NewItem(&form, L"关闭", 0, nullptr));
    EXPECT_EQ(sub->ContainingMenu(), ::GetSubMenu(root, 0));
    auto* loose = NewItem(&form, L"孤立", 0, nullptr);
    EXPECT_EQ(loose->ContainingMenu(), nullptr);
    delete loose;
}

}  // namespace
