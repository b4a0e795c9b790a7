#include "framework/TabControls.h"

#include <algorithm>

namespace vx {

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

}  // namespace vx
