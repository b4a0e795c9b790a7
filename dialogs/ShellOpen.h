#pragma once
// Opening a web page or a folder with the shell (ShellExecute), behind a replaceable
// action so that tests can see what would be opened without starting a browser.

#include <windows.h>

#include <functional>
#include <string>

namespace vx {

// One shell request: the parent window, the verb ("OPEN", "Open"), the file, folder or
// address; shown normally.
using TShellOpenAction = std::function<void(HWND parent, const std::wstring& verb, const std::wstring& target)>;

// Runs the current action (by default ShellExecuteW with SW_SHOWNORMAL; no result is
// examined).
void ShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target);

// Replaces the action; returns the previous one. An empty action restores the default.
TShellOpenAction SetShellOpenAction(TShellOpenAction action);

}  // namespace vx
