#include "framework/Forms.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>

#include "framework/Handles.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/Threads.h"

namespace vx {

namespace {

constexpr UINT_PTR kHintTimer = 1;

TApplication& ApplicationInstance() {
    static TApplication app;
    return app;
}
TScreen& ScreenInstance() {
    static TScreen screen;
    return screen;
}

// The windows of this thread that a modal form disables while it runs.
struct TDisabledWindows {
    HWND except;
    std::vector<HWND> list;
};

BOOL CALLBACK DisableThreadWindow(HWND window, LPARAM data) {
    auto* d = reinterpret_cast<TDisabledWindows*>(data);
    if (window != d->except && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        d->list.push_back(window);
        ::EnableWindow(window, FALSE);
    }
    return TRUE;
}

// Does the caption have "&c" as its accelerator?
bool IsAccel(wchar_t c, const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t a = caption[i + 1];
        auto up = [](wchar_t x) { return (x >= L'a' && x <= L'z') ? static_cast<wchar_t>(x - 32) : x; };
        return up(a) == up(c);
    }
    return false;
}

void CollectControls(TWinControl* parent, std::vector<TControl*>& out) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        out.push_back(c);
        if (c->HasWindow()) CollectControls(static_cast<TWinControl*>(c), out);
    }
}

}  // namespace

// The screen is made first so that it outlives the application's forms.
TScreen* Screen = &ScreenInstance();
TApplication* Application = &ApplicationInstance();

void ShowMessage(const std::wstring& text) {
    Application->MessageBox(text, Application->GetTitle(), MB_OK);
}

// --- TCustomForm ------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TScrollingWinControl, TWinControl)
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomForm, TScrollingWinControl)
VX_IMPLEMENT_CLASS(TForm, TCustomForm)

void TCustomForm::RegisterProperties(TPropertyRegistrar<TCustomForm>& r) {
    r.Enumeration(L"BorderStyle", &TCustomForm::GetBorderStyle, &TCustomForm::SetBorderStyle,
                  {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"})
        .Enumeration(L"Position", &TCustomForm::GetPosition, &TCustomForm::SetPosition,
                     {L"poDesigned", L"poDefault", L"poDefaultPosOnly", L"poDefaultSizeOnly", L"poScreenCenter",
                      L"poDesktopCenter", L"poMainFormCenter", L"poOwnerFormCenter"})
        .Integer(L"BorderIcons", &TCustomForm::GetBorderIcons, &TCustomForm::SetBorderIcons)
        .Boolean(L"KeyPreview", &TCustomForm::GetKeyPreview, &TCustomForm::SetKeyPreview)
        .Integer(L"ModalResult", &TCustomForm::GetModalResult, &TCustomForm::SetModalResult)
        .Object(L"Menu", &TCustomForm::GetMenu, &TCustomForm::SetMenu)
        .Object(L"ActiveControl", &TCustomForm::GetActiveControl, &TCustomForm::SetActiveControl);
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
    BeginLoading();
    InitVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

void TCustomForm::DoDestroy() {
    if (destroyFired_ || !built_) return;
    destroyFired_ = true;
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (const std::exception& e) {
            Application->HandleException(this, e);
        }
    }
}

TCustomForm::~TCustomForm() {
    Destroying();
    DoDestroy();
    if (modal_) CloseModal();
    DestroyHandle();
    Screen->RemoveForm(this);
}

void TCustomForm::FinishBuilding() {
    if (built_) return;
    built_ = true;
    std::vector<TComponent*> owned;
    for (int i = 0; i < ComponentCount(); ++i) owned.push_back(Components(i));
    for (TComponent* c : owned) c->Loaded();
    Loaded();
    DoCreate();
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}
void TCustomForm::DoShow() {
    if (OnShow && !IsDestroying()) OnShow(this);
}
void TCustomForm::DoHide() {
    if (OnHide && !IsDestroying()) OnHide(this);
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style &= ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    p.WindowClass.style |= CS_DBLCLKS;
    p.WindowClass.hIcon = Application->GetIconHandle();
    if (GetParent()) {
        p.Style |= WS_CHILD;
        return;
    }
    p.Style |= WS_CLIPCHILDREN;
    switch (borderStyle_) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ != bsNone) {
        if (borderIcons_ & biSystemMenu) p.Style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
        }
        if ((borderIcons_ & biHelp) && !(borderIcons_ & (biMinimize | biMaximize))) p.ExStyle |= WS_EX_CONTEXTHELP;
    }
    TCustomForm* main = Application->GetMainForm();
    if (Application->GetMainFormOnTaskBar() && (main == nullptr || main == this)) {
        p.WndParent = nullptr;
        p.ExStyle |= WS_EX_APPWINDOW;
    } else if (Application->GetMainFormOnTaskBar() && main && main->HandleAllocated()) {
        p.WndParent = main->GetHandle();
    } else {
        p.WndParent = Application->GetHandle();
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    RecreateWnd();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu_) RemoveFreeNotification(menu_);
    menu_ = menu;
    if (menu) FreeNotification(menu);
    MenuChanged();
}

