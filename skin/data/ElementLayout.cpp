#include "skin/data/ElementLayout.h"

#include <algorithm>

namespace vx {

TLayoutRect FrameCell(int w, int h, bool stacked, int frameCount, int frame) {
    const int n = std::max(1, frameCount);
    if (stacked) {
        const int ch = h / n;
        return {0, (frame - 1) * ch, w, (frame - 1) * ch + ch};
    }
    const int cw = w / n;
    return {(frame - 1) * cw, 0, (frame - 1) * cw + cw, h};
}

std::vector<TPiece> StretchElementPieces(int W, int H, const TLayoutRect& cell, TLayoutRect m, bool tile) {
    std::vector<TPiece> pieces;
    if (W < 0 || H < 0)
        return pieces;
    if (W < m.Left + m.Right)
        m.Left = m.Right = 0;
    if (H < m.Top + m.Bottom)
        m.Top = m.Bottom = 0;
    const int l = m.Left, t = m.Top, r = m.Right, b = m.Bottom;
    const int sx0 = cell.Left, sy0 = cell.Top, sx1 = cell.Right, sy1 = cell.Bottom;
    // Pieces without area on either side would draw nothing; they are left out.
    auto add = [&](TLayoutRect s, TLayoutRect d) {
        if (s.Width() > 0 && s.Height() > 0 && d.Width() > 0 && d.Height() > 0)
            pieces.push_back({s, d});
    };

    if (l * t > 0)
        add({sx0, sy0, sx0 + l, sy0 + t}, {0, 0, l, t});
    if (l * b > 0)
        add({sx0, sy1 - b, sx0 + l, sy1}, {0, H - b, l, H});
    if (r * t > 0)
        add({sx1 - r, sy0, sx1, sy0 + t}, {W - r, 0, W, t});
    if (l > 0)
        add({sx0, sy0 + t, sx0 + l, sy1 - b}, {0, t, l, H - b});
    if (t > 0)
        add({sx0 + l, sy0, sx1 - r, sy0 + t}, {l, 0, W - r, t});

    const TLayoutRect centreSource{sx0 + l, sy0 + t, sx1 - r, sy1 - b};
    if (!tile) {
        add(centreSource, {l, t, W - r, H - b});
    } else if (centreSource.Width() > 0 && centreSource.Height() > 0) {
        const int cw = centreSource.Width(), ch = centreSource.Height();
        for (int y = t; y < H - b; y += ch)
            for (int x = l; x < W - r; x += cw)
                add(centreSource, {x, y, x + cw, y + ch});
    }

    if (r * b > 0)
        add({sx1 - r, sy1 - b, sx1, sy1}, {W - r, H - b, W, H});
    if (r > 0)
        add({sx1 - r, sy0 + t, sx1, sy1 - b}, {W - r, t, W, H - b});
    if (b > 0)
        add({sx0 + l, sy1 - b, sx1 - r, sy1}, {l, H - b, W - r, H});
    return pieces;
}

std::vector<TPiece> ElementH3Pieces(int W, int H, const TLayoutRect& cell, int left, int right) {
    std::vector<TPiece> pieces;
    if (W < 0 || H < 0)
        return pieces;
    const int sx0 = cell.Left, sx1 = cell.Right, sy0 = cell.Top, sy1 = cell.Bottom;
    if (left > 0)
        pieces.push_back({{sx0, sy0, sx0 + left, sy1}, {0, 0, left, H}});
    const int m = cell.Width() - left - right;
    if (m > 0)
        for (int x = left; x < W - right; x += m)
            pieces.push_back({{sx0 + left, sy0, sx0 + left + m, sy1}, {x, 0, x + m, H}});
    if (right > 0)
        pieces.push_back({{sx1 - right, sy0, sx1, sy1}, {W - right, 0, W, H}});
    return pieces;
}

std::vector<TPiece> ElementH3StretchPieces(const TLayoutRect& d, const TLayoutRect& cell, int left, int right) {
    if (d.Width() < 0 || d.Height() < 0)
        return {};
    if (d.Width() < cell.Width())
        return {{cell, d}};
    const int sx0 = cell.Left, sx1 = cell.Right, sy0 = cell.Top, sy1 = cell.Bottom;
    std::vector<TPiece> pieces;
    if (left > 0)
        pieces.push_back({{sx0, sy0, sx0 + left, sy1}, {d.Left, d.Top, d.Left + left, d.Bottom}});
    if (cell.Width() - left - right > 0)
        pieces.push_back({{sx0 + left, sy0, sx1 - right, sy1}, {d.Left + left, d.Top, d.Right - right, d.Bottom}});
    if (right > 0)
        pieces.push_back({{sx1 - right, sy0, sx1, sy1}, {d.Right - right, d.Top, d.Right, d.Bottom}});
    return pieces;
}

void CentredOrigin(const TLayoutRect& rect, int cellWidth, int cellHeight, int& x, int& y) {
    x = rect.Left + (rect.Width() - cellWidth) / 2;
    y = rect.Top + (rect.Height() - cellHeight) / 2;
}

std::vector<TLayoutRect> TilePositions(const TLayoutRect& dest, int sw, int sh) {
    std::vector<TLayoutRect> out;
    if (sw <= 0 || sh <= 0)
        return out;
    for (int y = dest.Top; y < dest.Bottom; y += sh)
        for (int x = dest.Left; x < dest.Right; x += sw)
            out.push_back({x, y, x + sw, y + sh});
    return out;
}

std::vector<TLayoutRect> OpaqueRuns(const std::uint32_t* pixels, int width, int height, int stride, int dx,
                                    int dy, int tolRed, int tolGreen, int tolBlue, std::uint32_t key) {
    const int kr = key & 0xFF, kg = (key >> 8) & 0xFF, kb = (key >> 16) & 0xFF;
    const int hr = std::min(255, kr + tolRed), hg = std::min(255, kg + tolGreen), hb = std::min(255, kb + tolBlue);
    auto isKey = [&](std::uint32_t p) {
        const int b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
        return r >= kr && r <= hr && g >= kg && g <= hg && b >= kb && b <= hb;
    };
    std::vector<TLayoutRect> runs;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        int x = 0;
        while (x < width) {
            while (x < width && isKey(row[x]))
                ++x;
            const int start = x;
            while (x < width && !isKey(row[x]))
                ++x;
            if (x > start)
                runs.push_back({dx + start, dy + y, dx + x, dy + y + 1});
        }
    }
    return runs;
}

}  // namespace vx
