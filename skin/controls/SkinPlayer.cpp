#include "skin/controls/SkinPlayer.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/Object.h"
#include "skin/controls/Offscreen.h"
#include "skin/controls/PaintRules.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TWMediaPlayer, TCustomPanel)
VX_IMPLEMENT_CLASS(TSkinMP, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

// The colour of a coloured button's shape.
COLORREF ShapeColour(int button) {
    switch (button) {
    case pbPlay: return RGB(0, 128, 0);
    case pbPause: return RGB(160, 128, 0);
    case pbStop:
    case pbRecord: return RGB(192, 0, 0);
    default: return RGB(0, 0, 160);
    }
}

// A filled triangle pointing right (dir 1), left (-1) or up (0) in the box x, y, w, h.
void Triangle(HDC dc, int x, int y, int w, int h, int dir) {
    POINT p[3];
    if (dir == 0) {
        p[0] = {x, y + h};
        p[1] = {x + w, y + h};
        p[2] = {x + w / 2, y};
    } else if (dir > 0) {
        p[0] = {x, y};
        p[1] = {x, y + h};
        p[2] = {x + w, y + h / 2};
    } else {
        p[0] = {x + w, y};
        p[1] = {x + w, y + h};
        p[2] = {x, y + h / 2};
    }
    ::Polygon(dc, p, 3);
}

void Bar(HDC dc, int x, int y, int w, int h) { ::Rectangle(dc, x, y, x + w, y + h); }

}  // namespace

// ---- The companion ---------------------------------------------------------------------

TWMediaPlayer::TWMediaPlayer(TSkinMP* owner, TWinControl* player) : TCustomPanel(owner), skin_(owner) {
    opaque_ = true;
    SetBevelOuter(bvNone);
    SetTabStop(false);
    SetParent(player);
}

void TWMediaPlayer::Paint() {
    const RECT r = GetClientRect();
    HDC dc = GetCanvas()->GetHandle();
    if (skin_->SkinActive()) {
        skin_->DrawControl(dc, r);
        return;
    }
    // Skinning switched off: the player's own picture, painted into this panel.
    if (TWinControl* player = GetParent(); player && player->HandleAllocated())
        ::SendMessageW(player->GetHandle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void TWMediaPlayer::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST:
        // The player beneath takes the mouse: its presses stay its own.
        message.Result = HTTRANSPARENT;
        return;
    case WM_ERASEBKGND:
        message.Result = 1;  // Paint covers every pixel
        return;
    default:
        TCustomPanel::WndProc(message);
    }
}

// ---- The player ------------------------------------------------------------------------

bool TSkinMP::Paints() const {
    const TSkinModel* skin = Skin();
    return skin && window_ && !skin->Buttons.Bitmap.GetEmpty();
}

void TSkinMP::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                          TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    if (!first || !initialised_ || !Paints()) return;
    auto* player = dynamic_cast<TWinControl*>(control_);
    if (!player) return;
    panel_ = new TWMediaPlayer(this, player);
    companion_ = panel_;
    PlacePanel();
}

void TSkinMP::RestoreControl() {
    // Given back, the player shows its own buttons again. When its window is going
    // away the panel is left alone: it goes with this object or with the player.
    if (state_ != scsDestroyed && (!control_ || !control_->IsDestroying())) {
        delete panel_;
        panel_ = nullptr;
        companion_ = nullptr;
    }
    TSkinControl::RestoreControl();
}

void TSkinMP::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == opRemove && component == panel_) {
        // The player frees its children first when it goes.
        panel_ = nullptr;
        companion_ = nullptr;
    }
}

void TSkinMP::PlacePanel() {
    if (!panel_ || !window_) return;
    RECT client{};
    ::GetClientRect(window_, &client);
    panel_->SetBounds(0, 0, client.right, client.bottom);
}

TPlayerButtonSet TSkinMP::ButtonSet(std::wstring_view name) const {
    const TPropInfo* p = GetPropInfo(control_, name);
    if (p && p->Kind == TPropKind::Integer) return static_cast<TPlayerButtonSet>(ReadIntProperty(control_, name)) & kAllPlayerButtons;
    TPlayerButtonSet set = kAllPlayerButtons;
    if (p && p->Kind == TPropKind::Text) ParsePlayerButtonSet(ReadTextProperty(control_, name), set);
    return set;
}

std::vector<TPlayerButtonRect> TSkinMP::ButtonRects() const {
    RECT client{};
    if (window_) ::GetClientRect(window_, &client);
    return PlayerButtonRects(client.right, client.bottom, ButtonSet(L"VisibleButtons"));
}

int TSkinMP::ButtonFrame(int button) const {
    const bool playerEnabled = window_ && ::IsWindowEnabled(window_);
    const bool disabled = PlayerGlyphLook(button, ButtonSet(L"EnabledButtons"), 0, playerEnabled) ==
                          TPlayerGlyphLook::Disabled;
    unsigned mouse = 0;
    if (button == pressed_) mouse |= msPressed;
    if (button == hot_) mouse |= msHot;
    return ButtonState(mouse, false, false, disabled);
}