void TCustomForm::MenuChanged() {
    if (!HandleAllocated()) return;
    // Sent to the window rather than performed, so that a procedure in front of the
    // window (a frame painter) sees the change and everything it causes: the form puts
    // its menu into the window while handling the notification.
    ::SendMessageW(GetHandle(), CM_MENUCHANGED, 0, 0);
    ::DrawMenuBar(GetHandle());
}

void TCustomForm::CMMenuChanged(TMessage& m) {
    // A menu bar takes its height from the client area; the client area keeps its size.
    const int clientWidth = GetClientWidth(), clientHeight = GetClientHeight();
    HMENU wanted = menu_ ? menu_->GetHandle() : nullptr;
    bool changed = ::GetMenu(GetHandle()) != wanted;
    ::SetMenu(GetHandle(), wanted);
    if (changed && !GetParent()) SetClientSize(clientWidth, clientHeight);
    m.Result = 0;
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TScrollingWinControl::Notification(component, operation);
    if (operation != opRemove || !component || component != menu_) return;
    menu_ = nullptr;
    // The native menu went with the framework menu; whoever draws the window's menu
    // learns of it through the change notification.
    if (!IsDestroying()) MenuChanged();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && HandleAllocated() && Active() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::FocusChanged(TWinControl* control) {
    if (control == this) return;
    activeControl_ = control;
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(control));
}

