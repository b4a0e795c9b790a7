#pragma once
// What the control units of the framework share among themselves; not for use outside
// the framework.

#include <windows.h>

namespace vx {

class TControl;

namespace detail {

// The module the framework's window classes and atoms belong to.
HINSTANCE ModuleInstance();
// Forgets the control that holds the mouse capture without releasing the system
// capture (the window has already lost it).
void ForgetCaptureControl();

}  // namespace detail
}  // namespace vx
