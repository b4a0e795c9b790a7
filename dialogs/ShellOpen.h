#pragma once
// Opening a web page or a folder with the shell (ShellExecute), through a services
// object so that tests can see what would be opened without starting a browser.

#include <windows.h>

#include <string>

namespace vx {

// Shell requests: what the program opens with the shell. Each call does the real
// thing; a test derives and overrides what it watches.
class TShellServices {
public:
    virtual ~TShellServices() = default;
    // One shell request: the parent window, the verb ("OPEN", "Open"), the file, folder
    // or address; shown normally (ShellExecuteW with SW_SHOWNORMAL; no result is
    // examined).
    virtual void ShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target);
    // The program's instance.
    static TShellServices& System();
};

}  // namespace vx
