#include "framework/ComCtrls.h"

#include <algorithm>
#include <cwchar>

namespace vx {

namespace {

void CopyText(const std::wstring& text, wchar_t* buffer, int size) {
    if (!buffer || size <= 0) return;
    size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = 0;
}

int ColumnFormat(TAlignment a) {
    return a == taRightJustify ? LVCFMT_RIGHT : a == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}

}  // namespace

// --- List view columns ------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TListColumn, TPersistent)

void TListColumn::RegisterProperties(TPropertyRegistrar<TListColumn>& r) {
    r.Text(L"Caption", &TListColumn::GetCaption, &TListColumn::SetCaption)
        .Integer(L"Width", &TListColumn::GetWidth, &TListColumn::SetWidth);
}

void TListColumn::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    owner_->UpdateNativeColumn(this);
}

int TListColumn::GetWidth() const {
    if (owner_->HandleAllocated())
        return static_cast<int>(::SendMessageW(owner_->GetHandle(), LVM_GETCOLUMNWIDTH, index_, 0));
    return width_;
}

void TListColumn::SetWidth(int width) {
    width_ = width;
    owner_->UpdateNativeColumn(this);
}

void TListColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    owner_->UpdateNativeColumn(this);
}

TListColumn* TListColumns::Add() {
    TListColumn* column = Append(std::make_unique<TListColumn>(owner_, Count()));
    owner_->InsertNativeColumn(column);
    return column;
}

void TListColumns::Clear() {
    if (owner_->HandleAllocated())
        for (int i = Count() - 1; i >= 0; --i) ::SendMessageW(owner_->GetHandle(), LVM_DELETECOLUMN, i, 0);
    DropAll();
}

// --- List view items ------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TListItem, TPersistent)

void TListItem::RegisterProperties(TPropertyRegistrar<TListItem>& r) {
    r.Text(L"Caption", &TListItem::GetCaption, &TListItem::SetCaption)
        .Integer(L"ImageIndex", &TListItem::GetImageIndex, &TListItem::SetImageIndex)
        .Boolean(L"Selected", &TListItem::GetSelected, &TListItem::SetSelected)
        .Object(L"SubItems", &TListItem::GetSubItems);
}

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = [this](TObject*) { Update(); };
}

TListItem::~TListItem() { subItems_->OnChange = nullptr; }

TCustomListView* TListItem::ListView() const { return owner_->Owner(); }

void TListItem::Update() {
    TCustomListView* lv = ListView();
    if (index_ >= 0 && lv->HandleAllocated() && owner_->updateCount_ == 0)
        ::SendMessageW(lv->GetHandle(), LVM_UPDATE, index_, 0);
}

void TListItem::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    Update();
    if (ListView()->OnChange) ListView()->OnChange(ListView(), this, ctText);
}

void TListItem::SetImageIndex(int index) {
    imageIndex_ = index;
    Update();
    if (ListView()->OnChange) ListView()->OnChange(ListView(), this, ctImage);
}

