// The common controls as the user drives them: clicks and keys arrive at the system
// windows, and the controls' state and events must follow, since anything drawing
// them differently reads that state back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <commctrl.h>

namespace {

using namespace vx;

class CommonControlsInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(30, 30, 500, 380);
        form->Show();
    }
    void Click(HWND window, int x, int y) {
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void Key(HWND window, WORD key) {
        ::SendMessageW(window, WM_KEYDOWN, key, 1);
        ::SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    std::unique_ptr<TForm> form;
};

TEST_F(CommonControlsInputTest, TrackBarKeysMoveThePositionAndTellOnce) {
    auto* track = new TTrackBar(form.get());
    track->SetParent(form.get());
    track->SetBounds(10, 10, 200, 40);
    track->SetMax(20);
    std::vector<int> seen;
    track->OnChange = [&](TObject*) { seen.push_back(track->GetPosition()); };
    HWND h = track->GetHandle();
    Key(h, VK_RIGHT);
    Key(h, VK_RIGHT);
    EXPECT_EQ(track->GetPosition(), 2);
    Key(h, VK_END);
    EXPECT_EQ(track->GetPosition(), 20);
    Key(h, VK_RIGHT);  // already at the end
    EXPECT_EQ(track->GetPosition(), 20);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 20}));
    // A new window (another orientation) keeps range and position.
    track->SetOrientation(trVertical);
    HWND vertical = track->GetHandle();
    EXPECT_TRUE(::GetWindowLongW(vertical, GWL_STYLE) & TBS_VERT);
    EXPECT_EQ(::SendMessageW(vertical, TBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(::SendMessageW(vertical, TBM_GETRANGEMAX, 0, 0), 20);
    track->OnChange = nullptr;
}

TEST_F(CommonControlsInputTest, UpDownArrowClicksStepTheBuddyAndStopOrWrapAtTheEnds) {
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 80, 24);
    auto* upDown = new TUpDown(form.get());
    upDown->SetParent(form.get());
    upDown->SetBounds(90, 10, 17, 24);
    upDown->SetMin(0);
    upDown->SetMax(3);
    upDown->SetAssociate(edit);
    std::vector<std::wstring> clicks;
    upDown->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b == btNext ? L"next" : L"prev"); };
    HWND h = upDown->GetHandle();
    RECT r;
    ::GetClientRect(h, &r);
    int up = r.bottom / 4, down = r.bottom * 3 / 4, x = r.right / 2;
    Click(h, x, up);
    Click(h, x, up);
    EXPECT_EQ(upDown->GetPosition(), 2);
    EXPECT_EQ(edit->GetText(), L"2");
    Click(h, x, down);
    EXPECT_EQ(upDown->GetPosition(), 1);
    EXPECT_EQ(clicks, (std::vector<std::wstring>{L"next", L"next", L"prev"}));
    upDown->SetPosition(3);
    Click(h, x, up);
    EXPECT_EQ(upDown->GetPosition(), 3);  // no wrap: stays at the top
    upDown->SetWrap(true);  // a new window with the wrapping style
    h = upDown->GetHandle();
    EXPECT_TRUE(::GetWindowLongW(h, GWL_STYLE) & UDS_WRAP);
    Click(h, x, up);
    EXPECT_EQ(upDown->GetPosition(), 0);
    EXPECT_EQ(edit->GetText(), L"0");
    // The buddy freed first is forgotten: stepping on does not touch it.
    delete edit;
    EXPECT_EQ(upDown->GetAssociate(), nullptr);
    Click(h, x, up);
    EXPECT_EQ(upDown->GetPosition(), 1);
    upDown->OnClick = nullptr;
}

