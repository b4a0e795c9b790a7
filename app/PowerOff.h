#pragma once
// Switching the computer off at the end of an unattended batch. Windows only.

#include <functional>

namespace vx {

// Enables the shutdown privilege of the current process's token and then asks Windows
// for a normal (not forced) power-off. No result is examined.
void ShutDownComputer();

// Step one alone; true when the privilege is enabled afterwards.
bool EnableShutdownPrivilege();

// The last step, replaceable so that tests can run ShutDownComputer without switching
// anything off. By default it calls ExitWindowsEx with the power-off flag. Returns the
// previous action.
using TPowerOffAction = std::function<void()>;
TPowerOffAction SetPowerOffAction(TPowerOffAction action);

}  // namespace vx
