#pragma once
// The skin object of one top-level window (a framework form or a foreign window such as
// a system dialog): it sits in front of the window's procedure, takes over the
// non-client area (frame sizes from the skin's border pictures, border, title bar,
// caption and title-bar buttons painted off-screen and copied in one go), answers hit
// tests, runs minimise, maximise, restore, close and the skinned system menu, gives the
// window its shaped region, and puts everything back when it is detached. The manager
// (SkinManage) creates it; the rules it follows are in FrameRules.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/WindowSubclass.h"
#include "skin/window/ControlSkinHost.h"
#include "skin/window/FrameRules.h"

namespace vx {

class TSkinData;
class TCustomForm;
class TTimer;
class TPopupMenu;
class TFormSkinner;
class TDataSkinSysButton;
class TMdiClientSkinner;
class TMenuBarSkinner;
class TMenuBtn;
class TMenuOwnerDraw;
struct TMessage;

// A clickable area of the skinned frame: its rectangle in window coordinates, whether
// the last title paint showed it, its state (nsNormal, nsPressed, nsHover) and whether
// it works.
class TNCObject {
public:
    explicit TNCObject(TFormSkinner& form) : form_(form) {}
    virtual ~TNCObject() = default;
    virtual void Press();
    virtual void Release();
    virtual void Hover();
    virtual void Leave();
    virtual void Paint() {}

    TLayoutRect Rect;
    bool Visible = true;
    int State = nsNormal;
    bool Enabled = true;

protected:
    TFormSkinner& form_;
};

// One title-bar button of the skin: a copy of its definition and of its picture (the
// system-menu icon button gets the window's icon).
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TFormSkinner& form, const TDataSkinSysButton& def);
    void Paint() override;
    TTitleButtonDef Def;
    TBitmap Image;
    bool IsIconButton() const { return Def.Action == 3 || Def.Action == 11; }
    // Paints frame `frame` (or the window's icon) at its rectangle on a DC in window
    // coordinates.
    void DrawOn(HDC dc, int frame);
    // The skin gave no picture: the button shows the window's icon.
    bool UsesWindowIcon = false;
};

class TFormSkinner : public TComponent, public IControlSkinHost {
public:
    explicit TFormSkinner(TComponent* owner);
    ~TFormSkinner() override;

    void AttachFrameworkForm(TSkinData* data, TCustomForm* form);
    void AttachForeign(TSkinData* data, HWND window);
    // Completes the attach (WM_SKINATTACHED).
    void CompleteAttach();
    // Full restore: procedure, form hook, style, menu, colour, size and region.
    void Detach();
    // Restores the procedures only (the window is going, or the process ends).
    void DetachQuiet();
    void RebuildMetrics();
    void Recolour();
    void PaintFrame(HDC dc = nullptr);
    void UpdateRegion();
    // Builds the region again even when the window kept its size.
    void RebuildRegion();
    void RemoveRegion();
    // The skinned menu bar: whether the window has one, and building its buttons again
    // from the window's menu (nothing without a bar).
    bool HasMenuBar() const;
    void RebuildMenuBar();
    // An MDI frame whose active child is maximised.
    bool ActiveMdiChildMaximized() const;
    // The object in front of an MDI frame's client window (null for other windows).
    TMdiClientSkinner* MdiClientSkinner() const { return mdiClient_.get(); }
    // Skins one child window (a framework control, or a window of other code by its
    // class and style) through the registered control skin factory.
    void AttachChildControl(HWND child);
    // Skins the children of the window: a framework form's controls, or each direct
    // child window of a foreign window.
    void AttachControls();
    // Frees every control skin object, giving each control back what it changed first
    // when `restore` is set.
    void FreeControlSkins(bool restore);
    // The control skin objects of the window's children.
    const std::vector<TSkinControl*>& ControlSkins() const { return controlSkins_; }

    // IControlSkinHost
    void RegisterControlSkin(TSkinControl* skin) override;
    void UnregisterControlSkin(TSkinControl* skin) override;
    void ControlWindowRecreated(HWND window) override;
    void ControlWindowDestroyed() override;
    void FreeTitleButtons() { buttons_.clear(), hot_ = nullptr; }

    HWND Window() const { return window_; }
    TSkinData* SkinData() const { return data_; }
    TCustomForm* Form() const { return form_; }
    int Lifecycle() const { return lifecycle_; }
    bool FrameSkinned() const { return frameSkinned_; }
    const TBorderSizes& Borders() const { return borders_; }
    int MenuBarHeight() const { return menuBarHeight_; }
    TShowState GetShowState() const { return showState_; }
    void SetShowState(TShowState s) { showState_ = s; }
    bool Active() const { return active_; }
    TBorderKind BorderKind() const { return class_.BorderKind; }
    std::uint8_t BorderIcons() const { return class_.BorderIcons; }
    TMdiKind Mdi() const { return class_.Mdi; }
    bool HasRegion() const { return hasRegion_; }
    int RegionBuilds() const { return regionBuilds_; }
    const TLayoutRect& CaptionRect() const { return captionRect_; }
    const std::vector<std::unique_ptr<TWinSysButton>>& TitleButtons() const { return buttons_; }
    TNCObject* HotObject() const { return hot_; }
    void SetHotObject(TNCObject* object) { hot_ = object; }
    HICON SmallIcon() const { return smallIcon_; }
    TPopupMenu* SystemMenu() const { return systemMenu_; }
    // The last composed title without its buttons (null before the first paint).
    TBitmap* TitleBackground() const;
    // The button under a point in window coordinates (visible, action >= 0), or null.
    TWinSysButton* ButtonAt(int x, int y) const;
    // Runs a button's action (its release); `screen` is where it was released.
    void RunAction(TWinSysButton& button, POINT screen);
    // Opens the skinned system menu at a screen point (the second opening within the
    // double-click time while a button is hot closes the window instead).
    void OpenSystemMenu(POINT screen);
    // Builds the skinned system menu without showing it (tests read it).
    void BuildSystemMenu();

