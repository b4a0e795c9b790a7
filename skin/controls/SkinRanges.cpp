#include "skin/controls/SkinRanges.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "framework/Handles.h"
#include "skin/controls/Offscreen.h"
#include "skin/controls/RangeRules.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinProgress, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinTrackBar, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinUpDown, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
TLayoutRect ToLayout(const RECT& r) { return TLayoutRect{r.left, r.top, r.right, r.bottom}; }

template <class T>
bool Ready(const std::unique_ptr<T>& element) {
    return element && !element->Bitmap.GetEmpty();
}

int CellWidth(const TDataSkinObject& e) { return e.Bitmap.GetWidth() / std::max(1, e.FrameCount); }

// A small filled triangle pointing up, down, left or right, centred in `r`.
void DrawArrowGlyph(HDC dc, const RECT& r, int direction, COLORREF colour) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    POINT p[3];
    switch (direction) {
    case 0: p[0] = {cx - 3, cy + 1}; p[1] = {cx + 3, cy + 1}; p[2] = {cx, cy - 2}; break;   // up
    case 1: p[0] = {cx - 3, cy - 1}; p[1] = {cx + 3, cy - 1}; p[2] = {cx, cy + 2}; break;   // down
    case 2: p[0] = {cx + 1, cy - 3}; p[1] = {cx + 1, cy + 3}; p[2] = {cx - 2, cy}; break;   // left
    default: p[0] = {cx - 1, cy - 3}; p[1] = {cx - 1, cy + 3}; p[2] = {cx + 2, cy}; break;  // right
    }
    TBrushHandle brush(::CreateSolidBrush(colour));
    TPenHandle pen(::CreatePen(PS_SOLID, 1, colour));
    TSelectObject selectBrush(dc, brush.Get());
    TSelectObject selectPen(dc, pen.Get());
    ::Polygon(dc, p, 3);
}

}  // namespace

// ---- Progress bars -------------------------------------------------------------------

bool TSkinProgress::Paints() const {
    const TSkinModel* skin = Skin();
    if (!skin || !Ready(skin->Progress) || !window_) return false;
    const bool smooth = (WindowLong(window_, GWL_STYLE) & PBS_SMOOTH) != 0;
    return ProgressFillLook(smooth, skin->Progress->FrameCount, Ready(skin->ProgressChunk)) != TProgressLook::None;
}

bool TSkinProgress::BeforeMessage(TMessage& message) {
    if (AnswerOwnPaint(message, Paints())) return false;
    return TSkinControl::BeforeMessage(message);
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    TSkinModel* skin = skinData_->Model;
    TDataSkinBorder* progress = skin->Progress.get();
    const LONG_PTR style = WindowLong(window_, GWL_STYLE);
    const bool vertical = (style & PBS_VERTICAL) != 0;
    const bool smooth = (style & PBS_SMOOTH) != 0;
    enabled_ = !(style & WS_DISABLED);
    const int lo = static_cast<int>(::SendMessageW(window_, PBM_GETRANGE, TRUE, 0));
    const int hi = static_cast<int>(::SendMessageW(window_, PBM_GETRANGE, FALSE, 0));
    const int pos = static_cast<int>(::SendMessageW(window_, PBM_GETPOS, 0, 0));
    const TProgressLook look = ProgressFillLook(smooth, progress->FrameCount, Ready(skin->ProgressChunk));

    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillFace(mem, all);
        DrawSkinElement(mem, all, 1, progress);
        const TLayoutRect client = ToLayout(all);
        if (look == TProgressLook::Bar) {
            // The filled bar is a whole bar picture of its own, cut at the fill.
            const int fill = ProgressFillLength(vertical ? client.Height() : client.Width(), lo, hi, pos);
            if (fill > 0) DrawSkinElement(mem, ToRect(ProgressFillRect(client, vertical, fill)), 2, progress);
            return;
        }
        const TLayoutRect inside = ProgressInterior(client, vertical, progress->LeftWidth, progress->TopHeight,
                                                    progress->RightWidth, progress->BottomHeight);
        const int fill = ProgressFillLength(vertical ? inside.Height() : inside.Width(), lo, hi, pos);
        TDataSkinObject* chunk = skin->ProgressChunk.get();
        for (const TLayoutRect& c : ProgressChunks(inside, vertical, fill, CellWidth(*chunk)))
            DrawSkinElement(mem, ToRect(c), 1, chunk);
    });
}

// ---- Track bars ----------------------------------------------------------------------

