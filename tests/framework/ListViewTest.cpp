// The list view: rows, selection, events, ten thousand rows and update brackets.

#include <gtest/gtest.h>

#include <memory>

#include "framework/Forms.h"
#include "framework/ListView.h"

namespace {

using namespace vx;

std::wstring ItemText(HWND list, int row, int column) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int ItemImage(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

// Every list view test runs twice: with the rows copied into the window, and with the
// window holding only their number (owner data).
class ListViewTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(484, 300);
        list = new TListView(form.get());
        list->SetOwnerData(GetParam());
        list->SetViewStyle(vsReport);
        list->SetRowSelect(true);
        list->SetReadOnly(true);
        static const wchar_t* captions[] = {L"文件名", L"状态", L"大小"};
        for (const wchar_t* c : captions) {
            TListColumn* col = list->GetColumns()->Add();
            col->SetCaption(c);
            col->SetWidth(120);
        }
    }
    TListItem* AddRow(const std::wstring& name, const std::wstring& status, int image) {
        TListItem* item = list->GetItems()->Add();
        item->SetCaption(name);
        item->GetSubItems()->Add(status);
        item->GetSubItems()->Add(L"12 MB");
        item->SetImageIndex(image);
        return item;
    }
    std::unique_ptr<TForm> form;
    TListView* list;
};

