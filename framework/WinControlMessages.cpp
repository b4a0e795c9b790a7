// TWinControl's painting (its own picture, then its graphic children; double-buffered
// on request), the routing of mouse messages to graphic children, the reflection of
// notifications to the child controls they concern, and one handler per message.
#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/ControlsInternal.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace vx {

void TWinControl::PaintControls(HDC dc, TControl* first) {
    RECT clip;
    if (::GetClipBox(dc, &clip) == ERROR) return;
    bool started = first == nullptr;
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (!started) {
            if (c != first) continue;
            started = true;
        }
        if (c->isWindowed_ || !c->GetVisible()) continue;
        RECT bounds = c->BoundsRect(), overlap;
        if (!::IntersectRect(&overlap, &bounds, &clip)) continue;
        TSavedDC saved(dc);
        ::OffsetWindowOrgEx(dc, -c->left_, -c->top_, nullptr);
        ::IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<std::uintptr_t>(dc), 0);
    }
}

void TWinControl::PaintHandler(TMessage& m) {
    HDC given = reinterpret_cast<HDC>(m.WParam);
    if (given) {
        {
            TSavedDC saved(given);
            PaintWindow(given);
        }
        PaintControls(given);
        return;
    }
    TPaintDC paint(handle_);
    HDC dc = paint.Get();
    const RECT& area = paint.Info().rcPaint;
    if (doubleBuffered_) {
        RECT cr;
        ::GetClientRect(handle_, &cr);
        TMemoryDC memory(dc);
        TBitmapHandle bitmap(::CreateCompatibleBitmap(dc, std::max(1L, cr.right), std::max(1L, cr.bottom)));
        TSelectObject selection(memory.Get(), bitmap.Get());
        ::IntersectClipRect(memory.Get(), area.left, area.top, area.right, area.bottom);
        Perform(WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(memory.Get()),
                reinterpret_cast<std::intptr_t>(memory.Get()));
        Perform(WM_PAINT, reinterpret_cast<std::uintptr_t>(memory.Get()), 0);
        ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(), area.left,
                 area.top, SRCCOPY);
    } else {
        {
            TSavedDC saved(dc);
            PaintWindow(dc);
        }
        PaintControls(dc);
    }
}

bool TWinControl::HasGraphicChildren() const {
    return std::any_of(controls_.begin(), controls_.end(),
                       [](const TControl* c) { return !c->isWindowed_ && c->GetVisible(); });
}

// A system control (tab control, ...) paints itself; graphic controls placed on it are
// drawn over its picture in the same paint, on the DC the system control painted on.
void TWinControl::PaintSystemControl(TMessage& m) {
    HDC given = reinterpret_cast<HDC>(m.WParam);
    if (given) {
        {
            TSavedDC saved(given);
            DefaultHandler(m);
        }
        PaintControls(given);
        return;
    }
    {
        TPaintDC paint(handle_);
        HDC dc = paint.Get();
        TMessage withDC{m.Msg, reinterpret_cast<std::uintptr_t>(dc), 0, 0};
        {
            TSavedDC saved(dc);
            DefaultHandler(withDC);
        }
        PaintControls(dc);
    }
    m.Result = 0;
}

bool TWinControl::RouteMouseToGraphic(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* const capture = GetCaptureControl();
    TControl* target = nullptr;
    if (capture && !capture->isWindowed_ && capture->parent_ == this)
        target = capture;
    else if (!capture || capture == this)
        target = ControlAtPos(p, false);
    if (!target) return false;
    if (m.Msg == WM_MOUSEMOVE) {
        // The control holding the capture gets every move, but the mouse is over it only
        // while the point is inside it: a pressed button dragged off is left, and entered
        // again on its return.
        RECT bounds = target->BoundsRect();
        bool over = target != capture || ::PtInRect(&bounds, p);
        SetMouseControl(over ? target : FindDragTarget(ClientToScreen(p), false));
    }
    std::intptr_t l = MAKELPARAM(p.x - target->left_, p.y - target->top_);
    m.Result = target->Perform(m.Msg, m.WParam, l);
    return true;
}

