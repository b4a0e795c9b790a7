#include "skin/controls/SkinComBox.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinComBox, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

bool HasPicture(const TDataSkinObject* e) { return e && !e->Bitmap.GetEmpty(); }

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

TSkinComBox::~TSkinComBox() = default;

void TSkinComBox::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                              TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    if (first && initialised_) AttachList();
}

void TSkinComBox::InitWindow(HWND window, const TControlSkinData* data, IControlSkinHost* form, TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinControl::InitWindow(window, data, form, canvas);
    if (first && initialised_) AttachList();
}

void TSkinComBox::AttachList() {
    const auto info = SkinPlatform().GetComboBoxInfo;
    if (!info || !window_) return;
    COMBOBOXINFO cbi{};
    cbi.cbSize = sizeof(cbi);
    if (!info(window_, &cbi) || !cbi.hwndList || cbi.hwndList == window_) return;
    listBar_ = std::make_unique<TComboxScrollBar>(nullptr);
    listBar_->InitWindow(cbi.hwndList, skinData_, nullptr, canvas_);
}

void TSkinComBox::RefreshSkin() {
    TSkinControl::RefreshSkin();
    if (listBar_) listBar_->PaintBars();
}

void TSkinComBox::DrawSimple(HDC dc, const RECT& rect) {
    // A simple combo box has no button: its text field sits over a list that is always
    // shown. The field gets the sunken edge of the drop-down kinds, in the same state
    // frames; the list keeps its own border, and its bars are the list's skin object's.
    const auto info = SkinPlatform().GetComboBoxInfo;
    COMBOBOXINFO cbi{};
    cbi.cbSize = sizeof(cbi);
    if (!info || !info(window_, &cbi)) return;
    RECT window{};
    ::GetWindowRect(window_, &window);
    POINT client{0, 0};
    ::ClientToScreen(window_, &client);
    const int dx = client.x - window.left, dy = client.y - window.top;
    RECT field{rect.left, rect.top, rect.right, rect.bottom};
    RECT list{};
    if (cbi.hwndList && ::GetWindowRect(cbi.hwndList, &list) && list.top > window.top)
        field.bottom = std::min<LONG>(field.bottom, list.top - window.top);
    RECT text = cbi.rcItem;
    ::OffsetRect(&text, dx, dy);
    if (field.bottom - field.top < 4 || ::IsRectEmpty(&text)) return;
    buttonRect_ = RECT{};
    enabled_ = !(style_ & WS_DISABLED);
    const HWND focus = ::GetFocus();
    focused_ = focus && (focus == window_ || ::IsChild(window_, focus));
    // Below the list the window keeps a strip nobody paints: the parent's colour.
    if (!::IsRectEmpty(&list) && list.bottom - window.top < rect.bottom)
        FillParentColour(dc, RECT{rect.left, list.bottom - window.top, rect.right, rect.bottom});
    TSavedDC saved(dc);
    ::ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
    DrawSkinElement(dc, field, ComboButtonFrame(enabled_, 0, focused_), skinData_->Model->SunkEdge.get());
}

bool TSkinComBox::Enabled() const { return !(WindowLong(window_, GWL_STYLE) & WS_DISABLED); }

void TSkinComBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        break;
    case WM_MOUSEMOVE: {
        const int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
        if (mouseState_ & msHot) {
            if (!Inside(buttonRect_, x, y) && Enabled()) {
                mouseState_ &= ~msHot;
                Repaint();
            }
        } else if (Inside(buttonRect_, x, y) && Enabled()) {
            mouseState_ |= msHot;
            Repaint();
        }
        // A window without a framework control hears of the pointer leaving this way.
        if (!control_) TrackMouseLeave();
        break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
        Repaint();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        mouseState_ |= msPressed;
        Repaint();
        break;
    case WM_LBUTTONUP:
        mouseState_ &= ~msPressed;
        Repaint();
        break;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
        if (mouseState_ & msHot) {
            mouseState_ &= ~msHot;
            Repaint();
        }
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinComBox::DrawControl(HDC dc, const RECT& rect) {
    TSkinModel* skin = skinData_ ? skinData_->Model : nullptr;
    if (!skin || !HasPicture(skin->ComboButton.get())) return;
    TDataSkinBorder& button = *skin->ComboButton;
    style_ = WindowLong(window_, GWL_STYLE);
    exStyle_ = WindowLong(window_, GWL_EXSTYLE);
    const bool buttonLeft = (exStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
    const int f = ::GetSystemMetrics(SM_CXHSCROLL);
    const TComboLayout layout =
        ComboButtonLayout(TLayoutRect{rect.left, rect.top, rect.right, rect.bottom}, f, buttonLeft);
    if ((style_ & 3) == CBS_SIMPLE) {
        DrawSimple(dc, rect);
        return;
    }
    bool known = false;
    if (const auto info = SkinPlatform().GetComboBoxInfo) {
        COMBOBOXINFO cbi{};
        cbi.cbSize = sizeof(cbi);
        if (info(window_, &cbi)) {
            buttonRect_ = cbi.rcButton;
            known = true;
            if (cbi.stateButton & STATE_SYSTEM_INVISIBLE) return;
        }
    }
    // Without the platform's report the button is where it is drawn.
    if (!known) buttonRect_ = ToRect(layout.Button);

    enabled_ = !(style_ & WS_DISABLED);
    const HWND focus = ::GetFocus();
    // An editable combo box has the focus in its edit field.
    focused_ = focus && (focus == window_ || ::IsChild(window_, focus));
    const int frame = ComboButtonFrame(enabled_, mouseState_, focused_);

    if (button.Style == 1) {
        DrawFlat(dc, rect, layout, frame);
        return;
    }
    if (button.Style == 2) {
        TDataSkinObject* element = buttonLeft ? skin->SunkEdge.get() : &button;
        if (!HasPicture(element)) return;
        const TMargins margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
        DrawElement(dc, rect, element->Bitmap, false, false, true, element->FrameCount, frame, margins);
        return;
    }
    {
        TSavedDC saved(dc);
        ::ExcludeClipRect(dc, layout.Excluded.Left, layout.Excluded.Top, layout.Excluded.Right,
                          layout.Excluded.Bottom);
        DrawSkinElement(dc, rect, frame, skin->SunkEdge.get());
        TBitmap& picture = buttonLeft && !button.SecondBitmap.GetEmpty() ? button.SecondBitmap : button.Bitmap;
        DrawFrame(dc, ToRect(layout.Button), picture, true, std::max(1, button.FrameCount), frame);
    }
    buttonRect_ = ToRect(layout.Button);
    if (HasPicture(skin->ExtraImages.get()))
        DrawFrameCentered(dc, ToRect(layout.Glyph), skin->ExtraImages->Bitmap, true,
                          std::max(1, skin->ExtraImages->FrameCount), frame);
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& rect, const TComboLayout& layout, int frame) {
    // The flat look: a one-pixel shadow-coloured outline, the button area in the face
    // colour with the arrow picture of the state centred on it.
    const TSkinModel* skin = Skin();
    TSavedDC saved(dc);
    ::ExcludeClipRect(dc, layout.Excluded.Left, layout.Excluded.Top, layout.Excluded.Right, layout.Excluded.Bottom);
    RECT inner = rect;
    ::InflateRect(&inner, -1, -1);
    FillFace(dc, inner);
    TBrushHandle shadow(::CreateSolidBrush(ResolveColour(skin->ButtonShadowColour)));
    ::FrameRect(dc, &rect, shadow.Get());
    buttonRect_ = ToRect(layout.Button);
    if (HasPicture(skin->ComboxArrow.get()))
        DrawFrameCentered(dc, ToRect(layout.Glyph), skin->ComboxArrow->Bitmap, true,
                          std::max(1, skin->ComboxArrow->FrameCount), frame);
}

}  // namespace vx
