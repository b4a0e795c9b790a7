// The control gallery: every control of the framework on one form, the left half
// enabled and the right half disabled, with Chinese captions.
//   gallery.exe [plain | menu | states KIND [plain]]
// The window wears the program's skin (frame, skinned menu bar, menus and every
// control); "plain" shows the framework's own look; "menu" opens the first drop-down
// of the skinned bar with an item highlighted (for pictures of the menus); "states
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
        opener.OnTimer = [&](TObject*) {
            opener.SetEnabled(false);
            form->Press();
        };
        opener.SetEnabled(true);
    } else {
        auto* form = new TGalleryForm(Application, skinned);
        Application->AddForm(form);
        opener.OnTimer = [&](TObject*) {
            opener.SetEnabled(false);
            TSkinManage* manager = TSkinManage::Instance();
            TFormSkinner* skinner = manager ? manager->FindForm(form->GetHandle()) : nullptr;
            if (skinner && skinner->MenuBar()) skinner->MenuBar()->OpenDropDown(0);
        };
        opener.SetEnabled(mode == L"menu");
    }
    Application->Run();
    return 0;
}
