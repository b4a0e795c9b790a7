#include "skin/controls/SkinButtons.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinButton, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

}  // namespace

void TSkinButton::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                              TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    if (!first || !control_) return;
    const std::wstring cls = LowerAscii(control_->ClassName());
    noMouseDownForwarding_ = cls.rfind(L"trz", 0) == 0 || cls.rfind(L"tel", 0) == 0;
    parentBackground_ = control_->GetTag() == 5555 || HasOption(skinrules::xoTransparent);
}

bool TSkinButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: {
        RECT r{};
        ::GetClientRect(window_, &r);
        if (message.WParam) {
            DrawControl(reinterpret_cast<HDC>(message.WParam), r);
        } else {
            TPaintDC paint(window_);
            DrawControl(paint.Get(), r);
        }
        message.Result = 0;
        return false;
    }
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (::GetFocus() != window_) ::SetFocus(window_);
        mouseState_ |= msPressed;
        PaintWindow(nullptr);
        if (!noMouseDownForwarding_ && control_) ForwardMouseDown(message);
        message.Result = 0;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETTEXT:
        PaintWindow(nullptr);
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            mouseState_ |= msPressed;
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            mouseState_ &= ~msPressed;
            Repaint();
        }
        break;
    case WM_MOUSEMOVE:
        if (!(WindowLong(window_, GWL_STYLE) & WS_DISABLED) && !(mouseState_ & msHot)) {
            mouseState_ |= msHot;
            Repaint();
        }
        TrackMouseLeave();
        break;
    case WM_LBUTTONUP:
        if (mouseState_ & msPressed) {
            mouseState_ &= ~msPressed;
            Repaint();
            ClickButton();  // last: the click may free this object
        }
        break;
    case WM_MOUSELEAVE:
        mouseState_ &= ~(msHot | msPressed);
        Repaint();
        break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinButton::ClickButton() {
    if (control_) {
        control_->Click();
        return;
    }
    const HWND parent = ::GetParent(window_);
    if (!parent) return;
    wchar_t cls[16] = {};
    ::GetClassNameW(window_, cls, 16);
    const WPARAM id = LowerAscii(cls) == L"tbutton" ? 0 : static_cast<WPARAM>(::GetDlgCtrlID(window_));
    ::PostMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(window_));
}

TButtonState TSkinButton::CurrentState() const {
    const bool isDefault = control_ && LowerAscii(ReadEnumProperty(control_, L"Default")) == L"true";
    const bool disabled = (WindowLong(window_, GWL_STYLE) & WS_DISABLED) != 0;
    return ButtonState(mouseState_, ::GetFocus() == window_, isDefault, disabled);
}

void TSkinButton::DrawControl(HDC dc, const RECT& rect) {
    const TSkinModel* skin = Skin();
    if (!skin || skin->Buttons.Bitmap.GetEmpty()) return;
    focused_ = ::GetFocus() == window_;
    enabled_ = !(WindowLong(window_, GWL_STYLE) & WS_DISABLED);
    if (control_) {
        caption_ = ReadTextProperty(control_, L"Caption");
        multiLine_ = LowerAscii(ReadEnumProperty(control_, L"MultiLine")) == L"true";
    } else {
        caption_ = ReadWindowText(window_);
    }
    const TButtonState state = CurrentState();

    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TWindowDC screen(nullptr);
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), w, h));
    TMemoryDC mem(screen.Get());
    if (!bitmap || !mem) return;
    TSelectObject selectBitmap(mem.Get(), bitmap.Get());
    const RECT all{0, 0, w, h};
    if (parentBackground_ && control_) PaintParentInto(control_, mem.Get());
    else FillFace(mem.Get(), all);
    DrawSkinElement(mem.Get(), all, state, &const_cast<TSkinModel*>(skin)->Buttons);

    HFONT font = nullptr;
    TColour colour = skin->ButtonTextColour;
    if (control_) {
        if (auto* f = static_cast<TFont*>(ReadObjectProperty(control_, L"Font", TFont::StaticClass()))) {
            font = f->GetHandle();
            colour = f->GetColor();
        }
    } else {
        font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
    }
    TButtonTextColours stateColours;
    stateColours.HasNormal = skin->Buttons.HasNormalColour2;
    stateColours.HasMouseOver = skin->Buttons.HasMouseOverColour2;
    stateColours.HasPressed = skin->Buttons.HasPressedColour2;
    stateColours.Normal = skin->Buttons.NormalColour2;
    stateColours.MouseOver = skin->Buttons.MouseOverColour2;
    stateColours.Pressed = skin->Buttons.PressedColour2;
    colour = ButtonCaptionColour(state, enabled_, stateColours, colour);
    {
        TSelectObject selectFont(mem.Get(), font);
        ::SetTextColor(mem.Get(), ResolveColour(colour));
        DrawButtonCaption(mem.Get(), all, DT_CENTER);
    }
    ::BitBlt(dc, rect.left, rect.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

void TSkinButton::DrawButtonCaption(HDC dc, const RECT& rect, UINT alignment) {
    caption_ = ReplaceFirstBar(caption_);
    RECT t = rect;
    ::InflateRect(&t, -2, -2);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    DrawTextWide(dc, caption_, t, alignment | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
    const TLayoutRect b{rect.left, rect.top, rect.right, rect.bottom};
    RECT placed = ToRect(CaptionRect(b, t.right - t.left, t.bottom - t.top, (alignment & DT_CENTER) != 0));
    DrawTextWide(dc, caption_, placed, RightToLeftFlags(alignment | DT_WORDBREAK | DT_EXPANDTABS));
    ::SetBkMode(dc, oldMode == 0 ? OPAQUE : oldMode);
    if (focused_ && !HasOption(skinrules::xoNoFocusRect)) {
        ::InflateRect(&placed, 2, 2);
        ::DrawFocusRect(dc, &placed);
    }
}

}  // namespace vx
