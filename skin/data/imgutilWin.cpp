// The Win32 part of the bitmap utilities: gradients on a device context and pixel
// operations on 24-bit bitmaps through their rows.

#include <cstring>
#include <vector>

#include "framework/Graphics.h"
#include "skin/data/imgutil.h"

namespace vx {

void DrawGradient(HDC dc, const RECT& rect, TColour c1, bool vertical, TColour c2) {
    if (!RectVisible(dc, &rect))
        return;
    c1 = ResolveColour(c1);
    c2 = ResolveColour(c2);
    const int n = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (n <= 0)
        return;

    RECT clip{};
    int first = 0, last = n - 1;
    if (GetClipBox(dc, &clip) != ERROR) {
        const int start = vertical ? rect.top : rect.left;
        const int clipStart = vertical ? clip.top : clip.left;
        const int clipEnd = vertical ? clip.bottom : clip.right;
        if (clipStart > start)
            first = clipStart - start;
        if (clipEnd - start - 1 < last)
            last = clipEnd - start - 1;
    }
    const std::vector<TColour>& table = GradientSlot(GradientTable(n, c1, c2));
    for (int i = first; i <= last; ++i) {
        RECT line = rect;
        if (vertical) {
            line.top = rect.top + i;
            line.bottom = line.top + 1;
        } else {
            line.left = rect.left + i;
            line.right = line.left + 1;
        }
        const TBrushHandle brush(CreateSolidBrush(table[static_cast<std::size_t>(i)] & 0x00FFFFFF));
        FillRect(dc, &line, brush.Get());
    }
}

namespace {

// Rows of a 24-bit bitmap, top row first, three bytes per pixel in blue, green, red.
std::uint8_t* Row(TBitmap& b, int y) { return static_cast<std::uint8_t*>(b.ScanLine(y)); }

// Converts to 24 bits; false when there are no pixels to work on.
bool Prepare24(TBitmap& bitmap) {
    if (bitmap.GetEmpty())
        return false;
    if (bitmap.GetPixelFormat() != pf24bit)
        bitmap.SetPixelFormat(pf24bit);
    return true;
}

// A 24-bit copy of the pixels, row by row, so a transform can read the source while
// writing the bitmap.
std::vector<std::uint8_t> Pixels(TBitmap& bitmap) {
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        std::memcpy(&px[static_cast<std::size_t>(y) * w * 3], Row(bitmap, y), static_cast<std::size_t>(w) * 3);
    return px;
}

}  // namespace

void ReplaceMagenta(TBitmap& bitmap, TColour c) {
    if (!Prepare24(bitmap))
        return;
    const auto r = static_cast<std::uint8_t>(c), g = static_cast<std::uint8_t>(c >> 8),
               b = static_cast<std::uint8_t>(c >> 16);
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        std::uint8_t* p = Row(bitmap, y);
        for (int x = 0; x < bitmap.GetWidth(); ++x, p += 3)
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
                p[0] = b;
                p[1] = g;
                p[2] = r;
            }
    }
}

void Grayscale(TBitmap& bitmap) {
    if (!Prepare24(bitmap))
        return;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        std::uint8_t* p = Row(bitmap, y);
        for (int x = 0; x < bitmap.GetWidth(); ++x, p += 3)
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
}

void MirrorHorizontal(TBitmap& bitmap) {
    if (!Prepare24(bitmap))
        return;
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const std::vector<std::uint8_t> src = Pixels(bitmap);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = Row(bitmap, y);
        const std::uint8_t* s = &src[static_cast<std::size_t>(y) * w * 3];
        for (int x = 0; x < w; ++x)
            std::memcpy(p + 3 * x, s + 3 * (w - 1 - x), 3);
    }
}

void FlipVertical(TBitmap& bitmap) {
    if (!Prepare24(bitmap))
        return;
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const std::vector<std::uint8_t> src = Pixels(bitmap);
    for (int y = 0; y < h; ++y)
        std::memcpy(Row(bitmap, y), &src[static_cast<std::size_t>(h - 1 - y) * w * 3], static_cast<std::size_t>(w) * 3);
}

namespace {

// Result pixel (column c, row r) of the turned picture comes from source (sx, sy).
template <class SourceOf>
void Turn(TBitmap& bitmap, SourceOf sourceOf) {
    if (!Prepare24(bitmap))
        return;
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const std::vector<std::uint8_t> src = Pixels(bitmap);
    bitmap.SetSize(h, w);
    for (int r = 0; r < w; ++r) {
        std::uint8_t* p = Row(bitmap, r);
        for (int c = 0; c < h; ++c) {
            int sx, sy;
            sourceOf(r, c, w, h, sx, sy);
            std::memcpy(p + 3 * c, &src[(static_cast<std::size_t>(sy) * w + sx) * 3], 3);
        }
    }
}

}  // namespace

void RotateLeft(TBitmap& bitmap) {
    // Counter-clockwise: the right column becomes the top row.
    Turn(bitmap, [](int r, int c, int w, int, int& sx, int& sy) {
        sx = w - 1 - r;
        sy = c;
    });
}

void RotateRight(TBitmap& bitmap) {
    // Clockwise: the left column, read bottom-up, becomes the top row.
    Turn(bitmap, [](int r, int c, int, int h, int& sx, int& sy) {
        sx = r;
        sy = h - 1 - c;
    });
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

}  // namespace vx
