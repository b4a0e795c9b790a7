#include "framework/TreeView.h"

#include <algorithm>

namespace vx {

// --- Tree view ------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TTreeNode, TPersistent)

void TTreeNode::RegisterProperties(TPropertyRegistrar<TTreeNode>& r) {
    r.Text(L"Text", &TTreeNode::GetText, &TTreeNode::SetText)
        .Integer(L"ImageIndex", &TTreeNode::GetImageIndex, &TTreeNode::SetImageIndex)
        .Integer(L"SelectedIndex", &TTreeNode::GetSelectedIndex, &TTreeNode::SetSelectedIndex);
}

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* child : children_) {
        child->item_ = nullptr;  // the native items go with this one
        delete child;
    }
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

int TTreeNode::Index() const {
    const auto& list = parent_ ? parent_->children_ : owner_->roots_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& list = parent_ ? parent_->children_ : owner_->roots_;
    int i = Index();
    return i >= 0 && i + 1 < static_cast<int>(list.size()) ? list[static_cast<size_t>(i) + 1] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

void TTreeNode::InsertNative(HTREEITEM after) {
    TCustomTreeView* tv = owner_->owner_;
    if (!tv->HandleAllocated()) return;
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent_ ? parent_->item_ : TVI_ROOT;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = text_.data();
    ins.item.lParam = reinterpret_cast<LPARAM>(this);
    ins.item.iImage = imageIndex_;
    ins.item.iSelectedImage = selectedIndex_;
    item_ = reinterpret_cast<HTREEITEM>(::SendMessageW(tv->GetHandle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    HTREEITEM last = TVI_FIRST;
    for (TTreeNode* child : children_) {
        child->InsertNative(last);
        last = child->item_;
    }
    if (expanded_ && item_) ::SendMessageW(tv->GetHandle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::UpdateNative() {
    TCustomTreeView* tv = owner_->owner_;
    if (!tv->HandleAllocated() || !item_) return;
    TVITEMW it{};
    it.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = item_;
    it.pszText = text_.data();
    it.iImage = imageIndex_;
    it.iSelectedImage = selectedIndex_;
    ::SendMessageW(tv->GetHandle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

void TTreeNode::SetText(const std::wstring& text) {
    text_ = text;
    UpdateNative();
}
void TTreeNode::SetImageIndex(int index) {
    imageIndex_ = index;
    UpdateNative();
}
void TTreeNode::SetSelectedIndex(int index) {
    selectedIndex_ = index;
    UpdateNative();
}

void TTreeNode::Expand(bool recursive) {
    expanded_ = true;
    TCustomTreeView* tv = owner_->owner_;
    if (tv->HandleAllocated() && item_)
        ::SendMessageW(tv->GetHandle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
    if (recursive)
        for (TTreeNode* child : children_) child->Expand(true);
}

void TTreeNode::Collapse(bool recursive) {
    expanded_ = false;
    TCustomTreeView* tv = owner_->owner_;
    if (tv->HandleAllocated() && item_)
        ::SendMessageW(tv->GetHandle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
    if (recursive)
        for (TTreeNode* child : children_) child->Collapse(true);
}

bool TTreeNode::GetExpanded() const {
    TCustomTreeView* tv = owner_->owner_;
    if (!tv->HandleAllocated() || !item_) return expanded_ && !children_.empty();
    return (::SendMessageW(tv->GetHandle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

bool TTreeNode::GetSelected() const { return owner_->owner_->GetSelected() == this; }

void TTreeNode::SetSelected(bool value) {
    TCustomTreeView* tv = owner_->owner_;
    if (value) tv->SetSelected(this);
    else if (GetSelected()) tv->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
    TCustomTreeView* tv = owner_->owner_;
    if (tv->HandleAllocated() && item_)
        ::SendMessageW(tv->GetHandle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::Delete() { owner_->Delete(this); }

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* n : roots_) delete n;
}

TTreeNode* TTreeNodes::Insert(TTreeNode* parent, int position, const std::wstring& text) {
    auto* node = new TTreeNode(this, parent);
    node->text_ = text;
    auto& list = SiblingList(parent);
    position = std::clamp(position, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + position, node);
    if (owner_->HandleAllocated() && (!parent || parent->item_)) {
        HTREEITEM after = position == 0 ? TVI_FIRST : list[static_cast<size_t>(position) - 1]->item_;
        node->InsertNative(after);
    }
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::wstring& text) {
    TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
    return Insert(parent, static_cast<int>(SiblingList(parent).size()), text);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::wstring& text) {
    return Insert(sibling ? sibling->parent_ : nullptr, 0, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::wstring& text) {
    return Insert(parent, static_cast<int>(SiblingList(parent).size()), text);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::wstring& text) { return Insert(parent, 0, text); }

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node) return;
    for (TTreeNode* n = owner_->selected_; n; n = n->parent_)
        if (n == node) {
            owner_->selected_ = nullptr;
            break;
        }
    auto& list = SiblingList(node->parent_);
    list.erase(std::remove(list.begin(), list.end(), node), list.end());
    if (owner_->HandleAllocated() && node->item_) {
        owner_->destroyingNodes_ = true;
        ::SendMessageW(owner_->GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
        owner_->destroyingNodes_ = false;
    }
    delete node;
}

void TTreeNodes::Clear() {
    owner_->selected_ = nullptr;
    if (owner_->HandleAllocated()) {
        owner_->destroyingNodes_ = true;
        ::SendMessageW(owner_->GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        owner_->destroyingNodes_ = false;
    }
    for (TTreeNode* n : roots_) delete n;
    roots_.clear();
}

int TTreeNodes::Count() const {
    int count = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
    if (index < 0) return nullptr;
    TTreeNode* n = GetFirstNode();
    while (n && index-- > 0) n = n->GetNext();
    return n;
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0 && owner_->HandleAllocated()) ::SendMessageW(owner_->GetHandle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && owner_->HandleAllocated()) {
        ::SendMessageW(owner_->GetHandle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(owner_->GetHandle(), nullptr, TRUE);
    }
}

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomTreeView, TWinControl)
VX_IMPLEMENT_CLASS(TTreeView, TCustomTreeView)

void TCustomTreeView::RegisterProperties(TPropertyRegistrar<TCustomTreeView>& r) {
    r.Integer(L"Indent", &TCustomTreeView::GetIndent, &TCustomTreeView::SetIndent)
        .Boolean(L"ShowLines", &TCustomTreeView::GetShowLines, &TCustomTreeView::SetShowLines)
        .Boolean(L"ShowButtons", &TCustomTreeView::GetShowButtons, &TCustomTreeView::SetShowButtons)
        .Boolean(L"ShowRoot", &TCustomTreeView::GetShowRoot, &TCustomTreeView::SetShowRoot)
        .Boolean(L"ReadOnly", &TCustomTreeView::GetReadOnly, &TCustomTreeView::SetReadOnly)
        .Boolean(L"HideSelection", &TCustomTreeView::GetHideSelection, &TCustomTreeView::SetHideSelection)
        .Boolean(L"RowSelect", &TCustomTreeView::GetRowSelect, &TCustomTreeView::SetRowSelect)
        .Enumeration(L"BorderStyle", &TCustomTreeView::GetBorderStyle, &TCustomTreeView::SetBorderStyle,
                     {L"bsNone", L"bsSingle"})
        .Object(L"Images", &TCustomTreeView::GetImages, &TCustomTreeView::SetImages);
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
    Destroying();
    DestroyHandle();
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TREEVIEWW);
    p.WindowClass.style |= CS_DBLCLKS;
    if (showLines_) p.Style |= TVS_HASLINES;
    if (showButtons_) p.Style |= TVS_HASBUTTONS;
    if (showRoot_) p.Style |= TVS_LINESATROOT;
    if (!readOnly_) p.Style |= TVS_EDITLABELS;
    if (!hideSelection_) p.Style |= TVS_SHOWSELALWAYS;
    if (rowSelect_) p.Style |= TVS_FULLROWSELECT;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::InitializeWindow() {
    ::SendMessageW(handle_, TVM_SETINDENT, indent_, 0);
    ::SendMessageW(handle_, TVM_SETBKCOLOR, 0, ColorToColorRef(GetColor()));
    if (images_) ::SendMessageW(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->GetHandle()));
    HTREEITEM last = TVI_FIRST;
    for (TTreeNode* n : items_->roots_) {
        n->InsertNative(last);
        last = n->item_;
    }
    if (selected_ && selected_->item_)
        ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->item_));
}

void TCustomTreeView::DestroyWnd() {
    selected_ = GetSelected();
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) {
        n->expanded_ = n->GetExpanded();
    }
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->item_ = nullptr;
    TWinControl::DestroyWnd();
}

TTreeNode* TCustomTreeView::GetSelected() const {
    if (!handle_) return selected_;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return nullptr;
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    ::SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return reinterpret_cast<TTreeNode*>(it.lParam);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
    selected_ = node;
    if (HandleAllocated())
        ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

int TCustomTreeView::GetIndent() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, TVM_GETINDENT, 0, 0));
    return indent_;
}

void TCustomTreeView::SetIndent(int value) {
    indent_ = value;
    if (HandleAllocated()) ::SendMessageW(handle_, TVM_SETINDENT, value, 0);
}

namespace {
void ToggleStyle(HWND h, DWORD bit, bool on) {
    if (!h) return;
    LONG s = ::GetWindowLongW(h, GWL_STYLE);
    ::SetWindowLongW(h, GWL_STYLE, on ? (s | bit) : (s & ~bit));
    ::InvalidateRect(h, nullptr, TRUE);
}
}  // namespace

void TCustomTreeView::SetShowLines(bool v) {
    showLines_ = v;
    ToggleStyle(handle_, TVS_HASLINES, v);
}
void TCustomTreeView::SetShowButtons(bool v) {
    showButtons_ = v;
    ToggleStyle(handle_, TVS_HASBUTTONS, v);
}
void TCustomTreeView::SetShowRoot(bool v) {
    showRoot_ = v;
    ToggleStyle(handle_, TVS_LINESATROOT, v);
}
void TCustomTreeView::SetReadOnly(bool v) {
    readOnly_ = v;
    ToggleStyle(handle_, TVS_EDITLABELS, !v);
}
void TCustomTreeView::SetHideSelection(bool v) {
    hideSelection_ = v;
    ToggleStyle(handle_, TVS_SHOWSELALWAYS, !v);
}
void TCustomTreeView::SetRowSelect(bool v) {
    rowSelect_ = v;
    ToggleStyle(handle_, TVS_FULLROWSELECT, v);
}
void TCustomTreeView::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TCustomTreeView::SetImages(TCustomImageList* images) {
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images) FreeNotification(images);
    if (HandleAllocated())
        ::SendMessageW(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL,
                       reinterpret_cast<LPARAM>(images ? images->GetHandle() : nullptr));
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) SetImages(nullptr);
}

void TCustomTreeView::FullExpand() {
    for (TTreeNode* n : items_->roots_) n->Expand(true);
}
void TCustomTreeView::FullCollapse() {
    for (TTreeNode* n : items_->roots_) n->Collapse(true);
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
    if (!handle_) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT))) return nullptr;
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    ::SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return reinterpret_cast<TTreeNode*>(it.lParam);
}

void TCustomTreeView::WndProc(TMessage& m) {
    if (IsNotifyRecord(m)) {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        switch (hdr->code) {
        case TVN_SELCHANGEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(m.LParam);
            selected_ = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
            if (OnChange && !destroyingNodes_ && !IsDestroying()) OnChange(this, selected_);
            break;
        }
        case TVN_ITEMEXPANDEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(m.LParam);
            if (auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam))
                node->expanded_ = (nm->itemNew.state & TVIS_EXPANDED) != 0;
            break;
        }
        case TVN_BEGINLABELEDITW: m.Result = readOnly_ ? TRUE : FALSE; break;
        case TVN_ENDLABELEDITW: {
            auto* info = reinterpret_cast<NMTVDISPINFOW*>(m.LParam);
            if (info->item.pszText) {
                if (auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam)) node->text_ = info->item.pszText;
                m.Result = TRUE;
            }
            break;
        }
        case NM_CLICK: Click(); break;
        case NM_DBLCLK: DblClick(); break;
        default: break;
        }
        return;
    }
    if (m.Msg == WM_LBUTTONDBLCLK) {
        DefaultHandler(m);
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace vx
