#include "skin/controls/PaintRules.h"

#include <algorithm>
#include <cstdlib>

namespace vx {

TSkinButtonState ButtonState(unsigned mouseState, bool focused, bool isDefault, bool disabled) {
    if (disabled) return sbDisabled;
    if (mouseState & msPressed) return sbPressed;
    if (mouseState & msHot) return sbHot;
    if (focused || isDefault) return sbFocused;
    return sbNormal;
}

int BitButtonGlyphFrame(TSkinButtonState state) {
    if (state == sbPressed) return 3;
    if (state == sbDisabled) return 2;
    return 1;
}

int GlyphFrameToCut(int glyphFrame, int numGlyphs) { return numGlyphs < glyphFrame ? 1 : glyphFrame; }

TSpeedButtonLook SpeedButtonLook(bool down, bool enabled, unsigned mouseState, bool flat) {
    TSpeedButtonLook look;
    if (down) {
        look.State = sbPressed;
        look.GlyphFrame = 4;
    } else if (!enabled) {
        look.State = sbDisabled;
    } else if (mouseState & msPressed) {
        look.State = sbPressed;
    } else if (mouseState & msHot) {
        look.State = sbHot;
    }
    if (!down) look.GlyphFrame = BitButtonGlyphFrame(look.State);
    look.DrawFace = !flat || look.State == sbPressed || look.State == sbHot;
    return look;
}

TColour ButtonCaptionColour(TSkinButtonState state, bool enabled, const TButtonTextColours& c, TColour base) {
    TColour colour = base;
    if (state == sbNormal && c.HasNormal) colour = c.Normal;
    else if (state == sbHot && c.HasMouseOver) colour = c.MouseOver;
    else if (state == sbPressed && c.HasPressed) colour = c.Pressed;
    if (!enabled) colour = SystemColourRef(16);
    return colour;
}

std::wstring ReplaceFirstBar(std::wstring caption) {
    const auto at = caption.find(L"||");
    if (at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
    return caption;
}

TLayoutRect CaptionRect(const TLayoutRect& b, int measuredWidth, int measuredHeight, bool centred) {
    const int dy = (b.Height() - measuredHeight) / 2 - 1;
    if (centred) {
        const int dx = (b.Width() - measuredWidth) / 2;
        return {b.Left + dx, b.Top + dy, b.Left + dx + measuredWidth, b.Top + dy + measuredHeight};
    }
    return {b.Left, b.Top + dy, b.Right, b.Top + dy + measuredHeight};
}

TGlyphLayout ButtonLayoutFromName(const std::wstring& lowerName) {
    if (lowerName == L"blglyphright") return glGlyphRight;
    if (lowerName == L"blglyphtop") return glGlyphTop;
    if (lowerName == L"blglyphbottom") return glGlyphBottom;
    return glGlyphLeft;
}

TLayoutRect BitButtonTextArea(int width, int height, int glyphWidth, int glyphHeight, TGlyphLayout layout) {
    TLayoutRect r{2, 2, width - 2, height - 2};
    if (layout == glGlyphLeft || layout == glGlyphRight) r.Right -= glyphWidth + 2;
    else r.Bottom -= glyphHeight + 2;
    return r;
}

TGlyphPlacement BitButtonPlacement(int width, int height, int glyphWidth, int glyphHeight, int textWidth,
                                   int textHeight, TGlyphLayout layout, int margin, int spacing,
                                   bool alignCentre) {
    const bool horizontal = layout == glGlyphLeft || layout == glGlyphRight;
    const int extent = horizontal ? width : height;
    const int g = horizontal ? glyphWidth : glyphHeight;
    const int t = horizontal ? textWidth : textHeight;
    if (glyphWidth == 0 || glyphHeight == 0 || textWidth == 0 || textHeight == 0) spacing = 0;
    if (margin == -1 || alignCentre) {
        if (spacing == -1) {
            margin = spacing = (extent - g - t) / 3;
        } else {
            margin = (extent - g - spacing - t) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - margin - g - t) / 2;
    }

    int glyphAt = 0, textAt = 0;
    TGlyphPlacement p;
    switch (layout) {
    case glGlyphLeft:
    case glGlyphTop:
        glyphAt = margin;
        textAt = margin + g + spacing;
        p.Align = layout == glGlyphLeft ? TTextAlign::Left : TTextAlign::Centre;
        break;
    case glGlyphRight:
    case glGlyphBottom:
        glyphAt = extent - margin - g;
        textAt = glyphAt - spacing - t;
        p.Align = layout == glGlyphRight ? TTextAlign::Right : TTextAlign::Centre;
        break;
    }
    if (horizontal) {
        p.GlyphX = glyphAt;
        p.GlyphY = (height - glyphHeight + 1) / 2;
        const int ty = (height - textHeight + 1) / 2;
        p.Text = {textAt, ty, textAt + textWidth, ty + textHeight};
    } else {
        p.GlyphX = (width - glyphWidth + 1) / 2;
        p.GlyphY = glyphAt;
        const int tx = (width - textWidth + 1) / 2;
        p.Text = {tx, textAt, tx + textWidth, textAt + textHeight};
    }
    p.Margin = margin;
    p.Spacing = spacing;
    return p;
}

void MenuButtonArrow(int width, int height, TPoint2 (&corners)[3]) {
    corners[0] = {width - 12, height / 2 + 2};
    corners[1] = {width - 15, height / 2 - 1};
    corners[2] = {width - 9, height / 2 - 1};
}

TLayoutRect MenuButtonTextArea(int width, int height) { return {2, 2, width - 17 - 2, height - 2}; }

namespace {

// A 12-frame strip holds unchecked, checked and mixed, four looks each (normal, hot,
// pressed, disabled): the four-frame numbers (1 unchecked, 2 checked, 3 unchecked
// disabled, 4 checked disabled) move to their place in it.
int Renumber12(int k) {
    switch (k) {
    case 2: return 5;
    case 3: return 4;
    case 4: return 8;
    default: return k;
    }
}

int ClampFrame(int k, int frames) { return std::clamp(k, 1, std::max(frames, 1)); }

}  // namespace

int CheckBoxFrame(const TCheckInputs& in) {
    constexpr unsigned kChecked = 1, kIndeterminate = 2;
    int k = (in.ButtonState & kChecked) ? 2 : 1;
    if (in.Framework) {
        if (in.HasStateProperty) {
            if (in.StateName.find(L"uncheck") != std::wstring::npos) k = 1;
            else if (in.StateName.find(L"check") != std::wstring::npos) k = 2;
            else if (in.StateName.find(L"gray") != std::wstring::npos) k = 4;
        } else if (in.HasCheckedProperty) {
            // Unchecked is frame 1: frame 3 is the disabled look.
            k = in.CheckedName == L"true" ? 2 : 1;
        }
        if (in.HasDataField && in.CheckState != 0) k = in.CheckState == 3 ? 4 : in.CheckState;
        if (in.HasDataBinding) k = 1;
    }
    if (in.Disabled) k += 2;
    if (in.ButtonState & kIndeterminate) k = 4;
    if (in.StripFrames == 12) {
        if (in.ButtonState & kIndeterminate) k = in.Disabled ? 12 : 9;
        else k = Renumber12(k);
    }
    return ClampFrame(k, in.StripFrames);
}

int RadioButtonFrame(bool checked, bool disabled, int stripFrames) {
    int k = checked ? 2 : 1;
    if (disabled) k += 2;
    if (stripFrames == 12) k = Renumber12(k);
    return ClampFrame(k, stripFrames);
}

TCheckLayout CheckBoxLayout(const TLayoutRect& r, int w, int h, bool leftText) {
    TCheckLayout l;
    const int top = r.Top + (r.Height() - h) / 2;
    if (leftText) {
        l.Glyph = {r.Right - w, top, r.Right, top + h};
        l.Text = {r.Left, r.Top, r.Right - w - 2, r.Bottom};
    } else {
        l.Glyph = {r.Left, top, r.Left + w, top + h};
        l.Text = {r.Left + w + 2, r.Top, r.Right, r.Bottom};
    }
    return l;
}

unsigned CheckTextFlags(bool rightToLeft, bool leftText) {
    if (!rightToLeft) return 0;
    return 0x20000u | (leftText ? 2u : 0u);
}

int CentreTextOffset(int rectHeight, int measuredHeight) { return (rectHeight - measuredHeight) / 2; }

int ComboButtonFrame(bool enabled, unsigned mouseState, bool focused) {
    if (!enabled) return 3;
    if (mouseState & msPressed) return 2;
    if (focused || (mouseState & msHot)) return 4;
    return 1;
}

TComboLayout ComboButtonLayout(const TLayoutRect& r, int f, bool buttonLeft) {
    TComboLayout l;
    if (buttonLeft) {
        l.Excluded = {f + 4, 2, r.Right - 2, r.Bottom - 2};
        l.Button = {0, r.Top, f + 2, r.Bottom};
        l.Glyph = {2, r.Top, f + 2, r.Bottom};
    } else {
        l.Excluded = {2, 2, r.Right - f - 4, r.Bottom - 2};
        l.Button = {r.Right - f - 2, r.Top, r.Right, r.Bottom};
        l.Glyph = {l.Button.Left, r.Top, r.Right - 2, r.Bottom};
    }
    return l;
}

TTextAlign HeaderItemAlign(unsigned format) {
    switch (format & 3u) {
    case 1: return TTextAlign::Right;
    case 2: return TTextAlign::Centre;
    default: return TTextAlign::Left;
    }
}

int HeaderImageIndex(unsigned format, int image) { return (format & (0x800u | 0x8000u)) ? image : -1; }

int HeaderHotItem(const std::vector<TLayoutRect>& rects, int x, int y, int hot) {
    for (size_t i = 0; i < rects.size(); ++i) {
        const TLayoutRect& r = rects[i];
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return static_cast<int>(i);
    }
    return hot;
}

TLayoutRect HeaderHotRect(const TLayoutRect& item) { return {item.Left + 3, item.Top, item.Right - 3, item.Bottom}; }

THeaderItemLayout HeaderItemLayout(const TLayoutRect& item, int imageWidth, int imageHeight, int textWidth,
                                   TTextAlign align) {
    constexpr int kPadding = 6, kGap = 4;
    THeaderItemLayout l;
    l.HasImage = imageWidth > 0 && imageHeight > 0;
    const int imagePart = l.HasImage ? imageWidth + kGap : 0;
    const int content = imagePart + std::max(0, textWidth);
    const int inner = item.Width() - 2 * kPadding;
    int x = item.Left + kPadding;
    if (content < inner) {
        if (align == TTextAlign::Right) x = item.Right - kPadding - content;
        else if (align == TTextAlign::Centre) x = item.Left + kPadding + (inner - content) / 2;
    }
    if (l.HasImage) {
        const int top = item.Top + (item.Height() - imageHeight) / 2;
        l.Image = {x, top, x + imageWidth, top + imageHeight};
    }
    const int textLeft = x + imagePart;
    l.Text = {textLeft, item.Top, std::max(textLeft, std::min(textLeft + std::max(0, textWidth), item.Right - kPadding)),
              item.Bottom};
    return l;
}

TScrollPart ScrollPartAt(int p, int b, int length, int thumbStart, int thumbEnd) {
    if (p < b) return spFirstArrow;
    if (p < thumbStart) return spPageBefore;
    if (p < thumbEnd) return spThumb;
    if (p < length - b) return spPageAfter;
    return spSecondArrow;
}

namespace {

// n / d rounded to the nearest integer, halves to even.
long long RoundDiv(long long n, long long d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    long long q = n / d, rem = n % d;
    if (rem < 0) {
        rem += d;
        --q;
    }
    if (2 * rem > d || (2 * rem == d && (q & 1) != 0)) ++q;
    return q;
}

}  // namespace

TThumb ScrollThumb(int length, int b, int min, int max, int page, int position) {
    const long long range = max == min ? 9999999LL : static_cast<long long>(max) - min;
    const long long track = static_cast<long long>(length) - 2LL * b;
    const long long offset = static_cast<long long>(position) - min;
    long long start = b, size = 0;
    if (page > 0) {
        size = RoundDiv(track * (page - 1LL), range);
        if (size > 7) {
            if (offset != 0) start = b + RoundDiv(track * offset, range);
        } else {
            size = 8;
            if (offset != 0) start = b + RoundDiv((track - 8) * offset, range);
        }
    } else {
        size = b;
        if (offset != 0) start = b + RoundDiv((static_cast<long long>(length) - 3LL * b) * offset, range);
    }
    return {static_cast<int>(start), static_cast<int>(start + size)};
}

int TrackedThumbStart(int startAtPress, int movement, int b, int length, int thumbLength) {
    int s = startAtPress + movement;
    s = std::min(s, length - b - thumbLength);
    return std::max(s, b);
}

int ScrollArrowExtent(int length, int b) { return length < 2 * b ? length / 2 : b; }

int ScrollBarThickness(int stripHeight, int b) { return std::abs(stripHeight - b) > 2 ? b : stripHeight; }

int ScrollArrowFrame(bool horizontal, bool second, TScrollPart activePart, bool tracking) {
    int frame = horizontal ? (second ? 5 : 1) : (second ? 13 : 9);
    if (activePart == (second ? spSecondArrow : spFirstArrow)) frame += tracking ? 1 : 3;
    return frame;
}

int ScrollThumbFrame(TScrollPart activePart, bool tracking) {
    if (activePart != spThumb) return 1;
    return tracking ? 2 : 3;
}

int ScrollGripFrame(bool horizontal, TScrollPart activePart, bool tracking) {
    int frame = horizontal ? 17 : 20;
    if (activePart == spThumb) frame += tracking ? 1 : 2;
    return frame;
}

int ScrollTrackFrame(bool enabled) { return enabled ? 1 : 3; }

bool ScrollGripOffset(int thumbLength, int gripLength, int& offset) {
    if (!(gripLength < thumbLength + 2)) return false;
    offset = (thumbLength - gripLength) / 2;
    return true;
}

TScrollBarDrawing ScrollBarDrawing(const TScrollBarInputs& in) {
    TScrollBarDrawing d;
    const int b = in.ArrowSize;
    d.Length = in.Horizontal ? in.Width : in.Height;
    d.Thickness = ScrollBarThickness(in.StripHeight, b);
    const int L = d.Length, t = d.Thickness;
    const auto along = [&](int from, int to) {
        return in.Horizontal ? TLayoutRect{from, 0, to, t} : TLayoutRect{0, from, t, to};
    };
    d.Track = along(b, L - b);
    d.TrackFrame = ScrollTrackFrame(in.Enabled);
    const int a = ScrollArrowExtent(L, b);
    d.FirstArrow = along(0, a);
    d.SecondArrow = along(L - a, L);
    d.FirstArrowFrame = ScrollArrowFrame(in.Horizontal, false, in.ActivePart, in.Tracking);
    d.SecondArrowFrame = ScrollArrowFrame(in.Horizontal, true, in.ActivePart, in.Tracking);
    const auto inside = [L](int p) { return p >= 0 && p <= L; };
    d.DrawThumb = in.Enabled && inside(in.ThumbStart) && inside(in.ThumbEnd) && in.ThumbEnd > in.ThumbStart;
    if (!d.DrawThumb) return d;
    d.Thumb = along(in.ThumbStart, in.ThumbEnd);
    d.ThumbFrame = ScrollThumbFrame(in.ActivePart, in.Tracking);
    int offset = 0;
    const int g = in.StripHeight;
    if (ScrollGripOffset(in.ThumbEnd - in.ThumbStart, g, offset)) {
        const int from = in.ThumbStart + offset;
        if (inside(from) && inside(from + g)) {
            d.DrawGrip = true;
            d.Grip = along(from, from + g);
            d.GripFrame = ScrollGripFrame(in.Horizontal, in.ActivePart, in.Tracking);
        }
    }
    return d;
}

}  // namespace vx