TEST_P(ListViewTest, RowsShowCaptionsSubItemsAndImages) {
    AddRow(L"a.avi", L"等待", 0);  // added before the window exists
    list->SetParent(form.get());
    HWND h = list->GetHandle();
    AddRow(L"b.rmvb", L"转换中", 1);
    EXPECT_EQ(::SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(::SendMessageW(h, LVM_GETCOLUMNWIDTH, 1, 0), 120);
    EXPECT_EQ(ItemText(h, 0, 0), L"a.avi");
    EXPECT_EQ(ItemText(h, 0, 1), L"等待");
    EXPECT_EQ(ItemText(h, 1, 1), L"转换中");
    EXPECT_EQ(ItemText(h, 1, 2), L"12 MB");
    EXPECT_EQ(ItemText(h, 1, 3), L"");
    EXPECT_EQ(ItemImage(h, 1), 1);
    list->GetItems()->Items(1)->GetSubItems()->Put(0, L"完成");
    list->GetItems()->Items(0)->SetImageIndex(2);
    EXPECT_EQ(ItemText(h, 1, 1), L"完成");
    EXPECT_EQ(ItemImage(h, 0), 2);
    EXPECT_TRUE(::GetWindowLongW(h, GWL_STYLE) & LVS_REPORT);
    EXPECT_FALSE(::GetWindowLongW(h, GWL_STYLE) & LVS_EDITLABELS);
    EXPECT_TRUE(::SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    list->SetDoubleBuffered(true);
    EXPECT_TRUE(::SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_DOUBLEBUFFER);
    EXPECT_TRUE(::SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
}

TEST_P(ListViewTest, SelectedIsTheFirstSelectedRowInListOrder) {
    list->SetParent(form.get());
    list->SetMultiSelect(true);
    for (int i = 0; i < 5; ++i) AddRow(L"f" + std::to_wstring(i), L"", 0);
    EXPECT_EQ(list->GetSelected(), nullptr);
    list->GetItems()->Items(3)->SetSelected(true);
    list->GetItems()->Items(1)->SetSelected(true);
    EXPECT_EQ(list->GetSelected(), list->GetItems()->Items(1));
    EXPECT_EQ(list->SelCount(), 2);
    // Deleting rows keeps the items' indices and the selection right.
    TListItem* third = list->GetItems()->Items(3);
    list->GetItems()->Delete(1);
    list->GetItems()->Delete(0);
    EXPECT_EQ(third->Index(), 1);
    EXPECT_EQ(list->GetSelected(), third);
    EXPECT_EQ(ItemText(list->GetHandle(), 1, 0), L"f3");
    list->GetItems()->Clear();
    EXPECT_EQ(list->GetItems()->Count(), 0);
    EXPECT_EQ(::SendMessageW(list->GetHandle(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(list->GetSelected(), nullptr);
}

TEST_P(ListViewTest, SelectionMadeBeforeTheWindowSurvivesItsCreation) {
    AddRow(L"x", L"", 0);
    AddRow(L"y", L"", 0);
    list->GetItems()->Items(1)->SetSelected(true);
    EXPECT_EQ(list->GetSelected(), list->GetItems()->Items(1));
    list->SetParent(form.get());
    list->HandleNeeded();
    EXPECT_EQ(list->GetSelected(), list->GetItems()->Items(1));
    list->SetBorderStyle(bsNone);  // a new window keeps rows and selection
    EXPECT_EQ(::SendMessageW(list->GetHandle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(list->GetSelected(), list->GetItems()->Items(1));
}

TEST_P(ListViewTest, DoubleClickAndSelectionEventsArrive) {
    list->SetParent(form.get());
    list->HandleNeeded();
    AddRow(L"a", L"", 0);
    int doubles = 0, selections = 0;
    list->OnDblClick = [&](TObject*) { ++doubles; };
    list->OnSelectItem = [&](TObject*, TListItem*, bool selected) { selections += selected ? 1 : 0; };
    list->GetItems()->Items(0)->SetSelected(true);
    EXPECT_EQ(selections, 1);
    NMHDR hdr{list->GetHandle(), 0, static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageW(form->GetHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(doubles, 1);
    // The skin engine's private message with the same number as a reflected
    // notification carries no record: it must not be read as one.
    ::SendMessageW(list->GetHandle(), 0xBC4E, 0, 0x41A2);
    EXPECT_EQ(doubles, 1);
}

TEST_P(ListViewTest, TenThousandRows) {
    list->SetParent(form.get());
    form->Show();
    DWORD start = ::GetTickCount();
    list->GetItems()->BeginUpdate();
    for (int i = 0; i < 10000; ++i) AddRow(L"video" + std::to_wstring(i) + L".avi", L"等待", 0);
    list->GetItems()->EndUpdate();
    DWORD elapsed = ::GetTickCount() - start;
    std::printf("10000 rows added in %lu ms\n", static_cast<unsigned long>(elapsed));
    EXPECT_EQ(::SendMessageW(list->GetHandle(), LVM_GETITEMCOUNT, 0, 0), 10000);
    EXPECT_EQ(ItemText(list->GetHandle(), 9999, 0), L"video9999.avi");
    list->GetItems()->Items(9000)->SetSelected(true);
    EXPECT_EQ(list->GetSelected()->Index(), 9000);
}

TEST_P(ListViewTest, ARowPutInBeforeOthersMovesTheirSelectionWithThem) {
    list->SetParent(form.get());
    list->SetMultiSelect(true);
    for (int i = 0; i < 4; ++i) AddRow(L"f" + std::to_wstring(i), L"", 0);
    TListItem* second = list->GetItems()->Items(1);
    TListItem* fourth = list->GetItems()->Items(3);
    second->SetSelected(true);
    fourth->SetSelected(true);
    TListItem* put = list->GetItems()->Insert(2);
    put->SetCaption(L"new");
    HWND h = list->GetHandle();
    EXPECT_EQ(::SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(ItemText(h, 2, 0), L"new");
    EXPECT_EQ(ItemText(h, 4, 0), L"f3");
    EXPECT_TRUE(second->GetSelected());
    EXPECT_TRUE(fourth->GetSelected());
    EXPECT_FALSE(put->GetSelected());
    EXPECT_EQ(list->SelCount(), 2);
}

TEST_P(ListViewTest, RowsAddedInOneBracketShowWhenItCloses) {
    list->SetParent(form.get());
    HWND h = list->GetHandle();
    {
        TListItems& items = *list->GetItems();
        items.BeginUpdate();
        for (int i = 0; i < 3; ++i) AddRow(L"g" + std::to_wstring(i), L"等待", 0);
        items.Delete(0);  // a row of the same bracket taken away again
        items.EndUpdate();
    }
    EXPECT_EQ(::SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(h, 0, 0), L"g1");
    EXPECT_EQ(ItemText(h, 1, 1), L"等待");
    // Switching the mode makes the window anew with the same rows.
    list->SetOwnerData(!GetParam());
    EXPECT_EQ(((::GetWindowLongW(list->GetHandle(), GWL_STYLE) & LVS_OWNERDATA) != 0), !GetParam());
    EXPECT_EQ(::SendMessageW(list->GetHandle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(list->GetHandle(), 1, 0), L"g2");
}

INSTANTIATE_TEST_SUITE_P(CopiedAndOwnerData, ListViewTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "OwnerData" : "Copied";
                         });

}  // namespace
