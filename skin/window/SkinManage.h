#pragma once
// The skin manager: the one object of the process that decides which top-level windows
// get a form object (TFormSkinner) and which menu windows a popup object, keeps them in
// lists, runs the actions that skin data components request (on its timer) and takes
// everything off again. It learns of windows through a computer-based-training hook of
// the GUI thread. Made through the factory InstallWindowSkinning installs; the skin data
// component reaches it through ISkinManager.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/WindowSubclass.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/window/ManagerRules.h"

namespace vx {

class TFormSkinner;
class TTimer;
class TWinControl;
class TCustomForm;

class TPopupMenuSkinner;  // MenuSkinner.h

// Kinds of the menu about to open.
enum : int { mkPopup = 0, mkMenuBarDropDown = 1, mkSystemMenu = 2 };

class TSkinManage : public ISkinManager {
public:
    TSkinManage();
    ~TSkinManage() override;

    // The manager while one exists.
    static TSkinManage* Instance();

    // --- ISkinManager --------------------------------------------------------------------
    void RegisterSkinData(TSkinData* data) override;
    void UnregisterSkinData(TSkinData* data) override;
    void InstallHook() override;
    void RequestAction(uint32_t action, uint32_t delayMs) override;
    void SetRequestingSkinData(TSkinData* data) override { requesting_ = data; }
    void ResetSkinButtons() override;
    int32_t GetState() const override { return state_; }
    void SetState(int32_t state) override { state_ = state; }
    void SetActive(bool active) override { active_ = active; }
    bool GetActive() const override { return active_; }
    bool AttachForm(HWND window) override;

    // --- forms --------------------------------------------------------------------------
    TFormSkinner* FindForm(HWND window) const;
    // Takes a form object out of the list (not while the manager is being destroyed).
    void RemoveForm(TFormSkinner* form);
    // The framework form behind a window, or null.
    static TCustomForm* FindFrameworkForm(HWND window);
    // Frees the form objects whose windows are gone.
    void Purge();
    const std::vector<TFormSkinner*>& Forms() const { return forms_; }
    void SetMdiChildMaximized(bool value);
    bool MdiChildMaximized() const { return mdiChildMaximized_; }
    HWND MdiClient() const { return mdiClient_; }
    void SetMdiClient(HWND client, TWinControl* frameForm) {
        mdiClient_ = client;
        mdiFrameForm_ = frameForm;
    }

    // --- skin data -------------------------------------------------------------------------
    TSkinData* MainSkinData() const { return main_; }
    // The component that serves a window of this class (null when none is registered).
    TSkinData* ChooseSkinData(HWND window, const std::wstring& className) const;
    bool ClassFilter(HWND window, const std::wstring& className) const;

    // --- actions ------------------------------------------------------------------------
    uint32_t PendingAction() const { return pendingAction_; }
    bool TimerEnabled() const;
    unsigned TimerInterval() const;
    // What the timer does when it fires (tests call it instead of waiting).
    void RunPendingAction();

    // --- popup menus ------------------------------------------------------------------
    void AttachPopupMenu(HWND window);
    bool DetachPopupMenu(HWND window);
    void MarkPopupsMenuBar();
    // Gives the menu to the newest popup object without one, unless a popup object
    // already shows that menu (an item of an open menu is redrawn while a newer popup
    // of a sub-menu waits for its first item).
    void BindPopupMenu(HMENU menu);
    bool IsPopupSkinned(HWND window) const;
    size_t PopupCount() const { return popups_.size(); }
    // The first popup object bound to the menu, or null.
    TPopupMenuSkinner* PopupFor(HMENU menu) const;
    // Its border picture, or null.
    TBitmap* PopupBackground(HMENU menu) const;
    // The menu window added last, or null.
    HWND NewestPopupWindow() const;
    int MenuKind = mkPopup;
    bool MenuBarTracking = false;

    bool Scanning() const { return scanning_; }

private:
    friend class TAttachFactsOfWindow;
    void ScanForm(TCustomForm* form);
    void DetachAndFree(TFormSkinner* form);

    std::unique_ptr<TTimer> timer_;
    std::vector<TFormSkinner*> forms_;
    std::vector<std::unique_ptr<TPopupMenuSkinner>> popups_;
    std::vector<TSkinData*> skinData_;
    bool active_ = false;
    bool scanning_ = false;
    int32_t state_ = 0;
    bool mdiChildMaximized_ = false;
    HWND mdiClient_ = nullptr;
    TWinControl* mdiFrameForm_ = nullptr;
    uint32_t pendingAction_ = 0;
    TSkinData* requesting_ = nullptr;
    TSkinData* main_ = nullptr;
};

// Installs the manager's factory, and the manager's teardown among the application
// object's first teardown work. The program calls it once before its main window is
// built; without it nothing is skinned.
void InstallWindowSkinning();

// The value of GetVersion captured when the hook was installed (bit 31: Windows 9x).
// Tests replace it to take the branches of older systems.
uint32_t SkinWindowsVersion();
void SetSkinWindowsVersion(uint32_t version);
bool SkinIsWindows9x();
bool SkinIsNtBefore5();
bool SkinIsWindows2000();
// The NT platform from version 5.2 on (the whole-window DC paints a menu's border).
bool SkinIsNtFrom52();
// Windows 95 exactly (version 4.0 of the 9x platform).
bool SkinIsWindows95();

}  // namespace vx
