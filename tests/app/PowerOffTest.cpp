// Power-off with the final step replaced: the privilege is enabled and the action runs.
#include "app/PowerOff.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace vx {
namespace {

bool ShutdownPrivilegeEnabled() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    LUID shutdown{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &shutdown);
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Privilege[0].Luid = shutdown;
    BOOL result = FALSE;
    PrivilegeCheck(token, &set, &result);
    CloseHandle(token);
    return result != FALSE;
}

TEST(PowerOff, ShutDownComputerEnablesThePrivilegeAndRunsTheAction) {
    int calls = 0;
    bool privilegeWhenCalled = false;
    TPowerOffAction previous = SetPowerOffAction([&] {
        ++calls;
        privilegeWhenCalled = ShutdownPrivilegeEnabled();
    });
    ShutDownComputer();
    SetPowerOffAction(previous);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(privilegeWhenCalled);
}

}  // namespace
}  // namespace vx
