#include "framework/Buttons.h"

#include <algorithm>

#include "framework/Forms.h"

namespace vx {

void DrawButtonGlyphAndText(HDC dc, const RECT& client, TBitmap* glyph, int numGlyphs, int frame,
                            const std::wstring& caption, TButtonLayout layout, int margin, int spacing, bool enabled,
                            TColor textColor, bool rightToLeft) {
    numGlyphs = std::clamp(numGlyphs, 1, 4);
    SIZE g{0, 0};
    if (glyph && !glyph->GetEmpty()) g = SIZE{glyph->GetWidth() / numGlyphs, glyph->GetHeight()};
    RECT textRect{0, 0, client.right - client.left, 0};
    unsigned textFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (rightToLeft ? DT_RTLREADING : 0u);
    SIZE t{0, 0};
    if (!caption.empty()) {
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_CALCRECT | DT_SINGLELINE);
        t = SIZE{textRect.right - textRect.left, textRect.bottom - textRect.top};
    }
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (g.cx == 0 || t.cx == 0) spacing = 0;
    int total = horizontal ? g.cx + spacing + t.cx : g.cy + spacing + t.cy;
    int available = horizontal ? cw : ch;
    int start = margin < 0 ? (available - total) / 2 : margin;
    POINT gp{}, tp{};
    if (horizontal) {
        gp.y = (ch - g.cy) / 2;
        tp.y = (ch - t.cy) / 2;
        if (layout == blGlyphLeft) {
            gp.x = start;
            tp.x = start + g.cx + spacing;
        } else {
            gp.x = cw - start - g.cx;
            tp.x = gp.x - spacing - t.cx;
        }
    } else {
        gp.x = (cw - g.cx) / 2;
        tp.x = (cw - t.cx) / 2;
        if (layout == blGlyphTop) {
            gp.y = start;
            tp.y = start + g.cy + spacing;
        } else {
            gp.y = ch - start - g.cy;
            tp.y = gp.y - spacing - t.cy;
        }
    }
    if (g.cx > 0) {
        int index = std::min(frame, numGlyphs - 1);
        HDC src = glyph->GetCanvas()->GetHandle();
        COLORREF key = ColorToColorRef(glyph->GetTransparentColor());
        DrawTransparentBitmap(dc, client.left + gp.x, client.top + gp.y, g.cx, g.cy, src, index * g.cx, 0, key);
    }
    if (t.cx > 0) {
        RECT tr{client.left + tp.x, client.top + tp.y, client.left + tp.x + t.cx, client.top + tp.y + t.cy};
        DrawCaptionText(dc, caption, tr, textFlags, enabled, textColor);
    }
}

// --- TButtonGlyph ---------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {
    glyph_->OnChange = [this](TObject*) { Changed(); };
}

TButtonGlyph::~TButtonGlyph() { glyph_->OnChange = nullptr; }

void TButtonGlyph::Changed() {
    if (OnChange) OnChange();
}

void TButtonGlyph::SetGlyph(TBitmap* glyph) {
    if (glyph) glyph_->Assign(*glyph);
    else glyph_->SetSize(0, 0);
    if (glyph && glyph->GetWidth() > 0 && glyph->GetHeight() > 0 && glyph->GetWidth() % glyph->GetHeight() == 0)
        numGlyphs_ = std::clamp(glyph->GetWidth() / glyph->GetHeight(), 1, 4);
    Changed();
}
void TButtonGlyph::SetNumGlyphs(int v) {
    numGlyphs_ = std::clamp(v, 1, 4);
    Changed();
}
void TButtonGlyph::SetLayout(TButtonLayout v) {
    layout_ = v;
    Changed();
}
void TButtonGlyph::SetMargin(int v) {
    margin_ = std::max(-1, v);
    Changed();
}
void TButtonGlyph::SetSpacing(int v) {
    spacing_ = v;
    Changed();
}

void TButtonGlyph::Draw(HDC dc, const RECT& client, int frame, const std::wstring& caption, bool enabled,
                        TColor textColor, bool rightToLeft) const {
    if (frame >= numGlyphs_) frame = 0;
    DrawButtonGlyphAndText(dc, client, glyph_->GetEmpty() ? nullptr : glyph_.get(), numGlyphs_, frame, caption,
                           layout_, margin_, spacing_, enabled, textColor, rightToLeft);
}

namespace {
const std::initializer_list<const wchar_t*> kLayoutNames = {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop",
                                                            L"blGlyphBottom"};
}

// --- TSpeedButton ----------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TSpeedButton, TGraphicControl)