    // --- menus (MenuSkinner.cpp) ---
    // The skinned menu bar (a frame-skinned window that had a native menu), or null.
    TMenuBarSkinner* MenuBar() const { return menuBar_.get(); }
    bool MenuTracking() const { return menuTracking_; }
    void SetMenuTracking(bool value) { menuTracking_ = value; }
    void SetTrackedMenu(HMENU menu) { trackedMenu_ = menu; }
    bool RightToLeft() const { return class_.RightToLeft; }
    // Opens a menu-bar button's drop-down.
    void OpenDropDown(TMenuBtn& button);

private:
    class TSubclass : public TWindowSubclass {
    public:
        explicit TSubclass(TFormSkinner& owner) : owner_(owner) {}

    protected:
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override { return owner_.WindowProc(msg, wParam, lParam); }

    private:
        TFormSkinner& owner_;
    };

    void Attach(TSkinData* data, HWND window);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT StageB(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT StageC(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Previous(UINT msg, WPARAM wParam, LPARAM lParam) { return subclass_.CallPrevious(msg, wParam, lParam); }
    void FormHook(TMessage& m, const TWndMethod& previous);
    void FitFrame(bool keepClient);
    // Moves a top-level window that the frame made larger back inside its monitor's
    // work area, by no more than it grew.
    void KeepOnScreen(int grownX, int grownY);
    void BuildIconBitmap();
    void ReadShowState();
    void PaintTitle(HDC dc, int width, int height, bool minimized);
    TTitleWindowState TitleState() const;
    std::unique_ptr<TBitmap> BorderPart(int part, const RECT& dest) const;
    POINT WindowPoint(LPARAM screenPoint) const;
    void HoverTick();
    void RestoreSysMenuStyle();
    void ToggleMaximize();
    void ToggleMinimize();
    // Menus (MenuSkinner.cpp).
    void CreateMenuBar();
    void FreeMenuBar(bool giveBack);
    // Frees a bar whose menu went away (nothing to give back) and takes its room away.
    void DropMenuBar();
    // CM_MENUCHANGED: the bar follows the form's menu (made, rebuilt or dropped).
    void MenuChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void InstallMenuOwnerDraw(bool on);
    bool MenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool MenuDialogChar(TMessage& m);
    bool MeasureMenuItem(MEASUREITEMSTRUCT& mis);
    bool DrawMenuItem(const DRAWITEMSTRUCT& dis);

    TSubclass subclass_{*this};
    TMessageHook formHook_;
    HWND window_ = nullptr;
    TSkinData* data_ = nullptr;
    TCustomForm* form_ = nullptr;
    std::wstring className_;
    TWindowClass class_;
    int lifecycle_ = 0;
    bool attached_ = false;
    bool frameSkinned_ = false;
    bool frameChanged_ = false;
    bool active_ = true;
    TShowState showState_ = TShowState::Normal;
    TBorderSizes borders_;
    int menuBarHeight_ = 0;
    HWND owner_ = nullptr;
    HMENU nativeMenu_ = nullptr;
    HMENU systemMenuHandle_ = nullptr;
    TColor savedColor_ = 0;
    bool colorSaved_ = false;
    int oldFrameWidth_ = 0, oldFrameHeight_ = 0;
    RECT clientRect_{};
    bool hasRegion_ = false;
    int regionWidth_ = -1, regionHeight_ = -1;
    int regionBuilds_ = 0;
    TLayoutRect captionRect_;
    std::wstring captionText_;
    TFontHandle captionFont_;
    const std::wstring captionPrefix_ = L" ";
    const std::wstring captionSuffix_ = L"  ";
    TTimer* hoverTimer_ = nullptr;  // owned as a component
    TPopupMenu* systemMenu_ = nullptr;  // owned as a component
    DWORD lastSystemMenuTick_ = 0;
    bool systemMenuOpened_ = false;
    UINT doubleClickTime_ = 500;
    HICON smallIcon_ = nullptr;
    std::unique_ptr<TBitmap> iconBitmap_;
    // The composed title without its buttons: a button's state change repaints its
    // rectangle from it.
    std::unique_ptr<TBitmap> titleBack_;
    std::vector<std::unique_ptr<TWinSysButton>> buttons_;
    TNCObject* hot_ = nullptr;
    int windowWidth_ = 0, windowHeight_ = 0;
    std::unique_ptr<TMdiClientSkinner> mdiClient_;
    // Menus.
    std::unique_ptr<TMenuBarSkinner> menuBar_;
    std::unique_ptr<TMenuOwnerDraw> ownerDraw_;
    bool menuTracking_ = false;
    HMENU trackedMenu_ = nullptr;
    // Not owned here alone: a framework control owns its skin object too, and either
    // side freeing it takes it off this list.
    std::vector<TSkinControl*> controlSkins_;
    bool revivePosted_ = false;
    // An MDI child: whether the frame was last told that this child is maximised.
    bool reportedMaximized_ = false;
    void MdiChildSized(bool maximized);
};

}  // namespace vx
