#include "skin/window/MenuSkinner.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"

namespace vx {

namespace {

TSkinManage* Manager() { return TSkinManage::Instance(); }

COLORREF Resolved(TColour c) { return static_cast<COLORREF>(ResolveColour(c) & 0x00FFFFFF); }

void Fill(HDC dc, const RECT& r, TColour colour) {
    TBrushHandle brush(::CreateSolidBrush(Resolved(colour)));
    ::FillRect(dc, &r, brush.Get());
}

// The skin's element with a picture, or null.
const TDataSkinObject* Element(const std::unique_ptr<TDataSkinObject>& e) {
    return e && !e->Bitmap.GetEmpty() ? e.get() : nullptr;
}

LOGFONTW MenuLogFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return ncm.lfMenuFont;
}

// The framework item a menu message is about: only when the item data is the live
// item with that command (a foreign menu's item data is not ours to follow).
TMenuItem* LiveItem(UINT command, ULONG_PTR data) {
    TMenuItem* item = TMenuItem::FindByCommand(command);
    return item && reinterpret_cast<ULONG_PTR>(item) == data ? item : nullptr;
}

bool HasOwnDrawing(const TMenuItem& item) {
    return (item.OnDrawItem || item.OnAdvancedDrawItem) && !HasSkinnedDrawer(item);
}

// The client area's height as the system itself lays the window out: its own frame and,
// while the window has a native menu, the native bar.
int SystemClientHeight(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    ::DefWindowProcW(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    return r.bottom - r.top;
}

// The drop-down tracking of the process (one menu loop at a time).
TMenuBarSkinner* g_tracking = nullptr;
THook g_filter;  // the message filter while a drop-down of the bar is open

}  // namespace

// --- popup menu windows ---------------------------------------------------------------------

TPopupMenuSkinner::~TPopupMenuSkinner() { Restore(); }

bool TPopupMenuSkinner::Skinning() const {
    TSkinManage* m = Manager();
    return m && m->GetActive() && data_ && data_->GetHasSkin();
}

POINT TPopupMenuSkinner::ClientOffset() const {
    RECT wr{};
    ::GetWindowRect(Window(), &wr);
    POINT origin{0, 0};
    ::ClientToScreen(Window(), &origin);
    return POINT{origin.x - wr.left, origin.y - wr.top};
}

TBitmap* TPopupMenuSkinner::Border() {
    if (!data_ || !data_->GetHasSkin() || !::IsWindow(Window())) return nullptr;
    const TDataSkinObject* e = Element(data_->Model().MenuBackground);
    if (!e) return nullptr;
    RECT wr{};
    ::GetWindowRect(Window(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (w <= 0 || h <= 0) return nullptr;
    if (border_ && border_->GetWidth() == w && border_->GetHeight() == h) return border_.get();
    const TMargins margins{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight};
    border_ = StretchElement(RECT{0, 0, w, h}, const_cast<TBitmap&>(e->Bitmap), margins, false, e->Tile != 0, 1, 1);
    if (e->Trans != 0) ApplyRegion();
    return border_.get();
}

void TPopupMenuSkinner::ApplyRegion() {
    if (!border_) return;
    HRGN region = RegionFromBitmap(*border_, 0, 0, 1, 1, 1, clSkinMagenta);
    if (!region) return;
    // The window owns the region from here on.
    ::SetWindowRgn(Window(), region, TRUE);
    hasRegion_ = true;
}

void TPopupMenuSkinner::PaintEdges(HDC dc, int w, int h) {
    HDC src = border_->GetCanvas()->GetHandle();
    const int k = kBorder;
    ::BitBlt(dc, 0, 0, w, k, src, 0, 0, SRCCOPY);
    ::BitBlt(dc, 0, h - k, w, k, src, 0, h - k, SRCCOPY);
    ::BitBlt(dc, 0, 0, k, h, src, 0, 0, SRCCOPY);
    ::BitBlt(dc, w - k, 0, k, h, src, w - k, 0, SRCCOPY);
}

TWindowDC TPopupMenuSkinner::NonClientDC(HRGN update) const {
    // 1 stands for the whole window, not for a region.
    if (SkinIsNtFrom52() || reinterpret_cast<UINT_PTR>(update) <= 1) return TWindowDC::Whole(Window());
    // Older systems paint only the update region the message carries. The DC takes its
    // region over; the message's own region stays with the system, so a copy goes.
    constexpr DWORD kUseStyle = 0x00010000;  // DCX_USESTYLE
    TRegionHandle clip(::CreateRectRgn(0, 0, 0, 0));
    if (!clip || ::CombineRgn(clip.Get(), update, nullptr, RGN_COPY) == ERROR) return TWindowDC::Whole(Window());
    return TWindowDC::Clipped(Window(), clip, DCX_WINDOW | DCX_INTERSECTRGN | kUseStyle);
}

void TPopupMenuSkinner::Restore() {
    if (hasRegion_ && ::IsWindow(Window())) ::SetWindowRgn(Window(), nullptr, FALSE);
    hasRegion_ = false;
    Detach();
    border_.reset();
}

LRESULT TPopupMenuSkinner::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SKINQUERY) return 1;
    if (!Skinning()) return CallPrevious(msg, wParam, lParam);
    try {
        switch (msg) {
        case WM_DESTROY:
            Restore();
            return CallPrevious(msg, wParam, lParam);
        case WM_ERASEBKGND:
            if (SkinIsWindows9x()) return 1;
            if (!data_->HasOption(xoMenuBG)) CallPrevious(msg, wParam, lParam);
            return 1;
        case WM_NCPAINT: {
            TBitmap* border = Border();
            if (!border) break;
            TWindowDC dc = NonClientDC(reinterpret_cast<HRGN>(wParam));
            if (dc) PaintEdges(dc.Get(), border->GetWidth(), border->GetHeight());
            return 0;
        }
        case WM_PAINT: {
            // Where the system draws the menu's edge inside the client area (a menu
            // window without a non-client border), the skin's edge goes over it.
            LRESULT r = CallPrevious(msg, wParam, lParam);
            const POINT offset = ClientOffset();
            if (offset.x == 0 && offset.y == 0)
                if (TBitmap* border = Border()) {
                    TWindowDC dc(Window());
                    if (dc) PaintEdges(dc.Get(), border->GetWidth(), border->GetHeight());
                }
            return r;
        }
        case WM_PRINT: {
            TBitmap* border = Border();
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (!border || !dc) break;
            const int w = border->GetWidth(), h = border->GetHeight();
            ::BitBlt(dc, 0, 0, w, h, border->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
            TSavedDC saved(dc);
            ::IntersectClipRect(dc, kBorder, kBorder, w - kBorder, h - kBorder);
            ::SetBkMode(dc, TRANSPARENT);
            return CallPrevious(msg, wParam, lParam);
        }
        default: break;
        }
    } catch (...) {
        // A failing paint leaves the menu as the system draws it.
    }
    return CallPrevious(msg, wParam, lParam);
}

// --- owner-drawn items -------------------------------------------------------------------------

TMenuItemLook LookOfItem(const TMenuItem& item) {
    TMenuItemLook look;
    look.Caption = item.GetCaption();
    look.ShortCut = ShortCutToText(item.GetShortCut());
    // A caption copied from a native menu may carry its shortcut after a tab.
    const size_t tab = look.Caption.find(L'\t');
    if (tab != std::wstring::npos) {
        if (look.ShortCut.empty()) look.ShortCut = look.Caption.substr(tab + 1);
        look.Caption.resize(tab);
    }
    look.Line = item.IsLine();
    look.Enabled = item.GetEnabled();
    look.Checked = item.GetChecked();
    look.Radio = item.GetRadioItem();
    look.Default = item.GetDefault();
    if (TMenu* menu = item.GetParentMenu()) look.Images = menu->GetImages();
    look.ImageIndex = item.GetImageIndex();
    return look;
}

TMenuItemLook LookOfNativeItem(HMENU menu, UINT item, bool byPosition) {
    TMenuItemLook look;
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
    info.dwTypeData = text;
    info.cch = 255;
    if (!menu || !::GetMenuItemInfoW(menu, item, byPosition, &info)) return look;
    look.Line = (info.fType & MFT_SEPARATOR) != 0;
    look.Enabled = (info.fState & MFS_DISABLED) == 0;
    look.Checked = (info.fState & MFS_CHECKED) != 0;
    look.Radio = (info.fType & MFT_RADIOCHECK) != 0;
    look.Default = (info.fState & MFS_DEFAULT) != 0;
    std::wstring all = text;
    const size_t tab = all.find(L'\t');
    look.Caption = all.substr(0, tab);
    if (tab != std::wstring::npos) look.ShortCut = all.substr(tab + 1);
    if (look.Caption.empty() && !look.Line && (info.fType & MFT_OWNERDRAW) == 0) look.Line = true;
    return look;
}

namespace {

void DrawCheck(HDC dc, int x, int y, bool radio, COLORREF colour) {
    TPenHandle pen(::CreatePen(PS_SOLID, 2, colour));
    TSelectObject selectPen(dc, pen.Get());
    if (radio) {
        TBrushHandle brush(::CreateSolidBrush(colour));
        TSelectObject selectBrush(dc, brush.Get());
        ::Ellipse(dc, x + 5, y + 5, x + 11, y + 11);
        return;
    }
    const POINT tick[3] = {{x + 3, y + 8}, {x + 6, y + 11}, {x + 12, y + 4}};
    ::Polyline(dc, tick, 3);
}

}  // namespace

void DrawSkinnedMenuItem(TSkinData& data, HDC dc, const RECT& r, UINT ods, const TMenuItemLook& look, HMENU menu) {
    const int W = r.right - r.left, H = r.bottom - r.top;
    if (W <= 0 || H <= 0 || !dc) return;
    const TSkinModel& model = data.Model();
    TBitmap bitmap(W, H, pf24bit);
    HDC b = bitmap.GetCanvas()->GetHandle();
    // The background: the popup's border picture where the item lies, else the menu colour.
    TPopupMenuSkinner* popup = Manager() ? Manager()->PopupFor(menu) : nullptr;
    TBitmap* border = popup ? popup->Border() : nullptr;
    if (border) {
        const POINT offset = popup->ClientOffset();
        ::BitBlt(b, 0, 0, W, H, border->GetCanvas()->GetHandle(), r.left + offset.x, r.top + offset.y, SRCCOPY);
    } else {
        Fill(b, RECT{0, 0, W, H}, model.MenuColour);
    }
    const TDataSkinObject* e = Element(model.MenuItem);
    const bool enabled = look.Enabled && (ods & (ODS_GRAYED | ODS_DISABLED)) == 0;
    const bool selected = (ods & ODS_SELECTED) != 0 && enabled;
    TBitmap& picture = const_cast<TBitmap&>(e ? e->Bitmap : bitmap);
    const TMargins margins = e ? TMargins{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight} : TMargins{};
    if (look.Line) {
        if (e) {
            // The line at the picture's own height, centred on the item.
            const int cell = e->Bitmap.GetHeight();
            const int top = H / 2 - cell / 2;
            DrawElementH3(*bitmap.GetCanvas(), RECT{0, top, W, top + cell}, picture, false, true, 5, 5,
                          TMargins{e->LeftWidth, 0, e->RightWidth, 0});
        } else {
            b = bitmap.GetCanvas()->GetHandle();
            RECT line{2, H / 2 - 1, W - 2, H / 2 + 1};
            ::DrawEdge(b, &line, EDGE_ETCHED, BF_TOP);
        }
    } else {
        if (e) {
            DrawElement(bitmap.GetCanvas()->GetHandle(), RECT{0, 0, W, H}, picture, false, e->Tile != 0, e->Trans != 0,
                        5, selected ? 4 : 1, margins);
        } else if (selected) {
            Fill(bitmap.GetCanvas()->GetHandle(), RECT{0, 0, W, H}, model.HilightColour);
        }
        const COLORREF text = Resolved(!enabled ? model.ButtonShadowColour
                                       : (selected && !e) ? model.HilightTextColour
                                                          : model.MenuTextColour);
        const int x = e ? e->LeftWidth : 2;
        const int y = (H - 16) / 2;
        const bool image = look.Images && look.ImageIndex >= 0 && look.ImageIndex < look.Images->Count();
        if (image) {
            look.Images->Draw(bitmap.GetCanvas(), x + 1, y, look.ImageIndex, enabled);
            if (look.Checked) {
                TBrushHandle frame(::CreateSolidBrush(Resolved(model.ButtonShadowColour)));
                RECT box{x, y - 1, x + 18, y + 17};
                ::FrameRect(bitmap.GetCanvas()->GetHandle(), &box, frame.Get());
            }
        } else if (look.Checked) {
            DrawCheck(bitmap.GetCanvas()->GetHandle(), x + 1, y, look.Radio, text);
        }
        b = bitmap.GetCanvas()->GetHandle();
        LOGFONTW lf = MenuLogFont();
        if (look.Default) lf.lfWeight = FW_BOLD;
        TFontHandle font(::CreateFontIndirectW(&lf));
        TSelectObject selectFont(b, font.Get());
        ::SetBkMode(b, TRANSPARENT);
        ::SetTextColor(b, text);
        const UINT prefix = (ods & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
        RECT area{x + 16 + 8, 0, W - (e ? e->RightWidth : 2) - 8, H};
        ::DrawTextW(b, look.Caption.c_str(), static_cast<int>(look.Caption.size()), &area,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
        if (!look.ShortCut.empty())
            ::DrawTextW(b, look.ShortCut.c_str(), static_cast<int>(look.ShortCut.size()), &area,
                        DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::BitBlt(dc, r.left, r.top, W, H, bitmap.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

bool HasSkinnedDrawer(const TMenuItem& item) { return item.OnAdvancedDrawItem.target<TSkinnedItemDrawer>() != nullptr; }

void TSkinnedItemDrawer::operator()(TObject* sender, TCanvas* canvas, const RECT& r, unsigned state) const {
    auto* item = static_cast<TMenuItem*>(sender);
    if (!item || !canvas || !Data) return;
    UINT ods = 0;
    if (state & odSelected) ods |= ODS_SELECTED;
    if (state & odGrayed) ods |= ODS_GRAYED;
    if (state & odDisabled) ods |= ODS_DISABLED;
    if (state & odChecked) ods |= ODS_CHECKED;
    const HMENU menu = item->ContainingMenu();
    if (TSkinManage* m = Manager()) {
        m->BindPopupMenu(menu);
        m->MarkPopupsMenuBar();
    }
    DrawSkinnedMenuItem(*Data, canvas->GetHandle(), r, ods, LookOfItem(*item), menu);
}

void TSkinnedItemMeasure::operator()(TObject* sender, TCanvas*, int& width, int&) const {
    auto* item = static_cast<TMenuItem*>(sender);
    if (!item || !Data) return;
    const TDataSkinObject* e = Element(Data->Model().MenuItem);
    const TMenu* menu = item->GetParentMenu();
    width = SkinnedMenuItemWidth(width, e ? e->LeftWidth : 0, menu && menu->GetImages(), Kind);
}

// --- owner-drawing on framework menus ------------------------------------------------------

void TMenuOwnerDraw::SkinItem(TMenuItem& item, TSkinData& data, TMenuMeasureKind kind, bool recurse) {
    TRecord record{&item, item.Command(), item.OnAdvancedDrawItem, item.OnMeasureItem, false};
    item.OnAdvancedDrawItem = TSkinnedItemDrawer{&data};
    if (!item.OnMeasureItem) {
        item.OnMeasureItem = TSkinnedItemMeasure{&data, kind};
        record.MeasureSet = true;
    }
    records_.push_back(std::move(record));
    if (recurse)
        for (int i = 0; i < item.Count(); ++i) SkinItem(*item.Items(i), data, kind, true);
}

void TMenuOwnerDraw::Visit(TCustomForm& form, TSkinData& data, int depth) {
    if (depth > 8) return;
    for (int i = 0; i < form.ComponentCount(); ++i) {
        TComponent* c = form.Components(i);
        if (c->InheritsFrom(TPopupMenu::StaticClass())) {
            auto* menu = static_cast<TPopupMenu*>(c);
            if (menu->GetTag() == data.GetDisableTag()) continue;
            menus_.push_back({menu, menu->GetItems(), menu->GetItems()->Command(), menu->GetOwnerDraw()});
            TMenuItem* root = menu->GetItems();
            for (int k = 0; k < root->Count(); ++k) SkinItem(*root->Items(k), data, TMenuMeasureKind::PopupItem, true);
            menu->SetOwnerDraw(true);
        } else if (c->InheritsFrom(TCustomForm::StaticClass())) {
            Visit(*static_cast<TCustomForm*>(c), data, depth + 1);
        }
    }
}

void TMenuOwnerDraw::Install(TCustomForm& form, TSkinData& data) {
    if (form.ClassName() != L"TwwRichEditForm" && data.HasControl(xcPopupMenu)) Visit(form, data, 0);
    if (!data.HasControl(xcMenuItem)) return;
    for (int i = 0; i < form.ComponentCount(); ++i) {
        TComponent* c = form.Components(i);
        if (c->InheritsFrom(TMainMenu::StaticClass())) CoverMainMenu(*static_cast<TMainMenu*>(c), data);
    }
}

bool TMenuOwnerDraw::Covers(const TMenu& menu) const {
    for (const TMenuRecord& r : menus_)
        if (r.Menu == &menu && TMenuItem::FindByCommand(r.RootCommand) == r.Root && r.Root->GetParentMenu() == r.Menu)
            return true;
    return false;
}

void TMenuOwnerDraw::CoverMainMenu(TMainMenu& menu, TSkinData& data) {
    if (Covers(menu)) return;
    // Recorded first: switching the menu to owner-drawing notifies the form again.
    menus_.push_back({&menu, menu.GetItems(), menu.GetItems()->Command(), menu.GetOwnerDraw()});
    TMenuItem* root = menu.GetItems();
    // The top level is the bar's; its sub-items are drawn by the skin.
    for (int k = 0; k < root->Count(); ++k) {
        TMenuItem* top = root->Items(k);
        std::function<void(TMenuItem&)> walk = [&](TMenuItem& item) {
            if (!item.OnDrawItem && !item.OnAdvancedDrawItem) SkinItem(item, data, TMenuMeasureKind::FrameworkItem, false);
            for (int j = 0; j < item.Count(); ++j) walk(*item.Items(j));
        };
        for (int j = 0; j < top->Count(); ++j) walk(*top->Items(j));
    }
    menu.SetOwnerDraw(true);
}

void TMenuOwnerDraw::Remove() {
    for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
        if (TMenuItem::FindByCommand(it->Command) != it->Item) continue;  // freed meanwhile
        if (HasSkinnedDrawer(*it->Item)) it->Item->OnAdvancedDrawItem = it->Draw;
        if (it->MeasureSet) it->Item->OnMeasureItem = it->Measure;
    }
    records_.clear();
    for (auto it = menus_.rbegin(); it != menus_.rend(); ++it) {
        // Only a menu that still exists: its root item is still registered as its own.
        if (TMenuItem::FindByCommand(it->RootCommand) != it->Root || it->Root->GetParentMenu() != it->Menu) continue;
        it->Menu->SetOwnerDraw(it->OwnerDraw);
    }
    menus_.clear();
}

void TMenuOwnerDraw::SkinPopup(TPopupMenu& menu, TSkinData& data) {
    TMenuOwnerDraw once;
    TMenuItem* root = menu.GetItems();
    for (int k = 0; k < root->Count(); ++k) once.SkinItem(*root->Items(k), data, TMenuMeasureKind::PopupItem, true);
    menu.SetOwnerDraw(true);
}

// --- the menu bar -------------------------------------------------------------------------

void TMenuBtn::Paint() { bar_.PaintButton(*this); }

TMenuBarSkinner::TMenuBarSkinner(TFormSkinner& form, TSkinData* data, HMENU native, TMenu* frameworkMenu)
    : TComponent(nullptr), form_(form), data_(data), native_(native), frameworkMenu_(nullptr) {
    WatchFrameworkMenu(frameworkMenu);
}

void TMenuBarSkinner::WatchFrameworkMenu(TMenu* menu) {
    if (menu == frameworkMenu_) return;
    if (frameworkMenu_) RemoveFreeNotification(frameworkMenu_);
    frameworkMenu_ = menu;
    if (menu) FreeNotification(menu);
}

void TMenuBarSkinner::SetMenus(HMENU native, TMenu* frameworkMenu) {
    native_ = native;
    WatchFrameworkMenu(frameworkMenu);
}

void TMenuBarSkinner::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove || !component || component != frameworkMenu_) return;
    frameworkMenu_ = nullptr;
    // The window's native menu was that menu's handle; it went with it.
    native_ = nullptr;
    lastItem_ = nullptr;
    ClearButtons();
}

void TMenuBarSkinner::ClearButtons() {
    for (const auto& b : buttons_)
        if (form_.HotObject() == b.get()) form_.SetHotObject(nullptr);
    buttons_.clear();
    ++generation_;
}

TMenuBarSkinner::~TMenuBarSkinner() {
    *alive_ = false;
    if (g_tracking == this) g_tracking = nullptr;
}

TMenuBarSkinner* TMenuBarSkinner::Tracking() { return g_tracking; }

HFONT TMenuBarSkinner::MenuFont() {
    if (!font_) {
        LOGFONTW lf = MenuLogFont();
        font_.Reset(::CreateFontIndirectW(&lf));
    }
    return font_.Get();
}

void TMenuBarSkinner::Build() { BuildButtons(false); }

void TMenuBarSkinner::Rebuild() {
    BuildButtons(true);
    Layout();
}

void TMenuBarSkinner::BuildButtons(bool rebuild) {
    HWND w = form_.Window();
    form_.SetHotObject(nullptr);
    ClearButtons();
    const int before = built_ ? 0 : SystemClientHeight(w);
    // Older systems: the buttons are the framework menu's top-level items, invisible ones
    // included.
    const bool fromFramework = frameworkMenu_ && (SkinIsNtBefore5() || SkinIsWindows95());
    if (fromFramework) {
        TMenuItem* root = frameworkMenu_->GetItems();
        for (int i = 0; i < root->Count(); ++i) {
            TMenuItem* item = root->Items(i);
            auto b = std::make_unique<TMenuBtn>(form_, *this);
            b->Data = data_;
            b->Index = static_cast<int>(buttons_.size());
            b->Visible = item->GetVisible();
            b->Enabled = item->GetEnabled();
            b->Command = item->Command();
            b->Caption = item->GetCaption();
            b->DropDown = item->Count() > 0 ? item->GetHandle() : nullptr;
            b->Item = item;
            buttons_.push_back(std::move(b));
        }
    }
    const int count = !fromFramework && native_ && ::IsMenu(native_) ? ::GetMenuItemCount(native_) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[80] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 79;
        if (!::GetMenuItemInfoW(native_, static_cast<UINT>(i), TRUE, &info)) continue;
        auto b = std::make_unique<TMenuBtn>(form_, *this);
        b->Data = data_;
        b->Index = static_cast<int>(buttons_.size());
        b->DropDown = info.hSubMenu;
        b->Enabled = (info.fState & MFS_DISABLED) == 0;
        b->Visible = true;
        b->Command = info.wID;
        b->Caption = text;
        TMenuItem* item = frameworkMenu_ ? frameworkMenu_->FindItem(info.wID, fkCommand) : nullptr;
        if (item && (!rebuild || text[0] == 0)) {
            b->Item = item;
            b->Caption = item->GetCaption();
            b->Enabled = item->GetEnabled();
            b->DropDown = item->Count() > 0 ? item->GetHandle() : nullptr;
        }
        buttons_.push_back(std::move(b));
    }
    if (::GetMenu(w)) ::SetMenu(w, nullptr);
    if (!built_) {
        removedHeight_ = std::max(0, SystemClientHeight(w) - before);
        built_ = true;
    }
}

int TMenuBarSkinner::MeasureText(HDC dc, const std::wstring& text) {
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    return r.right - r.left;
}

void TMenuBarSkinner::LayoutIn(HDC dc, const RECT& bar) {
    barRect_ = bar;
    TMenuBarLayoutInput in;
    const TDataSkinObject* e = Element(data_->Model().MenuBar);
    in.Picture = {e != nullptr, e ? e->LeftWidth : 0, e ? e->RightWidth : 0};
    in.BarWidth = bar.right - bar.left;
    in.BarHeight = bar.bottom - bar.top;
    in.RightToLeft = form_.RightToLeft();
    if (in.RightToLeft) in.RightReserve = MdiButtonsReserve(bar);
    for (auto& b : buttons_) in.Items.push_back({b->Visible, b->Visible ? MeasureText(dc, b->Caption) : 0});
    const std::vector<TLayoutRect> rects = LayoutMenuBar(in);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TLayoutRect& r = rects[i];
        buttons_[i]->Rect = r == TLayoutRect{} ? r
                                               : TLayoutRect{r.Left + bar.left, r.Top + bar.top, r.Right + bar.left,
                                                             r.Bottom + bar.top};
    }
}

RECT TMenuBarSkinner::CurrentBar() const {
    RECT wr{};
    ::GetWindowRect(form_.Window(), &wr);
    const TBorderSizes& b = form_.Borders();
    return RECT{b.Left, b.Top, (wr.right - wr.left) - b.Right, b.Top + form_.MenuBarHeight()};
}

void TMenuBarSkinner::Layout() {
    TMemoryDC dc;
    TSelectObject font(dc.Get(), MenuFont());
    LayoutIn(dc.Get(), CurrentBar());
}

void TMenuBarSkinner::DrawCaption(HDC dc, const TMenuBtn& button, const RECT& r) {
    const TSkinModel& m = data_->Model();
    ::SetTextColor(dc, Resolved(button.Enabled ? m.MenuBarTextColour : m.ButtonShadowColour));
    RECT area = r;
    ::DrawTextW(dc, button.Caption.c_str(), static_cast<int>(button.Caption.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TMenuBarSkinner::PaintBar(HDC dc, const RECT& bar) {
    const int W = bar.right - bar.left, H = bar.bottom - bar.top;
    if (W <= 0 || H <= 0 || !dc) return;
    painting_ = true;
    TScopeExit done([this] { painting_ = false; });
    TBitmap bitmap(W, H, pf24bit);
    const TDataSkinObject* e = Element(data_->Model().MenuBar);
    if (e) {
        const int frame = form_.Active() ? 1 : 2;
        const TMargins margins{e->LeftWidth, 0, e->RightWidth, 0};
        TBitmap& picture = const_cast<TBitmap&>(e->Bitmap);
        if (e->Tile == 1)
            DrawElement(bitmap.GetCanvas()->GetHandle(), RECT{0, 0, W, H}, picture, true, false, false, 2, frame, margins);
        else
            DrawElementH3(*bitmap.GetCanvas(), RECT{0, 0, W, H}, picture, true, false, 2, frame, margins);
    } else {
        Fill(bitmap.GetCanvas()->GetHandle(), RECT{0, 0, W, H}, data_->Model().MenubarColour);
    }
    HDC b = bitmap.GetCanvas()->GetHandle();
    background_ = std::make_unique<TBitmap>(W, H, pf24bit);
    ::BitBlt(background_->GetCanvas()->GetHandle(), 0, 0, W, H, b, 0, 0, SRCCOPY);
    b = bitmap.GetCanvas()->GetHandle();
    TSelectObject font(b, MenuFont());
    ::SetBkMode(b, TRANSPARENT);
    LayoutIn(b, bar);
    for (auto& button : buttons_) {
        if (!button->Visible || button->Rect.Width() <= 0) continue;
        const RECT r{button->Rect.Left - bar.left, button->Rect.Top - bar.top, button->Rect.Right - bar.left,
                     button->Rect.Bottom - bar.top};
        DrawCaption(b, *button, r);
    }
    PaintMdiButtons(b, bar);
    ::BitBlt(dc, bar.left, bar.top, W, H, b, 0, 0, SRCCOPY);
}

int TMenuBarSkinner::MdiButtonsReserve(const RECT& bar) const {
    int left = bar.right;
    for (const auto& t : form_.TitleButtons())
        if (t->Def.Visibility == 100 && t->Visible && t->Rect.Width() > 0) left = std::min<int>(left, t->Rect.Left);
    return static_cast<int>(bar.right) - left;
}

void TMenuBarSkinner::PaintMdiButtons(HDC dc, const RECT& bar) {
    bool shown = false;
    {
        TSavedDC saved(dc);
        // The buttons know their places in window coordinates.
        ::SetViewportOrgEx(dc, -bar.left, -bar.top, nullptr);
        for (const auto& t : form_.TitleButtons()) {
            if (t->Def.Visibility != 100 || !t->Visible || t->Image.GetEmpty() || t->Rect.Width() <= 0) continue;
            t->DrawOn(dc, 1);
            shown = true;
        }
    }
    TSkinManage* m = Manager();
    if (shown && m && !m->MdiChildMaximized()) m->SetMdiChildMaximized(true);
}

bool TMenuBarSkinner::CopyBackground(HDC dc, const TLayoutRect& r) const {
    if (!background_) return false;
    ::BitBlt(dc, 0, 0, r.Width(), r.Height(), background_->GetCanvas()->GetHandle(), r.Left - barRect_.left,
             r.Top - barRect_.top, SRCCOPY);
    return true;
}

void TMenuBarSkinner::PaintButton(TMenuBtn& button) {
    HWND w = form_.Window();
    if (!background_ || painting_ || !::IsWindow(w) || form_.Lifecycle() >= 4) return;
    const int width = button.Rect.Width(), height = button.Rect.Height();
    if (!button.Visible || width <= 0 || height <= 0) return;
    TBitmap scratch(width, height, pf24bit);
    HDC s = scratch.GetCanvas()->GetHandle();
    ::BitBlt(s, 0, 0, width, height, background_->GetCanvas()->GetHandle(), button.Rect.Left - barRect_.left,
             button.Rect.Top - barRect_.top, SRCCOPY);
    if (button.State == nsPressed || button.State == nsHover) {
        TBrushHandle frame(::CreateSolidBrush(Resolved(data_->Model().ButtonHilightColour)));
        RECT all{0, 0, width, height};
        ::FrameRect(s, &all, frame.Get());
    }
    TSelectObject font(s, MenuFont());
    ::SetBkMode(s, TRANSPARENT);
    DrawCaption(s, button, RECT{0, 0, width, height});
    TWindowDC dc = TWindowDC::Whole(w);
    if (dc) ::BitBlt(dc.Get(), button.Rect.Left, button.Rect.Top, width, height, s, 0, 0, SRCCOPY);
}

TMenuBtn* TMenuBarSkinner::ButtonAt(int x, int y) const {
    for (const auto& b : buttons_)
        if (b->Visible && b->Rect.Width() > 0 && x >= b->Rect.Left && x < b->Rect.Right && y >= b->Rect.Top &&
            y < b->Rect.Bottom)
            return b.get();
    return nullptr;
}

TMenuBtn* TMenuBarSkinner::AcceleratorButton(wchar_t key) const {
    std::vector<std::wstring> captions;
    std::vector<bool> visible;
    for (const auto& b : buttons_) {
        captions.push_back(b->Caption);
        visible.push_back(b->Visible);
    }
    const int i = FindAcceleratorButton(captions, visible, key);
    return i < 0 ? nullptr : buttons_[static_cast<size_t>(i)].get();
}

void TMenuBarSkinner::MakeOwnerDrawn(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (!(info.fType & MFT_OWNERDRAW)) {
            typed_.push_back({menu, static_cast<UINT>(i), info.fType});
            MENUITEMINFOW set{};
            set.cbSize = sizeof(set);
            set.fMask = MIIM_FTYPE;
            set.fType = info.fType | MFT_OWNERDRAW;
            ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
        }
        if (info.hSubMenu) MakeOwnerDrawn(info.hSubMenu);
    }
}

void TMenuBarSkinner::RestoreItemTypes() {
    for (auto it = typed_.rbegin(); it != typed_.rend(); ++it) {
        if (!::IsMenu(it->Menu)) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        // Only an item that still has the type given to it (a rebuilt menu has new items).
        if (!::GetMenuItemInfoW(it->Menu, it->Position, TRUE, &info) || info.fType != (it->Type | MFT_OWNERDRAW)) continue;
        info.fType = it->Type;
        ::SetMenuItemInfoW(it->Menu, it->Position, TRUE, &info);
    }
    typed_.clear();
}

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    TMenuBarSkinner* bar = g_tracking;
    // In a right-to-left menu the arrow keys point the other way.
    if (code == MSGF_MENU && bar && msg && msg->message == WM_KEYDOWN && bar->LastItemRightToLeft()) {
        if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
        else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
    }
    const LRESULT r = ::CallNextHookEx(g_filter.Get(), code, wParam, lParam);
    if (r != 0 || code != MSGF_MENU || !bar || !msg) return r;
    try {
        return bar->FilterMessage(*msg) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int TMenuBarSkinner::NextOpenable(TMenuKey key, int from) const {
    const int count = static_cast<int>(buttons_.size());
    if (from >= count) return -1;  // the buttons were made again meanwhile
    int target = MenuArrowTarget(key, selection_, from, count);
    // Buttons that show nothing or open nothing are passed over.
    for (int step = 0; target >= 0 && step < count; ++step) {
        const TMenuBtn& b = *buttons_[static_cast<size_t>(target)];
        if (b.Visible && b.DropDown && b.Rect.Width() > 0) return target;
        target = MenuArrowTarget(key, TMenuSelection{}, target, count);
    }
    return -1;
}

bool TMenuBarSkinner::FilterMessage(MSG& msg) {
    if (firstMessage_) {
        firstMessage_ = false;
        // The drop-down opens with its first item highlighted.
        HWND menuWindow = Manager() ? Manager()->NewestPopupWindow() : nullptr;
        ::PostMessageW(menuWindow ? menuWindow : form_.Window(), WM_KEYDOWN, VK_DOWN, 0);
    }
    int target = -1;
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) switching_ = false;
        else if (msg.wParam == VK_LEFT) target = NextOpenable(mkLeft, current_);
        else if (msg.wParam == VK_RIGHT) target = NextOpenable(mkRight, current_);
        break;
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) form_.SetMenuTracking(false);
        return false;
    case WM_MOUSEMOVE: {
        if (msg.pt.x == lastMouse_.x && msg.pt.y == lastMouse_.y) return false;
        lastMouse_ = msg.pt;
        RECT wr{};
        ::GetWindowRect(form_.Window(), &wr);
        // A button that opens nothing (disabled, or without sub-items) is passed over.
        if (TMenuBtn* b = ButtonAt(msg.pt.x - wr.left, msg.pt.y - wr.top))
            if (b->DropDown && b->Enabled) target = b->Index;
        break;
    }
    default: return false;
    }
    if (target < 0 || target == current_) return false;
    SwitchTo(target);
    return msg.message == WM_KEYDOWN;
}

void TMenuBarSkinner::SwitchTo(int index) {
    switching_ = true;
    switchRequested_ = true;
    pending_ = index;
    ::EndMenu();
}

void TMenuBarSkinner::MenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT flags = HIWORD(wParam);
    const HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (flags == 0xFFFF && !menu) {
        if (!switching_) form_.SetMenuTracking(false);
        selection_ = {};
        return;
    }
    switching_ = false;
    const UINT item = LOWORD(wParam);
    const bool popup = (flags & MF_POPUP) != 0;
    const HMENU sub = popup && menu ? ::GetSubMenu(menu, static_cast<int>(item)) : nullptr;
    selection_.Any = true;
    selection_.InDropDown = menu == tracked_;
    selection_.IsDropDown = sub && sub == tracked_;
    selection_.HasSubItems = sub != nullptr;
    lastItem_ = nullptr;
    if (frameworkMenu_)
        lastItem_ = popup ? frameworkMenu_->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)), fkHandle)
                          : frameworkMenu_->FindItem(item, fkCommand);
    lastCommand_ = lastItem_ ? lastItem_->Command() : 0;
}