void TWinControl::Reflect(TMessage& m, HWND child, unsigned cnMessage) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(cnMessage, m.WParam, m.LParam);
    } else {
        TControl::WndProc(m);
    }
}

void TWinControl::WndProc(TMessage& m) {
    if (!HandleMessage(m)) TControl::WndProc(m);
}

bool TWinControl::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: return WMPaint(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case WM_SIZE:
    case WM_MOVE: return WMSizeOrMove(m);
    case WM_COMMAND: return WMCommand(m);
    case WM_NOTIFY: return WMNotify(m);
    case WM_HSCROLL:
    case WM_VSCROLL: return WMScroll(m);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: return WMCtlColor(m);
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
    case CN_BASE + WM_CTLCOLORSCROLLBAR: return CNCtlColor(m);
    case WM_DRAWITEM: return WMDrawItem(m);
    case WM_MEASUREITEM: return WMMeasureItem(m);
    case WM_SETFOCUS: return WMSetFocus(m);
    case WM_KILLFOCUS: return WMKillFocus(m);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return WMKeyDown(m);
    case WM_KEYUP:
    case WM_SYSKEYUP: return WMKeyUp(m);
    case WM_CHAR: return WMChar(m);
    case WM_SETCURSOR: return WMSetCursor(m);
    case WM_MOUSEMOVE: return WMMouseMove(m);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return WMMouseButton(m);
    case WM_MOUSELEAVE: return WMMouseLeave(m);
    case WM_CAPTURECHANGED: return WMCaptureChanged(m);
    case WM_CONTEXTMENU: return WMContextMenu(m);
    default: return false;
    }
}

// --- Painting and erasing ------------------------------------------------------------------

bool TWinControl::WMPaint(TMessage& m) {
    if (OwnClass()) {
        PaintHandler(m);
        return true;
    }
    if (HasGraphicChildren()) {
        PaintSystemControl(m);
        return true;
    }
    return false;
}

bool TWinControl::WMEraseBkgnd(TMessage& m) {
    if (!OwnClass()) return false;
    // Double-buffered, the window's own DC needs no erasing: the buffered paint covers
    // it (and erasing would flicker). Any other DC, such as one someone paints this
    // control's picture into, is erased.
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!doubleBuffered_ || m.WParam == static_cast<std::uintptr_t>(m.LParam) || ::WindowFromDC(dc) != handle_) {
        RECT r;
        ::GetClientRect(handle_, &r);
        ::FillRect(dc, &r, ColorBrush());
    }
    m.Result = 1;
    return true;
}

bool TWinControl::WMSizeOrMove(TMessage& m) {
    TControl::WndProc(m);
    UpdateBoundsFromWindow();
    if (m.Msg == WM_SIZE) Realign();
    return true;
}

// --- Notifications of child controls and menus ----------------------------------------------

bool TWinControl::WMCommand(TMessage& m) {
    if (m.LParam != 0) {
        Reflect(m, reinterpret_cast<HWND>(m.LParam), CN_COMMAND);
        return true;
    }
    if (HIWORD(m.WParam) == 0 && TMenu::DispatchCommand(LOWORD(m.WParam))) {
        m.Result = 0;
        return true;
    }
    return false;
}

bool TWinControl::WMNotify(TMessage& m) {
    Reflect(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom, CN_NOTIFY);
    return true;
}

bool TWinControl::WMScroll(TMessage& m) {
    if (m.LParam == 0) return false;
    Reflect(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg);
    return true;
}

bool TWinControl::WMCtlColor(TMessage& m) {
    Reflect(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg);
    return true;
}

bool TWinControl::CNCtlColor(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    ::SetTextColor(dc, ColorToColorRef(GetFont()->GetColor()));
    ::SetBkColor(dc, ColorToColorRef(GetColor()));
    m.Result = reinterpret_cast<std::intptr_t>(ColorBrush());
    return true;
}