namespace {

struct TTrackGeometry {
    bool Vertical = false;
    int Min = 0, Max = 0, Position = 0;
    TTravel Travel;
    int Across = 0;
    TLayoutRect Channel;  // as drawn
    TLayoutRect Thumb;    // as drawn
};

TTrackGeometry TrackGeometry(HWND window, bool vertical, const TDataSkinObject& track,
                             const TDataSkinObject* thumb) {
    TTrackGeometry g;
    g.Vertical = vertical;
    g.Min = static_cast<int>(::SendMessageW(window, TBM_GETRANGEMIN, 0, 0));
    g.Max = static_cast<int>(::SendMessageW(window, TBM_GETRANGEMAX, 0, 0));
    g.Position = static_cast<int>(::SendMessageW(window, TBM_GETPOS, 0, 0));
    RECT channel{}, native{};
    ::SendMessageW(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    ::SendMessageW(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&native));
    if (vertical && channel.right - channel.left > channel.bottom - channel.top) {
        // Some versions of the control give a vertical bar's channel as if it lay
        // horizontally.
        channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    }
    const int start = vertical ? channel.top : channel.left;
    const int end = vertical ? channel.bottom : channel.right;
    const int nativeLength = vertical ? native.bottom - native.top : native.right - native.left;
    g.Travel = TrackThumbTravel(start, end, nativeLength);
    g.Across = vertical ? (native.left + native.right) / 2 : (native.top + native.bottom) / 2;
    const int centre = TrackThumbCentre(g.Travel.First, g.Travel.Last, g.Min, g.Max, g.Position);
    const int thickness = vertical ? CellWidth(track) : track.Bitmap.GetHeight();
    g.Channel = TrackChannelRect(vertical, start, end, g.Across, thickness);
    if (thumb) g.Thumb = TrackThumbRect(vertical, centre, g.Across, CellWidth(*thumb), thumb->Bitmap.GetHeight());
    return g;
}

}  // namespace

bool TSkinTrackBar::Vertical() const { return (WindowLong(window_, GWL_STYLE) & TBS_VERT) != 0; }

bool TSkinTrackBar::Paints() const {
    const TSkinModel* skin = Skin();
    if (!skin || !window_) return false;
    const bool vertical = Vertical();
    const bool noThumb = (WindowLong(window_, GWL_STYLE) & TBS_NOTHUMB) != 0;
    return Ready(vertical ? skin->TrackVert : skin->Track) &&
           (noThumb || Ready(vertical ? skin->TrackbarThumbVert : skin->TrackbarThumbHorz));
}

RECT TSkinTrackBar::ThumbRect() const {
    if (!Paints()) return RECT{};
    const TSkinModel* skin = Skin();
    const bool vertical = Vertical();
    if (WindowLong(window_, GWL_STYLE) & TBS_NOTHUMB) return RECT{};
    return ToRect(TrackGeometry(window_, vertical, vertical ? *skin->TrackVert : *skin->Track,
                                vertical ? skin->TrackbarThumbVert.get() : skin->TrackbarThumbHorz.get())
                      .Thumb);
}

int TSkinTrackBar::ThumbFrame() const {
    const bool disabled = (WindowLong(window_, GWL_STYLE) & WS_DISABLED) != 0;
    return TrackThumbFrame(mouseState_, ::GetFocus() == window_, disabled);
}

bool TSkinTrackBar::OverThumb(int x, int y) const {
    const RECT r = ThumbRect();
    return ::PtInRect(&r, POINT{x, y}) != FALSE;
}

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    if (AnswerOwnPaint(message, Paints())) return false;
    return TSkinControl::BeforeMessage(message);
}

