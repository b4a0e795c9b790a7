// Power-off with the final step overridden: the privilege is enabled and the action runs.
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
    struct TRecorder : TPowerServices {
        int calls = 0;
        bool privilegeWhenCalled = false;
        void PowerOff() override {
            ++calls;
            privilegeWhenCalled = ShutdownPrivilegeEnabled();
        }
    } power;
    ShutDownComputer(power);
    EXPECT_EQ(power.calls, 1);
    EXPECT_TRUE(power.privilegeWhenCalled);
}

}  // namespace
}  // namespace vx
