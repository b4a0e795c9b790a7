#include "app/PowerOff.h"

#include <windows.h>

#include "framework/Handles.h"

namespace vx {

void TPowerServices::PowerOff() { ExitWindowsEx(EWX_POWEROFF, 0); }

TPowerServices& TPowerServices::System() {
    static TPowerServices services;
    return services;
}

bool EnableShutdownPrivilege() {
    THandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) return false;
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = false;
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &wanted.Privileges[0].Luid)) {
        TOKEN_PRIVILEGES previous{};
        DWORD previousSize = 0;
        enabled = AdjustTokenPrivileges(token.Get(), FALSE, &wanted, sizeof previous, &previous, &previousSize) &&
                  GetLastError() == ERROR_SUCCESS;
    }
    return enabled;
}

void ShutDownComputer(TPowerServices& power) {
    EnableShutdownPrivilege();
    power.PowerOff();
}

}  // namespace vx
