#include "skin/data/imgutil.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "skin/data/SkinIni.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vx {

namespace {

TColour DefaultSysColour(int index) {
#ifdef _WIN32
    return static_cast<TColour>(GetSysColor(index));
#else
    // The classic Windows scheme, so native code sees plausible colours.
    static constexpr std::array<TColour, 31> classic = {
        0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4};
    return index >= 0 && index < static_cast<int>(classic.size()) ? classic[static_cast<std::size_t>(index)] : 0;
#endif
}

TSysColourResolver& Resolver() {
    static TSysColourResolver resolver = &DefaultSysColour;
    return resolver;
}

struct TGradientCache {
    std::array<std::vector<TColour>, GradientCacheSlots> slots;
    int next = 0;
};

TGradientCache& Cache() {
    static TGradientCache cache;
    return cache;
}

}  // namespace

TSysColourResolver SetSysColourResolver(TSysColourResolver resolver) {
    const TSysColourResolver previous = Resolver();
    Resolver() = resolver ? resolver : &DefaultSysColour;
    return previous;
}

TColour ResolveColour(TColour c) {
    return IsSystemColourRef(c) ? Resolver()(static_cast<int>(c & 0xFF)) & 0x00FFFFFF : c;
}

TColour Blend(TColour c1, TColour c2, int w) {
    c1 = ResolveColour(c1);
    c2 = ResolveColour(c2);
    const int base = w < 100 ? 100 : 1000;
    auto mix = [&](int a, int b) { return (b * (base - w) + a * w + base / 2) / base; };
    return MakeColour(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)),
                      mix(BlueOf(c1), BlueOf(c2)));
}

int SaturationIndex(TColour v) {
    const int r = RedOf(v), g = GreenOf(v), b = BlueOf(v);
    if (r < 160 && g < 160 && b < 160)
        return 200;
    const int hi = std::max({r, g, b});
    const int lo = std::min({r, g, b});
    // Exact rounding of (hi - lo) * 255 / hi, halves to even.
    const int num = (hi - lo) * 255;
    int q = num / hi;
    const int twiceRem = 2 * (num % hi);
    if (twiceRem > hi || (twiceRem == hi && (q & 1)))
        ++q;
    return q;
}

int GradientTable(int n, TColour c1, TColour c2) {
    if (n < 1)
        throw std::logic_error("Assertion failure");
    TGradientCache& cache = Cache();
    for (int s = GradientCacheSlots - 1; s >= 0; --s) {
        const std::vector<TColour>& t = cache.slots[static_cast<std::size_t>(s)];
        if (static_cast<int>(t.size()) == n && t.front() == c1 && t.back() == c2)
            return s;
    }
    const int slot = cache.next;
    cache.next = (cache.next + 1) % GradientCacheSlots;
    std::vector<TColour>& t = cache.slots[static_cast<std::size_t>(slot)];
    t.assign(static_cast<std::size_t>(n), 0);

    const int r1 = RedOf(c1), g1 = GreenOf(c1), b1 = BlueOf(c1);
    const int dR = RedOf(c2) - r1, dG = GreenOf(c2) - g1, dB = BlueOf(c2) - b1;
    if (n == 1) {
        t[0] = MakeColour(r1 + dR / 2, g1 + dG / 2, b1 + dB / 2);
        return slot;
    }
    // C++ integer division truncates toward zero, as the table's rounding requires.
    const int k = n - 1;
    for (int i = 0; i <= k; ++i)
        t[static_cast<std::size_t>(i)] = MakeColour(r1 + (i * dR + k / 2) / k,
                                                    g1 + (i * dG + k / 2) / k,
                                                    b1 + (i * dB + k / 2) / k);
    return slot;
}

const std::vector<TColour>& GradientSlot(int slot) {
    return Cache().slots.at(static_cast<std::size_t>(slot));
}

void ResetGradientCache() {
    for (auto& s : Cache().slots)
        s.clear();
    Cache().next = 0;
}

TColour ColourFromText(std::string_view text, TColour defaultValue) {
    if (text.empty())
        return defaultValue;
    text = TQuickIni::Trim(text);
    std::array<std::uint32_t, 3> rgb{};
    int stored = 0;
    bool pending = false;
    std::uint32_t number = 0;  // wraps like a 32-bit accumulator; only the low byte counts
    auto store = [&] {
        if (stored < 3)
            rgb[static_cast<std::size_t>(stored)] = number;
        ++stored;
        pending = false;
        number = 0;
    };
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            number = number * 10u + static_cast<std::uint32_t>(ch - '0');
            pending = true;
        } else if (pending) {
            store();
        }
    }
    if (pending && stored == 2)
        store();
    return MakeColour(static_cast<int>(rgb[0] & 0xFF), static_cast<int>(rgb[1] & 0xFF),
                      static_cast<int>(rgb[2] & 0xFF));
}

void ColourFromTriple(int r, int g, int b, TColour& target) {
    if (r >= 0 && g >= 0 && b >= 0)
        target = MakeColour(r % 256, g % 256, b % 256);
}

}  // namespace vx