bool TListItem::GetSelected() const {
    TCustomListView* lv = ListView();
    if (!lv->HandleAllocated()) return selected_;
    return (::SendMessageW(lv->GetHandle(), LVM_GETITEMSTATE, index_, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value) {
    selected_ = value;
    TCustomListView* lv = ListView();
    if (!lv->HandleAllocated()) {
        if (value && !lv->GetMultiSelect())
            for (TListItem* other : owner_->items_)
                if (other != this) other->selected_ = false;
        return;
    }
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = value ? LVIS_SELECTED : 0;
    ::SendMessageW(lv->GetHandle(), LVM_SETITEMSTATE, index_, reinterpret_cast<LPARAM>(&item));
}

bool TListItem::GetFocused() const {
    TCustomListView* lv = ListView();
    if (!lv->HandleAllocated()) return false;
    return (::SendMessageW(lv->GetHandle(), LVM_GETITEMSTATE, index_, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool value) {
    TCustomListView* lv = ListView();
    if (!lv->HandleAllocated()) return;
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = value ? LVIS_FOCUSED : 0;
    ::SendMessageW(lv->GetHandle(), LVM_SETITEMSTATE, index_, reinterpret_cast<LPARAM>(&item));
}

void TListItem::MakeVisible() {
    TCustomListView* lv = ListView();
    if (lv->HandleAllocated()) ::SendMessageW(lv->GetHandle(), LVM_ENSUREVISIBLE, index_, FALSE);
}

void TListItem::Delete() { owner_->Delete(index_); }

TListItems::~TListItems() {
    for (TListItem* item : items_) delete item;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    auto* item = new TListItem(this);
    items_.insert(items_.begin() + index, item);
    Reindex(index);
    owner_->InsertNativeItem(item);
    return item;
}

void TListItems::Reindex(int from) {
    for (int i = std::max(0, from); i < Count(); ++i) items_[static_cast<size_t>(i)]->index_ = i;
}

void TListItems::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    TListItem* item = items_[static_cast<size_t>(index)];
    if (owner_->HandleAllocated()) ::SendMessageW(owner_->GetHandle(), LVM_DELETEITEM, index, 0);
    items_.erase(items_.begin() + index);
    Reindex(index);
    delete item;
}

void TListItems::Clear() {
    if (owner_->HandleAllocated()) ::SendMessageW(owner_->GetHandle(), LVM_DELETEALLITEMS, 0, 0);
    for (TListItem* item : items_) delete item;
    items_.clear();
}

TListItem* TListItems::Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<size_t>(index)];
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TListItems::BeginUpdate() {
    if (updateCount_++ == 0 && owner_->HandleAllocated()) ::SendMessageW(owner_->GetHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && owner_->HandleAllocated()) {
        if (owner_->countPending_) owner_->SyncNativeCount();
        ::SendMessageW(owner_->GetHandle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(owner_->GetHandle(), nullptr, TRUE);
    }
}

// --- TCustomListView -------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomListView, TWinControl)
VX_IMPLEMENT_CLASS(TListView, TCustomListView)

void TCustomListView::RegisterProperties(TPropertyRegistrar<TCustomListView>& r) {
    r.Enumeration(L"ViewStyle", &TCustomListView::GetViewStyle, &TCustomListView::SetViewStyle,
                  {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"})
        .Boolean(L"MultiSelect", &TCustomListView::GetMultiSelect, &TCustomListView::SetMultiSelect)
        .Boolean(L"RowSelect", &TCustomListView::GetRowSelect, &TCustomListView::SetRowSelect)
        .Boolean(L"ReadOnly", &TCustomListView::GetReadOnly, &TCustomListView::SetReadOnly)
        .Boolean(L"GridLines", &TCustomListView::GetGridLines, &TCustomListView::SetGridLines)
        .Boolean(L"HideSelection", &TCustomListView::GetHideSelection, &TCustomListView::SetHideSelection)
        .Boolean(L"ShowColumnHeaders", &TCustomListView::GetShowColumnHeaders,
                 &TCustomListView::SetShowColumnHeaders)
        .Boolean(L"OwnerData", &TCustomListView::GetOwnerData, &TCustomListView::SetOwnerData)
        .Enumeration(L"BorderStyle", &TCustomListView::GetBorderStyle, &TCustomListView::SetBorderStyle,
                     {L"bsNone", L"bsSingle"})
        .Object(L"SmallImages", &TCustomListView::GetSmallImages, &TCustomListView::SetSmallImages)
        .Object(L"LargeImages", &TCustomListView::GetLargeImages, &TCustomListView::SetLargeImages);
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
    Destroying();
    DestroyHandle();
}

void TCustomListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEWW);
    p.WindowClass.style |= CS_DBLCLKS;
    static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= views[viewStyle_] | LVS_SHAREIMAGELISTS;
    if (!multiSelect_) p.Style |= LVS_SINGLESEL;
    if (!readOnly_) p.Style |= LVS_EDITLABELS;
    if (!hideSelection_) p.Style |= LVS_SHOWSELALWAYS;
    if (!showColumnHeaders_) p.Style |= LVS_NOCOLUMNHEADER;
    if (ownerData_) p.Style |= LVS_OWNERDATA;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::UpdateExStyle() {
    if (!HandleAllocated()) return;
    DWORD ex = 0;
    if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
    if (gridLines_) ex |= LVS_EX_GRIDLINES;
    if (GetDoubleBuffered()) ex |= LVS_EX_DOUBLEBUFFER;
    ::SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER,
                   ex);
}

void TCustomListView::InitializeWindow() {
    UpdateExStyle();
    ::SendMessageW(handle_, LVM_SETBKCOLOR, 0, ColorToColorRef(GetColor()));
    ::SendMessageW(handle_, LVM_SETTEXTBKCOLOR, 0, ColorToColorRef(GetColor()));
    ::SendMessageW(handle_, LVM_SETTEXTCOLOR, 0, ColorToColorRef(GetFont()->GetColor()));
    if (smallImages_)
        ::SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->GetHandle()));
    if (largeImages_)
        ::SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages_->GetHandle()));
    for (int i = 0; i < columns_->Count(); ++i) InsertNativeColumn(columns_->Items(i));
    ::SendMessageW(handle_, LVM_SETITEMCOUNT, items_->Count(), 0);
    countPending_ = false;
    std::vector<bool> selected;
    for (TListItem* item : items_->items_) selected.push_back(item->selected_);
    if (!ownerData_)
        for (TListItem* item : items_->items_) InsertNativeItem(item);
    for (size_t i = 0; i < selected.size(); ++i)
        if (selected[i]) items_->items_[i]->SetSelected(true);
}

