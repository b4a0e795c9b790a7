#include "skin/window/MdiClientSkinner.h"

#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"

namespace vx {

bool TMdiClientSkinner::AttachClient(HWND client) {
    if (TSkinData* data = frame_.SkinData()) menuUpdate_ = data->GetMenuUpdate();
    return Attach(client);
}

LRESULT TMdiClientSkinner::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = Window();
    TSkinData* data = frame_.SkinData();
    TSkinManage* manager = TSkinManage::Instance();
    switch (msg) {
    case WM_NCDESTROY: {
        const LRESULT result = CallPrevious(msg, wParam, lParam);
        Detach();
        return result;
    }
    case WM_NCCALCSIZE:
        // The frame draws no scroll bars of its own around the children's area.
        if (frame_.FrameSkinned() && data && !data->HasOption(xoMDIScrollbar)) {
            const LONG style = ::GetWindowLongW(client, GWL_STYLE);
            if (style & (WS_VSCROLL | WS_HSCROLL))
                ::SetWindowLongW(client, GWL_STYLE, style & ~(WS_VSCROLL | WS_HSCROLL));
        }
        return CallPrevious(msg, wParam, lParam);
    case WM_MDICREATE:
        // A child's menu merges into the frame's bar through WM_MDISETMENU from now on.
        if (data) data->SetMenuUpdate(false);
        return CallPrevious(msg, wParam, lParam);
    case WM_MDIDESTROY: {
        const LRESULT result = CallPrevious(msg, wParam, lParam);
        BOOL maximized = FALSE;
        const HWND active = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0,
                                                                  reinterpret_cast<LPARAM>(&maximized)));
        if (manager) manager->SetMdiChildMaximized(active && maximized);
        if (!active && frame_.HasMenuBar()) {
            if (data) data->SetMenuUpdate(menuUpdate_);
            frame_.RebuildMenuBar();
        }
        return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (manager && manager->MdiChildMaximized()) manager->SetMdiChildMaximized(false);
        return CallPrevious(msg, wParam, lParam);
    case WM_MDISETMENU: {
        const LRESULT result = CallPrevious(msg, wParam, lParam);
        if (wParam) {
            frame_.RebuildMenuBar();
            // The frame shows its menu in the skinned bar, not in a native one.
            if (frame_.HasMenuBar() && ::GetMenu(frame_.Window())) ::SetMenu(frame_.Window(), nullptr);
        }
        return result;
    }
    case WM_SKINMDIREDRAW:
        ::RedrawWindow(frame_.Window(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return 0;
    default: return CallPrevious(msg, wParam, lParam);
    }
}

}  // namespace vx
