#pragma once
// The main window's services as its tests script them: each call goes to the test's
// function when one is set, and otherwise does what the program does, except the
// power-off, which never reaches the system.

#include <functional>
#include <string>

#include "app/MainServices.h"
#include "dialogs/Shutdown.h"
#include "dialogs/about.h"

namespace vx::test {

struct TScriptedServices : TMainServices {
    std::function<int(const std::wstring& text, const std::wstring& caption, UINT flags)> messageBox;
    std::function<bool(TOpenDialog&)> openDialog;
    std::function<bool(const std::wstring& prompt, std::wstring& folder)> chooseFolder;
    std::function<TModalResult(TfrmShutdown&)> shutdown;
    std::function<void(TfrmAbout&)> about;
    std::function<void(HWND parent, const std::wstring& verb, const std::wstring& target)> shell;
    std::function<void()> powerOff;
    std::function<void()> round;

    int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) override {
        return messageBox ? messageBox(text, caption, flags) : TMainServices::ShowMessageBox(text, caption, flags);
    }
    bool ExecuteOpenDialog(TOpenDialog& dialog) override {
        return openDialog ? openDialog(dialog) : TMainServices::ExecuteOpenDialog(dialog);
    }
    bool ChooseFolder(const std::wstring& prompt, std::wstring& folder) override {
        return chooseFolder ? chooseFolder(prompt, folder) : TMainServices::ChooseFolder(prompt, folder);
    }
    TModalResult ShowShutdown(TfrmShutdown& dialog) override {
        return shutdown ? shutdown(dialog) : TMainServices::ShowShutdown(dialog);
    }
    void ShowAbout(TfrmAbout& form) override {
        if (about)
            about(form);
        else
            TMainServices::ShowAbout(form);
    }
    void ShellOpen(HWND parent, const std::wstring& verb, const std::wstring& target) override {
        if (shell)
            shell(parent, verb, target);
        else
            TMainServices::ShellOpen(parent, verb, target);
    }
    void PowerOff() override {
        if (powerOff) powerOff();
    }
    void ProcessMessages() override {
        if (round)
            round();
        else
            TMainServices::ProcessMessages();
    }
};

}  // namespace vx::test