void TCustomListView::DestroyWnd() {
    for (TListItem* item : items_->items_) item->selected_ = item->GetSelected();
    for (int i = 0; i < columns_->Count(); ++i) columns_->Items(i)->width_ = columns_->Items(i)->GetWidth();
    TWinControl::DestroyWnd();
}

void TCustomListView::InsertNativeColumn(TListColumn* column) {
    if (!HandleAllocated()) return;
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.pszText = column->caption_.data();
    c.cx = column->width_;
    c.fmt = ColumnFormat(column->alignment_);
    c.iSubItem = column->index_;
    ::SendMessageW(handle_, LVM_INSERTCOLUMNW, column->index_, reinterpret_cast<LPARAM>(&c));
}

void TCustomListView::UpdateNativeColumn(TListColumn* column) {
    if (!HandleAllocated()) return;
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.pszText = column->caption_.data();
    c.cx = column->width_;
    c.fmt = ColumnFormat(column->alignment_);
    ::SendMessageW(handle_, LVM_SETCOLUMNW, column->index_, reinterpret_cast<LPARAM>(&c));
}

void TCustomListView::InsertNativeItem(TListItem* item) {
    if (!HandleAllocated()) return;
    if (ownerData_) {
        // The window only learns the number of rows; a row put in before others moves
        // their selection, which the window keeps by index, so it is carried over.
        const bool appended = item->index_ == items_->Count() - 1;
        if (appended && items_->updateCount_ > 0) {
            countPending_ = true;
            return;
        }
        std::vector<int> selected;  // by the rows' new indices
        if (!appended)
            for (int j = 0; j + 1 < items_->Count(); ++j)
                if (::SendMessageW(handle_, LVM_GETITEMSTATE, j, LVIS_SELECTED) & LVIS_SELECTED)
                    selected.push_back(j < item->index_ ? j : j + 1);
        SyncNativeCount();
        if (!appended) {
            ClearSelection();
            for (int i : selected) items_->items_[static_cast<size_t>(i)]->SetSelected(true);
            ::InvalidateRect(handle_, nullptr, TRUE);
        }
        return;
    }
    // Texts and pictures are asked for when drawn (LVN_GETDISPINFO), so adding
    // thousands of rows costs one message each.
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lv.iItem = item->index_;
    lv.pszText = LPSTR_TEXTCALLBACKW;
    lv.iImage = I_IMAGECALLBACK;
    lv.lParam = reinterpret_cast<LPARAM>(item);
    ::SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
}

void TCustomListView::SyncNativeCount() {
    countPending_ = false;
    if (HandleAllocated())
        ::SendMessageW(handle_, LVM_SETITEMCOUNT, items_->Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void TCustomListView::SetOwnerData(bool value) {
    if (value == ownerData_) return;
    ownerData_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomListView::SetViewStyle(TViewStyle style) {
    if (style == viewStyle_) return;
    viewStyle_ = style;
    if (HandleAllocated()) {
        static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        LONG s = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, (s & ~LVS_TYPEMASK) | views[style]);
        Invalidate();
    }
}

void TCustomListView::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    multiSelect_ = v;
    if (HandleAllocated()) {
        LONG s = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, v ? (s & ~LVS_SINGLESEL) : (s | LVS_SINGLESEL));
    }
}

void TCustomListView::SetDoubleBuffered(bool value) {
    TWinControl::SetDoubleBuffered(value);
    UpdateExStyle();
}

void TCustomListView::SetRowSelect(bool v) {
    rowSelect_ = v;
    UpdateExStyle();
}
void TCustomListView::SetGridLines(bool v) {
    gridLines_ = v;
    UpdateExStyle();
}

