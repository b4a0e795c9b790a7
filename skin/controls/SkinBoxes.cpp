#include "skin/controls/SkinBoxes.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinBox, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinBoxH, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinGroupBox, TSkinControl)

// --- panels ------------------------------------------------------------------------------

void TSkinBox::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                           TCanvas* canvas) {
    if (initialised_) return;
    auto* control = dynamic_cast<TControl*>(Owner());
    if (!control) return;
    skinData_ = data;
    canvas_ = canvas;
    control_ = control;
    form_ = form;
    adoptColour_ = adoptColour;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        window_ = windowed->GetHandle();
        unicodeWindow_ = ::IsWindowUnicode(window_) != FALSE;
    }
    if (form_) form_->RegisterControlSkin(this);
    if (adoptColour_ && Skin()) {
        savedColour_ = control_->GetColor();
        control_->SetColor(Skin()->ButtonFaceColour);
    }
    initialised_ = true;
    state_ = scsInitialised;
}

void TSkinBox::RestoreControl() {
    if (adoptColour_ && control_ && !control_->IsDestroying()) control_->SetColor(savedColour_);
    state_ = scsRestored;
}

// --- nested dialogs and tool bars ------------------------------------------------------------

bool TSkinBoxH::BeforeMessage(TMessage& message) {
    const TSkinModel* skin = Skin();
    if (!skin || !skin->FaceBrush) return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT r{};
        ::GetClientRect(window_, &r);
        ::FillRect(reinterpret_cast<HDC>(message.WParam), &r, skin->FaceBrush.Get());
        message.Result = 1;
        return false;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        PassOn(message);
        ::SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        message.Result = reinterpret_cast<LRESULT>(skin->FaceBrush.Get());
        return false;
    default: return TSkinControl::BeforeMessage(message);
    }
}

// --- group boxes ------------------------------------------------------------------------------

bool TSkinGroupBox::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        // The paint covers the whole client area.
        message.Result = 1;
        return false;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (message.WParam) {
            PaintInto(reinterpret_cast<HDC>(message.WParam));
        } else {
            // Composed off-screen and copied in one piece.
            TPaintDC paint(window_);
            RECT r{};
            ::GetClientRect(window_, &r);
            TMemoryDC memory(paint.Get());
            TBitmapHandle bitmap(::CreateCompatibleBitmap(paint.Get(), std::max(1L, r.right), std::max(1L, r.bottom)));
            TSelectObject selection(memory.Get(), bitmap.Get());
            PaintInto(memory.Get());
            ::BitBlt(paint.Get(), 0, 0, r.right, r.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
        message.Result = 0;
        return false;
    default: return TSkinControl::BeforeMessage(message);
    }
}

void TSkinGroupBox::AfterMessage(TMessage& message) {
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) Repaint();
    else if (message.Msg != WM_PAINT) TSkinControl::AfterMessage(message);
}

void TSkinGroupBox::PaintInto(HDC dc) {
    RECT r{};
    ::GetClientRect(window_, &r);
    try {
        TSavedDC saved(dc);
        DrawControl(dc, r);
    } catch (...) {
        // A faulty skin never breaks the control's painting.
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control_)) windowed->PaintControls(dc);
}

HFONT TSkinGroupBox::Font() const {
    if (control_) return control_->GetFont()->GetHandle();
    return reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
}

RECT TSkinGroupBox::FrameArea(HDC dc, const RECT& rect) const {
    TSelectObject font(dc, Font());
    SIZE text{};
    ::GetTextExtentPoint32W(dc, L"0", 1, &text);
    return RECT{rect.left, rect.top + text.cy / 2 - 1, rect.right, rect.bottom};
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& rect) {
    const TSkinModel* skin = Skin();
    if (!skin) return;
    if (skin->FaceBrush) ::FillRect(dc, &rect, skin->FaceBrush.Get());
    else FillFace(dc, rect);

    const RECT f = FrameArea(dc, rect);
    // The white line right and below of the shadow line, as an etched edge has it.
    TBrushHandle white(::CreateSolidBrush(RGB(255, 255, 255)));
    TBrushHandle shadow(::CreateSolidBrush(ResolveColour(skin->ButtonShadowColour)));
    const RECT inner{f.left + 1, f.top + 1, f.right, f.bottom};
    const RECT outer{f.left, f.top, f.right - 1, f.bottom - 1};
    ::FrameRect(dc, &inner, white.Get());
    ::FrameRect(dc, &outer, shadow.Get());

    caption_ = control_ ? ReadTextProperty(control_, L"Caption") : ReadWindowText(window_);
    if (caption_.empty()) return;
    TSelectObject font(dc, Font());
    SIZE text{};
    ::GetTextExtentPoint32W(dc, L"0", 1, &text);
    const UINT flags = RightToLeftFlags(DT_SINGLELINE | DT_NOPREFIX);
    RECT tr{0, 0, 0, text.cy};
    DrawTextWide(dc, caption_, tr, flags | DT_CALCRECT);
    const int width = tr.right - tr.left;
    const int left = (flags & DT_RTLREADING) ? rect.right - 8 - width : rect.left + 8;
    tr = RECT{left, rect.top, left + width, rect.top + text.cy};
    FillFace(dc, RECT{tr.left - 1, tr.top, tr.right + 1, tr.bottom});
    const bool enabled = control_ ? control_->GetEnabled() : (WindowLong(window_, GWL_STYLE) & WS_DISABLED) == 0;
    COLORREF colour = ResolveColour(skin->ButtonShadowColour);
    if (enabled) colour = control_ ? ColorToColorRef(control_->GetFont()->GetColor()) : ::GetSysColor(COLOR_BTNTEXT);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    DrawTextWide(dc, caption_, tr, flags);
}

}  // namespace vx
