#include "skin/controls/PlayerRules.h"

#include <cwctype>

namespace vx {

namespace {

constexpr std::wstring_view kNames[pbCount] = {L"Play", L"Pause", L"Stop", L"Next", L"Prev",
                                               L"Step", L"Back", L"Record", L"Eject"};

bool SameNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && s.front() == L' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == L' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::wstring_view PlayerButtonName(int button) {
    return button >= 0 && button < pbCount ? kNames[button] : std::wstring_view();
}

bool ParsePlayerButtonSet(std::wstring_view text, TPlayerButtonSet& set) {
    text = Trim(text);
    if (text.size() < 2 || text.front() != L'[' || text.back() != L']') return false;
    text = Trim(text.substr(1, text.size() - 2));
    TPlayerButtonSet result = 0;
    while (!text.empty()) {
        const size_t comma = text.find(L',');
        const std::wstring_view item = Trim(text.substr(0, comma));
        if (item.size() < 3 || !SameNoCase(item.substr(0, 2), L"bt")) return false;
        int found = -1;
        for (int b = 0; b < pbCount; ++b)
            if (SameNoCase(item.substr(2), kNames[b])) found = b;
        if (found < 0) return false;
        result |= 1u << found;
        if (comma == std::wstring_view::npos) break;
        text = text.substr(comma + 1);
        if (Trim(text).empty()) return false;  // a trailing comma
    }
    set = result;
    return true;
}

std::vector<TPlayerButtonRect> PlayerButtonRects(int width, int height, TPlayerButtonSet visible) {
    std::vector<TPlayerButtonRect> rects;
    int count = 0;
    for (int b = 0; b < pbCount; ++b) count += (visible >> b) & 1u;
    if (count == 0 || width < count || height <= 0) return rects;
    const int each = width / count;
    int extra = width % count, x = 0;
    for (int b = 0; b < pbCount; ++b) {
        if (!((visible >> b) & 1u)) continue;
        const int w = each + (extra > 0 ? 1 : 0);
        if (extra > 0) --extra;
        rects.push_back(TPlayerButtonRect{b, TLayoutRect{x, 0, x + w, height}});
        x += w;
    }
    return rects;
}

int PlayerButtonAt(const std::vector<TPlayerButtonRect>& rects, int x, int y) {
    for (const TPlayerButtonRect& r : rects)
        if (x >= r.Rect.Left && x < r.Rect.Right && y >= r.Rect.Top && y < r.Rect.Bottom) return r.Button;
    return -1;
}

TPlayerGlyphLook PlayerGlyphLook(int button, TPlayerButtonSet enabled, TPlayerButtonSet coloured,
                                 bool playerEnabled) {
    if (button < 0 || button >= pbCount) return TPlayerGlyphLook::Disabled;
    if (!playerEnabled || !((enabled >> button) & 1u)) return TPlayerGlyphLook::Disabled;
    return (coloured >> button) & 1u ? TPlayerGlyphLook::Coloured : TPlayerGlyphLook::Plain;
}

std::wstring PlayerGlyphResourceName(int button, TPlayerGlyphLook look) {
    const wchar_t* prefix = look == TPlayerGlyphLook::Coloured ? L"MPCOLOR"
                          : look == TPlayerGlyphLook::Disabled ? L"MPDISABLED" : L"MP";
    std::wstring name(PlayerButtonName(button));
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    // Formed as "%s_%s" of the prefix and the name.
    return std::wstring(prefix) + L"_" + name;
}

}  // namespace vx
