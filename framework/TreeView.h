#pragma once
// The tree view control with its nodes.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/ImgList.h"

namespace vx {

class TCustomTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent {
    VX_DECLARE_CLASS(TTreeNode, TPersistent)
public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;
    std::wstring GetText() const { return text_; }
    void SetText(const std::wstring& text);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int GetSelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    void* GetData() const { return data_; }
    void SetData(void* data) { data_ = data; }
    TTreeNode* GetParent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    bool HasChildren() const { return !children_.empty(); }
    int Index() const;
    int Level() const;
    // The next node in the order of a fully expanded tree.
    TTreeNode* GetNext() const;
    TTreeNode* GetNextSibling() const;
    void Expand(bool recursive);
    void Collapse(bool recursive);
    bool GetExpanded() const;
    bool GetSelected() const;
    void SetSelected(bool value);
    void MakeVisible();
    HTREEITEM ItemId() const { return item_; }
    void Delete();
    static void RegisterProperties(TPropertyRegistrar<TTreeNode>& r);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    void InsertNative(HTREEITEM after);
    void UpdateNative();
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<TTreeNode*> children_;
    std::wstring text_;
    int imageIndex_ = -1, selectedIndex_ = -1;
    void* data_ = nullptr;
    bool expanded_ = false;
    HTREEITEM item_ = nullptr;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}
    ~TTreeNodes();
    // A node after the last sibling of `sibling` (at the top level when null).
    TTreeNode* Add(TTreeNode* sibling, const std::wstring& text);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::wstring& text);
    // A node as the last child of `parent` (at the top level when null).
    TTreeNode* AddChild(TTreeNode* parent, const std::wstring& text);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::wstring& text);
    void Delete(TTreeNode* node);
    void Clear();
    // All nodes, in the order of a fully expanded tree.
    int Count() const;
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    TCustomTreeView* Owner() const { return owner_; }
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* Insert(TTreeNode* parent, int position, const std::wstring& text);
    std::vector<TTreeNode*>& SiblingList(TTreeNode* parent) { return parent ? parent->children_ : roots_; }
    TCustomTreeView* owner_;
    std::vector<TTreeNode*> roots_;
    int updateCount_ = 0;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TWinControl {
    VX_DECLARE_CLASS(TCustomTreeView, TWinControl)
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;
    TTreeNodes* GetItems() const { return items_.get(); }
    TTreeNode* GetSelected() const;
    void SetSelected(TTreeNode* node);
    int GetIndent() const;
    void SetIndent(int value);
    bool GetShowLines() const { return showLines_; }
    void SetShowLines(bool v);
    bool GetShowButtons() const { return showButtons_; }
    void SetShowButtons(bool v);
    bool GetShowRoot() const { return showRoot_; }
    void SetShowRoot(bool v);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TCustomImageList* GetImages() const { return images_; }
    void SetImages(TCustomImageList* images);
    void FullExpand();
    void FullCollapse();
    TTreeNode* GetNodeAt(int x, int y) const;

    TTVChangedEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TCustomTreeView>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;  // kept while the control has no window
    int indent_ = 19;
    bool showLines_ = true, showButtons_ = true, showRoot_ = true, readOnly_ = false, hideSelection_ = true,
         rowSelect_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    TCustomImageList* images_ = nullptr;
    bool destroyingNodes_ = false;
};

class TTreeView : public TCustomTreeView {
    VX_DECLARE_CLASS(TTreeView, TCustomTreeView)
public:
    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};

}  // namespace vx
