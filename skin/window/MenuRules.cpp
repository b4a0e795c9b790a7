#include "skin/window/MenuRules.h"

namespace vx {

int MenuBarFirstPosition(const TMenuBarPicture& picture, bool rightToLeft, int barWidth) {
    if (!picture.HasElement) return 6;
    const int first = rightToLeft ? picture.RightWidth + 8 : picture.LeftWidth + 4;
    return barWidth < first ? 12 : first;
}

std::vector<TLayoutRect> LayoutMenuBar(const TMenuBarLayoutInput& in) {
    std::vector<TLayoutRect> rects;
    rects.reserve(in.Items.size());
    const int first = MenuBarFirstPosition(in.Picture, in.RightToLeft, in.BarWidth);
    const int bottom = in.BarHeight - 1;
    if (!in.RightToLeft) {
        int x = first;
        for (const TMenuBarItemSize& item : in.Items) {
            if (!item.Visible) {
                rects.push_back({});
                continue;
            }
            const int width = item.TextWidth > 0 ? item.TextWidth + 10 : 0;
            rects.push_back({x, 0, x + width, bottom});
            x += width;
        }
        return rects;
    }
    int x = in.BarWidth - first - (in.RightReserve > 0 ? in.RightReserve + 5 : 0);
    for (const TMenuBarItemSize& item : in.Items) {
        if (!item.Visible) {
            rects.push_back({});
            continue;
        }
        const int width = item.TextWidth > 0 ? item.TextWidth + 10 : 0;
        rects.push_back({x - width, 0, x, bottom});
        x -= width;
    }
    return rects;
}

int SkinnedMenuItemWidth(int measured, int leftWidth, bool hasImages, TMenuMeasureKind kind) {
    if (kind == TMenuMeasureKind::FrameworkItem) return measured + leftWidth + 10 + (hasImages ? 0 : 25);
    return measured + leftWidth + 12 + (hasImages ? 0 : 23);
}

namespace {
wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }
}  // namespace

wchar_t MenuAccelerator(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;  // a literal ampersand
            continue;
        }
        return UpperAscii(caption[i + 1]);
    }
    return 0;
}

int FindAcceleratorButton(const std::vector<std::wstring>& captions, const std::vector<bool>& visible, wchar_t key) {
    if (key == 0) return -1;
    const wchar_t wanted = UpperAscii(key);
    for (size_t i = 0; i < captions.size(); ++i) {
        if (i < visible.size() && !visible[i]) continue;
        if (MenuAccelerator(captions[i]) == wanted) return static_cast<int>(i);
    }
    return -1;
}

int MenuArrowTarget(TMenuKey key, const TMenuSelection& s, int current, int count) {
    if (count <= 0 || current < 0) return -1;
    if (key == mkLeft) {
        if (s.Any && !s.InDropDown && !s.IsDropDown) return -1;
        return current == 0 ? count - 1 : current - 1;
    }
    if (s.HasSubItems) return -1;
    return current + 1 >= count ? 0 : current + 1;
}

}  // namespace vx
