#include "widgets/GradientProgressBar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace vx {

namespace {

struct TSchemeColors {
    TColor border, backFace, backGrad, foreFace, foreGrad;
};

// The five colours of each named scheme, in scheme order from csFluorescent.
constexpr TSchemeColors kSchemes[] = {
    {0x000000, 0x454545, 0x575757, 0x00FFFF, 0x00FB32},  // csFluorescent
    {0x005680, 0xC6ECFF, 0xFFFFFF, 0x9BDEFF, 0x007BB7},  // csDesert
    {0x156F37, 0xCBF5DC, 0xFFFFFF, 0xC9F5DB, 0x28C162},  // csGrass
    {0x6B6B6B, 0xE0E0E0, 0xFFFFFF, 0xF0F0F0, 0xADADAD},  // csSilver
    {0xB35900, 0xFFEAD5, 0xFFFFFF, 0xFFEEDD, 0xFFAE5E},  // csSky
    {0x00009D, 0xD7D7FF, 0xFFFFFF, 0xE8E8FF, 0x8080FF},  // csRose
    {0x006464, 0xCEFFFF, 0xFFFFFF, 0xDFFFFF, 0x05BCDC},  // csSun
    {0x000000, 0x005500, 0x008000, 0x91ECAE, 0x00AA00},  // csHackers
    {0x000000, 0x804000, 0xA85400, 0xFFCB97, 0xEC7600},  // csNight
    {0x000000, 0x000059, 0x46468C, 0x9F9FF2, 0x4848BB},  // csVelvet
    {0x000000, 0x464646, 0x6F6F6F, 0xCECECE, 0x737373},  // csMetal
    {0x000000, 0x800040, 0xCA0065, 0xFFB7DB, 0xFF3399},  // csViolet
    {0x000000, 0x2C5656, 0x3E7B7B, 0xBCDEDE, 0x468E8E},  // csToxic
};

// Round to nearest with halves to even (12.5 gives 12, 13.5 gives 14).
long RoundHalfEven(double value) { return std::lround(std::nearbyint(value)); }

// The size of the enlarged text in DrawSmoothText, and the pen that outlines it.
constexpr int kScale = 8;

}  // namespace

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TGradientProgressBar, TGraphicControl)

void TGradientProgressBar::RegisterProperties(TPropertyRegistrar<TGradientProgressBar>& r) {
    using T = TGradientProgressBar;
    r.Integer(L"ColorBorder", &T::GetColorBorder, &T::SetColorBorder)
        .Integer(L"BackColorFace", &T::GetBackColorFace, &T::SetBackColorFace)
        .Integer(L"BackColorGrad", &T::GetBackColorGrad, &T::SetBackColorGrad)
        .Integer(L"ForeColorFace", &T::GetForeColorFace, &T::SetForeColorFace)
        .Integer(L"ForeColorGrad", &T::GetForeColorGrad, &T::SetForeColorGrad)
        .Enumeration(L"ColorScheme", &T::GetColorScheme, &T::SetColorScheme,
                     {L"csCustom", L"csFluorescent", L"csDesert", L"csGrass", L"csSilver", L"csSky", L"csRose",
                      L"csSun", L"csHackers", L"csNight", L"csVelvet", L"csMetal", L"csViolet", L"csToxic"})
        .Integer(L"Position", &T::GetPosition, &T::SetPosition)
        .Integer(L"Step", &T::GetStep, &T::SetStep)
        .Enumeration(L"Orientation", &T::GetOrientation, &T::SetOrientation, {L"pbHorizontal", L"pbVertical"});
}

TGradientProgressBar::TGradientProgressBar(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(GetLeft(), GetTop(), 40, 13);
    SetColorScheme(csFluorescent);
}

void TGradientProgressBar::SetIndexedColor(int index, TColor color) {
    switch (index) {
        case ciBorder: colorBorder_ = color; break;
        case ciBackFace: backColorFace_ = color; break;
        case ciBackGrad: backColorGrad_ = color; break;
        case ciForeFace: foreColorFace_ = color; break;
        case ciForeGrad: foreColorGrad_ = color; break;
        default: break;
    }
    colorScheme_ = csCustom;
    Invalidate();
}

void TGradientProgressBar::SetColorScheme(TColorScheme scheme) {
    colorScheme_ = scheme;
    if (scheme != csCustom && scheme <= csToxic) {
        const TSchemeColors& c = kSchemes[scheme - csFluorescent];
        colorBorder_ = c.border;
        backColorFace_ = c.backFace;
        backColorGrad_ = c.backGrad;
        foreColorFace_ = c.foreFace;
        foreColorGrad_ = c.foreGrad;
    }
    Invalidate();
}

void TGradientProgressBar::SetPosition(int position) {
    if (position == position_ || position < 0 || position > 100) return;
    position_ = position;
    PaintNow();
}

void TGradientProgressBar::SetStep(int step) {
    step_ = step;
    PaintNow();
}

