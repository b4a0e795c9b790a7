#pragma once
// Everything the main window reaches outside itself that a test must be able to watch
// or answer: its message boxes, the open dialog, the folder chooser, the countdown and
// about boxes, and through the bases the shell, the power-off, the media information
// window and the encoder job's round of messages. Every call does the real thing; a
// test derives, overrides what it watches and hands its object to the window.

#include <windows.h>

#include <string>

#include "app/PowerOff.h"
#include "dialogs/ShellOpen.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "mediainfo/VedioInfo.h"
#include "process/UMEncoder.h"

namespace vx {

class TfrmAbout;
class TfrmShutdown;

class TMainServices : public TJobServices,
                      public TShellServices,
                      public TPowerServices,
                      public TVedioInfoServices {
public:
    // A message box of the main window through the application object; the button
    // pressed (IDOK, IDCANCEL ...).
    virtual int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
    // Runs the open dialog; true when the user confirmed.
    virtual bool ExecuteOpenDialog(TOpenDialog& dialog);
    // Runs the shell's folder chooser, owned by the application window; true and the
    // folder when the user confirmed.
    virtual bool ChooseFolder(const std::wstring& prompt, std::wstring& folder);
    // Shows the countdown modally and returns its result.
    virtual TModalResult ShowShutdown(TfrmShutdown& dialog);
    // Shows the about box modally.
    virtual void ShowAbout(TfrmAbout& about);

    // The program's instance.
    static TMainServices& System();
};

}  // namespace vx
