// The tree view: node texts, expansion and selection.

#include <gtest/gtest.h>

#include <memory>

#include "framework/Forms.h"
#include "framework/TreeView.h"

namespace {

using namespace vx;

TEST(TreeViewTest, NodesTextsExpansionAndSelection) {
    TForm form(nullptr);
    auto* tree = new TTreeView(&form);
    tree->SetParent(&form);
    tree->SetReadOnly(true);
    tree->SetIndent(19);
    TTreeNode* general = tree->GetItems()->Add(nullptr, L"概要");
    TTreeNode* video = tree->GetItems()->Add(general, L"视频");
    TTreeNode* codec = tree->GetItems()->AddChild(video, L"编码: MPEG-4");
    tree->GetItems()->AddChild(codec, L"Profile");
    tree->GetItems()->AddChild(general, L"格式: AVI");
    EXPECT_EQ(tree->GetItems()->Count(), 5);
    EXPECT_EQ(tree->GetItems()->Item(0), general);
    EXPECT_EQ(tree->GetItems()->Item(1)->GetText(), L"格式: AVI");
    EXPECT_EQ(tree->GetItems()->Item(2), video);
    EXPECT_EQ(codec->Level(), 1);
    HWND h = tree->GetHandle();
    EXPECT_EQ(::SendMessageW(h, TVM_GETCOUNT, 0, 0), 5);
    video->Expand(true);
    EXPECT_TRUE(video->GetExpanded());
    EXPECT_TRUE(codec->GetExpanded());
    EXPECT_FALSE(general->GetExpanded());
    codec->SetText(L"编码: H.264");
    wchar_t buffer[64] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = codec->ItemId();
    item.pszText = buffer;
    item.cchTextMax = 64;
    ::SendMessageW(h, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(buffer, L"编码: H.264");
    TTreeNode* changed = nullptr;
    tree->OnChange = [&](TObject*, TTreeNode* n) { changed = n; };
    tree->SetSelected(codec);
    EXPECT_EQ(tree->GetSelected(), codec);
    EXPECT_EQ(changed, codec);
    EXPECT_TRUE(::GetWindowLongW(h, GWL_STYLE) & TVS_HASLINES);
    EXPECT_FALSE(::GetWindowLongW(h, GWL_STYLE) & TVS_EDITLABELS);
    // Deleting a branch removes its nodes and clears a selection inside it.
    video->Delete();
    EXPECT_EQ(tree->GetItems()->Count(), 2);
    EXPECT_EQ(::SendMessageW(h, TVM_GETCOUNT, 0, 0), 2);
    tree->GetItems()->Clear();
    EXPECT_EQ(tree->GetItems()->Count(), 0);
}

TEST(TreeViewTest, NodesAddedBeforeTheWindowKeepTheirExpansion) {
    TForm form(nullptr);
    auto* tree = new TTreeView(&form);
    TTreeNode* root = tree->GetItems()->Add(nullptr, L"root");
    tree->GetItems()->AddChild(root, L"child");
    root->Expand(false);
    tree->SetParent(&form);
    tree->HandleNeeded();
    EXPECT_EQ(::SendMessageW(tree->GetHandle(), TVM_GETCOUNT, 0, 0), 2);
    EXPECT_TRUE(root->GetExpanded());
}

}  // namespace