void TSkinTrackBar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        const bool over = OverThumb(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        if (over != ((mouseState_ & msHot) != 0)) {
            mouseState_ ^= msHot;
            Repaint();
        }
        TrackMouseLeave();
        break;
    }
    case WM_MOUSELEAVE:
        if (mouseState_ & msHot) {
            mouseState_ &= ~msHot;
            Repaint();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The control has moved the thumb (a page) or taken hold of it; only a press
        // that lands on the thumb shows it pressed.
        if (OverThumb(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam))) mouseState_ |= msPressed;
        Repaint();
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (mouseState_ & msPressed) {
            mouseState_ &= ~msPressed;
            Repaint();
        }
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinTrackBar::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    TSkinModel* skin = skinData_->Model;
    const LONG_PTR style = WindowLong(window_, GWL_STYLE);
    const bool vertical = (style & TBS_VERT) != 0;
    const bool noThumb = (style & TBS_NOTHUMB) != 0;
    TDataSkinObject* track = vertical ? skin->TrackVert.get() : skin->Track.get();
    TDataSkinObject* thumb = noThumb ? nullptr : vertical ? skin->TrackbarThumbVert.get() : skin->TrackbarThumbHorz.get();
    enabled_ = !(style & WS_DISABLED);
    focused_ = ::GetFocus() == window_;
    const TTrackGeometry g = TrackGeometry(window_, vertical, *track, thumb);

    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillParentColour(mem, all);
        DrawSkinElement(mem, ToRect(g.Channel), 1, track);
        if (style & TBS_ENABLESELRANGE) {
            // The selection range: its stretch of the channel in the shadow colour.
            const int first = static_cast<int>(::SendMessageW(window_, TBM_GETSELSTART, 0, 0));
            const int last = static_cast<int>(::SendMessageW(window_, TBM_GETSELEND, 0, 0));
            if (last > first) {
                const TLayoutRect sel = TrackSelectionRect(
                    vertical, g.Channel, TrackThumbCentre(g.Travel.First, g.Travel.Last, g.Min, g.Max, first),
                    TrackThumbCentre(g.Travel.First, g.Travel.Last, g.Min, g.Max, last));
                FillColour(mem, ToRect(sel), skin->ButtonShadowColour);
            }
        }
        if (!(style & TBS_NOTICKS)) {
            // Ticks at the minimum, the maximum and each tick the control holds, on the
            // side (or sides) its style names, clear of the thumb.
            std::vector<int> values{g.Min, g.Max};
            const int count = static_cast<int>(::SendMessageW(window_, TBM_GETNUMTICS, 0, 0));
            for (int i = 0; i + 2 < count; ++i)
                values.push_back(static_cast<int>(::SendMessageW(window_, TBM_GETTIC, i, 0)));
            const bool both = (style & TBS_BOTH) != 0;
            const bool before = both || (style & TBS_TOP);
            const bool after = both || !(style & TBS_TOP);
            const TLayoutRect band = thumb ? g.Thumb : g.Channel;
            const TColour shadow = skin->ButtonShadowColour;
            for (int v : values) {
                const int at = TrackThumbCentre(g.Travel.First, g.Travel.Last, g.Min, g.Max, v);
                if (vertical) {
                    if (after) FillColour(mem, RECT{band.Right + 2, at, band.Right + 5, at + 1}, shadow);
                    if (before) FillColour(mem, RECT{band.Left - 5, at, band.Left - 2, at + 1}, shadow);
                } else {
                    if (after) FillColour(mem, RECT{at, band.Bottom + 2, at + 1, band.Bottom + 5}, shadow);
                    if (before) FillColour(mem, RECT{at, band.Top - 5, at + 1, band.Top - 2}, shadow);
                }
            }
        }
        if (thumb) DrawSkinElement(mem, ToRect(g.Thumb), ThumbFrame(), thumb);
    });
}

// ---- Up-down controls ----------------------------------------------------------------

bool TSkinUpDown::Horizontal() const { return (WindowLong(window_, GWL_STYLE) & UDS_HORZ) != 0; }

bool TSkinUpDown::Paints() const {
    const TSkinModel* skin = Skin();
    return skin && window_ && Ready(Horizontal() ? skin->UpDownHorz : skin->UpDownVert);
}

int TSkinUpDown::PartAt(LPARAM point) const {
    RECT r{};
    ::GetClientRect(window_, &r);
    return UpDownPartAt(r.right, r.bottom, Horizontal(), GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    if (AnswerOwnPaint(message, Paints())) return false;
    return TSkinControl::BeforeMessage(message);
}

void TSkinUpDown::AfterMessage(TMessage& message) {
    int hot = hotPart_, pressed = pressedPart_;
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        hot = PartAt(message.LParam);
        TrackMouseLeave();
        break;
    case WM_MOUSELEAVE:
        hot = 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed = PartAt(message.LParam);
        hot = pressed;
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        pressed = 0;
        break;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
    if (hot == hotPart_ && pressed == pressedPart_) return;
    hotPart_ = hot;
    pressedPart_ = pressed;
    mouseState_ = (hot ? msHot : 0u) | (pressed ? msPressed : 0u);
    Repaint();
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    TSkinModel* skin = skinData_->Model;
    const bool horizontal = Horizontal();
    TDataSkinBorder* element = horizontal ? skin->UpDownHorz.get() : skin->UpDownVert.get();
    enabled_ = !(WindowLong(window_, GWL_STYLE) & WS_DISABLED);
    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillFace(mem, all);
        const TUpDownButtons buttons = UpDownButtonRects(all.right, all.bottom, horizontal);
        for (int part = 1; part <= 2; ++part) {
            const RECT r = ToRect(part == 1 ? buttons.First : buttons.Second);
            const int frame = UpDownFrame(part, enabled_, hotPart_, pressedPart_);
            DrawSkinElement(mem, r, frame, element);
            if (!element->SecondBitmap.GetEmpty()) {
                DrawFrameCentered(mem, r, element->SecondBitmap, true, std::max(1, element->FrameCount), frame);
            } else {
                const int direction = horizontal ? (part == 1 ? 2 : 3) : (part == 1 ? 0 : 1);
                const TColour colour = enabled_ ? skin->ButtonDkShadowColour : skin->ButtonShadowColour;
                DrawArrowGlyph(mem, r, direction, ResolveColour(colour));
            }
        }
    });
}

}  // namespace vx
