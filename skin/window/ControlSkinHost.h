#pragma once
// The meeting point of window skinning and control skinning. A form skin object keeps
// the control skin objects of its window's children (IControlSkinHost), but the window
// layer cannot make them: the control skins live a layer above. So the controls layer
// registers one IControlSkinFactory at start-up (InstallControlSkinning), and the form
// skin object asks it to attach, refresh and free control skins. Without a registered
// factory windows are skinned without their controls.

#include <windows.h>

namespace vx {

class TCustomForm;
class TSkinControl;
class TFormSkinner;

// The form skin object's side: the list of its control skin objects.
class IControlSkinHost {
public:
    virtual ~IControlSkinHost() = default;
    virtual void RegisterControlSkin(TSkinControl* skin) = 0;
    virtual void UnregisterControlSkin(TSkinControl* skin) = 0;
    // A framework control's window was made anew (a property setter re-created it) while
    // its skin object stood aside on the old window's destruction; the host skins the new
    // window later, outside the control's own message handling.
    virtual void ControlWindowRecreated(HWND window) {}
    // A skinned window was destroyed (its object now stands aside). When the control
    // gets a new window (a container re-created takes its children's windows along), the
    // host skins it later; a control that is going away takes its object with it first.
    virtual void ControlWindowDestroyed() {}
};

// The controls layer's side: what a form skin object asks of control skinning.
class IControlSkinFactory {
public:
    virtual ~IControlSkinFactory() = default;
    // Skins every control of a framework form (frees the objects of destroyed windows
    // first).
    virtual void AttachFormControls(TFormSkinner& host, TCustomForm& form) = 0;
    // Skins one child window: the framework control behind it, or a window of other
    // code by its class name and style.
    virtual void AttachChildControl(TFormSkinner& host, HWND child) = 0;
    // The skin object of a child whose window was made anew, or whose scroll bars are to
    // be skinned afresh, is replaced by a new one. A null child: every object whose
    // window is gone is freed, and its control skinned afresh when it has a new window.
    virtual void Rescroll(TFormSkinner& host, HWND child) = 0;
    // After a skin change.
    virtual void RefreshControlSkin(TSkinControl* skin) = 0;
    // Frees one object; first gives its control back what it changed when `restore` is
    // set and the control's window still exists.
    virtual void FreeControlSkin(TSkinControl* skin, bool restore) = 0;
};

// The factory the controls layer registered (null before, or when it never did).
IControlSkinFactory* ControlSkinFactory();
void SetControlSkinFactory(IControlSkinFactory* factory);

}  // namespace vx