void TCustomListView::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HandleAllocated()) {
        LONG s = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, v ? (s & ~LVS_EDITLABELS) : (s | LVS_EDITLABELS));
    }
}

void TCustomListView::SetHideSelection(bool v) {
    hideSelection_ = v;
    if (HandleAllocated()) {
        LONG s = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, v ? (s & ~LVS_SHOWSELALWAYS) : (s | LVS_SHOWSELALWAYS));
    }
}

void TCustomListView::SetShowColumnHeaders(bool v) {
    showColumnHeaders_ = v;
    if (HandleAllocated()) {
        LONG s = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, v ? (s & ~LVS_NOCOLUMNHEADER) : (s | LVS_NOCOLUMNHEADER));
    }
}

void TCustomListView::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* images) {
    if (smallImages_) RemoveFreeNotification(smallImages_);
    smallImages_ = images;
    if (images) FreeNotification(images);
    if (HandleAllocated())
        ::SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_SMALL,
                       reinterpret_cast<LPARAM>(images ? images->GetHandle() : nullptr));
}

void TCustomListView::SetLargeImages(TCustomImageList* images) {
    if (largeImages_) RemoveFreeNotification(largeImages_);
    largeImages_ = images;
    if (images) FreeNotification(images);
    if (HandleAllocated())
        ::SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_NORMAL,
                       reinterpret_cast<LPARAM>(images ? images->GetHandle() : nullptr));
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == smallImages_) SetSmallImages(nullptr);
    if (component == largeImages_) SetLargeImages(nullptr);
}

TListItem* TCustomListView::GetSelected() const {
    if (!handle_) {
        for (TListItem* item : items_->items_)
            if (item->selected_) return item;
        return nullptr;
    }
    int index = static_cast<int>(::SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return items_->Items(index);
}

void TCustomListView::SetSelected(TListItem* item) {
    ClearSelection();
    if (item) {
        item->SetSelected(true);
        item->SetFocused(true);
    }
}

int TCustomListView::SelCount() const {
    if (!handle_) {
        return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                              [](TListItem* i) { return i->selected_; }));
    }
    return static_cast<int>(::SendMessageW(handle_, LVM_GETSELECTEDCOUNT, 0, 0));
}

TListItem* TCustomListView::GetItemFocused() const {
    if (!handle_) return nullptr;
    int index = static_cast<int>(::SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return items_->Items(index);
}

TListItem* TCustomListView::GetItemAt(int x, int y) const {
    if (!handle_) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    int index = static_cast<int>(::SendMessageW(handle_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index < 0 || !(hit.flags & LVHT_ONITEM)) {
        // In report view with row select, the rest of the row counts too.
        LVHITTESTINFO sub{};
        sub.pt = POINT{x, y};
        index = static_cast<int>(::SendMessageW(handle_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&sub)));
    }
    return items_->Items(index);
}

void TCustomListView::ClearSelection() {
    if (!handle_) {
        for (TListItem* item : items_->items_) item->selected_ = false;
        return;
    }
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    ::SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void TCustomListView::SelectAll() {
    if (!multiSelect_) return;
    if (!handle_) {
        for (TListItem* item : items_->items_) item->selected_ = true;
        return;
    }
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    ::SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void TCustomListView::HandleNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    switch (hdr->code) {
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
        // An owner-data window has no item data of its own: the row is found by index.
        auto* item = ownerData_ ? nullptr : reinterpret_cast<TListItem*>(info->item.lParam);
        if (!item) item = items_->Items(info->item.iItem);
        if (!item) return;
        if (info->item.mask & LVIF_TEXT) {
            int sub = info->item.iSubItem;
            const std::wstring* text = &item->caption_;
            if (sub > 0) {
                textBuffer_ = sub - 1 < item->subItems_->GetCount() ? item->subItems_->Get(sub - 1) : L"";
                text = &textBuffer_;
            }
            CopyText(*text, info->item.pszText, info->item.cchTextMax);
        }
        if (info->item.mask & LVIF_IMAGE) info->item.iImage = info->item.iSubItem == 0 ? item->imageIndex_ : -1;
        return;
    }
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        // A change of every row at once (index -1, as an owner-data window reports a
        // selection cleared or made over all rows) names no item.
        if (nm->iItem >= 0 && (nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)) {
            TListItem* item = items_->Items(nm->iItem);
            if (OnSelectItem && !IsDestroying()) OnSelectItem(this, item, (nm->uNewState & LVIS_SELECTED) != 0);
            if (OnChange && item && !IsDestroying()) OnChange(this, item, ctState);
        }
        return;
    }
    case LVN_COLUMNCLICK: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (OnColumnClick) OnColumnClick(this, columns_->Items(nm->iSubItem));
        return;
    }
    case LVN_BEGINLABELEDITW: m.Result = readOnly_ ? TRUE : FALSE; return;
    case LVN_ENDLABELEDITW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
        if (info->item.pszText) {
            if (TListItem* item = items_->Items(info->item.iItem)) item->SetCaption(info->item.pszText);
        }
        m.Result = FALSE;
        return;
    }
    case NM_CLICK: Click(); return;
    case NM_DBLCLK: DblClick(); return;
    case NM_RCLICK: return;
    default: break;
    }
}

