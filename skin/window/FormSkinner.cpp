#include "skin/window/FormSkinner.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/window/MdiClientSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"

namespace vx {

namespace {

enum TPart { ptLeft, ptRight, ptTop, ptBottom };

constexpr UINT kFrameOnly = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

COLORREF Resolved(TColour c) { return static_cast<COLORREF>(ResolveColour(c) & 0x00FFFFFF); }

TSkinManage* Manager() { return TSkinManage::Instance(); }

TBorderPicture Picture(const TDataSkinObject& e) {
    return {e.Bitmap.GetWidth(), e.Bitmap.GetHeight(), e.FrameCount};
}

std::wstring WindowText(HWND w) {
    const int n = ::GetWindowTextLengthW(w);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(w, text.data(), n + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

}  // namespace

// --- title-bar objects -------------------------------------------------------------------

void TNCObject::Press() {
    if (form_.HotObject() && form_.HotObject() != this) form_.HotObject()->Leave();
    if (!Visible) return;
    form_.SetHotObject(this);
    State = nsPressed;
    Paint();
}

void TNCObject::Release() {
    if (!Visible) return;
    State = nsHover;
    Paint();
}

void TNCObject::Hover() {
    TNCObject* hot = form_.HotObject();
    if (hot == this) return;
    if (hot) hot->Leave();
    if (!Visible) return;
    form_.SetHotObject(this);
    State = nsHover;
    Paint();
}

void TNCObject::Leave() {
    if (!Visible) return;
    form_.SetHotObject(nullptr);
    State = nsNormal;
    Paint();
}

TWinSysButton::TWinSysButton(TFormSkinner& form, const TDataSkinSysButton& d) : TNCObject(form) {
    Def.Action = d.Action;
    Def.Align = d.Align;
    Def.XCoord = d.XCoord;
    Def.YCoord = d.YCoord;
    Def.Visibility = d.Visibility;
    Def.Visibility1 = d.Visibility1;
    Def.FrameCount = d.FrameCount;
    if (!d.Bitmap.GetEmpty()) Image.Assign(d.Bitmap);
    Def.ImageWidth = Image.GetWidth();
    Def.ImageHeight = Image.GetHeight();
}

void TWinSysButton::DrawOn(HDC dc, int frame) {
    if (IsIconButton() && UsesWindowIcon && form_.SmallIcon()) {
        ::DrawIconEx(dc, Rect.Left, Rect.Top, form_.SmallIcon(), ::GetSystemMetrics(SM_CXSMICON),
                     ::GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
        return;
    }
    if (Image.GetEmpty()) return;
    DrawFrame(dc, ToRect(Rect), Image, true, Def.FrameCount, frame);
}

void TWinSysButton::Paint() {
    if (!Visible || Image.GetEmpty() || form_.Lifecycle() == 6) return;
    // A button of a maximised MDI child lives in the menu bar.
    const bool inBar = Def.Visibility == 100;
    if (inBar && !form_.MenuBar()) return;
    HWND w = form_.Window();
    if (!::IsWindow(w)) return;
    const int width = Rect.Right - Rect.Left, height = Rect.Bottom - Rect.Top;
    if (width <= 0 || height <= 0) return;
    // The button is composed off-screen over the title (or the bar) without buttons,
    // then copied.
    TBitmap scratch(width, height, pf24bit);
    HDC sdc = scratch.GetCanvas()->GetHandle();
    if (inBar) form_.MenuBar()->CopyBackground(sdc, Rect);
    else if (TBitmap* back = form_.TitleBackground())
        ::BitBlt(sdc, 0, 0, width, height, back->GetCanvas()->GetHandle(), Rect.Left, Rect.Top, SRCCOPY);
    ::SetViewportOrgEx(sdc, -Rect.Left, -Rect.Top, nullptr);
    DrawOn(sdc, StatePaintFrame(Def, State, Enabled));
    ::SetViewportOrgEx(sdc, 0, 0, nullptr);
    TWindowDC dc = TWindowDC::Whole(w);
    ::BitBlt(dc.Get(), Rect.Left, Rect.Top, width, height, sdc, 0, 0, SRCCOPY);
}

// --- the form object -------------------------------------------------------------------------

TFormSkinner::TFormSkinner(TComponent* owner) : TComponent(owner) {
    doubleClickTime_ = ::GetDoubleClickTime();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        captionFont_.Reset(::CreateFontIndirectW(&ncm.lfCaptionFont));
    hoverTimer_ = new TTimer(this);
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetInterval(250);
    hoverTimer_->OnTimer = [this](TObject*) { HoverTick(); };
}

TFormSkinner::~TFormSkinner() {
    hoverTimer_->SetEnabled(false);
    if (subclass_.Attached()) DetachQuiet();
    FreeControlSkins(false);
    formHook_.Remove();
    InstallMenuOwnerDraw(false);
    buttons_.clear();
    if (TSkinManage* m = Manager()) m->RemoveForm(this);
}

TBitmap* TFormSkinner::TitleBackground() const { return titleBack_.get(); }

void TFormSkinner::AttachFrameworkForm(TSkinData* data, TCustomForm* form) {
    form_ = form;
    HWND h = form->GetHandle();
    wchar_t cls[101] = {};
    ::GetClassNameW(h, cls, 101);
    if (data->OnBeforeSkinForm) data->OnBeforeSkinForm(form, h, cls);
    Attach(data, h);
}

void TFormSkinner::AttachForeign(TSkinData* data, HWND window) { Attach(data, window); }

void TFormSkinner::Attach(TSkinData* data, HWND window) {
    if (window_) return;  // once only
    window_ = window;
    if (TSkinManage* m = Manager()) m->SetState(1);
    data_ = data;
    frameSkinned_ = data->HasControl(xcMainMenu);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
    wchar_t cls[101] = {};
    ::GetClassNameW(window, cls, 101);
    className_ = cls;
    owner_ = ::GetWindow(window, GW_OWNER);
    TWindowFacts facts;
    facts.Style = style;
    facts.ExStyle = exStyle;
    facts.DialogClass = className_ == L"#32770" || className_ == L"TMessageForm";
    facts.HasOwner = owner_ != nullptr;
    HWND mdiClient = ::FindWindowExW(window, nullptr, L"MDIClient", nullptr);
    facts.HasMdiClientChild = mdiClient != nullptr;
    facts.Windows2000 = SkinIsWindows2000();
    class_ = ClassifyWindow(facts);
    ReadShowState();
    if (class_.Mdi == TMdiKind::Frame) {
        if (TSkinManage* m = Manager()) m->SetMdiClient(mdiClient, form_);
        mdiClient_ = std::make_unique<TMdiClientSkinner>(*this);
        mdiClient_->AttachClient(mdiClient);
    }
    if (class_.Mdi == TMdiKind::Child && data->HasOption(xoMDIChildBorder)) frameSkinned_ = false;
    if (SkinIsWindows9x()) data->SetSkinControls(data->GetSkinControls() & ~SkinBit(xcSystemMenu));
    subclass_.Attach(window);
    if (frameSkinned_) {
        nativeMenu_ = ::GetMenu(window);
        // The native bar becomes a skinned bar inside the frame.
        if (nativeMenu_ && class_.Mdi != TMdiKind::Child) CreateMenuBar();
    }
    if (frameSkinned_) RebuildMetrics();
    else lifecycle_ = 1;
    if (class_.Mdi == TMdiKind::Child && frameSkinned_) {
        const int need = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
        if (borders_.Top < need) menuBarHeight_ = need - borders_.Top;
        if (showState_ == TShowState::Maximized && Manager() && !Manager()->MdiChildMaximized())
            Manager()->SetMdiChildMaximized(true);
    }
    if (form_) {
        if (frameSkinned_) formHook_.Install(form_, [this](TMessage& m, const TWndMethod& previous) { FormHook(m, previous); });
        savedColor_ = form_->GetColor();
        colorSaved_ = true;
        form_->SetColor(data->Model().ButtonFaceColour);
        InstallMenuOwnerDraw(true);
    }
}

void TFormSkinner::ReadShowState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (::GetWindowPlacement(window_, &wp)) showState_ = ShowStateFromShowCmd(wp.showCmd);
    if (::IsIconic(window_)) showState_ = TShowState::Minimized;
    else if (::IsZoomed(window_)) showState_ = TShowState::Maximized;
}

void TFormSkinner::CompleteAttach() {
    if (attached_) return;
    attached_ = true;
    systemMenuHandle_ = ::GetSystemMenu(window_, FALSE);
    BuildIconBitmap();
    ::GetClientRect(window_, &clientRect_);
    RECT wr{};
    ::GetWindowRect(window_, &wr);
    oldFrameWidth_ = (wr.right - wr.left) - (clientRect_.right - clientRect_.left);
    oldFrameHeight_ = (wr.bottom - wr.top) - (clientRect_.bottom - clientRect_.top);
    // At detach the skinned bar's room goes and the native bar comes back (a bar made
    // later counts itself when it is made).
    if (menuBar_) oldFrameHeight_ += menuBar_->RemovedBarHeight() - menuBarHeight_;
    AttachControls();
    if (lifecycle_ == 0) {
        if (class_.Mdi == TMdiKind::Child) {
            if (showState_ == TShowState::Maximized) {
                if (TSkinManage* m = Manager(); m && m->MdiClient())
                    ::PostMessageW(m->MdiClient(), WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(window_), 0);
            } else {
                lifecycle_ = 5;
                FitFrame(false);
                lifecycle_ = 1;
                UpdateRegion();
            }
        } else if (!class_.Child && class_.BorderKind != TBorderKind::None && showState_ != TShowState::Minimized) {
            lifecycle_ = 5;
            FitFrame(false);
            lifecycle_ = 1;
            if (showState_ == TShowState::Maximized) ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameOnly);
            else UpdateRegion();
        }
    }
    ::SendMessageW(window_, WM_SKINAPPLIED, 0, kSkinMagic);
    if (data_ && data_->OnAfterSkinForm) data_->OnAfterSkinForm(form_, window_, className_);
    lifecycle_ = 1;
    hoverTimer_->SetEnabled(true);
}

void TFormSkinner::FitFrame(bool keepClient) {
    if (showState_ == TShowState::Maximized) {
        ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameOnly);
        return;
    }
    RECT client{};
    ::GetClientRect(window_, &client);
    int cw = client.right, ch = client.bottom;
    if (form_ && !class_.Dialog && !keepClient && lifecycle_ != 3) {
        // The form's client size, less what the client gained when the native menu bar
        // was taken out (the skinned bar takes that room inside the frame).
        cw = form_->GetClientWidth();
        ch = form_->GetClientHeight() - (menuBar_ ? menuBar_->RemovedBarHeight() : 0);
    }
    int width = 0, height = 0;
    FrameWindowSize(cw, ch, borders_, menuBarHeight_, width, height);
    if (class_.Dialog && captionFont_) {
        const std::wstring text = captionPrefix_ + WindowText(window_) + captionSuffix_;
        TMemoryDC dc;
        TSelectObject font(dc.Get(), captionFont_.Get());
        RECT r{0, 0, 0, 0};
        ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r,
                    DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
        const TDataSkinTitle& title = data_->Model().Title;
        const int extra = DialogWidening(title.LeftWidth, r.right - r.left, title.RightWidth, width);
        if (extra > 0) {
            for (HWND child = ::GetWindow(window_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                RECT cr{};
                ::GetWindowRect(child, &cr);
                POINT p{cr.left, cr.top};
                ::ScreenToClient(window_, &p);
                ::SetWindowPos(child, nullptr, p.x + extra / 2, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            width += extra;
        }
    }
    RECT before{};
    ::GetWindowRect(window_, &before);
    ::SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    KeepOnScreen(width - (before.right - before.left), height - (before.bottom - before.top));
}

void TFormSkinner::KeepOnScreen(int grownX, int grownY) {
    // A top-level window placed for its own, thinner frame (a system dialog centred
    // low on the screen) could lose its bottom edge and buttons below the screen once
    // the skin's frame makes it taller. It moves back by no more than the frame added,
    // so a window the user put partly off the screen stays where it was put.
    if (grownX <= 0 && grownY <= 0) return;
    if (::GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) return;
    RECT wr{};
    ::GetWindowRect(window_, &wr);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromRect(&wr, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& a = monitor.rcWork;
    const TLayoutRect to = KeepInside({wr.left, wr.top, wr.right, wr.bottom}, {a.left, a.top, a.right, a.bottom});
    const int x = static_cast<int>(wr.left) + std::max(to.Left - static_cast<int>(wr.left), -std::max(0, grownX));
    const int y = static_cast<int>(wr.top) + std::max(to.Top - static_cast<int>(wr.top), -std::max(0, grownY));
    if (x != wr.left || y != wr.top)
        ::SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TFormSkinner::BuildIconBitmap() {
    smallIcon_ = reinterpret_cast<HICON>(::SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
    if (!smallIcon_) smallIcon_ = reinterpret_cast<HICON>(::SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    iconBitmap_ = std::make_unique<TBitmap>(cx, cy, pf16bit);
    HDC dc = iconBitmap_->GetCanvas()->GetHandle();
    TBrushHandle magenta(::CreateSolidBrush(RGB(255, 0, 255)));
    RECT all{0, 0, cx, cy};
    ::FillRect(dc, &all, magenta.Get());
    if (smallIcon_) ::DrawIconEx(dc, 0, 0, smallIcon_, cx, cy, 0, nullptr, DI_NORMAL);
    for (auto& b : buttons_) {
        if (!b->IsIconButton() || !b->UsesWindowIcon) continue;
        // The window's icon, else the application's.
        if (smallIcon_) b->Image.Assign(*iconBitmap_);
        else if (data_ && !data_->IconBitmap().GetEmpty()) b->Image.Assign(data_->IconBitmap());
        else b->Image.Assign(*iconBitmap_);
        b->Def.ImageWidth = b->Image.GetWidth();
        b->Def.ImageHeight = b->Image.GetHeight();
        b->Def.FrameCount = 1;
    }
}

void TFormSkinner::RebuildMetrics() {
    const TSkinModel& m = data_->Model();
    borders_ = BorderSizes(Picture(m.LeftBorder), Picture(m.RightBorder), Picture(m.TopBorder), Picture(m.BottomBorder),
                           class_.BorderKind);
    if (class_.BorderKind == TBorderKind::None) menuBarHeight_ = 0;
    hot_ = nullptr;
    buttons_.clear();
    for (const auto& def : m.SysButtons) {
        auto b = std::make_unique<TWinSysButton>(*this, *def);
        if (b->IsIconButton() && b->Image.GetEmpty()) {
            b->UsesWindowIcon = true;
            b->Def.FrameCount = 1;
        }
        buttons_.push_back(std::move(b));
    }
    BuildIconBitmap();
    frameChanged_ = true;
}

void TFormSkinner::Recolour() {
    if (form_) {
        form_->SetColor(data_->Model().ButtonFaceColour);
        for (int i = 0; i < form_->ComponentCount(); ++i)
            if (form_->Components(i)->InheritsFrom(TCustomForm::StaticClass()))
                static_cast<TCustomForm*>(form_->Components(i))->SetColor(data_->Model().ButtonFaceColour);
    }
    if (IControlSkinFactory* f = ControlSkinFactory())
        for (TSkinControl* skin : std::vector<TSkinControl*>(controlSkins_)) f->RefreshControlSkin(skin);
    lifecycle_ = 3;
    if (frameSkinned_) {
        FitFrame(true);
        if (form_ && showState_ == TShowState::Normal) {
            form_->SetHeight(form_->GetHeight() + 1);
            form_->SetHeight(form_->GetHeight() - 1);
        }
        UpdateRegion();
    }
    ::SendMessageW(window_, WM_SKINAPPLIED, 0, kSkinMagic);
    if (data_->OnAfterSkinForm) data_->OnAfterSkinForm(form_, window_, className_);
    lifecycle_ = 1;
}

// --- the window procedure ---------------------------------------------------------------------

LRESULT TFormSkinner::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCPAINT:
        if (lifecycle_ == 0) return 0;
        break;
    case WM_ERASEBKGND: {
        LRESULT r = Previous(msg, wParam, lParam);
        if (form_ || !data_) return r;
        RECT client{};
        ::GetClientRect(window_, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, data_->Model().FaceBrush.Get());
        return 1;
    }
    case WM_SIZE:
        if (class_.Mdi == TMdiKind::Child) {
            const LRESULT r = frameSkinned_ ? StageB(msg, wParam, lParam) : Previous(msg, wParam, lParam);
            if (wParam == SIZE_MAXIMIZED || wParam == SIZE_RESTORED || wParam == SIZE_MINIMIZED)
                MdiChildSized(wParam == SIZE_MAXIMIZED);
            return r;
        }
        break;
    case WM_NCDESTROY: {
        if (class_.Mdi == TMdiKind::Child) MdiChildSized(false);
        lifecycle_ = 4;
        DetachQuiet();
        LRESULT r = Previous(msg, wParam, lParam);
        lifecycle_ = 6;
        return r;
    }
    case WM_NCACTIVATE:
        if (lifecycle_ == 0 && class_.Mdi != TMdiKind::Child) return 0;
        break;
    case 0xAE: return 0;
    case WM_INITMENUPOPUP:
        if (TSkinManage* m = Manager()) {
            const bool system = !(wParam & 0x80000000u) && reinterpret_cast<HMENU>(wParam) == systemMenuHandle_;
            m->MenuKind = system ? mkSystemMenu : mkMenuBarDropDown;
        }
        return Previous(msg, wParam, lParam);
    case WM_CTLCOLORBTN: {
        LRESULT r = Previous(msg, wParam, lParam);
        if (!form_) ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return r;
    }
    case WM_CTLCOLORSTATIC: {
        LRESULT r = Previous(msg, wParam, lParam);
        if (form_ || !data_) return r;
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(data_->Model().FaceBrush.Get());
    }
    case WM_SKINATTACHED: CompleteAttach(); return 0;
    case WM_SKINRESCROLL:
        if (!wParam) revivePosted_ = false;
        if (IControlSkinFactory* f = ControlSkinFactory(); f && lifecycle_ < 4)
            f->Rescroll(*this, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_SKINATTACHCHILD:
        if (attached_ && lifecycle_ < 4) AttachChildControl(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_PARENTNOTIFY:
        // A child made after the attach is skinned once its creation has finished.
        if (LOWORD(wParam) == WM_CREATE && attached_ && ControlSkinFactory())
            ::PostMessageW(window_, WM_SKINATTACHCHILD, static_cast<WPARAM>(lParam), 0);
        break;
    case WM_SKINQUERY:
        ::PostMessageW(window_, WM_SKINAPPLIED, 0, kSkinMagic);
        return 1;
    default: break;
    }
    return frameSkinned_ ? StageB(msg, wParam, lParam) : Previous(msg, wParam, lParam);
}

LRESULT TFormSkinner::StageB(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (class_.Child && class_.Mdi != TMdiKind::Child) return Previous(msg, wParam, lParam);
    if (LRESULT result = 0; MenuMessage(msg, wParam, lParam, result)) return result;
    TSkinManage* m = Manager();
    switch (msg) {
    case WM_SIZE: {
        LRESULT r = Previous(msg, wParam, lParam);
        ShowStateFromSizeType(static_cast<unsigned>(wParam), showState_);
        const bool mdiHeld = class_.Mdi == TMdiKind::Child &&
                             ((m && m->MdiChildMaximized()) || showState_ != TShowState::Normal);
        if (showState_ != TShowState::Minimized && !mdiHeld && (lifecycle_ == 1 || lifecycle_ == 3)) UpdateRegion();
        return r;
    }
    case WM_ACTIVATE:
    case WM_NCACTIVATE: active_ = (wParam & 0xFF) != 0; break;
    case WM_GETMINMAXINFO: {
        LRESULT r = Previous(msg, wParam, lParam);
        ReadShowState();
        return r;
    }
    case WM_WINDOWPOSCHANGED: ReadShowState(); return Previous(msg, wParam, lParam);
    case WM_SETICON: {
        LRESULT r = Previous(msg, wParam, lParam);
        BuildIconBitmap();
        PaintFrame();
        return r;
    }
    case WM_COMMAND: {
        const unsigned cmd = LOWORD(wParam);
        switch (cmd) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW: case SC_PREVWINDOW:
        case SC_CLOSE: case SC_RESTORE:
            if (cmd < 0xFF00) {
                ::PostMessageW(window_, WM_SYSCOMMAND, cmd, 0);
                return 0;
            }
            break;
        default: break;
        }
        return Previous(msg, wParam, lParam);
    }
    case WM_SYSCOMMAND: {
        const unsigned cmd = static_cast<unsigned>(wParam) & 0xFFF0;
        if (cmd == SC_KEYMENU) {
            const wchar_t key = static_cast<wchar_t>(lParam);
            if (key == L' ') {
                POINT origin{0, 0};
                ::ClientToScreen(window_, &origin);
                OpenSystemMenu(origin);
                return 0;
            }
            if (key != L'-' && !::GetCapture() && key == 0) return 1;  // no menu bar: Alt alone opens nothing
        }
        if (cmd == SC_MINIMIZE) showState_ = TShowState::Minimized;
        else if (cmd == SC_MAXIMIZE) showState_ = TShowState::Maximized;
        else if (cmd == SC_RESTORE) {
            showState_ = TShowState::Normal;
            if (class_.Mdi == TMdiKind::Child && m && m->MdiChildMaximized()) m->SetMdiChildMaximized(false);
        }
        return Previous(msg, wParam, lParam);
    }
    case WM_SKINMENUAT: return 0;
    default: break;
    }
    return StageC(msg, wParam, lParam);
}

POINT TFormSkinner::WindowPoint(LPARAM screenPoint) const {
    POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ::ScreenToClient(window_, &p);
    int x = p.x, y = p.y;
    ClientToWindowPoint(x, y, borders_, menuBarHeight_,
                        class_.Mdi == TMdiKind::Child && showState_ == TShowState::Maximized);
    return POINT{x, y};
}

TWinSysButton* TFormSkinner::ButtonAt(int x, int y) const {
    for (const auto& b : buttons_)
        if (b->Visible && b->Def.Action >= 0 && x >= b->Rect.Left && x < b->Rect.Right && y >= b->Rect.Top &&
            y < b->Rect.Bottom)
            return b.get();
    return nullptr;
}

LRESULT TFormSkinner::StageC(UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool maxMdiChild = class_.Mdi == TMdiKind::Child && showState_ == TShowState::Maximized;
    if (maxMdiChild || lifecycle_ == 0) return Previous(msg, wParam, lParam);
    switch (msg) {
    case WM_NCCALCSIZE: {
        RECT proposed = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        LRESULT r = Previous(msg, wParam, lParam);
        if (!wParam) return 0;
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        const bool minMdiChild = class_.Mdi == TMdiKind::Child && showState_ == TShowState::Minimized;
        if (minMdiChild || class_.BorderKind == TBorderKind::None) {
            p->rgrc[1] = proposed;
            return WVR_VALIDRECTS;
        }
        (void)r;
        const TLayoutRect c = FrameClientRect(proposed.left, proposed.top, proposed.right - proposed.left,
                                              proposed.bottom - proposed.top, borders_, menuBarHeight_);
        p->rgrc[0] = p->rgrc[1] = ToRect(c);
        frameChanged_ = true;
        return WVR_VALIDRECTS;
    }
    case WM_NCHITTEST: {
        LRESULT r = Previous(msg, wParam, lParam);
        if (r != HTNOWHERE && r != HTCAPTION) return r;
        const POINT p = WindowPoint(lParam);
        return MapHitTest(static_cast<int>(r), p.y, borders_.Top, menuBarHeight_);
    }
    case WM_NCPAINT: {
        if (!(class_.BorderIcons & biStyleLeftAlone)) {
            const LONG style = ::GetWindowLongW(window_, GWL_STYLE);
            if (style & WS_SYSMENU) ::SetWindowLongW(window_, GWL_STYLE, style & ~WS_SYSMENU);
        }
        if (!data_->GetPaintFrame()) return 0;
        if (class_.BorderKind == TBorderKind::None) return Previous(msg, wParam, lParam);
        PaintFrame();
        return 0;
    }
    case WM_NCACTIVATE: {
        active_ = wParam != 0;
        hoverTimer_->SetEnabled(active_);
        if (class_.Mdi == TMdiKind::Frame) {
            if (TSkinManage* m = Manager(); m && m->MdiClient()) ::SendMessageW(m->MdiClient(), WM_NCACTIVATE, wParam, lParam);
        } else if (class_.Mdi == TMdiKind::Child) {
            Previous(msg, wParam, lParam);
        }
        PaintFrame();
        return 1;
    }
    case WM_NCMOUSEMOVE: {
        if (!active_) return 0;
        const POINT p = WindowPoint(lParam);
        if (TWinSysButton* b = ButtonAt(p.x, p.y)) {
            b->Hover();
            return 0;
        }
        if (hot_) {
            TNCObject* hot = hot_;
            hot_ = nullptr;
            hot->Leave();
        }
        return Previous(msg, wParam, lParam);
    }
    case WM_NCLBUTTONDOWN: {
        const POINT p = WindowPoint(lParam);
        if (TWinSysButton* b = ButtonAt(p.x, p.y)) {
            if (!active_) ::SetForegroundWindow(window_);
            b->Press();
            return 0;
        }
        if (wParam == HTCAPTION && active_ && showState_ == TShowState::Maximized)
            return Previous(msg, HTMENU, lParam);
        return Previous(msg, wParam, lParam);
    }
    case WM_NCLBUTTONUP: {
        const POINT p = WindowPoint(lParam);
        if (TWinSysButton* b = ButtonAt(p.x, p.y)) {
            if (b == hot_) {
                b->Release();
                RunAction(*b, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return 0;
        }
        return Previous(msg, wParam, lParam);
    }
    case WM_NCLBUTTONDBLCLK: {
        const POINT p = WindowPoint(lParam);
        frameChanged_ = true;
        TWinSysButton* b = ButtonAt(p.x, p.y);
        if (b && b->IsIconButton()) {
            hoverTimer_->SetEnabled(false);
            ::PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        if (!b) {
            if (showState_ == TShowState::Maximized) {
                ::PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
                return 0;
            }
            if (class_.BorderIcons & biMaxBox) {
                ::PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
                return 0;
            }
        }
        return Previous(msg, wParam, lParam);
    }
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && class_.Mdi != TMdiKind::Child) {
            OpenSystemMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        return Previous(msg, wParam, lParam);
    case WM_SKINNCPAINT: PaintFrame(); return 0;
    case WM_SETTEXT: {
        // The system redraws its own caption when a foreign window's text changes.
        LRESULT r = Previous(msg, wParam, lParam);
        if (!form_) PaintFrame();
        return r;
    }
    default: break;
    }
    return Previous(msg, wParam, lParam);
}

void TFormSkinner::FormHook(TMessage& m, const TWndMethod& previous) {
    if (!form_ || form_->IsDestroying() || lifecycle_ >= 4) {
        previous(m);
        return;
    }
    switch (m.Msg) {
    case WM_SETTEXT:
        previous(m);
        if (::IsWindowVisible(window_)) {
            if (showState_ == TShowState::Maximized)
                if (TSkinManage* mgr = Manager(); mgr && mgr->MdiClient())
                    ::PostMessageW(mgr->MdiClient(), WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(window_), 0);
            if (showState_ == TShowState::Minimized) PaintFrame();
            else ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameOnly);
        }
        return;
    case WM_SKINRECOLOR:
        Recolour();
        frameChanged_ = true;
        return;
    case CM_DIALOGCHAR:
        previous(m);
        if (m.Result != 0 || MenuDialogChar(m)) return;
        if (form_ != Application->GetMainForm() && !form_->IsModal() && Application->GetMainForm())
            m.Result = Application->GetMainForm()->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
        return;
    case WM_SKINPAINTFRAMETO:
        if (m.LParam != kSkinMagic) break;
        if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinMagic;
        return;
    case WM_SKINPING:
        m.Result = m.LParam == kSkinMagic ? kSkinMagic : 1;
        return;
    default: break;
    }
    previous(m);
}

// --- painting ------------------------------------------------------------------------------------

std::unique_ptr<TBitmap> TFormSkinner::BorderPart(int part, const RECT& dest) const {
    const TSkinModel& m = data_->Model();
    const TDataSkinBorder& e = part == ptLeft ? m.LeftBorder : part == ptRight ? m.RightBorder : part == ptTop ? m.TopBorder : m.BottomBorder;
    const RECT size{0, 0, dest.right - dest.left, dest.bottom - dest.top};
    const TMargins margins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
    const bool stacked = part == ptTop || part == ptBottom;
    return StretchElement(size, const_cast<TBitmap&>(e.Bitmap), margins, stacked, e.Tile != 1, e.FrameCount,
                          BorderFrame(active_, e.FrameCount));
}

TTitleWindowState TFormSkinner::TitleState() const {
    TTitleWindowState s;
    s.Maximized = showState_ == TShowState::Maximized;
    s.Active = active_;
    s.BorderIcons = class_.BorderIcons;
    s.BorderKind = class_.BorderKind;
    s.Dialog = class_.Dialog;
    s.MdiFrameChildMaximizedWithMenuBar = menuBar_ && ActiveMdiChildMaximized();
    HWND w = window_;
    s.AskVisible = [w](int code, int action) {
        return static_cast<int>(::SendMessageW(w, WM_SKINBUTTONVISIBLE, static_cast<WPARAM>(code), action));
    };
    return s;
}

void TFormSkinner::PaintFrame(HDC given) {
    if (lifecycle_ != 1 && lifecycle_ != 3) return;
    if (class_.BorderKind == TBorderKind::None || !data_) return;
    if (class_.Mdi == TMdiKind::Child && showState_ == TShowState::Maximized) return;
    try {
        std::unique_ptr<TWindowDC> own;
        HDC dc = given;
        if (!dc) {
            own = std::make_unique<TWindowDC>(TWindowDC::Whole(window_));
            dc = own->Get();
        }
        if (!dc) return;
        RECT wr{};
        ::GetWindowRect(window_, &wr);
        const int W = wr.right - wr.left, H = wr.bottom - wr.top;
        windowWidth_ = W;
        windowHeight_ = H;
        const bool minimized = showState_ == TShowState::Minimized || ::IsIconic(window_);
        if (!minimized) {
            const TBorderSizes& b = borders_;
            const RECT parts[3] = {{0, 0, b.Left, H}, {W - b.Right, 0, W, H}, {b.Left, H - b.Bottom, W - b.Right, H}};
            const int kinds[3] = {ptLeft, ptRight, ptBottom};
            for (int i = 0; i < 3; ++i) {
                const RECT& r = parts[i];
                if (r.right <= r.left || r.bottom <= r.top) continue;
                auto picture = BorderPart(kinds[i], r);
                if (picture && !picture->GetEmpty())
                    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, picture->GetCanvas()->GetHandle(), 0,
                             0, SRCCOPY);
            }
        }
        PaintTitle(dc, W, H, minimized);
        if (!minimized && menuBarHeight_ > 0) {
            RECT bar{borders_.Left, borders_.Top, W - borders_.Right, borders_.Top + menuBarHeight_};
            if (menuBar_) menuBar_->PaintBar(dc, bar);
            else ::FillRect(dc, &bar, data_->Model().FaceBrush.Get());
        }
    } catch (...) {
        // A failing paint leaves the frame as it was; the window goes on.
    }
    hot_ = nullptr;
}

void TFormSkinner::PaintTitle(HDC dc, int W, int H, bool minimized) {
    const int th = minimized ? H : borders_.Top;
    if (W <= 0 || th <= 0) return;
    TBitmap title(W, th, pf24bit);
    HDC tdc = title.GetCanvas()->GetHandle();
    RECT titleRect;
    if (minimized) {
        RECT all{0, 0, W, H};
        TBrushHandle face(::CreateSolidBrush(Resolved(data_->Model().ButtonFaceColour)));
        ::FillRect(tdc, &all, face.Get());
        titleRect = all;
    } else {
        ::BitBlt(tdc, 0, 0, W, th, dc, 0, 0, SRCCOPY);
        titleRect = RECT{borders_.Left, 0, W - borders_.Right, th};
    }
    if (titleRect.right > titleRect.left) {
        auto top = BorderPart(ptTop, titleRect);
        if (top && !top->GetEmpty())
            ::BitBlt(tdc, titleRect.left, 0, titleRect.right - titleRect.left, th, top->GetCanvas()->GetHandle(), 0, 0,
                     SRCCOPY);
    }
    // Which buttons show decides the room the caption keeps free on the right.
    std::vector<TTitleButtonDef> defs;
    std::vector<TTitleButtonState> states;
    const TTitleWindowState ws = TitleState();
    for (auto& b : buttons_) {
        const TTitleButtonState s = EvaluateTitleButton(b->Def, ws);
        b->Visible = s.Visible;
        b->Enabled = s.Enabled;
        defs.push_back(b->Def);
        states.push_back(s);
    }
    const int reserve = RightReserve(defs, states);
    // Caption.
    captionText_ = captionPrefix_ + WindowText(window_) + captionSuffix_;
    {
        TSelectObject font(tdc, captionFont_.Get());
        RECT measured{0, 0, 0, 0};
        ::DrawTextW(tdc, captionText_.c_str(), static_cast<int>(captionText_.size()), &measured,
                    DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
        const TDataSkinTitle& t = data_->Model().Title;
        TCaptionInput in;
        in.WindowWidth = W;
        in.TitleRect = {titleRect.left, titleRect.top, titleRect.right, titleRect.bottom};
        in.TextWidth = measured.right - measured.left;
        in.TextHeight = measured.bottom - measured.top;
        in.TextAlignment = t.TextAlignment;
        in.LeftWidth = t.LeftWidth;
        in.TopHeight = t.TopHeight;
        in.RightWidth = t.RightWidth;
        in.BackLeft = t.TXTBackleft;
        in.BackRight = t.TXTBackRight;
        in.RightReserve = reserve;
        in.RightToLeft = class_.RightToLeft;
        in.Popup = (::GetWindowLongW(window_, GWL_STYLE) & WS_POPUP) != 0;
        in.DialogFrame = class_.BorderKind == TBorderKind::Dialog;
        const TCaptionLayout layout = LayoutCaption(in);
        captionRect_ = layout.Caption;
        if (!t.Bitmap.GetEmpty() && layout.Caption.Right > layout.Caption.Left) {
            const RECT back{layout.Caption.Left, 0, layout.Caption.Right, th};
            DrawElementH3(*title.GetCanvas(), back, const_cast<TBitmap&>(t.Bitmap), true, true, 2, active_ ? 1 : 2,
                          TMargins{t.TXTBackleft, 0, t.TXTBackRight, 0});
            tdc = title.GetCanvas()->GetHandle();
        }
        ::SetBkMode(tdc, TRANSPARENT);
        ::SetTextColor(tdc, Resolved(active_ ? data_->Model().TitleTextActiveColour : data_->Model().TitleTextNoActiveColour));
        RECT text = ToRect(layout.Text);
        UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (class_.RightToLeft) flags |= DT_RIGHT | DT_RTLREADING;
        TSelectObject font2(tdc, captionFont_.Get());
        ::DrawTextW(tdc, captionText_.c_str(), static_cast<int>(captionText_.size()), &text, flags);
    }
    titleBack_ = std::make_unique<TBitmap>(W, th, pf24bit);
    ::BitBlt(titleBack_->GetCanvas()->GetHandle(), 0, 0, W, th, title.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    // Buttons.
    TPlacementFrame pf;
    pf.WindowWidth = W;
    pf.CaptionLeft = captionRect_.Left;
    pf.CaptionRight = captionRect_.Right;
    pf.Borders = borders_;
    pf.MenuBarHeight = menuBarHeight_;
    pf.HasMenuBarElement = data_->Model().MenuBar != nullptr;
    pf.MenuBarLeftWidth = pf.HasMenuBarElement ? data_->Model().MenuBar->LeftWidth : 0;
    tdc = title.GetCanvas()->GetHandle();
    for (auto& b : buttons_) {
        b->Rect = b->Visible && b->Def.HasImage() ? PlaceTitleButton(b->Def, pf) : TLayoutRect{};
        const int frame = TitlePaintFrame(b->Def, TTitleButtonState{b->Visible, b->Enabled}, active_);
        if (frame > 0) b->DrawOn(tdc, frame);
        tdc = title.GetCanvas()->GetHandle();
    }
    ::BitBlt(dc, 0, 0, W, th, title.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TFormSkinner::RebuildRegion() {
    regionWidth_ = regionHeight_ = -1;
    UpdateRegion();
}

void TFormSkinner::UpdateRegion() {
    if (lifecycle_ == 6 || !frameSkinned_ || !data_) return;
    RECT wr{};
    ::GetWindowRect(window_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    if (W <= 0 || H <= 0) return;
    if (class_.Mdi == TMdiKind::Child && showState_ != TShowState::Normal) return;
    if (W == regionWidth_ && H == regionHeight_ && class_.Mdi != TMdiKind::Child && lifecycle_ != 3) return;
    const TSkinModel& m = data_->Model();
    const TBorderSizes& b = borders_;
    TRegionHandle region;
    if (m.RightBorder.Trans + m.TopBorder.Trans + 2 * m.LeftBorder.Trans == 0) {
        region.Reset(::CreateRectRgn(0, 0, W, H));
    } else {
        region.Reset(::CreateRectRgn(b.Left, b.Top, W - b.Right, H - b.Bottom));
        if (class_.BorderKind != TBorderKind::None) {
            struct TPartArea {
                int Part;
                RECT R;
                int Trans;
            };
            const TPartArea parts[4] = {{ptLeft, {0, 0, b.Left, H}, m.LeftBorder.Trans},
                                        {ptRight, {W - b.Right, 0, W, H}, m.RightBorder.Trans},
                                        {ptBottom, {b.Left, H - b.Bottom, W - b.Right, H}, m.BottomBorder.Trans},
                                        {ptTop, {b.Left, 0, W - b.Right, b.Top}, m.TopBorder.Trans}};
            for (const TPartArea& p : parts) {
                const int w = p.R.right - p.R.left, h = p.R.bottom - p.R.top;
                if (w <= 0 || h <= 0) continue;
                TRegionHandle piece;
                const bool shaped = p.Trans == 1 && w * h > 1 && !(p.Part == ptBottom && h < 2);
                if (shaped) {
                    auto picture = BorderPart(p.Part, p.R);
                    if (picture) piece.Reset(RegionFromBitmap(*picture, p.R.left, p.R.top, 1, 1, 1, clSkinMagenta));
                } else {
                    piece.Reset(::CreateRectRgn(p.R.left, p.R.top, p.R.right, p.R.bottom));
                }
                if (piece) ::CombineRgn(region.Get(), region.Get(), piece.Get(), RGN_OR);
            }
        }
    }
    // The window owns the region from here on.
    ::SetWindowRgn(window_, region.Detach(), TRUE);
    hasRegion_ = true;
    regionWidth_ = W;
    regionHeight_ = H;
    ++regionBuilds_;
}

void TFormSkinner::RemoveRegion() {
    if (!hasRegion_) return;
    hasRegion_ = false;
    regionWidth_ = regionHeight_ = -1;
    if (::IsWindow(window_)) ::SetWindowRgn(window_, nullptr, class_.Mdi == TMdiKind::Child);
}

// --- actions ------------------------------------------------------------------------------------

void TFormSkinner::RestoreSysMenuStyle() {
    if (!(class_.BorderIcons & biSysMenuBox) || !::IsWindow(window_)) return;
    const LONG style = ::GetWindowLongW(window_, GWL_STYLE);
    if (!(style & WS_SYSMENU)) ::SetWindowLongW(window_, GWL_STYLE, style | WS_SYSMENU);
}

void TFormSkinner::ToggleMaximize() {
    if (showState_ == TShowState::Maximized) {
        showState_ = TShowState::Normal;
        ::PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    if (class_.Mdi == TMdiKind::Child)
        if (TSkinManage* m = Manager()) m->SetMdiChildMaximized(true);
    showState_ = TShowState::Maximized;
    ::PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    hot_ = nullptr;
}

void TFormSkinner::ToggleMinimize() {
    if (showState_ == TShowState::Minimized) {
        showState_ = TShowState::Normal;
        ::PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    showState_ = TShowState::Minimized;
    RestoreSysMenuStyle();
    ::PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TFormSkinner::RunAction(TWinSysButton& button, POINT screen) {
    switch (ButtonEffect(button.Def.Action, button.Enabled)) {
    case TButtonEffect::Close: {
        const bool hasClose = SkinIsWindows9x() || SkinIsNtBefore5() ||
                              ::GetMenuState(::GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND) != 0xFFFFFFFFu;
        if (!hasClose) return;
        hoverTimer_->SetEnabled(false);
        ::PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    case TButtonEffect::ToggleMaximize: ToggleMaximize(); return;
    case TButtonEffect::ToggleMinimize: ToggleMinimize(); return;
    case TButtonEffect::SystemMenu: OpenSystemMenu(POINT{screen.x + 1, screen.y + 1}); return;
    case TButtonEffect::ContextHelp: ::PostMessageW(window_, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); return;
    case TButtonEffect::MdiChildMinimize:
    case TButtonEffect::MdiChildRestore:
    case TButtonEffect::MdiChildClose: {
        TSkinManage* m = Manager();
        if (class_.Mdi != TMdiKind::Frame || !m || !m->MdiClient()) return;
        HWND child = reinterpret_cast<HWND>(::SendMessageW(m->MdiClient(), WM_MDIGETACTIVE, 0, 0));
        if (!child) return;
        const WPARAM cmd = ButtonEffect(button.Def.Action, true) == TButtonEffect::MdiChildMinimize ? SC_MINIMIZE
                           : ButtonEffect(button.Def.Action, true) == TButtonEffect::MdiChildRestore ? SC_RESTORE
                                                                                                    : SC_CLOSE;
        ::SendMessageW(child, WM_SYSCOMMAND, cmd, 0);
        return;
    }
    case TButtonEffect::Custom:
        ::PostMessageW(window_, WM_SKINBUTTONCLICK, static_cast<WPARAM>(button.Def.Action), 0);
        return;
    case TButtonEffect::Nothing: return;
    }
}

void TFormSkinner::BuildSystemMenu() {
    delete systemMenu_;
    systemMenu_ = new TPopupMenu(this);
    systemMenu_->SetTag(33333);
    if (data_) systemMenu_->SetImages(&data_->MenuGlyphs());
    // Owner-drawn by the skin once its items are made (end of this function).
    struct TSkinItems {
        TPopupMenu* Menu;
        TSkinData* Data;
        ~TSkinItems() {
            if (Menu && Data) TMenuOwnerDraw::SkinPopup(*Menu, *Data);
        }
    } skinItems{systemMenu_, data_};
    HWND w = window_;
    auto add = [this, w](const std::wstring& caption, int tag, int image, bool enabled, bool checked,
                         TShortCut shortCut = 0) {
        TMenuItem* item = NewItem(this, caption, shortCut, [w, tag](TObject*) {
            ::PostMessageW(w, WM_SYSCOMMAND, static_cast<WPARAM>(tag), 0);
        });
        item->SetTag(tag);
        item->SetImageIndex(image);
        item->SetEnabled(enabled);
        item->SetChecked(checked);
        systemMenu_->GetItems()->Add(item);
        return item;
    };
    if (SkinIsNtBefore5() && !SkinIsWindows9x()) {
        // The fixed menu of older systems: the tag is the image index.
        auto fixed = [this, add](const std::wstring& caption, int index, WPARAM command) {
            TMenuItem* item = add(caption, index, index, true, false);
            HWND target = window_;
            item->OnClick = [target, command](TObject*) { ::PostMessageW(target, WM_SYSCOMMAND, command, 0); };
        };
        fixed(L" Restore ", 0, SC_RESTORE);
        if (class_.BorderIcons & biMaxBox) fixed(L" Maximize ", 1, SC_MAXIMIZE);
        if (class_.BorderIcons & biMinBox) fixed(L" Minimize ", 2, SC_MINIMIZE);
        add(L"-", 100, -1, true, false);
        TMenuItem* close = add(L" Close ", 3, 3, true, false, ShortCut(VK_F4, ssAlt));
        close->OnClick = [this](TObject*) {
            hoverTimer_->SetEnabled(false);
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        };
        return;
    }
    HMENU menu = ::GetSystemMenu(window_, FALSE);
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[80] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = 79;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        std::wstring caption = (info.fType & MFT_SEPARATOR) || text[0] == 0 ? L"-" : std::wstring(text);
        const UINT id = info.wID;
        const bool maximized = showState_ == TShowState::Maximized, minimized = showState_ == TShowState::Minimized;
        bool enabled = (info.fState & 3) != 3;
        int image = -1;
        switch (id) {
        case SC_SIZE:
        case SC_MOVE: enabled = !maximized; break;
        case SC_MINIMIZE:
            image = 2;
            enabled = !minimized && (class_.BorderIcons & biMinBox);
            break;
        case SC_MAXIMIZE:
            image = 1;
            enabled = !maximized && (class_.BorderIcons & biMaxBox);
            break;
        case SC_CLOSE: image = 3; break;
        case SC_RESTORE:
            image = 0;
            enabled = showState_ != TShowState::Normal;
            break;
        default: break;
        }
        if ((info.fState & 3) == 3) enabled = false;
        add(caption, static_cast<int>(id), image, enabled, (info.fState & MF_CHECKED) != 0);
    }
}

void TFormSkinner::OpenSystemMenu(POINT screen) {
    const DWORD now = ::GetTickCount();
    if (systemMenuOpened_ && now - lastSystemMenuTick_ < doubleClickTime_ && hot_) {
        hoverTimer_->SetEnabled(false);
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        return;
    }
    if (TSkinManage* m = Manager()) m->MenuKind = mkSystemMenu;
    systemMenuOpened_ = true;
    lastSystemMenuTick_ = now;
    BuildSystemMenu();
    systemMenu_->Popup(screen.x, screen.y);
}

void TFormSkinner::HoverTick() {
    if (lifecycle_ >= 4 || !hot_ || menuTracking_) return;
    POINT p;
    ::GetCursorPos(&p);
    const POINT w = WindowPoint(MAKELPARAM(p.x, p.y));
    const TLayoutRect& r = hot_->Rect;
    if (w.x < r.Left || w.x >= r.Right || w.y < r.Top || w.y >= r.Bottom) {
        TNCObject* hot = hot_;
        hot->Leave();
        hot_ = nullptr;
    }
}

// --- detaching --------------------------------------------------------------------------------------

bool TFormSkinner::HasMenuBar() const { return menuBar_ != nullptr; }

bool TFormSkinner::ActiveMdiChildMaximized() const {
    if (class_.Mdi != TMdiKind::Frame || !mdiClient_ || !::IsWindow(mdiClient_->Window())) return false;
    BOOL maximized = FALSE;
    const HWND active = reinterpret_cast<HWND>(
        ::SendMessageW(mdiClient_->Window(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return active && maximized;
}

void TFormSkinner::MdiChildSized(bool maximized) {
    if (maximized == reportedMaximized_) return;
    reportedMaximized_ = maximized;
    // The frame's bar shows the buttons of a maximised child: it is painted again when a
    // child becomes maximised or stops being so.
    HWND client = ::GetParent(window_);
    HWND frame = client ? ::GetParent(client) : nullptr;
    if (frame) ::PostMessageW(frame, WM_SKINNCPAINT, 0, 0);
}

void TFormSkinner::RebuildMenuBar() {
    if (!menuBar_) return;
    menuBar_->Rebuild();
    if (lifecycle_ == 1 || lifecycle_ == 3) PaintFrame();
}

// --- control skins ---------------------------------------------------------------------------------

namespace {
IControlSkinFactory* g_controlSkinFactory = nullptr;
}  // namespace

IControlSkinFactory* ControlSkinFactory() { return g_controlSkinFactory; }
void SetControlSkinFactory(IControlSkinFactory* factory) { g_controlSkinFactory = factory; }

void TFormSkinner::RegisterControlSkin(TSkinControl* skin) {
    if (skin && std::find(controlSkins_.begin(), controlSkins_.end(), skin) == controlSkins_.end())
        controlSkins_.push_back(skin);
}

void TFormSkinner::UnregisterControlSkin(TSkinControl* skin) {
    controlSkins_.erase(std::remove(controlSkins_.begin(), controlSkins_.end(), skin), controlSkins_.end());
}

void TFormSkinner::ControlWindowRecreated(HWND window) {
    if (window_ && lifecycle_ < 4) ::PostMessageW(window_, WM_SKINRESCROLL, reinterpret_cast<WPARAM>(window), 0);
}

void TFormSkinner::ControlWindowDestroyed() {
    if (!window_ || lifecycle_ >= 4 || revivePosted_) return;
    revivePosted_ = ::PostMessageW(window_, WM_SKINRESCROLL, 0, 0) != FALSE;
}

void TFormSkinner::AttachChildControl(HWND child) {
    IControlSkinFactory* f = ControlSkinFactory();
    if (!f || !data_ || !child || !::IsWindow(child)) return;
    f->AttachChildControl(*this, child);
}

void TFormSkinner::AttachControls() {
    IControlSkinFactory* f = ControlSkinFactory();
    if (!f || !data_) return;
    if (form_) {
        f->AttachFormControls(*this, *form_);
        return;
    }
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(window_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::GetWindowLongW(c, GWL_STYLE) & WS_CHILD) children.push_back(c);
    for (HWND c : children) f->AttachChildControl(*this, c);
}

void TFormSkinner::FreeControlSkins(bool restore) {
    IControlSkinFactory* f = ControlSkinFactory();
    if (!f) {
        controlSkins_.clear();
        return;
    }
    // Each object takes itself off the list as it is freed.
    for (TSkinControl* skin : std::vector<TSkinControl*>(controlSkins_)) f->FreeControlSkin(skin, restore);
    controlSkins_.clear();
}

void TFormSkinner::DetachQuiet() {
    hoverTimer_->SetEnabled(false);
    mdiClient_.reset();
    FreeControlSkins(lifecycle_ < 4);
    formHook_.Remove();
    subclass_.Detach();
    InstallMenuOwnerDraw(false);
    FreeMenuBar(false);
    buttons_.clear();
    hot_ = nullptr;
}

void TFormSkinner::Detach() {
    // The skinned size, read before anything is given back: giving the form's menus
    // their own drawing back puts the native bar into the window and resizes it.
    RECT skinned{};
    ::GetWindowRect(window_, &skinned);
    hoverTimer_->SetEnabled(false);
    mdiClient_.reset();
    const bool going = lifecycle_ == 4 || lifecycle_ == 6;
    FreeControlSkins(!going);
    if (!frameSkinned_) {
        if (form_ && colorSaved_ && !going) form_->SetColor(savedColor_);
        InstallMenuOwnerDraw(false);
        subclass_.Detach();
        if (form_ && !going) form_->Invalidate();
        return;
    }
    delete systemMenu_;
    systemMenu_ = nullptr;
    if (subclass_.Attached()) {
        formHook_.Remove();
        subclass_.Detach();
        if (form_ && colorSaved_ && !going) form_->SetColor(savedColor_);
        RestoreSysMenuStyle();
        InstallMenuOwnerDraw(false);
        if (menuBar_) FreeMenuBar(!going);
        else if (nativeMenu_ && ::IsMenu(nativeMenu_) && !::GetMenu(window_)) ::SetMenu(window_, nativeMenu_);
    }
    buttons_.clear();
    hot_ = nullptr;
    if (!going && ::IsWindow(window_) && !(class_.Child && class_.Mdi != TMdiKind::Child) && attached_) {
        int w = 0, h = 0;
        DetachedSize(skinned.right - skinned.left, skinned.bottom - skinned.top, borders_, oldFrameWidth_,
                     oldFrameHeight_, w, h);
        ::SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    }
    RemoveRegion();
}

}  // namespace vx
