#include "framework/Menus.h"

#include <algorithm>
#include <map>

#include "framework/Forms.h"
#include "framework/ImgList.h"

namespace vx {

namespace {

// Command numbers in use, and the items they belong to.
std::map<UINT, TMenuItem*>& CommandMap() {
    static std::map<UINT, TMenuItem*> map;
    return map;
}

UINT NextCommand() {
    static UINT next = 100;
    for (;;) {
        if (++next >= 0xF000) next = 100;
        if (!CommandMap().count(next)) return next;
    }
}

std::wstring KeyName(WORD key) {
    if (key >= 'A' && key <= 'Z') return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= '0' && key <= '9') return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    switch (key) {
    case VK_DELETE: return L"Del";
    case VK_INSERT: return L"Ins";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    case VK_BACK: return L"BkSp";
    case VK_TAB: return L"Tab";
    case VK_HOME: return L"Home";
    case VK_END: return L"End";
    case VK_PRIOR: return L"PgUp";
    case VK_NEXT: return L"PgDn";
    case VK_LEFT: return L"Left";
    case VK_RIGHT: return L"Right";
    case VK_UP: return L"Up";
    case VK_DOWN: return L"Down";
    default: return L"";
    }
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00) return 0;
    TShortCut sc = key;
    if (shift & ssShift) sc |= scShift;
    if (shift & ssCtrl) sc |= scCtrl;
    if (shift & ssAlt) sc |= scAlt;
    return sc;
}

std::wstring ShortCutToText(TShortCut sc) {
    std::wstring name = KeyName(sc & 0xFF);
    if (name.empty()) return L"";
    std::wstring prefix;
    if (sc & scShift) prefix += L"Shift+";
    if (sc & scCtrl) prefix += L"Ctrl+";
    if (sc & scAlt) prefix += L"Alt+";
    return prefix + name;
}

// --- TMenuItem ---------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TMenuItem, TComponent)

