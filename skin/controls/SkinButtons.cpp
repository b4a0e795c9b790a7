#include "skin/controls/SkinButtons.h"

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/ImgList.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinButton, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinBitButton, TSkinButton)
VX_IMPLEMENT_CLASS(TSkinMenuButton, TSkinButton)
VX_IMPLEMENT_CLASS(TSkinSpeedButton, TSkinBitButton)

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
    case WM_PAINT:
        PaintClient(message);
        return false;
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

TSkinButtonState TSkinButton::CurrentState() const {
    const bool isDefault = control_ && LowerAscii(ReadEnumProperty(control_, L"Default")) == L"true";
    const bool disabled = (WindowLong(window_, GWL_STYLE) & WS_DISABLED) != 0;
    return ButtonState(mouseState_, ::GetFocus() == window_, isDefault, disabled);
}

bool TSkinButton::DrawFace(HDC mem, int w, int h, TSkinButtonState& state, bool honourDefault) {
    const TSkinModel* skin = Skin();
    if (!skin || skin->Buttons.Bitmap.GetEmpty()) return false;
    focused_ = ::GetFocus() == window_;
    enabled_ = !(WindowLong(window_, GWL_STYLE) & WS_DISABLED);
    if (control_) {
        caption_ = ReadTextProperty(control_, L"Caption");
        multiLine_ = LowerAscii(ReadEnumProperty(control_, L"MultiLine")) == L"true";
    } else {
        caption_ = ReadWindowText(window_);
    }
    state = CurrentState();
    if (!honourDefault && state == sbFocused && !focused_) state = sbNormal;
    const RECT all{0, 0, w, h};
    if (parentBackground_ && control_) PaintParentInto(control_, mem);
    else FillFace(mem, all);
    DrawSkinElement(mem, all, state, &const_cast<TSkinModel*>(skin)->Buttons);
    return true;
}

COLORREF TSkinButton::CaptionColour(TSkinButtonState state, HFONT& font) {
    const TSkinModel* skin = Skin();
    TColour colour = skin->ButtonTextColour;
    font = nullptr;
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
    return ResolveColour(ButtonCaptionColour(state, enabled_, stateColours, colour));
}