void TCustomListView::WndProc(TMessage& m) {
    if (IsNotifyRecord(m)) {
        HandleNotify(m);
        return;
    }
    switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
        // The double-click is reported through NM_DBLCLK.
        DefaultHandler(m);
        return;
    default: break;
    }
    TWinControl::WndProc(m);
    if (m.Msg == CM_COLORCHANGED && HandleAllocated()) {
        ::SendMessageW(handle_, LVM_SETBKCOLOR, 0, ColorToColorRef(GetColor()));
        ::SendMessageW(handle_, LVM_SETTEXTBKCOLOR, 0, ColorToColorRef(GetColor()));
    }
}

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

// --- Progress bar ----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TProgressBar, TWinControl)

void TProgressBar::RegisterProperties(TPropertyRegistrar<TProgressBar>& r) {
    r.Integer(L"Min", &TProgressBar::GetMin, &TProgressBar::SetMin)
        .Integer(L"Max", &TProgressBar::GetMax, &TProgressBar::SetMax)
        .Integer(L"Position", &TProgressBar::GetPosition, &TProgressBar::SetPosition)
        .Integer(L"Step", &TProgressBar::GetStep, &TProgressBar::SetStep)
        .Boolean(L"Smooth", &TProgressBar::GetSmooth, &TProgressBar::SetSmooth)
        .Enumeration(L"Orientation", &TProgressBar::GetOrientation, &TProgressBar::SetOrientation,
                     {L"pbHorizontal", L"pbVertical"});
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, PROGRESS_CLASSW);
    if (smooth_) p.Style |= PBS_SMOOTH;
    if (orientation_ == pbVertical) p.Style |= PBS_VERTICAL;
}

void TProgressBar::InitializeWindow() {
    ::SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
    ::SendMessageW(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetMin(int v) {
    min_ = v;
    if (HandleAllocated()) InitializeWindow();
}
void TProgressBar::SetMax(int v) {
    max_ = v;
    if (HandleAllocated()) InitializeWindow();
}
int TProgressBar::GetPosition() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, PBM_GETPOS, 0, 0));
    return position_;
}
void TProgressBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, std::max(min_, max_));
    if (HandleAllocated()) ::SendMessageW(handle_, PBM_SETPOS, position_, 0);
}
void TProgressBar::SetSmooth(bool v) {
    if (v == smooth_) return;
    smooth_ = v;
    RecreateWnd();
}
void TProgressBar::SetOrientation(TProgressBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}

// --- Track bar ---------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TTrackBar, TWinControl)

