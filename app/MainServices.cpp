#include "app/MainServices.h"

#include "dialogs/Shutdown.h"
#include "dialogs/about.h"

namespace vx {

int TMainServices::ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    return Application->MessageBox(text, caption, flags);
}

bool TMainServices::ExecuteOpenDialog(TOpenDialog& dialog) { return dialog.Execute(); }

bool TMainServices::ChooseFolder(const std::wstring& prompt, std::wstring& folder) {
    return SelectDirectory(prompt, Application->GetHandle(), folder);
}

TModalResult TMainServices::ShowShutdown(TfrmShutdown& dialog) { return dialog.ShowModal(); }

void TMainServices::ShowAbout(TfrmAbout& about) { about.ShowModal(); }

TMainServices& TMainServices::System() {
    static TMainServices services;
    return services;
}

}  // namespace vx