void TSkinButton::ComposeButton(HDC dc, const RECT& rect, bool honourDefault, const TDrawOverFace& drawOver) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TWindowDC screen(nullptr);
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), w, h));
    TMemoryDC mem(screen.Get());
    if (!bitmap || !mem) return;
    TSelectObject selectBitmap(mem.Get(), bitmap.Get());
    TSkinButtonState state = sbNormal;
    if (!DrawFace(mem.Get(), w, h, state, honourDefault)) return;
    HFONT font = nullptr;
    const COLORREF colour = CaptionColour(state, font);
    drawOver(mem.Get(), w, h, state, colour, font);
    ::BitBlt(dc, rect.left, rect.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

void TSkinButton::DrawControl(HDC dc, const RECT& rect) {
    ComposeButton(dc, rect, true, [this](HDC mem, int w, int h, TSkinButtonState, COLORREF colour, HFONT font) {
        TSelectObject selectFont(mem, font);
        ::SetTextColor(mem, colour);
        DrawButtonCaption(mem, RECT{0, 0, w, h}, DT_CENTER);
    });
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rect) {
    // The png kinds show the focused frame for the focus alone, never for "Default".
    ComposeButton(dc, rect, GlyphProperty.empty(),
                  [this](HDC mem, int w, int h, TSkinButtonState state, COLORREF colour, HFONT font) {
                      DrawGlyphAndCaption(mem, RECT{0, 0, w, h}, BitButtonGlyphFrame(state), colour, font);
                  });
}

void TSkinBitButton::DrawGlyphAndCaption(HDC dc, const RECT& rect, int glyphFrame, COLORREF colour, HFONT font) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TSelectObject selectFont(dc, font);
    ::SetTextColor(dc, colour);
    TWindowDC screen(nullptr);
    // The glyph and what decides its place.
    TBitmap* glyph = nullptr;
    TCustomImageList* images = nullptr;
    int numGlyphs = 1, imageIndex = -1, disabledIndex = -1;
    if (GlyphProperty.empty()) {
        glyph = static_cast<TBitmap*>(ReadObjectProperty(control_, L"Glyph", TBitmap::StaticClass()));
        images = static_cast<TCustomImageList*>(
            ReadObjectProperty(control_, L"Images", TCustomImageList::StaticClass()));
        numGlyphs = ReadIntProperty(control_, L"NumGlyphs");
        if (numGlyphs < 1) numGlyphs = 1;  // missing, negative or 0
        imageIndex = ReadIntProperty(control_, L"ImageIndex");
        disabledIndex = ReadIntProperty(control_, L"DisabledIndex");
    } else {
        glyph = static_cast<TBitmap*>(ReadObjectProperty(control_, GlyphProperty, TBitmap::StaticClass()));
    }
    const int margin = ReadIntProperty(control_, L"Margin");
    const int spacing = ReadIntProperty(control_, L"Spacing");
    const TGlyphLayout layout = ButtonLayoutFromName(LowerAscii(ReadEnumProperty(control_, L"Layout")));
    const bool alignCentre = LowerAscii(ReadEnumProperty(control_, L"Alignment")) == L"tacenter";
    int gw = 0, gh = 0;
    if (glyph && !glyph->GetEmpty()) {
        gw = glyph->GetWidth() / (GlyphProperty.empty() ? numGlyphs : 1);
        gh = glyph->GetHeight();
    } else if (images && imageIndex != -1) {
        gw = images->GetWidth();
        gh = images->GetHeight();
    }

    caption_ = ReplaceFirstBar(caption_);
    const TLayoutRect area = BitButtonTextArea(w, h, gw, gh, layout);
    RECT measured{rect.left + area.Left, rect.top + area.Top, rect.left + area.Right, rect.top + area.Bottom};
    int tw = 0, th = 0;
    if (!caption_.empty()) {
        DrawTextWide(dc, caption_, measured, DT_WORDBREAK | DT_CALCRECT);
        tw = measured.right - measured.left;
        th = measured.bottom - measured.top;
    }
    const TGlyphPlacement place = BitButtonPlacement(w, h, gw, gh, tw, th, layout, margin, spacing, alignCentre);

    if (gw > 0 && gh > 0) {
        if (glyph && !glyph->GetEmpty()) {
            // The frame, cut into a picture of its own; the disabled frame turned grey.
            const int frame = GlyphProperty.empty() ? GlyphFrameToCut(glyphFrame, numGlyphs) : 1;
            TBitmap cut(gw, gh, pf24bit);
            {
                TMemoryDC from(screen.Get());
                TSelectObject selectFrom(from.Get(), glyph->GetHandle());
                TMemoryDC to(screen.Get());
                TSelectObject selectTo(to.Get(), cut.GetHandle());
                ::BitBlt(to.Get(), 0, 0, gw, gh, from.Get(), (frame - 1) * gw, 0, SRCCOPY);
            }
            if (glyphFrame == 2) Grayscale(cut);
            // The transparent colour is the picture's own bottom-left pixel.
            const auto* row = static_cast<const std::uint8_t*>(cut.ScanLine(gh - 1));
            const TColour key = MakeColour(row[2], row[1], row[0]);
            TransparentBlit(dc, RECT{rect.left + place.GlyphX, rect.top + place.GlyphY, rect.left + place.GlyphX + gw, rect.top + place.GlyphY + gh}, cut,
                            key);
        } else if (images) {
            TCanvas canvas;
            canvas.SetHandle(dc);
            if (enabled_) images->Draw(&canvas, rect.left + place.GlyphX, rect.top + place.GlyphY, imageIndex, true);
            else if (disabledIndex != -1) images->Draw(&canvas, rect.left + place.GlyphX, rect.top + place.GlyphY, disabledIndex, true);
            else images->Draw(&canvas, rect.left + place.GlyphX, rect.top + place.GlyphY, imageIndex, false);
            canvas.SetHandle(nullptr);
        }
    }

    if (!caption_.empty()) {
        UINT align = DT_LEFT;
        if (place.Align == TTextAlign::Right) align = DT_RIGHT;
        else if (place.Align == TTextAlign::Centre) align = DT_CENTER;
        RECT text{rect.left + place.Text.Left, rect.top + place.Text.Top, rect.left + place.Text.Right, rect.top + place.Text.Bottom};
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        DrawTextWide(dc, caption_, text, RightToLeftFlags(align | DT_WORDBREAK));
        ::SetBkMode(dc, oldMode == 0 ? OPAQUE : oldMode);
        if (focused_ && !HasOption(skinrules::xoNoFocusRect)) {
            ::InflateRect(&text, 2, 2);
            ::DrawFocusRect(dc, &text);
        }
    }
}