void TTrackBar::RegisterProperties(TPropertyRegistrar<TTrackBar>& r) {
    r.Integer(L"Min", &TTrackBar::GetMin, &TTrackBar::SetMin)
        .Integer(L"Max", &TTrackBar::GetMax, &TTrackBar::SetMax)
        .Integer(L"Position", &TTrackBar::GetPosition, &TTrackBar::SetPosition)
        .Integer(L"Frequency", &TTrackBar::GetFrequency, &TTrackBar::SetFrequency)
        .Enumeration(L"Orientation", &TTrackBar::GetOrientation, &TTrackBar::SetOrientation,
                     {L"trHorizontal", L"trVertical"});
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, TRACKBAR_CLASSW);
    p.Style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::InitializeWindow() {
    ::SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
    ::SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
    ::SendMessageW(handle_, TBM_SETTICFREQ, frequency_, 0);
    ::SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetMin(int v) {
    min_ = v;
    if (HandleAllocated()) InitializeWindow();
}
void TTrackBar::SetMax(int v) {
    max_ = v;
    if (HandleAllocated()) InitializeWindow();
}
int TTrackBar::GetPosition() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, TBM_GETPOS, 0, 0));
    return position_;
}
void TTrackBar::SetPosition(int v) {
    v = std::clamp(v, min_, std::max(min_, max_));
    bool changed = v != GetPosition();
    position_ = v;
    if (HandleAllocated()) ::SendMessageW(handle_, TBM_SETPOS, TRUE, v);
    if (changed && OnChange && !IsDestroying()) OnChange(this);
}
void TTrackBar::SetFrequency(int v) {
    frequency_ = v;
    if (HandleAllocated()) ::SendMessageW(handle_, TBM_SETTICFREQ, v, 0);
}
void TTrackBar::SetOrientation(TTrackBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = static_cast<int>(::SendMessageW(handle_, TBM_GETPOS, 0, 0));
        if (pos != position_) {
            position_ = pos;
            if (OnChange && !IsDestroying()) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

// --- Up-down -----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomUpDown, TWinControl)
VX_IMPLEMENT_CLASS(TUpDown, TCustomUpDown)

void TCustomUpDown::RegisterProperties(TPropertyRegistrar<TCustomUpDown>& r) {
    r.Integer(L"Min", &TCustomUpDown::GetMin, &TCustomUpDown::SetMin)
        .Integer(L"Max", &TCustomUpDown::GetMax, &TCustomUpDown::SetMax)
        .Integer(L"Position", &TCustomUpDown::GetPosition, &TCustomUpDown::SetPosition)
        .Integer(L"Increment", &TCustomUpDown::GetIncrement, &TCustomUpDown::SetIncrement)
        .Boolean(L"Wrap", &TCustomUpDown::GetWrap, &TCustomUpDown::SetWrap)
        .Enumeration(L"Orientation", &TCustomUpDown::GetOrientation, &TCustomUpDown::SetOrientation,
                     {L"udHorizontal", L"udVertical"})
        .Object(L"Associate", &TCustomUpDown::GetAssociate, &TCustomUpDown::SetAssociate);
}

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }

void TCustomUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSW);
    p.Style |= UDS_SETBUDDYINT | UDS_NOTHOUSANDS;
    if (wrap_) p.Style |= UDS_WRAP;
    if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
}

void TCustomUpDown::InitializeWindow() {
    ::SendMessageW(handle_, UDM_SETRANGE32, min_, max_);
    ::SendMessageW(handle_, UDM_SETPOS32, 0, position_);
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    ::SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_) ::SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->GetHandle()), 0);
}

void TCustomUpDown::SetMin(int v) {
    min_ = v;
    if (HandleAllocated()) InitializeWindow();
}
void TCustomUpDown::SetMax(int v) {
    max_ = v;
    if (HandleAllocated()) InitializeWindow();
}
int TCustomUpDown::GetPosition() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, UDM_GETPOS32, 0, 0));
    return position_;
}
void TCustomUpDown::SetPosition(int v) {
    position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (HandleAllocated()) ::SendMessageW(handle_, UDM_SETPOS32, 0, position_);
    if (associate_) associate_->SetText(std::to_wstring(position_));
}
void TCustomUpDown::SetIncrement(int v) {
    increment_ = v;
    if (HandleAllocated()) InitializeWindow();
}
void TCustomUpDown::SetWrap(bool v) {
    if (v == wrap_) return;
    wrap_ = v;
    RecreateWnd();
}
void TCustomUpDown::SetOrientation(TUDOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}
void TCustomUpDown::SetAssociate(TWinControl* control) {
    if (associate_) RemoveFreeNotification(associate_);
    associate_ = control;
    if (control) {
        FreeNotification(control);
        control->SetText(std::to_wstring(position_));
        if (HandleAllocated()) ::SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control->GetHandle()), 0);
    }
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == associate_) {
        associate_ = nullptr;
        // The window must not keep the handle of a buddy that is gone (handles are
        // reused, and it writes the position into its buddy's text).
        if (HandleAllocated()) ::SendMessageW(handle_, UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::WndProc(TMessage& m) {
    if (IsNotifyRecord(m)) {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        if (hdr->code == UDN_DELTAPOS) {
            auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
            if (OnClick && !IsDestroying()) OnClick(this, nm->iDelta > 0 ? btNext : btPrev);
        }
        return;
    }
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        position_ = static_cast<int>(::SendMessageW(handle_, UDM_GETPOS32, 0, 0));
        return;
    }
    TWinControl::WndProc(m);
}

// --- Tab control ----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomTabControl, TWinControl)
VX_IMPLEMENT_CLASS(TTabControl, TCustomTabControl)

void TCustomTabControl::RegisterProperties(TPropertyRegistrar<TCustomTabControl>& r) {
    r.Integer(L"TabIndex", &TCustomTabControl::GetTabIndex, &TCustomTabControl::SetTabIndex)
        .Object(L"Tabs", &TCustomTabControl::GetTabs);
}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), tabs_(std::make_unique<TStringList>()) {
    SetTabStop(true);
    SetColor(clBtnFace);
    SetBounds(0, 0, 289, 193);
    tabs_->OnChange = [this](TObject*) { TabsChanged(); };
}