bool TMenuBarSkinner::LastItemRightToLeft() const {
    // Only an item that still exists (one freed since it was selected is not followed).
    if (!lastItem_ || TMenuItem::FindByCommand(lastCommand_) != lastItem_) return false;
    const TMenu* menu = lastItem_->GetParentMenu();
    return menu && menu->IsRightToLeft();
}

void TMenuBarSkinner::OpenDropDown(int index) {
    HWND w = form_.Window();
    const std::shared_ptr<bool> alive = alive_;
    while (index >= 0 && index < static_cast<int>(buttons_.size())) {
        TMenuBtn& b = *buttons_[static_cast<size_t>(index)];
        const int generation = generation_;
        switchRequested_ = false;
        // The framework runs the item's click before anything opens (a disabled item
        // has no click to run).
        if (b.Enabled) ::PostMessageW(w, WM_COMMAND, b.Command, 0);
        if (!b.DropDown) return;
        TSkinManage* m = Manager();
        g_tracking = this;
        current_ = index;
        pending_ = -1;
        lastItem_ = nullptr;
        selection_ = {};
        RECT wr{};
        ::GetWindowRect(w, &wr);
        if (!SkinIsNtBefore5()) MakeOwnerDrawn(b.DropDown);
        form_.SetMenuTracking(true);
        const bool rtl = form_.RightToLeft();
        const POINT at{wr.left + (rtl ? b.Rect.Right : b.Rect.Left), wr.top + b.Rect.Bottom};
        if (m) {
            m->MenuKind = mkMenuBarDropDown;
            m->MenuBarTracking = true;
        }
        tracked_ = b.DropDown;
        form_.SetTrackedMenu(b.DropDown);
        switching_ = false;
        firstMessage_ = true;
        ::GetCursorPos(&lastMouse_);
        g_filter.Reset(::SetWindowsHookExW(WH_MSGFILTER, &MenuFilterHook, nullptr, ::GetCurrentThreadId()));
        if (form_.HotObject() && form_.HotObject() != &b) form_.HotObject()->Leave();
        form_.SetHotObject(&b);
        b.State = nsPressed;
        b.Paint();
        if (b.Enabled)
            ::TrackPopupMenuEx(b.DropDown, TPM_RIGHTBUTTON | TPM_NONOTIFY | (rtl ? TPM_RIGHTALIGN : 0), at.x, at.y, w,
                               nullptr);
        g_filter.Reset();
        if (!*alive) return;  // the form object went while the menu was open
        // The cancel that ended a drop-down for a switch must not end the next one.
        MSG cancel;
        while (::PeekMessageW(&cancel, w, WM_CANCELMODE, WM_CANCELMODE, PM_REMOVE)) {
        }
        g_tracking = nullptr;
        current_ = -1;
        lastItem_ = nullptr;
        tracked_ = nullptr;
        form_.SetMenuTracking(false);
        form_.SetTrackedMenu(nullptr);
        // A drop-down that opened no menu window leaves no kind behind for the next menu.
        if (m && m == Manager() && m->PopupCount() == 0) {
            m->MenuBarTracking = false;
            m->MenuKind = mkPopup;
        }
        // Buttons made again while the menu was open have left the old one behind.
        if (generation == generation_) {
            b.State = nsNormal;
            if (form_.HotObject() == &b) form_.SetHotObject(nullptr);
            b.Paint();
        }
        index = pending_;
        pending_ = -1;
    }
}