TWindowState TCustomForm::GetWindowState() const {
    if (!handle_) return windowState_;
    if (::IsIconic(handle_)) return wsMinimized;
    if (::IsZoomed(handle_)) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (handle_ && GetVisible())
        ::ShowWindow(handle_, state == wsMinimized ? SW_MINIMIZE : state == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

bool TCustomForm::Active() const { return handle_ && ::GetActiveWindow() == handle_; }

void TCustomForm::ApplyPosition() {
    if (positioned_ || GetParent()) return;
    positioned_ = true;
    int l = GetLeft(), t = GetTop();
    if (position_ == poScreenCenter || position_ == poDesktopCenter) {
        RECT work;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        l = work.left + ((work.right - work.left) - GetWidth()) / 2;
        t = work.top + ((work.bottom - work.top) - GetHeight()) / 2;
    } else if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
        TCustomForm* center = Application->GetMainForm();
        if (position_ == poOwnerFormCenter && Owner() && Owner()->InheritsFrom(TCustomForm::StaticClass()))
            center = static_cast<TCustomForm*>(Owner());
        if (center && center != this) {
            l = center->GetLeft() + (center->GetWidth() - GetWidth()) / 2;
            t = center->GetTop() + (center->GetHeight() - GetHeight()) / 2;
        }
    }
    SetBounds(std::max(0, l), std::max(0, t), GetWidth(), GetHeight());
}

void TCustomForm::SetVisible(bool visible) {
    if (visible) FinishBuilding();
    if (visible == GetVisible()) {
        if (visible && handle_) ::BringWindowToTop(handle_);
        return;
    }
    if (visible) {
        HandleNeeded();
        ApplyPosition();
        MenuChanged();
    }
    TControl::SetVisible(visible);
    if (!handle_) return;
    if (visible) {
        int cmd = windowState_ == wsMinimized ? SW_SHOWMINIMIZED : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW;
        if (GetParent()) cmd = SW_SHOWNOACTIVATE;
        ::ShowWindow(handle_, cmd);
        if (!GetParent()) ::SetForegroundWindow(handle_);
        TWinControl* focus = activeControl_;
        if (!focus || !focus->CanFocus()) focus = FindNextControl(nullptr, true);
        if (focus && !GetParent()) focus->SetFocus();
        DoShow();
    } else {
        ::ShowWindow(handle_, SW_HIDE);
        DoHide();
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (handle_) ::BringWindowToTop(handle_);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = Application->GetMainForm() == this ? caFree : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->GetMainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() {
    if (HandleAllocated()) ::PostMessageW(GetHandle(), CM_RELEASE, 0, 0);
    else delete this;
}

void TCustomForm::CloseModal() {
    // Enable what the modal loop disabled is done by ShowModal; here only the flags.
    modal_ = false;
}

TModalResult TCustomForm::ShowModal() {
    FinishBuilding();
    if (GetVisible() || modal_) throw Exception(L"Cannot make a visible window modal");
    if (::GetCapture()) ::SendMessageW(::GetCapture(), WM_CANCELMODE, 0, 0);
    ::ReleaseCapture();
    HWND previous = ::GetActiveWindow();
    HandleNeeded();
    TDisabledWindows disabled{handle_, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    TModalResult result = mrCancel;
    try {
        Show();
        while (true) {
            Application->HandleMessage();
            if (Application->Terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
            if (modalResult_ != mrNone) {
                // A close request may be refused by OnCloseQuery / OnClose.
                TModalResult wanted = modalResult_;
                bool mayClose = CloseQuery();
                TCloseAction action = caHide;
                if (mayClose) DoClose(action);
                if (!mayClose || action == caNone) {
                    if (!Application->Terminated()) {
                        modalResult_ = mrNone;
                        continue;
                    }
                }
                result = wanted;
                break;
            }
        }
    } catch (...) {
        for (HWND w : disabled.list) ::EnableWindow(w, TRUE);
        modal_ = false;
        throw;
    }
    for (HWND w : disabled.list)
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    modal_ = false;
    if (previous && ::IsWindow(previous)) ::SetActiveWindow(previous);
    Hide();
    modalResult_ = result;
    return result;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
    if (TWinControl* next = FindNextControl(current, forward)) next->SetFocus();
}

TButton* TCustomForm::FindDefaultButton() const {
    std::vector<TControl*> all;
    CollectControls(const_cast<TCustomForm*>(this), all);
    HWND focus = ::GetFocus();
    for (TControl* c : all)
        if (c->InheritsFrom(TButton::StaticClass()) && static_cast<TButton*>(c)->HandleAllocated() &&
            static_cast<TButton*>(c)->GetHandle() == focus)
            return static_cast<TButton*>(c);
    for (TControl* c : all)
        if (c->InheritsFrom(TButton::StaticClass()) && static_cast<TButton*>(c)->GetDefault() &&
            static_cast<TButton*>(c)->CanFocus())
            return static_cast<TButton*>(c);
    return nullptr;
}

TButton* TCustomForm::FindCancelButton() const {
    std::vector<TControl*> all;
    CollectControls(const_cast<TCustomForm*>(this), all);
    for (TControl* c : all)
        if (c->InheritsFrom(TButton::StaticClass()) && static_cast<TButton*>(c)->GetCancel() &&
            static_cast<TButton*>(c)->CanFocus())
            return static_cast<TButton*>(c);
    return nullptr;
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
    TShortCut shortCut = ShortCut(key, shift);
    if (menu_ && menu_->IsShortCut(shortCut)) return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (Components(i)->InheritsFrom(TPopupMenu::StaticClass()) &&
            static_cast<TPopupMenu*>(Components(i))->IsShortCut(shortCut))
            return true;
    return false;
}

void TCustomForm::CMDialogKey(TMessage& m) {
    const WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyboardStateToShiftState();
    if (shift & (ssAlt | ssCtrl)) return;
    if (key == VK_TAB) {
        TWinControl* focused = FindControl(::GetFocus());
        SelectNext(focused ? focused : activeControl_, !(shift & ssShift));
        m.Result = 1;
    } else if (key == VK_RETURN) {
        if (TButton* b = FindDefaultButton()) {
            b->Click();
            m.Result = 1;
        }
    } else if (key == VK_ESCAPE) {
        if (TButton* b = FindCancelButton()) {
            b->Click();
            m.Result = 1;
        }
    }
}

void TCustomForm::CMDialogChar(TMessage& m) {
    const wchar_t ch = static_cast<wchar_t>(m.WParam);
    std::vector<TControl*> all;
    CollectControls(this, all);
    for (TControl* c : all) {
        if (!c->Showing() || !c->GetEnabled()) continue;
        if (!c->InheritsFrom(TButtonControl::StaticClass())) continue;
        if (IsAccel(ch, c->GetCaption())) {
            auto* w = static_cast<TWinControl*>(c);
            if (w->CanFocus()) w->SetFocus();
            c->Click();
            m.Result = 1;
            return;
        }
    }
}

void TCustomForm::DragAcceptFiles(bool accept) {
    acceptFiles_ = accept;
    if (HandleAllocated()) ::DragAcceptFiles(GetHandle(), accept ? TRUE : FALSE);
}

namespace {

// The paths of a drop read straight from its memory block: DROPFILES, then the paths
// (wide or in the system code page), each ended by a NUL, the list by one more. One walk
// over the list; asking DragQueryFile for path i walks it from its start every time,
// which makes a drop of 10,000 files cost seconds. False when the block cannot be read.
bool ReadDropBlock(HDROP drop, std::vector<std::wstring>& names) {
    const SIZE_T size = ::GlobalSize(drop);
    const auto* block = static_cast<const char*>(::GlobalLock(drop));
    if (!block) return false;
    TScopeExit unlock([drop] { ::GlobalUnlock(drop); });
    if (size < sizeof(DROPFILES)) return false;
    const auto* header = reinterpret_cast<const DROPFILES*>(block);
    if (header->pFiles < sizeof(DROPFILES) || header->pFiles >= size) return false;
    const char* const end = block + size;
    if (header->fWide) {
        const auto* p = reinterpret_cast<const wchar_t*>(block + header->pFiles);
        const auto* last = reinterpret_cast<const wchar_t*>(end - (size - header->pFiles) % sizeof(wchar_t));
        while (p < last && *p) {
            const wchar_t* stop = std::find(p, last, L'\0');
            names.emplace_back(p, stop);
            p = stop + 1;
        }
    } else {
        const char* p = block + header->pFiles;
        while (p < end && *p) {
            const char* stop = std::find(p, end, '\0');
            const int length = static_cast<int>(stop - p);
            const int wide = ::MultiByteToWideChar(CP_ACP, 0, p, length, nullptr, 0);
            std::wstring name(static_cast<size_t>(std::max(wide, 0)), L'\0');
            if (wide > 0) ::MultiByteToWideChar(CP_ACP, 0, p, length, name.data(), wide);
            names.push_back(std::move(name));
            p = stop + 1;
        }
    }
    return true;
}

}  // namespace

std::vector<std::wstring> TCustomForm::DroppedFileNames(HDROP drop) {
    std::vector<std::wstring> names;
    if (ReadDropBlock(drop, names)) return names;
    names.clear();
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        ::DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(length);
        names.push_back(name);
    }
    return names;
}

void TCustomForm::WMDropFiles(TMessage& m) { ::DragFinish(reinterpret_cast<HDROP>(m.WParam)); }

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_DROPFILES:
        WMDropFiles(m);
        return;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(m);
        return;
    case CM_MENUCHANGED:
        if (HandleAllocated()) CMMenuChanged(m);
        return;
    case CM_RELEASE:
        delete this;
        return;
    case WM_CREATE:
        TScrollingWinControl::WndProc(m);
        if (acceptFiles_) ::DragAcceptFiles(handle_, TRUE);
        return;
    case WM_ACTIVATE: {
        TScrollingWinControl::WndProc(m);
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            Screen->SetActiveForm(this);
            if (activeControl_ && activeControl_->CanFocus() && activeControl_ != this && !IsIconic(handle_))
                activeControl_->SetFocus();
            if (OnActivate && !IsDestroying()) OnActivate(this);
        } else if (OnDeactivate && !IsDestroying()) {
            OnDeactivate(this);
        }
        return;
    }
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application->GetMainForm() == this &&
            !Application->GetMainFormOnTaskBar()) {
            TScrollingWinControl::WndProc(m);
            return;
        }
        break;
    default: break;
    }
    TScrollingWinControl::WndProc(m);
}