TCustomTabControl::~TCustomTabControl() { tabs_->OnChange = nullptr; }

void TCustomTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLW);
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::InitializeWindow() {
    TabsChanged();
    if (tabIndex_ >= 0) ::SendMessageW(handle_, TCM_SETCURSEL, tabIndex_, 0);
}

void TCustomTabControl::DestroyWnd() {
    tabIndex_ = GetTabIndex();
    TWinControl::DestroyWnd();
}

void TCustomTabControl::TabsChanged() {
    if (!HandleAllocated()) {
        if (tabIndex_ >= tabs_->GetCount()) tabIndex_ = tabs_->GetCount() - 1;
        return;
    }
    int index = GetTabIndex();
    ::SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < tabs_->GetCount(); ++i) {
        std::wstring text = tabs_->Get(i);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        ::SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    if (index >= tabs_->GetCount()) index = tabs_->GetCount() - 1;
    if (index < 0 && tabs_->GetCount() > 0) index = 0;
    if (index >= 0) ::SendMessageW(handle_, TCM_SETCURSEL, index, 0);
    Realign();
}

int TCustomTabControl::GetTabIndex() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
    return tabIndex_;
}

void TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= tabs_->GetCount()) return;
    tabIndex_ = index;
    if (HandleAllocated()) ::SendMessageW(handle_, TCM_SETCURSEL, index, 0);
}

RECT TCustomTabControl::DisplayRect() const {
    RECT r = GetClientRect();
    if (handle_) {
        ::SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    } else {
        r.top += std::abs(GetFont()->GetHeight()) + 10;
        ::InflateRect(&r, -4, -4);
    }
    return r;
}

void TCustomTabControl::AdjustClientRect(RECT& rect) const {
    rect = DisplayRect();
    TWinControl::AdjustClientRect(rect);
}

void TCustomTabControl::Change() {
    if (OnChange && !IsDestroying()) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& m) {
    if (m.Msg == WM_NCHITTEST) {
        // The system tab control lets the mouse through everywhere but on its tabs;
        // the controls placed on it (graphic ones have no window) must still get it.
        TWinControl::WndProc(m);
        if (m.Result == HTTRANSPARENT) m.Result = HTCLIENT;
        return;
    }
    if (IsNotifyRecord(m)) {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        if (hdr->code == TCN_SELCHANGING) {
            bool allow = true;
            if (OnChanging) OnChanging(this, allow);
            m.Result = allow ? FALSE : TRUE;
        } else if (hdr->code == TCN_SELCHANGE) {
            tabIndex_ = GetTabIndex();
            Change();
        }
        return;
    }
    TWinControl::WndProc(m);
}

// --- Page control ----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TTabSheet, TCustomControl)
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TPageControl, TCustomTabControl)

void TPageControl::RegisterProperties(TPropertyRegistrar<TPageControl>& r) {
    r.Integer(L"ActivePageIndex", &TPageControl::GetActivePageIndex, &TPageControl::SetActivePageIndex)
        .Object(L"ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage);
}

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    InitVisible(false);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    if (control) control->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::TextChanged() {
    TCustomControl::TextChanged();
    if (pageControl_) pageControl_->SheetCaptionChanged();
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    Destroying();
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) return nullptr;
    return pages_[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    page->SetParent(this);
    page->SetAlign(alNone);
    SheetCaptionChanged();
    if (!activePage_) SetActivePage(page);
    Realign();
}

void TPageControl::RemovePage(TTabSheet* page) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    page->pageControl_ = nullptr;
    if (activePage_ == page) {
        activePage_ = nullptr;
        if (!IsDestroying() && !pages_.empty()) SetActivePage(pages_.front());
    }
    if (!IsDestroying()) SheetCaptionChanged();
}

