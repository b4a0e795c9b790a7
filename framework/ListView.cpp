#include "framework/ListView.h"

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

}  // namespace vx