void TGradientProgressBar::SetOrientation(TProgressBarOrientation orientation) {
    orientation_ = orientation;
    Invalidate();
}

void TGradientProgressBar::Render(TBitmap& target) {
    const RECT client = GetClientRect();
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    target.SetPixelFormat(pf24bit);
    target.SetSize(w, h);
    if (w <= 0 || h <= 0) return;
    TCanvas& canvas = *target.GetCanvas();

    FillGradient(canvas, 0, 0, w, h, backColorFace_, backColorGrad_, gkDiagonal);
    if (orientation_ == pbHorizontal) {
        const int fill = static_cast<int>(RoundHalfEven((w - 1) * static_cast<double>(position_) / 100.0));
        FillGradient(canvas, 0, 0, fill, h, foreColorFace_, foreColorGrad_, gkColumns);
    } else {
        const int fill = static_cast<int>(RoundHalfEven(h * static_cast<double>(position_) / 100.0));
        FillGradient(canvas, 0, h - fill, w, h, foreColorGrad_, foreColorFace_, gkRows);
    }
    if (position_ != 0) {
        DrawSmoothText(canvas, w, h, std::to_wstring(position_) + L" %", true, true, 7, true, clWhite, clBlack);
    }
    canvas.GetPen()->SetColor(colorBorder_);
    canvas.GetPen()->SetWidth(1);
    canvas.GetBrush()->SetStyle(bsClear);
    canvas.Rectangle(0, 0, w, h);
}

void TGradientProgressBar::Paint() {
    if (!GetVisible()) return;
    TBitmap picture;
    Render(picture);
    GetCanvas()->Draw(0, 0, &picture);
}

void TGradientProgressBar::PaintNow() {
    if (ComponentState() & csDesigning) return;
    TWinControl* parent = GetParent();
    if (parent == nullptr || !parent->HandleAllocated() || !Showing()) return;
    const TWindowDC dc(parent->GetHandle());
    if (!dc) return;
    const TSavedDC saved(dc.Get());
    SetViewportOrgEx(dc.Get(), GetLeft(), GetTop(), nullptr);
    IntersectClipRect(dc.Get(), 0, 0, GetWidth(), GetHeight());
    TCanvas* canvas = GetCanvas();
    canvas->SetHandle(dc.Get());
    const TScopeExit detach([canvas] { canvas->SetHandle(nullptr); });
    try {
        Paint();
    } catch (...) {
        // Progress display never interrupts the work it shows.
    }
}

void FillGradient(TCanvas& canvas, int left, int top, int right, int bottom, TColor startColor,
                  TColor endColor, TGradientKind kind) {
    int steps = 0;
    switch (kind) {
        case gkColumns: steps = right - left; break;
        case gkRows: steps = bottom - top; break;
        case gkDiagonal: steps = (bottom - top) + (right - left); break;
    }
    if (steps == 0) return;
    const TColor from = ColorToRGB(startColor), to = ColorToRGB(endColor);
    double channel[3] = {double(from & 0xFF), double((from >> 8) & 0xFF), double((from >> 16) & 0xFF)};
    const double delta[3] = {(double(to & 0xFF) - channel[0]) / steps,
                             (double((to >> 8) & 0xFF) - channel[1]) / steps,
                             (double((to >> 16) & 0xFF) - channel[2]) / steps};
    TPen* pen = canvas.GetPen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    for (int i = 0; i <= steps; ++i) {
        const auto byte = [&](int c) { return static_cast<TColor>(static_cast<std::uint8_t>(RoundHalfEven(channel[c]))); };
        pen->SetColor(byte(0) | (byte(1) << 8) | (byte(2) << 16));
        switch (kind) {
            // The line geometry counts x from 0 and runs to Top + Bottom (and to
            // Left + Right for rows); with Left = 0 and Top = 0, as the bar uses it,
            // these are the rectangle's own edges.
            case gkColumns:
                canvas.MoveTo(i, top);
                canvas.LineTo(i, top + bottom);
                break;
            case gkRows:
                canvas.MoveTo(left, top + i);
                canvas.LineTo(left + right, top + i);
                break;
            case gkDiagonal:
                canvas.MoveTo(i, top);
                canvas.LineTo(left, i);
                break;
        }
        for (int c = 0; c < 3; ++c) channel[c] += delta[c];
    }
}