void TPageControl::SheetCaptionChanged() {
    {
        TUpdateGuard update(*tabs_);
        tabs_->Clear();
        for (TTabSheet* page : pages_) tabs_->Add(page->GetCaption());
    }
    if (activePage_) SetTabIndex(activePage_->PageIndex());
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    activePage_ = page;
    for (TTabSheet* p : pages_) p->SetVisible(p == page);
    if (page) {
        SetTabIndex(page->PageIndex());
        page->BringToFront();
    }
    Realign();
}

int TPageControl::GetActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) { SetActivePage(Pages(index)); }

void TPageControl::Change() {
    SetActivePage(Pages(GetTabIndex()));
    TCustomTabControl::Change();
}

void TPageControl::AlignControls(RECT& rect) {
    for (TTabSheet* page : pages_) page->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    TCustomTabControl::AlignControls(rect);
}

// --- Status bar --------------------------------------------------------------------------------------------

void TStatusPanel::SetText(const std::wstring& text) {
    text_ = text;
    owner_->UpdatePanels();
}
void TStatusPanel::SetWidth(int width) {
    width_ = width;
    owner_->UpdatePanels();
}
void TStatusPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    owner_->UpdatePanels();
}

TStatusPanel* TStatusPanels::Add() {
    TStatusPanel* panel = Append(std::make_unique<TStatusPanel>(owner_));
    owner_->UpdatePanels();
    return panel;
}

void TStatusPanels::Clear() {
    DropAll();
    owner_->UpdatePanels();
}

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TStatusBar, TWinControl)

void TStatusBar::RegisterProperties(TPropertyRegistrar<TStatusBar>& r) {
    r.Boolean(L"SimplePanel", &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel)
        .Text(L"SimpleText", &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText)
        .Boolean(L"SizeGrip", &TStatusBar::GetSizeGrip, &TStatusBar::SetSizeGrip);
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEW);
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    if (sizeGrip_) p.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::InitializeWindow() { UpdatePanels(); }

void TStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    ::SendMessageW(handle_, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    if (simplePanel_) {
        ::SendMessageW(handle_, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    std::vector<int> edges;
    int x = 0;
    for (int i = 0; i < panels_->Count(); ++i) {
        x += panels_->Items(i)->GetWidth();
        edges.push_back(i + 1 == panels_->Count() ? -1 : x);
    }
    if (edges.empty()) edges.push_back(-1);
    ::SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < panels_->Count(); ++i) {
        std::wstring text = panels_->Items(i)->GetText();
        TAlignment a = panels_->Items(i)->GetAlignment();
        if (a == taCenter) text = L"\t" + text;
        else if (a == taRightJustify) text = L"\t\t" + text;
        ::SendMessageW(handle_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    UpdatePanels();
}
void TStatusBar::SetSimpleText(const std::wstring& text) {
    simpleText_ = text;
    UpdatePanels();
}
void TStatusBar::SetSizeGrip(bool v) {
    if (v == sizeGrip_) return;
    sizeGrip_ = v;
    RecreateWnd();
}

// --- Date-time picker ----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TDateTimePicker, TWinControl)

void TDateTimePicker::RegisterProperties(TPropertyRegistrar<TDateTimePicker>& r) {
    r.Enumeration(L"Kind", &TDateTimePicker::GetKind, &TDateTimePicker::SetKind, {L"dtkDate", L"dtkTime"})
        .Enumeration(L"DateFormat", &TDateTimePicker::GetDateFormat, &TDateTimePicker::SetDateFormat,
                     {L"dfShort", L"dfLong"});
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 186, 21);
    ::GetLocalTime(&value_);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, DATETIMEPICK_CLASSW);
    p.Style |= kind_ == dtkTime ? DTS_TIMEFORMAT : (dateFormat_ == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT);
}

void TDateTimePicker::InitializeWindow() {
    ::SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
}

void TDateTimePicker::DestroyWnd() {
    value_ = GetDateTime();
    TWinControl::DestroyWnd();
}

SYSTEMTIME TDateTimePicker::GetDateTime() const {
    if (!handle_) return value_;
    SYSTEMTIME st{};
    if (::SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID) return st;
    return value_;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value) {
    value_ = value;
    if (HandleAllocated()) InitializeWindow();
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat format) {
    if (format == dateFormat_) return;
    dateFormat_ = format;
    RecreateWnd();
}

void TDateTimePicker::WndProc(TMessage& m) {
    if (IsNotifyRecord(m)) {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        if (hdr->code == DTN_DATETIMECHANGE) {
            value_ = GetDateTime();
            if (OnChange && !IsDestroying()) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace vx