TEST_F(CommonControlsInputTest, ClickingATabAsksFirstAndCanBeRefused) {
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(10, 10, 300, 200);
    tabs->GetTabs()->Add(L"视频");
    tabs->GetTabs()->Add(L"音频");
    bool allow = false;
    int asked = 0, changed = 0;
    tabs->OnChanging = [&](TObject*, bool& a) {
        ++asked;
        a = allow;
    };
    tabs->OnChange = [&](TObject*) { ++changed; };
    HWND h = tabs->GetHandle();
    RECT second{};
    ASSERT_TRUE(::SendMessageW(h, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    Click(h, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(tabs->GetTabIndex(), 0);
    allow = true;
    ::SendMessageW(h, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    Click(h, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(tabs->GetTabIndex(), 1);
    // Setting the index from code is no user change.
    tabs->SetTabIndex(0);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(::SendMessageW(h, TCM_GETCURSEL, 0, 0), 0);
    tabs->OnChanging = nullptr;
    tabs->OnChange = nullptr;
}

TEST_F(CommonControlsInputTest, ClickingAPageTabShowsThatSheetAndHidesTheOther) {
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(10, 10, 300, 200);
    auto* first = new TTabSheet(form.get());
    first->SetCaption(L"常规");
    first->SetPageControl(pages);
    auto* second = new TTabSheet(form.get());
    second->SetCaption(L"高级");
    second->SetPageControl(pages);
    HWND h = pages->GetHandle();
    RECT tab{};
    ::SendMessageW(h, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    Click(h, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_EQ(pages->GetActivePage(), second);
    EXPECT_TRUE(::IsWindowVisible(second->GetHandle()));
    EXPECT_FALSE(::IsWindowVisible(first->GetHandle()));
    // The sheet fills the area inside the tabs.
    RECT display = pages->DisplayRect();
    EXPECT_EQ(second->BoundsRect().left, display.left);
    EXPECT_EQ(second->BoundsRect().top, display.top);
    EXPECT_EQ(second->BoundsRect().right, display.right);
    EXPECT_EQ(second->BoundsRect().bottom, display.bottom);
    // Renaming a sheet renames its tab.
    second->SetCaption(L"更多");
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ::SendMessageW(h, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"更多");
}

TEST_F(CommonControlsInputTest, StatusPanelsBecomePartsWithTheirRightEdges) {
    auto* bar = new TStatusBar(form.get());
    bar->SetParent(form.get());
    bar->GetPanels()->Add()->SetWidth(120);
    bar->GetPanels()->Add()->SetWidth(80);
    bar->GetPanels()->Add()->SetText(L"最后");
    HWND h = bar->GetHandle();
    int edges[8] = {};
    ASSERT_EQ(::SendMessageW(h, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 120);
    EXPECT_EQ(edges[1], 200);
    // The bar sits at the bottom across the form.
    EXPECT_EQ(bar->GetAlign(), alBottom);
    EXPECT_EQ(bar->GetTop() + bar->GetHeight(), form->GetClientHeight());
    EXPECT_EQ(bar->GetWidth(), form->GetClientWidth());
    bar->GetPanels()->Items(0)->SetWidth(150);
    ::SendMessageW(h, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 150);
    EXPECT_EQ(edges[1], 230);
    bar->SetSimplePanel(true);
    bar->SetSimpleText(L"正在转换");
    EXPECT_TRUE(::SendMessageW(h, SB_ISSIMPLE, 0, 0));
    bar->SetSimplePanel(false);
    EXPECT_FALSE(::SendMessageW(h, SB_ISSIMPLE, 0, 0));
    wchar_t text[32] = {};
    ::SendMessageW(h, SB_GETTEXTW, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"最后");
}

TEST_F(CommonControlsInputTest, ListViewColumnsAreHeaderItemsAndClicksSelectRows) {
    auto* list = new TListView(form.get());
    list->SetParent(form.get());
    list->SetBounds(10, 10, 400, 250);
    list->SetViewStyle(vsReport);
    list->SetRowSelect(true);
    for (const wchar_t* caption : {L"文件名", L"状态"}) {
        TListColumn* column = list->GetColumns()->Add();
        column->SetCaption(caption);
        column->SetWidth(150);
    }
    for (const wchar_t* name : {L"a.avi", L"b.mp4", L"c.mkv"}) list->GetItems()->Add()->SetCaption(name);
    HWND h = list->GetHandle();
    HWND header = reinterpret_cast<HWND>(::SendMessageW(h, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    wchar_t text[32] = {};
    HDITEMW hd{};
    hd.mask = HDI_TEXT | HDI_WIDTH;
    hd.pszText = text;
    hd.cchTextMax = 32;
    ::SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&hd));
    EXPECT_STREQ(text, L"状态");
    EXPECT_EQ(hd.cxy, 150);
    int columnClicks = -1;
    list->OnColumnClick = [&](TObject*, TListColumn* column) { columnClicks = column->Index(); };
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(::SendMessageW(h, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row)));
    ::SetFocus(h);
    Click(h, 20, (row.top + row.bottom) / 2);
    ASSERT_NE(list->GetSelected(), nullptr);
    EXPECT_EQ(list->GetSelected()->GetCaption(), L"c.mkv");
    Key(h, VK_UP);
    ASSERT_NE(list->GetSelected(), nullptr);
    EXPECT_EQ(list->GetSelected()->GetCaption(), L"b.mp4");
    EXPECT_EQ(list->GetItemFocused(), list->GetSelected());
    // A click on the second column's header names that column.
    RECT second{};
    ::SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    Click(header, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(columnClicks, 1);
    list->OnColumnClick = nullptr;
}

TEST_F(CommonControlsInputTest, TreeViewKeysAndClicksMoveTheSelectionAndExpandNodes) {
    auto* tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(10, 10, 250, 250);
    TTreeNode* video = tree->GetItems()->AddChild(nullptr, L"视频");
    TTreeNode* avi = tree->GetItems()->AddChild(video, L"AVI");
    tree->GetItems()->AddChild(video, L"MP4");
    TTreeNode* audio = tree->GetItems()->AddChild(nullptr, L"音频");
    std::vector<std::wstring> changes;
    tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node ? node->GetText() : L"-"); };
    HWND h = tree->GetHandle();
    ::SetFocus(h);
    tree->SetSelected(video);
    changes.clear();
    Key(h, VK_RIGHT);  // opens the node
    EXPECT_TRUE(video->GetExpanded());
    Key(h, VK_DOWN);
    EXPECT_EQ(tree->GetSelected(), avi);
    Key(h, VK_END);
    EXPECT_EQ(tree->GetSelected(), audio);
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"AVI", L"音频"}));
    // A click on a row selects its node.
    RECT row{};
    *reinterpret_cast<HTREEITEM*>(&row) = video->ItemId();
    ASSERT_TRUE(::SendMessageW(h, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row)));
    // The tree tracks a press in a loop of its own that waits for the release in the
    // queue, so both are posted, as the system would.
    LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    ::PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(h, WM_LBUTTONUP, 0, at);
    for (int i = 0; i < 20 && tree->GetSelected() != video; ++i) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
    EXPECT_EQ(tree->GetSelected(), video);
    EXPECT_EQ(tree->GetNodeAt((row.left + row.right) / 2, (row.top + row.bottom) / 2), video);
    // Deleting the selected node leaves no dangling selection.
    video->Delete();
    EXPECT_NE(tree->GetSelected(), video);
    EXPECT_EQ(tree->GetItems()->Count(), 1);
    tree->OnChange = nullptr;
}

}  // namespace
