#pragma once
// Forms, the application object and the screen. A form is built in code: its
// constructor makes the child controls, and FinishBuilding (called by CreateForm, Show
// and ShowModal) tells every owned component that the form is complete (Loaded) and
// then fires OnCreate.

#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/ModalResult.h"

namespace vx {

class TMainMenu;
class TButton;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TScrollingWinControl : public TWinControl {
    VX_DECLARE_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}
};

class TCustomForm : public TScrollingWinControl {
    VX_DECLARE_CLASS(TCustomForm, TScrollingWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Ends the building: Loaded on every owned component and the form, then OnCreate.
    // Runs once; CreateForm, Show and ShowModal call it.
    void FinishBuilding();

    void Show();
    void Hide() { SetVisible(false); }
    // Asks OnCloseQuery, then OnClose; a modal form ends its modal loop with mrCancel.
    void Close();
    // Shows the form modally: other windows are disabled until ModalResult is set.
    TModalResult ShowModal();
    // Frees the form once the messages being handled now are done.
    void Release();
    virtual bool CloseQuery();
    bool IsModal() const { return modal_; }
    // Fires OnDestroy (once). The form's destructor calls it; a descendant whose
    // handler needs the descendant's own members calls it first in its destructor.
    void DoDestroy();

    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    TPosition GetPosition() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    bool GetKeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TMainMenu* GetMenu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Re-reads the main menu into the window (after a change of its items).
    void MenuChanged();
    TWinControl* GetActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    TWindowState GetWindowState() const;
    void SetWindowState(TWindowState state);
    bool Active() const;

    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(TWinControl* current, bool forward);
    // The button that Enter presses: a focused button, else the default button.
    TButton* FindDefaultButton() const;
    TButton* FindCancelButton() const;
    // Runs the menu item (main menu or an owned popup menu) with this shortcut.
    bool IsShortCut(WORD key, TShiftState shift);

    // Registers the window as a drop target for files (WM_DROPFILES).
    void DragAcceptFiles(bool accept);
    // The file names of a drop.
    static std::vector<std::wstring> DroppedFileNames(HDROP drop);

    // Called by a control that got the focus.
    void FocusChanged(TWinControl* control);
    void SetVisible(bool visible) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    static void RegisterProperties(TPropertyRegistrar<TCustomForm>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    // Files dropped on the window (WM_DROPFILES, 0x233): the base releases the drop.
    virtual void WMDropFiles(TMessage& message);
    virtual void DoClose(TCloseAction& action);
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    // CM_MENUCHANGED: puts the main menu into the window, keeping the client size.
    void CMMenuChanged(TMessage& message);
    // A main menu freed while it is the form's menu is forgotten and taken out of the
    // window.
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ApplyPosition();
    void CloseModal();

    bool built_ = false;
    bool destroyFired_ = false;
    bool modal_ = false;
    bool positioned_ = false;
    bool acceptFiles_ = false;
    TModalResult modalResult_ = mrNone;
    TPosition position_ = poDesigned;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    bool keyPreview_ = false;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TWindowState windowState_ = wsNormal;
};

class TForm : public TCustomForm {
    VX_DECLARE_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TApplication : public TComponent {
    VX_DECLARE_CLASS(TApplication, TComponent)
public:
    TApplication();
    ~TApplication() override;

    // The hidden top-level window of class "TApplication" (made on first use).
    HWND GetHandle();
    HWND Handle() { return GetHandle(); }
    // The program's icon: the icon resource "MAINICON" of the program at the system's
    // large or small icon size, or the system's application icon when the program has
    // none. Shared icons, owned by the system. The application window carries both
    // (WM_GETICON answers them) and every form's window class the large one.
    HICON GetIconHandle(bool smallIcon = false);

    std::wstring GetTitle() const { return title_; }
    void SetTitle(const std::wstring& title);
    TCustomForm* GetMainForm() const { return mainForm_; }
    // The main form gets its own taskbar button (instead of the application window).
    bool GetMainFormOnTaskBar() const { return mainFormOnTaskBar_; }
    void SetMainFormOnTaskBar(bool value) { mainFormOnTaskBar_ = value; }
    bool GetShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    int GetHintPause() const { return hintPause_; }
    void SetHintPause(int ms) { hintPause_ = ms; }

    // Makes a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        AddForm(reference);
    }
    void AddForm(TCustomForm* form);

    // Shows the main form and runs the message loop until Terminate (closing the main
    // form terminates).
    void Run();
    // Handles every waiting message, then the threads' waiting hand-overs.
    void ProcessMessages();
    // Handles one message, or waits for one when there is none.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Clears the terminated state (tests run several loops in one process).
    void ResetTerminated() { terminated_ = false; }

    // A message box owned by the active form (or the application window).
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
    // An exception that escaped an event handler: OnException, or ShowException.
    void HandleException(TObject* sender, const std::exception& e);
    // The standard display: a message box with the exception's text.
    void ShowException(const std::exception& e);
    TExceptionEvent OnException;

    // The window that owns message boxes and dialogs now.
    HWND ActiveOwnerWindow();

    // Hints (called by the controls).
    void MouseControlChanged(TControl* control);
    void CancelHint();
    void ControlDestroyed(TControl* control);
    // Pre-handling of keyboard messages: form key preview, dialog keys, shortcuts.
    bool IsKeyMsg(MSG& msg);

    static LRESULT CALLBACK AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    // Work that must run while the application's forms still exist, before the
    // application object takes them down (last added runs first). RunTeardown runs and
    // forgets the handlers; the destructor calls it.
    void AddTeardown(std::function<void()> handler);
    void RunTeardown();

private:
    std::vector<std::function<void()>> teardown_;
    bool ProcessMessage();
    void ShowHintNow();
    void HideHint();

    HWND handle_ = nullptr;
    HWND hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    bool hintVisible_ = false;
    std::wstring title_;
    TCustomForm* mainForm_ = nullptr;
    bool mainFormOnTaskBar_ = false;
    bool showMainForm_ = true;
    bool showHint_ = true;
    int hintPause_ = 500;
    bool terminated_ = false;
};

class TScreen : public TComponent {
    VX_DECLARE_CLASS(TScreen, TComponent)
public:
    TScreen();
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    TCustomForm* GetActiveForm() const { return activeForm_; }
    TWinControl* GetActiveControl() const;
    TFont* GetMenuFont();
    // A cursor for the whole application (crDefault: each control's own).
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    int GetWidth() const { return ::GetSystemMetrics(SM_CXSCREEN); }
    int GetHeight() const { return ::GetSystemMetrics(SM_CYSCREEN); }

    // Kept by the forms themselves.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

private:
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TCursor cursor_ = crDefault;
    std::unique_ptr<TFont> menuFont_;
};

extern TApplication* Application;
extern TScreen* Screen;

// A message box through the application object.
void ShowMessage(const std::wstring& text);

}  // namespace vx
