#pragma once
// Menus: a tree of menu items under a main menu (a form's menu bar) or a popup menu.
// The native menu is rebuilt from the tree after every change; each native item
// carries its TMenuItem in its item data and a command number unique in the process.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace vx {

class TMenu;
class TCustomImageList;

// A key with its modifiers: the virtual key in the low byte, scShift/scCtrl/scAlt.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+O", "Shift+Del", "F5" ...
std::wstring ShortCutToText(TShortCut shortCut);

enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16, odDefault = 32 };
using TOwnerDrawState = unsigned;

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
    VX_DECLARE_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::wstring GetCaption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool IsLine() const { return caption_ == L"-"; }
    TShortCut GetShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool GetDefault() const { return default_; }
    void SetDefault(bool value);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool GetChecked() const { return checked_; }
    void SetChecked(bool value);
    bool GetRadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool value);
    std::wstring GetHint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }

    // Sub-items; the item frees those it holds.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Removes and frees.
    void Delete(int index);
    // Removes without freeing.
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const;
    TMenuItem* GetParentItem() const { return parentItem_; }
    TMenu* GetParentMenu() const;
    // A sub-menu's native handle (after the menu was built), else null.
    HMENU GetHandle() const { return subMenu_; }
    // The native menu that holds this item (its parent's sub-menu, or the menu's own
    // handle for a top-level item), null before the menu was built. A drawing or
    // measuring handler learns from it which open menu the item belongs to.
    HMENU ContainingMenu() const;
    UINT Command() const { return command_; }
    // Fires OnClick.
    virtual void Click();

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    // Routing of native menu messages to items (any window that gets them calls these).
    static bool DispatchDrawItem(const DRAWITEMSTRUCT& dis);
    static bool DispatchMeasureItem(MEASUREITEMSTRUCT& mis);
    static TMenuItem* FindByCommand(UINT command);

    static void RegisterProperties(TPropertyRegistrar<TMenuItem>& r);

private:
    friend class TMenu;
    void Changed();
    void AppendTo(HMENU menu, bool ownerDraw);
    void DrawDefault(TCanvas& canvas, const RECT& r, TOwnerDrawState state);

    std::wstring caption_;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    bool default_ = false, enabled_ = true, checked_ = false, radioItem_ = false, visible_ = true;
    std::wstring hint_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item
    UINT command_ = 0;
    HMENU subMenu_ = nullptr;
};

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
    VX_DECLARE_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item whose sub-items are the menu's entries.
    TMenuItem* GetItems() const { return items_.get(); }
    // The native menu (built on first use and rebuilt after changes).
    HMENU GetHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    TCustomImageList* GetImages() const { return images_; }
    void SetImages(TCustomImageList* images);
    // Items are drawn by the framework (or by the items' drawing events).
    bool GetOwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    // Right-to-left menus put their items' parts in right-to-left order.
    TBiDiMode GetBiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode);
    bool IsRightToLeft() const { return biDiMode_ != bdLeftToRight; }
    // The item with this command number, sub-menu handle or shortcut, or null.
    TMenuItem* FindItem(UINT value, TFindItemKind kind) const;
    // Runs the enabled item with this shortcut.
    bool IsShortCut(TShortCut shortCut);
    // Rebuilds the native menu from the items.
    void Rebuild();

    // Runs the item with a command number from WM_COMMAND.
    static bool DispatchCommand(UINT command);
    static void RegisterProperties(TPropertyRegistrar<TMenu>& r);

protected:
    friend class TMenuItem;
    virtual HMENU CreateMenuHandle() = 0;
    virtual void MenuChanged();
    void Notification(TComponent* component, TOperation operation) override;
    HMENU handle_ = nullptr;

private:
    std::unique_ptr<TMenuItem> items_;
    TCustomImageList* images_ = nullptr;
    bool ownerDraw_ = false;
    TBiDiMode biDiMode_ = bdLeftToRight;
};

class TMainMenu : public TMenu {
    VX_DECLARE_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

protected:
    HMENU CreateMenuHandle() override { return ::CreateMenu(); }
    void MenuChanged() override;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
    VX_DECLARE_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    // Shows the menu at a screen point and runs the chosen item.
    virtual void Popup(int x, int y);
    bool GetAutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    // The control whose context menu this is at the moment.
    TComponent* GetPopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
    TNotifyEvent OnPopup;
    static void RegisterProperties(TPropertyRegistrar<TPopupMenu>& r);

protected:
    HMENU CreateMenuHandle() override { return ::CreatePopupMenu(); }

private:
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
};

// Makes a menu item in one call (caption "-" makes a separator).
TMenuItem* NewItem(TComponent* owner, const std::wstring& caption, TShortCut shortCut, const TNotifyEvent& onClick,
                   const std::wstring& name = L"");

}  // namespace vx
