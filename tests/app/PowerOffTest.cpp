// Power-off with the final step replaced: the privilege is enabled and the action runs.
#include "app/PowerOff.h"
#include "framework/Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace vx {
namespace {

bool ShutdownPrivilegeEnabled() {
    THandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return false;
    LUID shutdown{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &shutdown);
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Privilege[0].Luid = shutdown;
    BOOL result = FALSE;
    PrivilegeCheck(token.Get(), &set, &result);
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
