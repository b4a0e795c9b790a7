#include "dialogs/ShellOpen.h"

#include <shellapi.h>

namespace vx {

namespace {

void DefaultShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target) {
    ::ShellExecuteW(parent, verb.c_str(), target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TShellOpenAction& CurrentAction() {
    static TShellOpenAction action = DefaultShellOpen;
    return action;
}

}  // namespace

void ShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target) {
    CurrentAction()(parent, verb, target);
}

TShellOpenAction SetShellOpenAction(TShellOpenAction action) {
    TShellOpenAction previous = CurrentAction();
    CurrentAction() = action ? std::move(action) : TShellOpenAction(DefaultShellOpen);
    return previous;
}

}  // namespace vx