// --- TApplication ---------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication() : TComponent(nullptr) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                              ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&icc);
}

TApplication::~TApplication() {
    // Whatever must go while the forms are whole (the skin layer restores the windows
    // it has taken over) goes first, last added first.
    RunTeardown();
    Destroying();
    DestroyComponents();
    if (hintWindow_) ::DestroyWindow(hintWindow_);
    if (handle_) ::DestroyWindow(handle_);
}

HICON TApplication::GetIconHandle(bool smallIcon) {
    const int cx = ::GetSystemMetrics(smallIcon ? SM_CXSMICON : SM_CXICON);
    const int cy = ::GetSystemMetrics(smallIcon ? SM_CYSMICON : SM_CYICON);
    if (HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, cx, cy, LR_SHARED))
        return static_cast<HICON>(icon);
    return static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */, IMAGE_ICON,
                                           cx, cy, LR_SHARED));
}

HWND TApplication::GetHandle() {
    if (handle_) return handle_;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!::GetClassInfoW(instance, L"TApplication", &wc)) {
        wc.lpfnWndProc = &TApplication::AppWndProc;
        wc.hInstance = instance;
        wc.hIcon = GetIconHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"TApplication";
        ::RegisterClassW(&wc);
    }
    handle_ = ::CreateWindowExW(0, L"TApplication", title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, instance, nullptr);
    ::SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(GetIconHandle()));
    ::SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(GetIconHandle(true)));
    SetWakeMainThread([] {
        if (Application->handle_) ::PostMessageW(Application->handle_, WM_NULL, 0, 0);
    });
    // An exception that ends a thread is shown like one from an event handler, on the
    // main thread.
    SetThreadExceptionHandler([](TThread* thread, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            Exception copy(ExceptionMessage(e));
            TThread::Synchronize([&] { Application->HandleException(thread, copy); });
        } catch (...) {
            Exception copy(L"Unknown error");
            TThread::Synchronize([&] { Application->HandleException(thread, copy); });
        }
    });
    return handle_;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        switch (msg) {
        case WM_NULL:
            CheckSynchronize();
            return 0;
        case WM_TIMER:
            if (wParam == kHintTimer) {
                ::KillTimer(window, kHintTimer);
                Application->ShowHintNow();
                return 0;
            }
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0 && TMenu::DispatchCommand(LOWORD(wParam))) return 0;
            break;
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (dis->CtlType == ODT_MENU && TMenuItem::DispatchDrawItem(*dis)) return TRUE;
            break;
        }
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (mis->CtlType == ODT_MENU && TMenuItem::DispatchMeasureItem(*mis)) return TRUE;
            break;
        }
        case WM_CLOSE:
            if (Application->mainForm_) Application->mainForm_->Close();
            return 0;
        default: break;
        }
    } catch (const std::exception& e) {
        Application->HandleException(Application, e);
        return 0;
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::AddTeardown(std::function<void()> handler) {
    if (handler) teardown_.push_back(std::move(handler));
}

void TApplication::RunTeardown() {
    while (!teardown_.empty()) {
        std::function<void()> handler = std::move(teardown_.back());
        teardown_.pop_back();
        try {
            handler();
        } catch (...) {
            // Teardown goes on whatever one handler met.
        }
    }
}

void TApplication::SetTitle(const std::wstring& title) {
    title_ = title;
    if (handle_) ::SetWindowTextW(handle_, title.c_str());
}

void TApplication::SetShowHint(bool value) {
    showHint_ = value;
    if (!value) HideHint();
}

void TApplication::AddForm(TCustomForm* form) {
    if (!mainForm_) {
        mainForm_ = form;
        GetHandle();
    }
    form->FinishBuilding();
}

void TApplication::Run() {
    GetHandle();
    if (mainForm_ && showMainForm_ && !terminated_) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsKeyMsg(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) {
        CheckSynchronize();
        if (!terminated_) ::WaitMessage();
    }
}

void TApplication::ProcessMessages() {
    GetHandle();
    while (ProcessMessage()) {
    }
    CheckSynchronize();
}

void TApplication::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

HWND TApplication::ActiveOwnerWindow() {
    HWND active = ::GetActiveWindow();
    if (active && FindControl(active)) return active;
    TCustomForm* form = Screen->GetActiveForm();
    if (form && form->HandleAllocated() && form->GetVisible()) return form->GetHandle();
    return GetHandle();
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    return ::MessageBoxW(ActiveOwnerWindow(), text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(TObject* sender, const std::exception& e) {
    if (OnException) {
        OnException(sender, e);
        return;
    }
    ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
    std::wstring text = ExceptionMessage(e);
    std::wstring caption = title_.empty() ? std::wstring(L"Error") : title_;
    ::MessageBoxW(ActiveOwnerWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    // The framework control the keyboard message is for (an inner window of a control,
    // such as a combo box's edit field, belongs to the control around it).
    TWinControl* control = nullptr;
    for (HWND w = msg.hwnd; w && !control; w = ::GetParent(w)) control = FindControl(w);
    if (!control) return false;
    TCustomForm* form = control->GetParentForm();
    if (!form) return false;
    HideHint();
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        WORD key = static_cast<WORD>(msg.wParam);
        TShiftState shift = KeyboardStateToShiftState();
        if (form->GetKeyPreview() && form != control && form->OnKeyDown) {
            form->OnKeyDown(form, key, shift);
            if (key == 0) return true;
        }
        if (form->IsShortCut(key, shift)) return true;
        if (msg.message == WM_KEYDOWN && (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE)) {
            LRESULT code = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
            bool wants = (code & DLGC_WANTALLKEYS) || (code & DLGC_WANTMESSAGE) ||
                         (key == VK_TAB && (code & DLGC_WANTTAB));
            // A dropped-down combo box closes its list on Enter and Esc.
            if (control->InheritsFrom(L"TCustomComboBox") &&
                ::SendMessageW(control->GetHandle(), CB_GETDROPPEDSTATE, 0, 0))
                wants = true;
            if (!wants && form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0) return true;
        }
    } else if (msg.message == WM_CHAR) {
        if (form->GetKeyPreview() && form != control && form->OnKeyPress) {
            wchar_t ch = static_cast<wchar_t>(msg.wParam);
            form->OnKeyPress(form, ch);
            if (ch == 0) return true;
            msg.wParam = ch;
        }
    } else if (msg.message == WM_SYSCHAR) {
        if (form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
    }
    return false;
}

void TApplication::MouseControlChanged(TControl* control) {
    HideHint();
    hintControl_ = nullptr;
    if (!handle_) return;
    ::KillTimer(handle_, kHintTimer);
    if (!control || !showHint_ || !control->GetShowHint() || control->GetHint().empty()) return;
    hintControl_ = control;
    ::SetTimer(handle_, kHintTimer, static_cast<UINT>(hintPause_), nullptr);
}

void TApplication::CancelHint() {
    HideHint();
    if (handle_) ::KillTimer(handle_, kHintTimer);
}

void TApplication::ControlDestroyed(TControl* control) {
    if (hintControl_ == control) {
        CancelHint();
        hintControl_ = nullptr;
    }
    if (mainForm_ == control) mainForm_ = nullptr;
}

void TApplication::ShowHintNow() {
    if (!hintControl_ || GetMouseControl() != hintControl_) return;
    std::wstring text = hintControl_->GetHint();
    // "short|long": the tooltip shows the short part.
    if (size_t bar = text.find(L'|'); bar != std::wstring::npos) text.resize(bar);
    if (text.empty()) return;
    if (!hintWindow_) {
        hintWindow_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                        0, 0, 0, 0, GetHandle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        ti.hwnd = GetHandle();
        ti.uId = 1;
        ti.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        ::SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = GetHandle();
    ti.uId = 1;
    ti.lpszText = text.data();
    ::SendMessageW(hintWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p;
    ::GetCursorPos(&p);
    ::SendMessageW(hintWindow_, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y + 20));
    ::SendMessageW(hintWindow_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    hintVisible_ = true;
}

void TApplication::HideHint() {
    if (!hintVisible_ || !hintWindow_) return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = GetHandle();
    ti.uId = 1;
    ::SendMessageW(hintWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    hintVisible_ = false;
}

// --- TScreen -----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TScreen, TComponent)

TScreen::TScreen() : TComponent(nullptr) {}
TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) return nullptr;
    return forms_[static_cast<size_t>(index)];
}

TWinControl* TScreen::GetActiveControl() const { return activeForm_ ? activeForm_->GetActiveControl() : nullptr; }

TFont* TScreen::GetMenuFont() {
    if (!menuFont_) {
        menuFont_ = std::make_unique<TFont>();
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
            menuFont_->SetHandle(::CreateFontIndirectW(&ncm.lfMenuFont));
    }
    return menuFont_.get();
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    if (cursor != crDefault) {
        ::SetCursor(CursorHandle(cursor));
    } else {
        POINT p;
        ::GetCursorPos(&p);
        ::SetCursorPos(p.x, p.y);
    }
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) activeForm_ = nullptr;
}

}  // namespace vx