// --- the form object's menu work ------------------------------------------------------------

void TFormSkinner::CreateMenuBar() {
    menuBar_ = std::make_unique<TMenuBarSkinner>(*this, data_, nativeMenu_, form_ ? form_->GetMenu() : nullptr);
    menuBarHeight_ = ::GetSystemMetrics(SM_CYMENU);
    menuBar_->Build();
    // At detach the skinned bar's room goes and the native bar comes back: the frame
    // the window gets back then carries the difference. A bar made at attach is counted
    // when the attach completes and the old frame is measured.
    if (attached_) oldFrameHeight_ += menuBar_->RemovedBarHeight() - menuBarHeight_;
}

void TFormSkinner::DropMenuBar() {
    if (!menuBar_) return;
    if (attached_) oldFrameHeight_ -= menuBar_->RemovedBarHeight() - menuBarHeight_;
    FreeMenuBar(false);
    nativeMenu_ = nullptr;
    menuBarHeight_ = 0;
}

void TFormSkinner::MenuChanged(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // A main menu the form got after the attach is drawn by the skin too.
    if (form_ && data_ && ownerDraw_ && data_->HasControl(xcMenuItem))
        if (TMainMenu* menu = form_->GetMenu()) ownerDraw_->CoverMainMenu(*menu, *data_);
    data_->SetPaintFrame(false);
    result = Previous(CM_MENUCHANGED, wParam, lParam);
    data_->SetPaintFrame(true);
    if (lifecycle_ >= 4) return;
    const bool hadBar = menuBar_ != nullptr;
    RECT client{};
    ::GetClientRect(window_, &client);
    if (HMENU now = ::GetMenu(window_)) {
        if (menuBar_) {
            if (data_->GetMenuUpdate()) {
                menuBar_->SetMenus(now, form_ ? form_->GetMenu() : nullptr);
                menuBar_->Build();
            }
        } else if (class_.Mdi != TMdiKind::Child && class_.BorderKind != TBorderKind::None) {
            // The form got a menu after it was skinned: the skinned bar shows it.
            nativeMenu_ = now;
            CreateMenuBar();
        }
        if (::GetMenu(window_)) ::SetMenu(window_, nullptr);
    } else if (menuBar_ && form_ && !form_->GetMenu()) {
        // The form's menu was set to none or freed: the bar and its room go.
        DropMenuBar();
    }
    if ((menuBar_ != nullptr) != hadBar && (lifecycle_ == 1 || lifecycle_ == 3)) {
        // The client area keeps the size it had; the frame grows or shrinks by the bar.
        if (showState_ == TShowState::Normal) {
            int width = 0, height = 0;
            FrameWindowSize(client.right, client.bottom, borders_, menuBarHeight_, width, height);
            ::SetWindowPos(window_, nullptr, 0, 0, width, height,
                           SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
        } else {
            ::SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                           SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        UpdateRegion();
    }
    PaintFrame();
}

void TFormSkinner::FreeMenuBar(bool giveBack) {
    if (!menuBar_) return;
    menuBar_->RestoreItemTypes();
    const HMENU native = menuBar_->NativeMenu();
    menuBar_.reset();
    hot_ = nullptr;
    if (giveBack && native && ::IsMenu(native) && ::IsWindow(window_) && !::GetMenu(window_)) ::SetMenu(window_, native);
}

void TFormSkinner::InstallMenuOwnerDraw(bool on) {
    if (!on) {
        if (ownerDraw_) ownerDraw_->Remove();
        ownerDraw_.reset();
        return;
    }
    if (!form_ || !data_ || ownerDraw_) return;
    ownerDraw_ = std::make_unique<TMenuOwnerDraw>();
    ownerDraw_->Install(*form_, *data_);
}

bool TFormSkinner::MeasureMenuItem(MEASUREITEMSTRUCT& mis) {
    const TDataSkinObject* e = Element(data_->Model().MenuItem);
    if (!e) return false;
    TMenuItem* item = LiveItem(mis.itemID, mis.itemData);
    if (item) {
        if (HasOwnDrawing(*item)) return false;
        TMenuItem::DispatchMeasureItem(mis);
        if (!HasSkinnedDrawer(*item))
            mis.itemWidth = static_cast<UINT>(SkinnedMenuItemWidth(static_cast<int>(mis.itemWidth), e->LeftWidth,
                                                                   item->GetParentMenu() && item->GetParentMenu()->GetImages(),
                                                                   TMenuMeasureKind::FrameworkItem));
        return true;
    }
    // A native item of a tracked drop-down: measured by its text.
    const TMenuItemLook look = LookOfNativeItem(trackedMenu_, mis.itemID, false);
    if (look.Line) {
        mis.itemHeight = 5;
        mis.itemWidth = 0;
        return true;
    }
    TMemoryDC dc;
    LOGFONTW lf = MenuLogFont();
    TFontHandle font(::CreateFontIndirectW(&lf));
    TSelectObject select(dc.Get(), font.Get());
    std::wstring text = look.Caption;
    if (!look.ShortCut.empty()) text += L"    " + look.ShortCut;
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    mis.itemWidth = static_cast<UINT>(
        SkinnedMenuItemWidth(r.right + 40, e->LeftWidth, false, TMenuMeasureKind::FrameworkItem));
    mis.itemHeight = static_cast<UINT>(std::max<int>(r.bottom + 6, 20));
    return true;
}

bool TFormSkinner::DrawMenuItem(const DRAWITEMSTRUCT& dis) {
    const HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
    if (TSkinManage* m = Manager()) {
        m->BindPopupMenu(menu);
        m->MarkPopupsMenuBar();
    }
    if (!Element(data_->Model().MenuItem)) return false;
    TMenuItem* item = LiveItem(dis.itemID, dis.itemData);
    if (item && HasOwnDrawing(*item)) return false;
    const TMenuItemLook look = item ? LookOfItem(*item) : LookOfNativeItem(menu, dis.itemID, false);
    DrawSkinnedMenuItem(*data_, dis.hDC, dis.rcItem, dis.itemState, look, menu);
    return true;
}

void TFormSkinner::OpenDropDown(TMenuBtn& button) {
    if (menuBar_) menuBar_->OpenDropDown(button.Index);
}

bool TFormSkinner::MenuDialogChar(TMessage& m) {
    if (!menuBar_ || m.Result != 0) return false;
    const bool alt = (m.LParam & (1 << 29)) != 0 || ::GetKeyState(VK_MENU) < 0;
    if (!alt || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_SHIFT) < 0) return false;
    TMenuBtn* b = menuBar_->AcceleratorButton(static_cast<wchar_t>(m.WParam));
    if (!b) return false;
    RECT wr{};
    ::GetWindowRect(window_, &wr);
    ::PostMessageW(window_, WM_NCLBUTTONDOWN, 1, MAKELPARAM(wr.left + b->Rect.Left + 1, wr.top + b->Rect.Top + 1));
    m.Result = 1;
    return true;
}

bool TFormSkinner::MenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (wParam != 0 || !mis || mis->CtlType != ODT_MENU || lifecycle_ == 0) return false;
        if (!MeasureMenuItem(*mis)) return false;
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (wParam != 0 || !dis || dis->CtlType != ODT_MENU || lifecycle_ == 0) return false;
        if (!DrawMenuItem(*dis)) return false;
        result = TRUE;
        return true;
    }
    case WM_MENUSELECT:
        if (menuBar_ && TMenuBarSkinner::Tracking() == menuBar_.get()) menuBar_->MenuSelect(wParam, lParam);
        return false;
    case CM_MENUCHANGED: MenuChanged(wParam, lParam, result); return true;
    default: break;
    }
    if (!menuBar_) return false;
    switch (msg) {
    case WM_SYSCOMMAND: {
        if ((wParam & 0xFFF0) != SC_KEYMENU || menuTracking_) return false;
        const wchar_t key = static_cast<wchar_t>(lParam);
        if (key == L' ' || key == L'-' || ::GetCapture()) return false;
        TMenuBtn* b = nullptr;
        if (key == 0) {
            for (auto& candidate : menuBar_->Buttons())
                if (candidate->Visible) {
                    b = candidate.get();
                    break;
                }
        } else {
            b = menuBar_->AcceleratorButton(key);
        }
        if (!b && key != 0) return false;
        if (b) menuBar_->OpenDropDown(b->Index);
        result = 1;
        return true;
    }
    case WM_SKINMENUAT: {
        RECT wr{};
        ::GetWindowRect(window_, &wr);
        if (TMenuBtn* b = menuBar_->ButtonAt(GET_X_LPARAM(lParam) - wr.left, GET_Y_LPARAM(lParam) - wr.top)) {
            b->Press();
            menuBar_->OpenDropDown(b->Index);
        }
        result = 0;
        return true;
    }
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP: {
        if (lifecycle_ == 0 || menuTracking_) return false;
        const POINT p = WindowPoint(lParam);
        if (ButtonAt(p.x, p.y)) return false;  // title-bar buttons come first
        TMenuBtn* b = menuBar_->ButtonAt(p.x, p.y);
        if (!b) return false;
        result = 0;
        if (msg == WM_NCMOUSEMOVE) {
            if (!active_) return true;
            b->Hover();
        } else if (msg == WM_NCLBUTTONDOWN) {
            if (!active_) ::SetForegroundWindow(window_);
            b->Press();
            menuBar_->OpenDropDown(b->Index);
        }
        return true;
    }
    default: break;
    }
    return false;
}

}  // namespace vx
