#pragma once
// Switching the computer off at the end of an unattended batch. Windows only.

namespace vx {

// The power-off request itself. It does the real thing; a test derives and overrides
// it to run ShutDownComputer without switching anything off.
class TPowerServices {
public:
    virtual ~TPowerServices() = default;
    // Asks Windows for a normal (not forced) power-off (ExitWindowsEx); no result is
    // examined.
    virtual void PowerOff();
    // The program's instance.
    static TPowerServices& System();
};

// Enables the shutdown privilege of the current process's token and then asks for the
// power-off through `power`. No result is examined.
void ShutDownComputer(TPowerServices& power = TPowerServices::System());

// Step one alone; true when the privilege is enabled afterwards.
bool EnableShutdownPrivilege();

}  // namespace vx
