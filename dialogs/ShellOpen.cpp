#include "dialogs/ShellOpen.h"

#include <shellapi.h>

namespace vx {

void TShellServices::ShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target) {
    ::ShellExecuteW(parent, verb.c_str(), target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TShellServices& TShellServices::System() {
    static TShellServices services;
    return services;
}

}  // namespace vx
