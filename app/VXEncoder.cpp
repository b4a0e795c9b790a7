// Program entry of VXEncoder: one instance per desktop, one main window.
#include <windows.h>

#include "app/main.h"
#include "framework/Forms.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/window/SkinManage.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace vx;
    // A second start only brings the first instance forward (a minimised window stays
    // minimised).
    if (HWND running = ::FindWindowW(kMainWindowClass, nullptr)) {
        ::SetForegroundWindow(running);
        return 0;
    }
    // Every window the program opens wears the skin the main window carries.
    InstallWindowSkinning();
    // ... and their controls too.
    InstallControlSkinning();
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(kMainTitle);
    TfrmMain* frmMain = nullptr;
    Application->CreateForm(frmMain);
    Application->Run();
    return 0;
}