void TSpeedButton::RegisterProperties(TPropertyRegistrar<TSpeedButton>& r) {
    r.Boolean(L"Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat)
        .Boolean(L"Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown)
        .Integer(L"GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex)
        .Boolean(L"AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Object(L"Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph)
        .Integer(L"NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs)
        .Enumeration(L"Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout, kLayoutNames)
        .Integer(L"Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin)
        .Integer(L"Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing)
        .Boolean(L"Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
    SetParentColor(true);
    glyph_.OnChange = [this] { Invalidate(); };
}

void TSpeedButton::SetFlat(bool v) {
    flat_ = v;
    Invalidate();
}
void TSpeedButton::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TSpeedButton::SetDown(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == down_) return;
    if (down_ && !value && !allowAllUp_) return;
    down_ = value;
    if (value && GetParent()) {
        for (int i = 0; i < GetParent()->ControlCount(); ++i) {
            TControl* c = GetParent()->Controls(i);
            if (c != this && c->InheritsFrom(TSpeedButton::StaticClass())) {
                auto* other = static_cast<TSpeedButton*>(c);
                if (other->groupIndex_ == groupIndex_ && other->down_) {
                    other->down_ = false;
                    other->Invalidate();
                }
            }
        }
    }
    Invalidate();
}

TButtonState TSpeedButton::State() const {
    if (!GetEnabled()) return bsDisabled;
    if (down_) return bsExclusive;
    if (pressed_ && mouseIn_) return bsDown;
    return bsUp;
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && GetEnabled()) {
        pressed_ = true;
        dragging_ = true;
        mouseIn_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    if (dragging_) {
        bool inside = x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
        if (inside != mouseIn_) {
            mouseIn_ = inside;
            Invalidate();
        }
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && dragging_) {
        dragging_ = false;
        pressed_ = false;
        bool inside = x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
        if (inside && groupIndex_ != 0) {
            if (!down_) SetDown(true);
            else if (allowAllUp_) SetDown(false);
        }
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
        mouseIn_ = true;
        if (flat_) Invalidate();
        break;
    case CM_MOUSELEAVE:
        if (!dragging_) mouseIn_ = false;
        if (flat_) Invalidate();
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED: Invalidate(); break;
    case WM_CANCELMODE:
        pressed_ = dragging_ = false;
        Invalidate();
        break;
    default: break;
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
    TCanvas* c = GetCanvas();
    HDC dc = c->GetHandle();
    RECT r = GetClientRect();
    TButtonState state = State();
    if (!transparent_ || !flat_) {
        c->GetBrush()->SetColor(state == bsExclusive && !flat_ ? clBtnHighlight : GetColor());
        c->FillRect(r);
        dc = c->GetHandle();
    }
    if (!flat_) {
        UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (state == bsDown || state == bsExclusive) flags |= DFCS_PUSHED;
        RECT frame = r;
        // Frame only: the face was filled above.
        ::DrawEdge(dc, &frame, (state == bsDown || state == bsExclusive) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        (void)flags;
    } else if (state == bsDown || state == bsExclusive || (mouseIn_ && GetEnabled())) {
        RECT frame = r;
        ::DrawEdge(dc, &frame, (state == bsDown || state == bsExclusive) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    RECT content = r;
    if (state == bsDown || state == bsExclusive) ::OffsetRect(&content, 1, 1);
    int frameIndex = state == bsDisabled ? 1 : state == bsDown ? 2 : state == bsExclusive ? 3 : 0;
    glyph_.Draw(dc, content, frameIndex, GetCaption(), GetEnabled(), GetFont()->GetColor(), UseRightToLeftReading());
}

// --- TBitBtn --------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TBitBtn, TButton)

void TBitBtn::RegisterProperties(TPropertyRegistrar<TBitBtn>& r) {
    r.Object(L"Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph)
        .Integer(L"NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs)
        .Enumeration(L"Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout, kLayoutNames)
        .Integer(L"Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin)
        .Integer(L"Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing)
        .Enumeration(L"Kind", &TBitBtn::GetKind, &TBitBtn::SetKind,
                     {L"bkCustom", L"bkOK", L"bkCancel", L"bkHelp", L"bkYes", L"bkNo", L"bkClose", L"bkAbort",
                      L"bkRetry", L"bkIgnore", L"bkAll"});
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
    glyph_.OnChange = [this] { Invalidate(); };
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style &= ~(BS_PUSHBUTTON | BS_DEFPUSHBUTTON);
    p.Style |= BS_OWNERDRAW;
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    struct KindInfo {
        const wchar_t* caption;
        TModalResult result;
    };
    static const KindInfo infos[] = {{L"", mrNone},      {L"OK", mrOk},         {L"Cancel", mrCancel},
                                     {L"&Help", mrNone}, {L"&Yes", mrYes},      {L"&No", mrNo},
                                     {L"&Close", mrNone}, {L"Abort", mrAbort},  {L"&Retry", mrRetry},
                                     {L"&Ignore", mrIgnore}, {L"&All", mrAll}};
    if (kind == bkCustom) return;
    SetCaption(infos[kind].caption);
    SetModalResult(infos[kind].result);
    if (kind == bkOK || kind == bkYes) SetDefault(true);
    if (kind == bkCancel || kind == bkNo) SetCancel(true);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& dis) {
    HDC dc = dis.hDC;
    RECT r = dis.rcItem;
    const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
    const bool focused = (dis.itemState & ODS_FOCUS) != 0;
    const bool isDefault = focused || GetDefault();
    {
        TBrushHandle face(::CreateSolidBrush(ColorToColorRef(GetColor())));
        ::FillRect(dc, &r, face.Get());
    }
    if (isDefault) {
        ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(&r, -1, -1);
    }
    ::DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT content = r;
    ::InflateRect(&content, -2, -2);
    if (pressed) ::OffsetRect(&content, 1, 1);
    {
        TSelectObject font(dc, GetFont()->GetHandle());
        int frameIndex = !GetEnabled() ? 1 : pressed ? 2 : 0;
        glyph_.Draw(dc, content, frameIndex, GetCaption(), GetEnabled(), GetFont()->GetColor(),
                    UseRightToLeftReading());
    }
    if (focused) {
        RECT fr = r;
        ::InflateRect(&fr, -3, -3);
        ::DrawFocusRect(dc, &fr);
    }
}

void TBitBtn::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
        m.Result = 1;
        return;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports a second click as a double-click; keep it a click.
        m.Msg = WM_LBUTTONDOWN;
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED: Invalidate(); break;
    default: break;
    }
    TButton::WndProc(m);
}

}  // namespace vx