void TMenuItem::RegisterProperties(TPropertyRegistrar<TMenuItem>& r) {
    r.Text(L"Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption)
        .Integer(L"ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut)
        .Integer(L"ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex)
        .Boolean(L"Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault)
        .Boolean(L"Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled)
        .Boolean(L"Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked)
        .Boolean(L"RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem)
        .Boolean(L"Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible)
        .Text(L"Hint", &TMenuItem::GetHint, &TMenuItem::SetHint);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
    CommandMap()[command_] = this;
}

TMenuItem::~TMenuItem() {
    while (!items_.empty()) delete items_.back();  // each removes itself
    if (parentItem_) parentItem_->Remove(this);
    CommandMap().erase(command_);
}

void TMenuItem::Changed() {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    Changed();
}
void TMenuItem::SetShortCut(TShortCut shortCut) {
    shortCut_ = shortCut;
    Changed();
}
void TMenuItem::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed();
}
void TMenuItem::SetDefault(bool value) {
    default_ = value;
    Changed();
}
void TMenuItem::SetEnabled(bool value) {
    enabled_ = value;
    Changed();
}
void TMenuItem::SetChecked(bool value) {
    checked_ = value;
    if (value && radioItem_ && parentItem_)
        for (TMenuItem* sibling : parentItem_->items_)
            if (sibling != this && sibling->radioItem_) sibling->checked_ = false;
    Changed();
}
void TMenuItem::SetRadioItem(bool value) {
    radioItem_ = value;
    Changed();
}
void TMenuItem::SetVisible(bool value) {
    visible_ = value;
    Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parentItem_) item->parentItem_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parentItem_ = this;
    Changed();
}

void TMenuItem::Delete(int index) {
    if (TMenuItem* item = Items(index)) delete item;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parentItem_ = nullptr;
    Changed();
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TMenuItem::MenuIndex() const { return parentItem_ ? parentItem_->IndexOf(this) : -1; }

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parentItem_) item = item->parentItem_;
    return item->menu_;
}

void TMenuItem::Click() {
    if (!enabled_ || IsDestroying()) return;
    if (OnClick) OnClick(this);
}

HMENU TMenuItem::ContainingMenu() const {
    if (!parentItem_) return nullptr;
    if (parentItem_->menu_) return parentItem_->menu_->handle_;
    return parentItem_->subMenu_;
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
    auto it = CommandMap().find(command);
    return it == CommandMap().end() ? nullptr : it->second;
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
    if (!visible_) return;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
    mi.wID = command_;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    std::wstring text = caption_;
    if (shortCut_) text += L"\t" + ShortCutToText(shortCut_);
    if (IsLine()) {
        mi.fType = MFT_SEPARATOR;
    } else {
        mi.fMask |= MIIM_STRING;
        mi.dwTypeData = text.data();
        if (radioItem_) mi.fType |= MFT_RADIOCHECK;
    }
    if (ownerDraw || OnDrawItem || OnAdvancedDrawItem) mi.fType |= MFT_OWNERDRAW;
    if (TMenu* owner = GetParentMenu(); owner && owner->IsRightToLeft()) mi.fType |= MFT_RIGHTORDER;
    if (!enabled_) mi.fState |= MFS_DISABLED;
    if (checked_) mi.fState |= MFS_CHECKED;
    if (default_) mi.fState |= MFS_DEFAULT;
    subMenu_ = nullptr;
    if (!items_.empty()) {
        subMenu_ = ::CreatePopupMenu();
        for (TMenuItem* child : items_) child->AppendTo(subMenu_, ownerDraw);
        mi.fMask |= MIIM_SUBMENU;
        mi.hSubMenu = subMenu_;
    }
    ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &mi);
}

bool TMenuItem::DispatchMeasureItem(MEASUREITEMSTRUCT& mis) {
    auto* item = reinterpret_cast<TMenuItem*>(mis.itemData);
    if (!item || FindByCommand(item->command_) != item) return false;
    TWindowDC screen(nullptr);
    TCanvas canvas;  // gives the DC its own objects back before the DC is released
    canvas.SetHandle(screen.Get());
    canvas.SetFont(Screen->GetMenuFont());
    int width = 0, height = 0;
    if (item->IsLine()) {
        height = 5;
    } else {
        std::wstring text = item->caption_;
        if (item->shortCut_) text += L"    " + ShortCutToText(item->shortCut_);
        SIZE size = canvas.TextExtent(text);
        width = size.cx + 16 + 8 + 16;
        height = std::max<int>(size.cy + 6, 20);
    }
    if (item->OnMeasureItem) item->OnMeasureItem(item, &canvas, width, height);
    mis.itemWidth = static_cast<UINT>(std::max(0, width));
    mis.itemHeight = static_cast<UINT>(std::max(0, height));
    return true;
}

bool TMenuItem::DispatchDrawItem(const DRAWITEMSTRUCT& dis) {
    auto* item = reinterpret_cast<TMenuItem*>(dis.itemData);
    if (!item || FindByCommand(item->command_) != item) return false;
    TCanvas canvas;
    canvas.SetHandle(dis.hDC);
    canvas.SetFont(Screen->GetMenuFont());
    TOwnerDrawState state = 0;
    if (dis.itemState & ODS_SELECTED) state |= odSelected;
    if (dis.itemState & ODS_GRAYED) state |= odGrayed;
    if (dis.itemState & ODS_DISABLED) state |= odDisabled;
    if (dis.itemState & ODS_CHECKED) state |= odChecked;
    if (dis.itemState & ODS_FOCUS) state |= odFocused;
    if (dis.itemState & ODS_DEFAULT) state |= odDefault;
    if (item->OnAdvancedDrawItem) item->OnAdvancedDrawItem(item, &canvas, dis.rcItem, state);
    else if (item->OnDrawItem) item->OnDrawItem(item, &canvas, dis.rcItem, (state & odSelected) != 0);
    else item->DrawDefault(canvas, dis.rcItem, state);
    canvas.SetHandle(nullptr);
    return true;
}

void TMenuItem::DrawDefault(TCanvas& canvas, const RECT& r, TOwnerDrawState state) {
    HDC dc = canvas.GetHandle();
    bool selected = (state & odSelected) && enabled_;
    canvas.GetBrush()->SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(r);
    if (IsLine()) {
        RECT line{r.left + 2, (r.top + r.bottom) / 2 - 1, r.right - 2, (r.top + r.bottom) / 2 + 1};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    TMenu* menu = GetParentMenu();
    if (menu && menu->GetImages() && imageIndex_ >= 0)
        menu->GetImages()->Draw(&canvas, r.left + 2, r.top + (r.bottom - r.top - 16) / 2, imageIndex_, enabled_);
    else if (checked_) {
        RECT box{r.left + 2, r.top, r.left + 18, r.bottom};
        ::DrawTextW(dc, radioItem_ ? L"\x25CF" : L"\x221A", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToColorRef(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText));
    RECT text{r.left + 24, r.top, r.right - 8, r.bottom};
    if (default_) {
        TFontStyles style = canvas.GetFont()->GetStyle();
        canvas.GetFont()->SetStyle(style | fsBold);
        dc = canvas.GetHandle();
    }
    canvas.TextRect(text, caption_, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (shortCut_) {
        std::wstring sc = ShortCutToText(shortCut_);
        canvas.TextRect(text, sc, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
}

// --- TMenu -----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TMenu, TComponent)
VX_IMPLEMENT_CLASS(TMainMenu, TMenu)
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TPopupMenu, TMenu)

void TMenu::RegisterProperties(TPropertyRegistrar<TMenu>& r) {
    r.Object(L"Items", &TMenu::GetItems)
        .Object(L"Images", &TMenu::GetImages, &TMenu::SetImages)
        .Boolean(L"OwnerDraw", &TMenu::GetOwnerDraw, &TMenu::SetOwnerDraw)
        .Enumeration(L"BiDiMode", &TMenu::GetBiDiMode, &TMenu::SetBiDiMode,
                     {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign", L"bdRightToLeftReadingOnly"});
}

void TPopupMenu::RegisterProperties(TPropertyRegistrar<TPopupMenu>& r) {
    r.Boolean(L"AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    Destroying();
    items_->menu_ = nullptr;
    items_.reset();
    if (handle_) ::DestroyMenu(handle_);
}

HMENU TMenu::GetHandle() {
    if (!handle_) Rebuild();
    return handle_;
}

void TMenu::Rebuild() {
    if (!handle_) handle_ = CreateMenuHandle();
    while (::GetMenuItemCount(handle_) > 0) ::DeleteMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* item : items_->items_) item->AppendTo(handle_, ownerDraw_);
}

void TMenu::MenuChanged() {
    if (handle_ && !IsDestroying()) Rebuild();
}

void TMenu::SetImages(TCustomImageList* images) {
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images) FreeNotification(images);
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value) {
    ownerDraw_ = value;
    MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
    if (mode == biDiMode_) return;
    biDiMode_ = mode;
    MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

TMenuItem* TMenu::FindItem(UINT value, TFindItemKind kind) const {
    std::function<TMenuItem*(TMenuItem*)> search = [&](TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* item : parent->items_) {
            bool match = (kind == fkCommand && item->command_ == value) ||
                         (kind == fkHandle && item->subMenu_ && reinterpret_cast<UINT_PTR>(item->subMenu_) == value) ||
                         (kind == fkShortCut && item->shortCut_ == value && value != 0);
            if (match) return item;
            if (TMenuItem* found = search(item)) return found;
        }
        return nullptr;
    };
    return search(items_.get());
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    if (!shortCut) return false;
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (!item) return false;
    for (TMenuItem* p = item; p; p = p->GetParentItem())
        if (!p->GetEnabled() || !p->GetVisible()) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = TMenuItem::FindByCommand(command);
    if (!item) return false;
    item->Click();
    return true;
}

void TMainMenu::MenuChanged() {
    TMenu::MenuChanged();
    if (Owner() && Owner()->InheritsFrom(TCustomForm::StaticClass())) {
        auto* form = static_cast<TCustomForm*>(Owner());
        if (form->GetMenu() == this && form->HandleAllocated()) form->MenuChanged();
    }
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HMENU menu = GetHandle();
    Rebuild();
    HWND owner = Application->GetHandle();
    UINT flags = TPM_RIGHTBUTTON | TPM_RETURNCMD;
    flags |= alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    // The menu is tracked for the hidden application window. Opened while a window of
    // this thread is in front, that window stays active (the menu loop runs on this
    // thread and closes the menu on a click elsewhere); from the background the
    // application window comes to the front first, or the menu would not close.
    HWND front = ::GetForegroundWindow();
    if (!front || ::GetWindowThreadProcessId(front, nullptr) != ::GetCurrentThreadId()) ::SetForegroundWindow(owner);
    UINT command = static_cast<UINT>(::TrackPopupMenuEx(menu, flags, x, y, owner, nullptr));
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (command) DispatchCommand(command);
}

TMenuItem* NewItem(TComponent* owner, const std::wstring& caption, TShortCut shortCut, const TNotifyEvent& onClick,
                   const std::wstring& name) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->OnClick = onClick;
    if (!name.empty()) item->SetName(name);
    return item;
}

}  // namespace vx