void TSkinButton::DrawButtonCaption(HDC dc, const RECT& rect, UINT alignment) {
    caption_ = ReplaceFirstBar(caption_);
    RECT t = rect;
    ::InflateRect(&t, -2, -2);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    // A caption on one line stays on one line, as on the system's button: broken at the
    // skin's margins, a caption that just fits the button ("添加文件(A)...") would show
    // only its first part. A caption with a line break, or a multi-line button, breaks.
    const bool multiLine = caption_.find(L'\n') != std::wstring::npos ||
                           (window_ && (WindowLong(window_, GWL_STYLE) & BS_MULTILINE) != 0);
    const UINT lines = multiLine ? DT_WORDBREAK : DT_SINGLELINE | DT_NOCLIP;
    DrawTextWide(dc, caption_, t, alignment | lines | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
    const TLayoutRect b{rect.left, rect.top, rect.right, rect.bottom};
    RECT placed = ToRect(CaptionRect(b, t.right - t.left, t.bottom - t.top, (alignment & DT_CENTER) != 0));
    DrawTextWide(dc, caption_, placed, RightToLeftFlags(alignment | lines | DT_EXPANDTABS));
    ::SetBkMode(dc, oldMode == 0 ? OPAQUE : oldMode);
    if (focused_ && !HasOption(skinrules::xoNoFocusRect)) {
        ::InflateRect(&placed, 2, 2);
        ::DrawFocusRect(dc, &placed);
    }
}

void TSkinMenuButton::DrawControl(HDC dc, const RECT& rect) {
    ComposeButton(dc, rect, true, [this](HDC mem, int w, int h, TSkinButtonState, COLORREF colour, HFONT font) {
        {
            TSelectObject selectFont(mem, font);
            ::SetTextColor(mem, colour);
            caption_ = ReplaceFirstBar(caption_);
            const TLayoutRect area = MenuButtonTextArea(w, h);
            RECT t{area.Left, area.Top, area.Right, area.Bottom};
            DrawTextWide(mem, caption_, t, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
            const TLayoutRect placed = CaptionRect(area, t.right - t.left, t.bottom - t.top, true);
            RECT text{placed.Left + 2, placed.Top, placed.Right + 2, placed.Bottom};
            const int oldMode = ::SetBkMode(mem, TRANSPARENT);
            DrawTextWide(mem, caption_, text, RightToLeftFlags(DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS));
            ::SetBkMode(mem, oldMode == 0 ? OPAQUE : oldMode);
            if (focused_ && !HasOption(skinrules::xoNoFocusRect)) {
                ::InflateRect(&text, 2, 2);
                ::DrawFocusRect(mem, &text);
            }
        }
        TPoint2 corners[3];
        MenuButtonArrow(w, h, corners);
        const POINT points[3] = {{corners[0].X, corners[0].Y}, {corners[1].X, corners[1].Y}, {corners[2].X, corners[2].Y}};
        const COLORREF arrow = ::GetSysColor(enabled_ ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
        TBrushHandle brush(::CreateSolidBrush(arrow));
        TPenHandle pen(::CreatePen(PS_SOLID, 1, arrow));
        {
            TSelectObject selectBrush(mem, brush.Get());
            TSelectObject selectPen(mem, pen.Get());
            ::Polygon(mem, points, 3);
        }
    });
}

void TSkinSpeedButton::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                                   TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinButton::InitControl(form, data, adoptColour, canvas);
    if (first && control_) companion_ = control_;
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // A windowless control paints into the device context its parent gives it.
        if (!message.WParam) return true;
        DrawControl(reinterpret_cast<HDC>(message.WParam), RECT{0, 0, control_->GetWidth(), control_->GetHeight()});
        message.Result = 0;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return true;  // the speed button first; the pressed look follows after it
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ReadEnumProperty(control_, L"Enabled") == L"True") {
            mouseState_ |= msPressed;
            Repaint();
        }
        break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
        mouseState_ &= ~msPressed;
        Repaint();
        break;
    case CM_MOUSEENTER:
        mouseState_ |= msHot;
        Repaint();
        break;
    case CM_MOUSELEAVE:
        mouseState_ &= ~msHot;
        Repaint();
        break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinSpeedButton::DrawControl(HDC dc, const RECT& rect) {
    if (painting_ || !control_) return;
    painting_ = true;
    TScopeExit done([this] { painting_ = false; });
    const TSkinModel* skin = Skin();
    if (!skin || skin->Buttons.Bitmap.GetEmpty()) return;
    const bool down = LowerAscii(ReadEnumProperty(control_, L"Down")) == L"true";
    enabled_ = LowerAscii(ReadEnumProperty(control_, L"Enabled")) == L"true";
    const bool flat = LowerAscii(ReadEnumProperty(control_, L"Flat")) == L"true";
    focused_ = false;
    caption_ = ReadTextProperty(control_, L"Caption");
    const TSpeedButtonLook look = SpeedButtonLook(down, enabled_, mouseState_, flat);
    if (look.DrawFace) DrawSkinElement(dc, rect, look.State, &const_cast<TSkinModel*>(skin)->Buttons);
    HFONT font = nullptr;
    const COLORREF colour = CaptionColour(look.State, font);
    TSavedDC saved(dc);
    DrawGlyphAndCaption(dc, rect, look.GlyphFrame, colour, font);
}

}  // namespace vx
