#pragma once
// The MDI client window of a skinned MDI frame: the frame's form object puts this object
// in front of the client's procedure. It keeps the client's own scroll bars out of a
// skinned frame (unless the skin data asks for them), tells the manager when the active
// child is maximised or no longer is, lets the frame's menu bar follow the children's
// menus, and redraws the frame with every child when a child asks for it
// (WM_SKINMDIREDRAW). It lets go of the client when the client is destroyed or the form
// object detaches.

#include <windows.h>

#include "framework/WindowSubclass.h"

namespace vx {

class TFormSkinner;

class TMdiClientSkinner : public TWindowSubclass {
public:
    explicit TMdiClientSkinner(TFormSkinner& frame) : frame_(frame) {}
    // Subclasses the client and remembers the skin data's menu-update switch.
    bool AttachClient(HWND client);
    // The menu-update switch as the frame had it before the first child was created.
    bool RememberedMenuUpdate() const { return menuUpdate_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TFormSkinner& frame_;
    bool menuUpdate_ = false;
};

}  // namespace vx
