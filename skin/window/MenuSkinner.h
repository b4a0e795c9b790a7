#pragma once
// Menu skinning. A skinned form has no native menu bar: TMenuBarSkinner draws the bar
// inside the skinned frame below the title (one TMenuBtn per top-level item) and opens
// the drop-downs itself with TrackPopupMenu, while a message-filter hook lets the arrow
// keys and the mouse move from one drop-down to the next as a native bar would. Every
// menu window ("#32768") the manager takes gets a TPopupMenuSkinner, which paints the
// menu's border from the skin's MenuBackground picture. Menu items of skinned forms,
// of their popup menus and of the skinned system menu are owner-drawn from the skin's
// MenuItem picture (DrawSkinnedMenuItem). The rules (layout, widths, accelerators,
// arrow keys) are in MenuRules.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "framework/WindowSubclass.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MenuRules.h"

namespace vx {

class TSkinData;
class TCustomForm;
class TCustomImageList;
class TMenuBarSkinner;

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);

// A menu window the manager took over: it answers the skin query, paints the border
// from the skin's MenuBackground picture (non-client paint, WM_PRINT, and over the
// client's edge where the system keeps no non-client border), keeps that picture for
// the items' backgrounds, and knows the menu it shows once an item was drawn.
class TPopupMenuSkinner : public TWindowSubclass {
public:
    explicit TPopupMenuSkinner(TSkinData* data) : data_(data) {}
    ~TPopupMenuSkinner() override;
    TSkinData* SkinData() const { return data_; }
    HMENU Menu() const { return menu_; }
    void SetMenu(HMENU menu) { menu_ = menu; }
    bool MenuBar() const { return menuBar_; }
    void SetMenuBar(bool value) { menuBar_ = value; }
    // The border picture at the window's size (built when first asked for), or null
    // when the skin has no MenuBackground picture.
    TBitmap* Border();
    // Where the client area's top-left corner lies in the window.
    POINT ClientOffset() const;
    bool HasRegion() const { return hasRegion_; }
    // Puts the window's procedure back and forgets the picture and the region.
    void Restore();

    // The width of the border the picture gives every side.
    static constexpr int kBorder = 3;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool Skinning() const;
    // The DC the border is painted through for WM_NCPAINT with its update region.
    TWindowDC NonClientDC(HRGN update) const;
    void PaintEdges(HDC dc, int width, int height);
    void ApplyRegion();

    TSkinData* data_;
    HMENU menu_ = nullptr;
    bool menuBar_ = false;
    std::unique_ptr<TBitmap> border_;
    bool hasRegion_ = false;  // the window owns the region itself
};

// One top-level item of a skinned menu bar. Its rectangle is in window coordinates.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TFormSkinner& form, TMenuBarSkinner& bar) : TNCObject(form), bar_(bar) {}
    void Paint() override;

    TSkinData* Data = nullptr;
    int Index = -1;
    std::wstring Caption;
    HMENU DropDown = nullptr;  // none for an item without sub-items
    UINT Command = 0;
    TMenuItem* Item = nullptr;  // the framework item it stands for, if any

private:
    TMenuBarSkinner& bar_;
};

// The skinned menu bar of one form object.
class TMenuBarSkinner : public TComponent {
public:
    TMenuBarSkinner(TFormSkinner& form, TSkinData* data, HMENU native, TMenu* frameworkMenu);
    ~TMenuBarSkinner() override;

    // Makes the buttons from the native menu and takes the native bar out of the window.
    void Build();
    // As Build, for a menu replaced while skinned, followed by Layout.
    void Rebuild();
    // Computes the buttons' rectangles without painting.
    void Layout();
    // Paints the bar into `bar` (window coordinates) of a DC of the whole window.
    void PaintBar(HDC dc, const RECT& bar);
    // Repaints one button over the kept bar background.
    void PaintButton(TMenuBtn& button);

    const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return buttons_; }
    // The visible button under a point in window coordinates, or null.
    TMenuBtn* ButtonAt(int x, int y) const;
    // The first visible button whose caption has `key` as accelerator, or null.
    TMenuBtn* AcceleratorButton(wchar_t key) const;
    HMENU NativeMenu() const { return native_; }
    TMenu* FrameworkMenu() const { return frameworkMenu_; }
    // The menus a changed window shows now (the framework menu may be another one, or none).
    void SetMenus(HMENU native, TMenu* frameworkMenu);
    // The height of the native bar the first build took out of the window: what the
    // client area grew by (measured by the system's own frame calculation).
    int RemovedBarHeight() const { return removedHeight_; }
    // Copies the painted bar's background (without texts) under `r` (window coordinates)
    // to (0, 0) of `dc`; false before the bar was painted.
    bool CopyBackground(HDC dc, const TLayoutRect& r) const;

    // Opens a button's drop-down and tracks it; moving to another button (arrow keys,
    // the mouse) opens that one next, until the menu is left.
    void OpenDropDown(int index);
    // The button whose drop-down is open (-1 when none).
    int CurrentIndex() const { return current_; }
    // The owner's WM_MENUSELECT while a drop-down is tracked.
    void MenuSelect(WPARAM wParam, LPARAM lParam);
    // The bar whose drop-down is being tracked, if any.
    static TMenuBarSkinner* Tracking();
    // Gives the items made owner-drawn for the drop-downs their own type back.
    void RestoreItemTypes();
    // The framework item selected last in the open drop-down belongs to a right-to-left
    // menu.
    bool LastItemRightToLeft() const;