void DrawSmoothText(TCanvas& target, int x, int y, const std::wstring& text, bool center, bool outline,
                    int size, bool bold, TColor textColor, TColor outlineColor) {
    const int penWidth = static_cast<int>(size * kScale * 0.5);
    auto big = std::make_unique<TBitmap>();
    auto small = std::make_unique<TBitmap>();

    const TFontStyles targetStyle = target.GetFont()->GetStyle();
    const TFontStyles style = bold ? (targetStyle | fsBold) : (targetStyle & ~TFontStyles(fsBold));
    TCanvas& bigCanvas = *big->GetCanvas();
    bigCanvas.GetFont()->SetStyle(style);
    bigCanvas.GetFont()->SetSize(size * kScale);

    const SIZE extent = bigCanvas.TextExtent(text);
    const int cols = (extent.cx + 2 * penWidth) / kScale;
    const int textHeight = extent.cy;
    const int rows = textHeight / kScale;
    if (center) {
        x = static_cast<int>(RoundHalfEven(x / 2.0 - cols / 2.0));
        y = static_cast<int>(RoundHalfEven(y / 2.0 - textHeight / 16.0));
    }
    if (cols <= 0 || rows <= 0) return;

    big->SetPixelFormat(pf24bit);
    big->SetSize(cols * kScale, rows * kScale);
    small->SetPixelFormat(pf24bit);
    small->SetSize(cols, rows);

    // The big bitmap starts as the background under the text, enlarged.
    const RECT area{x, y, x + cols, y + rows};
    const RECT smallRect{0, 0, cols, rows};
    const RECT bigRect{0, 0, cols * kScale, rows * kScale};
    small->GetCanvas()->CopyRect(smallRect, &target, area);
    bigCanvas.CopyRect(bigRect, small->GetCanvas(), smallRect);

    bigCanvas.GetFont()->SetName(target.GetFont()->GetName());
    bigCanvas.GetFont()->SetSize(size * kScale);
    bigCanvas.GetFont()->SetStyle(style);
    if (outline) {
        const int textTop = -(textHeight / 22);
        bigCanvas.GetPen()->SetWidth(penWidth);
        bigCanvas.GetBrush()->SetStyle(bsClear);
        bigCanvas.BeginPath();
        bigCanvas.TextOut(penWidth, textTop, text);
        bigCanvas.EndPath();
        bigCanvas.GetPen()->SetColor(outlineColor);
        bigCanvas.GetBrush()->SetColor(outlineColor);  // a solid brush again
        bigCanvas.StrokeAndFillPath();
        bigCanvas.GetBrush()->SetStyle(bsClear);
        bigCanvas.GetFont()->SetColor(textColor);
        bigCanvas.TextOut(penWidth, textTop, text);
    } else {
        bigCanvas.GetBrush()->SetStyle(bsClear);
        bigCanvas.GetFont()->SetColor(textColor);
        bigCanvas.TextOut(penWidth, 0, text);
    }

    ShrinkBoxFilter(*big, *small, 0, 0, cols, rows);
    target.CopyRect(area, small->GetCanvas(), smallRect);
}

void ShrinkBoxFilter(TBitmap& source, TBitmap& dest, int dx, int dy, int dw, int dh) {
    const int sw = source.GetWidth(), sh = source.GetHeight();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    // Quarter-pixel steps with eight fraction bits.
    const long long sw4 = static_cast<long long>(sw) * 4, sh4 = static_cast<long long>(sh) * 4;
    const long long stepX = (sw4 * 256) / dw, stepY = (sh4 * 256) / dh;
    const int boxW = static_cast<int>(RoundHalfEven(static_cast<double>(sw4) / dw));
    const int boxH = static_cast<int>(RoundHalfEven(static_cast<double>(sh4) / dh));
    const long long area = static_cast<long long>(boxW) * boxH;
    if (area <= 0) return;
    // Sample positions past the source's last row or column (possible with uneven
    // ratios) read the last one instead of memory beyond the bitmap.
    const auto clampRow = [&](long long r) { return static_cast<int>(std::min<long long>(r, sh - 1)); };
    const auto clampCol = [&](long long c) { return static_cast<int>(std::min<long long>(c, sw - 1)); };
    for (int j = 0; j < dh; ++j) {
        const int destRow = dy + j;
        if (destRow < 0 || destRow >= dest.GetHeight()) continue;
        auto* out = static_cast<std::uint8_t*>(dest.ScanLine(destRow));
        const long long y0 = (j * stepY) >> 8;
        for (int i = 0; i < dw; ++i) {
            const int destCol = dx + i;
            if (destCol < 0 || destCol >= dest.GetWidth()) continue;
            const long long x0 = (i * stepX) >> 8;
            long long sum[3] = {0, 0, 0};
            for (int sy = 0; sy < boxH; ++sy) {
                const auto* row = static_cast<const std::uint8_t*>(source.ScanLine(clampRow((y0 + sy) >> 2)));
                for (int sx = 0; sx < boxW; ++sx) {
                    const std::uint8_t* p = row + clampCol((x0 + sx) >> 2) * 3;
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
            std::uint8_t* q = out + destCol * 3;
            q[0] = static_cast<std::uint8_t>(sum[0] / area);
            q[1] = static_cast<std::uint8_t>(sum[1] / area);
            q[2] = static_cast<std::uint8_t>(sum[2] / area);
        }
    }
}

}  // namespace vx