void TSkinMP::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
        PlacePanel();
        TSkinControl::AfterMessage(message);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int button = PlayerButtonAt(ButtonRects(), GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        // A disabled button shows no press.
        pressed_ = button >= 0 && ButtonFrame(button) != sbDisabled ? button : -1;
        Repaint();
        break;
    }
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (pressed_ != -1) {
            pressed_ = -1;
            Repaint();
        }
        TSkinControl::AfterMessage(message);
        break;
    case WM_MOUSEMOVE: {
        const int button = PlayerButtonAt(ButtonRects(), GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        if (button != hot_) {
            hot_ = button;
            Repaint();
        }
        TrackMouseLeave();
        break;
    }
    case WM_MOUSELEAVE:
        if (hot_ != -1) {
            hot_ = -1;
            Repaint();
        }
        break;
    case WM_PAINT:
        // The panel covers the player: nothing of the player's own picture shows.
        if (!panel_) TSkinControl::AfterMessage(message);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinMP::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    const bool playerEnabled = ::IsWindowEnabled(window_) != FALSE;
    const TPlayerButtonSet enabled = ButtonSet(L"EnabledButtons"), coloured = ButtonSet(L"ColoredButtons");
    const std::vector<TPlayerButtonRect> rects = ButtonRects();
    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillParentColour(mem, all);
        for (const TPlayerButtonRect& b : rects) {
            const RECT r = ToRect(b.Rect);
            DrawSkinElement(mem, r, ButtonFrame(b.Button), &skinData_->Model->Buttons);
            DrawGlyph(mem, r, b.Button, PlayerGlyphLook(b.Button, enabled, coloured, playerEnabled));
        }
    });
}

void TSkinMP::DrawGlyph(HDC dc, const RECT& r, int button, TPlayerGlyphLook look) {
    const std::wstring name = PlayerGlyphResourceName(button, look);
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    if (::FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */)) {
        TBitmap picture;
        picture.LoadFromResourceName(module, name);
        if (!picture.GetEmpty()) {
            // Centred at its own size; its bottom-left pixel is the see-through colour.
            const int w = picture.GetWidth(), h = picture.GetHeight();
            const int x = (r.left + r.right - w) / 2, y = (r.top + r.bottom - h) / 2;
            const TColour key = ColorToColorRef(picture.GetCanvas()->GetPixel(0, h - 1));
            TransparentBlit(dc, RECT{x, y, x + w, y + h}, picture, key);
            return;
        }
    }
    const TSkinModel* skin = skinData_->Model;
    const COLORREF colour = look == TPlayerGlyphLook::Disabled ? ResolveColour(skin->ButtonShadowColour)
                          : look == TPlayerGlyphLook::Coloured ? ShapeColour(button)
                                                               : ResolveColour(skin->Buttons.NormalColour2);
    // The shapes fill a square a little under half the button's smaller side.
    const int s = std::max<int>(4, std::min<int>(r.right - r.left, r.bottom - r.top) / 2 - 1);
    const int x = (r.left + r.right - s) / 2, y = (r.top + r.bottom - s) / 2;
    TBrushHandle brush(::CreateSolidBrush(colour));
    TPenHandle pen(::CreatePen(PS_SOLID, 1, colour));
    TSelectObject selectBrush(dc, brush.Get());
    TSelectObject selectPen(dc, pen.Get());
    const int bar = std::max(2, s / 4);
    switch (button) {
    case pbPlay: Triangle(dc, x, y, s, s, 1); break;
    case pbPause:
        Bar(dc, x + s / 6, y, bar, s);
        Bar(dc, x + s - s / 6 - bar, y, bar, s);
        break;
    case pbStop: Bar(dc, x, y, s, s); break;
    case pbNext:
        Triangle(dc, x, y, s - bar, s, 1);
        Bar(dc, x + s - bar, y, bar, s);
        break;
    case pbPrev:
        Bar(dc, x, y, bar, s);
        Triangle(dc, x + bar, y, s - bar, s, -1);
        break;
    case pbStep:
        Triangle(dc, x, y, s / 2, s, 1);
        Triangle(dc, x + s / 2, y, s / 2, s, 1);
        break;
    case pbBack:
        Triangle(dc, x, y, s / 2, s, -1);
        Triangle(dc, x + s / 2, y, s / 2, s, -1);
        break;
    case pbRecord: ::Ellipse(dc, x, y, x + s, y + s); break;
    case pbEject:
        Triangle(dc, x, y, s, s - bar - 1, 0);
        Bar(dc, x, y + s - bar, s, bar);
        break;
    default: break;
    }
}

}  // namespace vx
