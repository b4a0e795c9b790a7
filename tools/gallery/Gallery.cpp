// The control gallery: every control of the framework on one form, the left half
// enabled and the right half disabled, with Chinese captions.
//   gallery.exe [plain | menu | mdi | states KIND [plain]]
// The window wears the program's skin (frame, skinned menu bar, menus and every
// control); "plain" shows the framework's own look; "menu" opens the first drop-down
// of the skinned bar with an item highlighted (for pictures of the menus); "mdi" also
// opens an MDI frame of plain windows whose maximised child puts its buttons into the
// frame's skinned bar; "states
// KIND" shows one kind of control in its states (the kinds are listed in
// GalleryForm.cpp), with the focus and a held mouse button put in place after a moment.

#include <windows.h>

#include <sstream>
#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinManage.h"
#include "tools/gallery/GalleryForm.h"

using namespace vx;

namespace {

LRESULT CALLBACK MdiFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = ::FindWindowExW(window, nullptr, L"MDIClient", nullptr);
    return ::DefFrameProcW(window, client, msg, wParam, lParam);
}

// An MDI frame made of plain windows, with a native menu and one maximised child.
void OpenMdiFrame() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW frame{};
    frame.lpfnWndProc = &MdiFrameProc;
    frame.hInstance = instance;
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    frame.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    frame.lpszClassName = L"VxGalleryMdiFrame";
    ::RegisterClassW(&frame);
    WNDCLASSW child{};
    child.lpfnWndProc = &::DefMDIChildProcW;
    child.hInstance = instance;
    child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    child.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    child.lpszClassName = L"VxGalleryMdiChild";
    ::RegisterClassW(&child);
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 101, L"新建(&N)");
    ::AppendMenuW(file, MF_STRING, 102, L"关闭(&C)");
    HMENU window = ::CreatePopupMenu();
    ::AppendMenuW(window, MF_STRING, 201, L"层叠(&C)");
    ::AppendMenuW(window, MF_STRING, 202, L"平铺(&T)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"窗口(&W)");
    HWND frameWindow = ::CreateWindowExW(0, frame.lpszClassName, L"多文档窗口", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                         300, 120, 460, 320, nullptr, bar, instance, nullptr);
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = window;
    ccs.idFirstChild = 1000;
    RECT area{};
    ::GetClientRect(frameWindow, &area);
    HWND client = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                    0, 0, area.right, area.bottom, frameWindow, nullptr, instance, &ccs);
    ::ShowWindow(frameWindow, SW_SHOW);
    ::SetForegroundWindow(frameWindow);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = child.lpszClassName;
    mcs.szTitle = L"文档一";
    mcs.hOwner = instance;
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    mcs.style = WS_VISIBLE | WS_MAXIMIZE;
    ::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command, int) {
    std::wistringstream words(command ? command : L"");
    std::wstring mode, kind, look;
    words >> mode >> kind >> look;
    const bool states = mode == L"states";
    const bool skinned = states ? look != L"plain" : mode != L"plain";
    if (skinned) {
        InstallWindowSkinning();
        InstallControlSkinning();
    }
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(L"控件一览");
    TTimer opener(nullptr);
    opener.SetInterval(1500);
    if (states) {
        auto* form = new TStatesForm(Application, kind, skinned);
        Application->AddForm(form);
        opener.OnTimer = [&opener, form](TObject*) {
            opener.SetEnabled(false);
            form->Press();
        };
        opener.SetEnabled(true);
    } else {
        auto* form = new TGalleryForm(Application, skinned);
        Application->AddForm(form);
        opener.OnTimer = [&opener, form](TObject*) {
            opener.SetEnabled(false);
            TSkinManage* manager = TSkinManage::Instance();
            TFormSkinner* skinner = manager ? manager->FindForm(form->GetHandle()) : nullptr;
            if (skinner && skinner->MenuBar()) skinner->MenuBar()->OpenDropDown(0);
        };
        opener.SetEnabled(mode == L"menu");
    }
    TTimer mdi(nullptr);
    mdi.SetInterval(1000);
    mdi.OnTimer = [&](TObject*) {
        mdi.SetEnabled(false);
        OpenMdiFrame();
    };
    mdi.SetEnabled(mode == L"mdi");
    Application->Run();
    return 0;
}
