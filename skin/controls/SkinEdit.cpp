#include "skin/controls/SkinEdit.h"

#include "framework/Handles.h"
#include "skin/controls/SkinFactory.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinEdit, TSkinControl)

void TSkinEdit::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: PaintWindow(reinterpret_cast<HDC>(message.WParam)); break;
    case WM_NCPAINT:
        // The system has just drawn its own border again.
        PaintWindow(nullptr);
        break;
    case WM_PRINT: {
        RECT r{};
        if (!::GetWindowRect(window_, &r)) break;
        ::OffsetRect(&r, -r.left, -r.top);
        try {
            if (message.WParam) {
                PrintBorder(reinterpret_cast<HDC>(message.WParam), r);
            } else {
                TWindowDC whole = TWindowDC::Whole(window_);
                if (whole) PrintBorder(whole.Get(), r);
            }
        } catch (...) {
            // A faulty skin never breaks printing.
        }
        break;
    }
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinEdit::FindUpDown() {
    if (!form_ || !skinData_ || !skinrules::Has(skinData_->SkinControls, skinrules::xcSpin)) return;
    if (upDown_ && ::IsWindow(upDown_)) return;
    upDown_ = nullptr;
    for (HWND child = ::GetWindow(window_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[101] = {};
        ::GetClassNameW(child, name, 101);
        const std::wstring lower = LowerAscii(name);
        if (lower != L"msctls_updown32" && lower.find(L"spin") == std::wstring::npos &&
            lower.find(L"updown") == std::wstring::npos)
            continue;
        TSkinChoice choice;
        choice.Matched = true;
        choice.Class = TSkinClass::SkinUpDown;
        std::unique_ptr<TSkinControl> skin = CreateControlSkin(choice, nullptr);
        if (!skin) return;  // up-downs have no skin object yet
        skin->InitWindow(child, skinData_, form_, canvas_);
        skin.release();  // the host's list frees it
        upDown_ = child;
        return;
    }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& rect) {
    FindUpDown();
    const TSkinModel* skin = Skin();
    if (!skin) return;
    RECT client{};
    ::GetClientRect(window_, &client);
    if (client.right == rect.right - rect.left || client.bottom == rect.bottom - rect.top) return;  // no border
    TBrushHandle shadow(::CreateSolidBrush(ResolveColour(skin->ButtonShadowColour)));
    TBrushHandle white(::CreateSolidBrush(RGB(255, 255, 255)));
    RECT r = rect;
    ::FrameRect(dc, &r, shadow.Get());
    ::InflateRect(&r, -1, -1);
    ::FrameRect(dc, &r, white.Get());
    ::InflateRect(&r, -1, -1);
    ::FrameRect(dc, &r, white.Get());
}

void TSkinEdit::PrintBorder(HDC dc, const RECT& rect) {
    const TSkinModel* skin = Skin();
    if (!skin) return;
    RECT client{};
    ::GetClientRect(window_, &client);
    if (client.right + 2 >= rect.right - rect.left || client.bottom + 2 >= rect.bottom - rect.top) return;
    RECT inner = rect;
    ::InflateRect(&inner, -1, -1);
    ::FrameRect(dc, &inner, static_cast<HBRUSH>(::GetCurrentObject(dc, OBJ_BRUSH)));
    TBrushHandle shadow(::CreateSolidBrush(ResolveColour(skin->ButtonShadowColour)));
    ::FrameRect(dc, &rect, shadow.Get());
}

}  // namespace vx
