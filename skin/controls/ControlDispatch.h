#pragma once
// The dispatch of child controls: which control skin object each child of a skinned
// window gets, made and initialised for the form skin object that lists it. Framework
// controls go through the application's hook (the skin data's OnSkinControl), the
// Skin3rd map and the built-in class chain; windows of other code (message boxes, the
// open dialog, the folder chooser) through their class name and style. The rules are
// in DispatchRules; this unit reads a control's facts and carries a decision out.

#include <windows.h>

#include <string>

#include "skin/controls/DispatchRules.h"
#include "skin/window/ControlSkinHost.h"

namespace vx {

class TComponent;
class TControl;
class TSkinData;

class TControlDispatcher : public IControlSkinFactory {
public:
    void AttachFormControls(TFormSkinner& host, TCustomForm& form) override;
    void AttachChildControl(TFormSkinner& host, HWND child) override;
    void Rescroll(TFormSkinner& host, HWND child) override;
    void RefreshControlSkin(TSkinControl* skin) override;
    void FreeControlSkin(TSkinControl* skin, bool restore) override;

    // Skins one framework control (and, for containers, its children). `parent` is the
    // form or the container whose children are being dispatched.
    void DispatchControl(TFormSkinner& host, TControl* control, TControl* parent);
    // Skins one child window of a foreign window by its class name and style.
    void AttachForeignWindow(TFormSkinner& host, HWND window);

    // The facts of a framework control the rules read.
    static TControlFacts FactsOf(TControl* control);
    // The settings of a skin data that steer a dispatch.
    static TDispatchSettings SettingsOf(const TSkinData& data);
    // A control that a skin object made for itself (scroll-bar, arrow and media-player
    // companions): never dispatched, whatever class it descends from.
    static bool IsSkinCompanion(const TFormSkinner& host, const TControl* control);
    // The listed object of a framework control, or null.
    static TSkinControl* ListedSkinOf(const TFormSkinner& host, const TControl* control);

private:
    void Carry(TFormSkinner& host, const TSkinChoice& choice, TControl* control);
    void DispatchChildren(TFormSkinner& host, TControl* control);
    bool AttachObject(TFormSkinner& host, const TSkinChoice& choice, TControl* control);
    void FreeDead(TFormSkinner& host);
};

// An OnSkinControl handler a program assigns to its skin data to have the framework
// controls that no Skin3rd kind and no row of the built-in chain names drawn by the
// skin as well: status bars (gate xcStatusBar) and stand-alone scroll bars (gate
// xcScrollbar). For any other control it answers nothing and the dispatch goes on.
void SkinFrameworkExtras(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                         const std::wstring& ControlClass, TComponent*& SkinnedControl);

// Registers the control dispatcher with the window layer: from then on every skinned
// window gets its controls skinned. Idempotent.
void InstallControlSkinning();

}  // namespace vx