protected:
    // The framework menu freed: the bar forgets it, its native menu and its buttons.
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);
    void BuildButtons(bool rebuild);
    void ClearButtons();
    void WatchFrameworkMenu(TMenu* menu);
    // Draws the buttons of a maximised MDI child that the skin puts in the bar.
    void PaintMdiButtons(HDC dc, const RECT& bar);
    // Room the MDI child's buttons take at the bar's right end (0 when none show).
    int MdiButtonsReserve(const RECT& bar) const;
    void LayoutIn(HDC dc, const RECT& bar);
    RECT CurrentBar() const;
    bool FilterMessage(MSG& msg);
    int NextOpenable(TMenuKey key, int from) const;
    void SwitchTo(int index);
    void MakeOwnerDrawn(HMENU menu);
    HFONT MenuFont();
    int MeasureText(HDC dc, const std::wstring& text);
    void DrawCaption(HDC dc, const TMenuBtn& button, const RECT& r);

    TFormSkinner& form_;
    TSkinData* data_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    HMENU native_;
    TMenu* frameworkMenu_;
    std::vector<std::unique_ptr<TMenuBtn>> buttons_;
    RECT barRect_{};
    std::unique_ptr<TBitmap> background_;
    bool painting_ = false;
    int removedHeight_ = 0;
    bool built_ = false;
    // Counts the times the buttons were made again (or dropped): a drop-down that was
    // open meanwhile does not touch its old button.
    int generation_ = 0;
    TFontHandle font_;
    // Items whose type got MFT_OWNERDRAW for a drop-down: (menu, position, old type).
    struct TTypedItem {
        HMENU Menu;
        UINT Position;
        UINT Type;
    };
    std::vector<TTypedItem> typed_;

    // Tracking.
    int current_ = -1;
    int pending_ = -1;
    HMENU tracked_ = nullptr;
    POINT lastMouse_{-1, -1};
    bool switching_ = false;
    bool firstMessage_ = false;
    bool switchRequested_ = false;
    TMenuItem* lastItem_ = nullptr;
    UINT lastCommand_ = 0;
    TMenuSelection selection_;
};

// What an owner-drawn item shows.
struct TMenuItemLook {
    std::wstring Caption;
    std::wstring ShortCut;
    bool Line = false;
    bool Enabled = true;
    bool Checked = false;
    bool Radio = false;
    bool Default = false;
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
};
TMenuItemLook LookOfItem(const TMenuItem& item);
// A native item's look (text split at the tab into caption and shortcut).
TMenuItemLook LookOfNativeItem(HMENU menu, UINT item, bool byPosition);

// Draws one menu item of `menu` into `r` of `dc` with the skin: its background taken
// from the border picture of the popup showing the menu (or MenuColour), the MenuItem
// picture (frame 1 normal, 4 selected; a separator from frame 5), the check mark or
// image, caption and shortcut. `odsState` holds the ODS_ flags of the draw.
void DrawSkinnedMenuItem(TSkinData& data, HDC dc, const RECT& r, UINT odsState, const TMenuItemLook& look,
                         HMENU menu);

// The draw handler the skin puts on framework menu items (recognised by its type).
struct TSkinnedItemDrawer {
    TSkinData* Data;
    void operator()(TObject* sender, TCanvas* canvas, const RECT& r, unsigned state) const;
};
// The measuring the skin puts on items of popup menus (and of the system menu).
struct TSkinnedItemMeasure {
    TSkinData* Data;
    TMenuMeasureKind Kind;
    void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const;
};
bool HasSkinnedDrawer(const TMenuItem& item);

// Owner-drawing put on a form's framework menus, and taken off again: popup menus
// (with xcPopupMenu; not for the Tag DisableTag) get the skin's drawing on every item
// and the popup measuring where an item has none of its own; the main menu (with
// xcMenuItem) gets them from its second level down. Removing restores exactly what
// each item had, for the items that still exist.
class TMenuOwnerDraw {
public:
    void Install(TCustomForm& form, TSkinData& data);
    void Remove();
    // Skins every item of one popup menu (the skinned system menu).
    static void SkinPopup(TPopupMenu& menu, TSkinData& data);
    // Puts the skin's drawing on a main menu's items below the top level, once (a main
    // menu the form got after the attach).
    void CoverMainMenu(TMainMenu& menu, TSkinData& data);
    // Whether a menu that still exists has the skin's drawing from this object.
    bool Covers(const TMenu& menu) const;
    size_t Count() const { return records_.size(); }

private:
    void Visit(TCustomForm& form, TSkinData& data, int depth);
    void SkinItem(TMenuItem& item, TSkinData& data, TMenuMeasureKind kind, bool recurse);
    struct TRecord {
        TMenuItem* Item;
        UINT Command;
        TAdvancedMenuDrawItemEvent Draw;
        TMenuMeasureItemEvent Measure;
        bool MeasureSet;
    };
    struct TMenuRecord {
        TMenu* Menu;
        TMenuItem* Root;
        UINT RootCommand;
        bool OwnerDraw;
    };
    std::vector<TRecord> records_;
    std::vector<TMenuRecord> menus_;
};

}  // namespace vx