bool TWinControl::WMDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (dis->CtlType == ODT_MENU) {
        if (TMenuItem::DispatchDrawItem(*dis)) m.Result = 1;
        return true;
    }
    Reflect(m, dis->hwndItem, CN_DRAWITEM);
    return true;
}

bool TWinControl::WMMeasureItem(TMessage& m) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (mis->CtlType == ODT_MENU) {
        if (TMenuItem::DispatchMeasureItem(*mis)) m.Result = 1;
        return true;
    }
    Reflect(m, ::GetDlgItem(handle_, static_cast<int>(mis->CtlID)), CN_MEASUREITEM);
    return true;
}

// --- Focus and keys ---------------------------------------------------------------------------

bool TWinControl::WMSetFocus(TMessage& m) {
    TControl::WndProc(m);
    if (TCustomForm* form = GetParentForm()) form->FocusChanged(this);
    Perform(CM_ENTER);
    if (OnEnter && !IsDestroying()) OnEnter(this);
    return true;
}

bool TWinControl::WMKillFocus(TMessage& m) {
    TControl::WndProc(m);
    Perform(CM_EXIT);
    if (OnExit && !IsDestroying()) OnExit(this);
    return true;
}

// A key the handler sets to 0 is swallowed; otherwise the (possibly changed) key goes
// on to the default handling.
bool TWinControl::WMKeyDown(TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyboardStateToShiftState());
    if (key == 0) return true;
    m.WParam = key;
    return false;
}

bool TWinControl::WMKeyUp(TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyboardStateToShiftState());
    if (key == 0) return true;
    m.WParam = key;
    return false;
}

bool TWinControl::WMChar(TMessage& m) {
    wchar_t ch = static_cast<wchar_t>(m.WParam);
    KeyPress(ch);
    if (ch == 0) return true;
    m.WParam = ch;
    return false;
}

// --- Mouse ------------------------------------------------------------------------------------

bool TWinControl::WMSetCursor(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) != handle_ || LOWORD(m.LParam) != HTCLIENT) return false;
    TCursor cursor = Screen ? Screen->GetCursor() : crDefault;
    if (cursor == crDefault) {
        POINT p;
        ::GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        TControl* c = ControlAtPos(p, true);
        cursor = (c ? c : this)->GetCursor();
    }
    if (cursor == crDefault) return false;
    ::SetCursor(CursorHandle(cursor));
    m.Result = 1;
    return true;
}

bool TWinControl::WMMouseMove(TMessage& m) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
    ::TrackMouseEvent(&tme);
    if (RouteMouseToGraphic(m)) return true;
    TControl* capture = GetCaptureControl();
    if (!capture || capture == this) SetMouseControl(this);
    return false;
}

bool TWinControl::WMMouseButton(TMessage& m) {
    if (Application) Application->CancelHint();
    return RouteMouseToGraphic(m);
}

bool TWinControl::WMMouseLeave(TMessage&) {
    TControl* over = GetMouseControl();
    if (over == this || (over && over->parent_ == this && !over->isWindowed_)) {
        POINT p;
        ::GetCursorPos(&p);
        TControl* now = FindDragTarget(p, true);
        SetMouseControl(now == over ? nullptr : now);
    }
    return false;
}

bool TWinControl::WMCaptureChanged(TMessage& m) {
    TControl* holder = GetCaptureControl();
    if (holder && holder != this && holder->parent_ == this && reinterpret_cast<HWND>(m.LParam) != handle_) {
        detail::ForgetCaptureControl();
        holder->Perform(WM_CANCELMODE);
    }
    return false;
}

bool TWinControl::WMContextMenu(TMessage& m) {
    POINT sp{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (!(sp.x == -1 && sp.y == -1) && handle_) {
        POINT p = sp;
        ::ScreenToClient(handle_, &p);
        TControl* c = ControlAtPos(p, false);
        if (c && c->GetPopupMenu()) {
            m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
            return true;
        }
    }
    return false;
}

}  // namespace vx
