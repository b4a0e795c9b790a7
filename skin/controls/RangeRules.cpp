#include "skin/controls/RangeRules.h"

#include <algorithm>
#include <utility>

namespace vx {

long long RoundHalfEven(long long n, long long d) {
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

// ---- Track bars ----------------------------------------------------------------------

int TrackThumbCentre(int first, int last, int min, int max, int position) {
    if (max <= min) return first;
    const long long p = std::clamp<long long>(position, min, max) - min;
    const long long range = static_cast<long long>(max) - min;
    return first + static_cast<int>(RoundHalfEven((static_cast<long long>(last) - first) * p, range));
}

TTravel TrackThumbTravel(int channelStart, int channelEnd, int thumbLength) {
    const int half = thumbLength / 2;
    TTravel t{channelStart + half, channelEnd - (thumbLength - half)};
    if (t.Last < t.First) {
        const int middle = channelStart + (channelEnd - channelStart) / 2;
        t = {middle, middle};
    }
    return t;
}

TLayoutRect TrackThumbRect(bool vertical, int centre, int across, int cellWidth, int cellHeight) {
    if (vertical) {
        const int top = centre - cellHeight / 2;
        const int left = across - cellWidth / 2;
        return {left, top, left + cellWidth, top + cellHeight};
    }
    const int left = centre - cellWidth / 2;
    const int top = across - cellHeight / 2;
    return {left, top, left + cellWidth, top + cellHeight};
}

TLayoutRect TrackChannelRect(bool vertical, int start, int end, int across, int thickness) {
    const int from = across - thickness / 2;
    if (vertical) return {from, start, from + thickness, end};
    return {start, from, end, from + thickness};
}

int TrackThumbFrame(unsigned mouseState, bool focused, bool disabled) {
    return ButtonState(mouseState, focused, false, disabled);
}

// ---- Progress bars -------------------------------------------------------------------

int ProgressFillLength(int length, int min, int max, int position) {
    if (max <= min || length <= 0) return 0;
    const long long p = std::clamp<long long>(position, min, max) - min;
    return static_cast<int>(RoundHalfEven(static_cast<long long>(length) * p, static_cast<long long>(max) - min));
}

TLayoutRect ProgressFillRect(const TLayoutRect& r, bool vertical, int fill) {
    if (vertical) return {r.Left, r.Bottom - fill, r.Right, r.Bottom};
    return {r.Left, r.Top, r.Left + fill, r.Bottom};
}

TProgressLook ProgressFillLook(bool smooth, int progressFrames, bool hasChunk) {
    const bool hasBar = progressFrames >= 2;
    if (smooth) return hasBar ? TProgressLook::Bar : hasChunk ? TProgressLook::Chunks : TProgressLook::None;
    return hasChunk ? TProgressLook::Chunks : hasBar ? TProgressLook::Bar : TProgressLook::None;
}

std::vector<TLayoutRect> ProgressChunks(const TLayoutRect& r, bool vertical, int fill, int step) {
    std::vector<TLayoutRect> chunks;
    if (step <= 0 || fill <= 0) return chunks;
    const int extent = vertical ? r.Height() : r.Width();
    fill = std::min(fill, extent);
    for (int at = 0; at < fill; at += step) {
        const int end = std::min(at + step, extent);
        if (vertical) chunks.push_back({r.Left, r.Bottom - end, r.Right, r.Bottom - at});
        else chunks.push_back({r.Left + at, r.Top, r.Left + end, r.Bottom});
    }
    return chunks;
}

TLayoutRect ProgressInterior(const TLayoutRect& c, bool vertical, int left, int top, int right, int bottom) {
    // Across the bar the margins may not eat it up; along it they are the element's.
    const int thickness = vertical ? c.Width() : c.Height();
    const int most = thickness / 3;
    auto cap = [](int v, int limit) { return std::clamp(v, 0, std::max(0, limit)); };
    if (vertical) {
        left = cap(left, most);
        right = cap(right, most);
        top = cap(top, c.Height() / 3);
        bottom = cap(bottom, c.Height() / 3);
    } else {
        top = cap(top, most);
        bottom = cap(bottom, most);
        left = cap(left, c.Width() / 3);
        right = cap(right, c.Width() / 3);
    }
    return {c.Left + left, c.Top + top, c.Right - right, c.Bottom - bottom};
}

// ---- Up-down controls ----------------------------------------------------------------

TUpDownButtons UpDownButtonRects(int w, int h, bool horizontal) {
    if (horizontal) {
        const int half = w / 2;
        return {{0, 0, half, h}, {half, 0, w, h}};
    }
    const int half = h / 2;
    return {{0, 0, w, half}, {0, half, w, h}};
}

int UpDownPartAt(int w, int h, bool horizontal, int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    const TUpDownButtons b = UpDownButtonRects(w, h, horizontal);
    if (horizontal) return x < b.First.Right ? 1 : 2;
    return y < b.First.Bottom ? 1 : 2;
}

int UpDownFrame(int part, bool enabled, int hotPart, int pressedPart) {
    const int base = part == 2 ? 4 : 0;
    if (!enabled) return base + 3;
    if (pressedPart == part) return base + 2;
    if (hotPart == part && pressedPart == 0) return base + 4;
    return base + 1;
}

// ---- Tab controls --------------------------------------------------------------------

int TabItemFrame(bool selected, bool hot, bool enabled, bool focused) {
    if (!enabled) return 3;
    if (selected) return focused ? 5 : 2;
    if (hot) return 4;
    return 1;
}

int TabButtonFrame(bool selected, bool hot, bool enabled) {
    if (!enabled) return 3;
    if (selected) return 2;
    if (hot) return 4;
    return 1;
}

TLayoutRect TrackSelectionRect(bool vertical, const TLayoutRect& channel, int startCentre, int endCentre) {
    if (endCentre < startCentre) std::swap(startCentre, endCentre);
    TLayoutRect r = channel;
    if (vertical) {
        r.Top = std::clamp(startCentre, channel.Top, channel.Bottom);
        r.Bottom = std::clamp(endCentre + 1, channel.Top, channel.Bottom);
        if (channel.Right - channel.Left > 2) r.Left += 1, r.Right -= 1;
    } else {
        r.Left = std::clamp(startCentre, channel.Left, channel.Right);
        r.Right = std::clamp(endCentre + 1, channel.Left, channel.Right);
        if (channel.Bottom - channel.Top > 2) r.Top += 1, r.Bottom -= 1;
    }
    return r;
}

TTabSide TabSideOfStyle(std::uint32_t style) {
    const bool second = (style & 0x2) != 0;
    if (style & 0x80) return second ? TTabSide::Right : TTabSide::Left;
    return second ? TTabSide::Bottom : TTabSide::Top;
}

TLayoutRect TabItemRect(const TLayoutRect& item, bool selected, TTabSide side, int overlap) {
    if (!selected) return item;
    switch (side) {
    case TTabSide::Bottom: return {item.Left - 2, item.Top - overlap, item.Right + 2, item.Bottom + 2};
    case TTabSide::Left: return {item.Left - 2, item.Top - 2, item.Right + overlap, item.Bottom + 2};
    case TTabSide::Right: return {item.Left - overlap, item.Top - 2, item.Right + 2, item.Bottom + 2};
    case TTabSide::Top: break;
    }
    return {item.Left - 2, item.Top - 2, item.Right + 2, item.Bottom + overlap};
}

TLayoutRect TabPaneRect(const TLayoutRect& client, TTabSide side, bool hasTabs, int rowEdge) {
    if (!hasTabs) return client;
    TLayoutRect pane = client;
    switch (side) {
    case TTabSide::Top: pane.Top = std::clamp(rowEdge, client.Top, client.Bottom); break;
    case TTabSide::Bottom: pane.Bottom = std::clamp(rowEdge, client.Top, client.Bottom); break;
    case TTabSide::Left: pane.Left = std::clamp(rowEdge, client.Left, client.Right); break;
    case TTabSide::Right: pane.Right = std::clamp(rowEdge, client.Left, client.Right); break;
    }
    return pane;
}

// ---- Tab sets ------------------------------------------------------------------------

std::vector<TLayoutRect> TabSetRects(const std::vector<int>& textWidths, int height, int selected, int startMargin,
                                     int padding) {
    std::vector<TLayoutRect> rects;
    int x = startMargin;
    for (size_t i = 0; i < textWidths.size(); ++i) {
        const int w = std::max(0, textWidths[i]) + 2 * padding;
        if (static_cast<int>(i) == selected) rects.push_back({x - 2, 0, x + w + 2, height});
        else rects.push_back({x, 0, x + w, std::max(0, height - 2)});
        x += w;
    }
    return rects;
}

int TabSetHitTest(const std::vector<TLayoutRect>& rects, int selected, int x, int y) {
    auto inside = [&](const TLayoutRect& r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
    if (selected >= 0 && selected < static_cast<int>(rects.size()) && inside(rects[static_cast<size_t>(selected)]))
        return selected;
    for (size_t i = 0; i < rects.size(); ++i)
        if (inside(rects[i])) return static_cast<int>(i);
    return -1;
}

// ---- Status bars ---------------------------------------------------------------------

TPanelText StatusPanelText(const std::wstring& raw) {
    TPanelText t;
    size_t tabs = 0;
    while (tabs < raw.size() && tabs < 2 && raw[tabs] == L'\t') ++tabs;
    t.Text = raw.substr(tabs);
    t.Align = tabs == 0 ? TTextAlign::Left : tabs == 1 ? TTextAlign::Centre : TTextAlign::Right;
    return t;
}

TLayoutRect StatusGripRect(int w, int h, int gripWidth) {
    gripWidth = std::clamp(gripWidth, 0, std::max(0, w));
    return {w - gripWidth, 0, w, h};
}

TLayoutRect StatusPanelTextRect(const TLayoutRect& p) { return {p.Left + 3, p.Top + 1, p.Right - 3, p.Bottom - 1}; }

// ---- Date-time pickers -----------------------------------------------------------------

TLayoutRect DateTimeArrowRect(const TLayoutRect& c, int arrowWidth) {
    arrowWidth = std::clamp(arrowWidth, 0, std::max(0, c.Width()));
    return {c.Right - arrowWidth, c.Top, c.Right, c.Bottom};
}

int ArrowButtonFrame(bool enabled, bool pressed, bool hot, bool canShowHover, bool focused) {
    unsigned mouse = 0;
    if (pressed) mouse |= msPressed;
    if (hot && canShowHover) mouse |= msHot;
    return ComboButtonFrame(enabled, mouse, focused);
}

}  // namespace vx
