#include "framework/SysUtils.h"

#include <limits>

namespace vx {

namespace {

wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }
wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }
bool IsBlank(wchar_t c) { return static_cast<unsigned>(c) <= 32; }
bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L':'; }

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Parses [sign] digits or [sign] "$" hexdigits into a magnitude no larger than `limit`.
bool ParseInteger(std::wstring_view s, std::uint64_t limitPositive, std::uint64_t limitNegative,
                  bool& negative, std::uint64_t& magnitude) {
    std::size_t i = 0;
    negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
        negative = s[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == L'$') {
        base = 16;
        ++i;
    }
    if (i == s.size()) return false;
    const std::uint64_t limit = negative ? limitNegative : limitPositive;
    magnitude = 0;
    for (; i < s.size(); ++i) {
        const int d = base == 16 ? HexDigit(s[i]) : (s[i] >= L'0' && s[i] <= L'9' ? s[i] - L'0' : -1);
        if (d < 0) return false;
        if (magnitude > (limit - static_cast<std::uint64_t>(d)) / static_cast<std::uint64_t>(base)) return false;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    return true;
}

// Position of the last path separator, or npos.
std::size_t LastSeparator(std::wstring_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1])) return i - 1;
    return std::wstring_view::npos;
}

// Position of the extension's dot within the file name part, or npos.
std::size_t ExtensionDot(std::wstring_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) break;
        if (path[i - 1] == L'.') return i - 1;
    }
    return std::wstring_view::npos;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

}  // namespace

Exception::Exception(std::wstring message) : message_(std::move(message)), utf8_(WideToUtf8(message_)) {}

std::wstring ExceptionMessage(const std::exception& e) {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
    return Utf8ToWide(e.what());
}

std::wstring UpperCase(std::wstring_view s) {
    std::wstring r(s);
    for (wchar_t& c : r) c = UpperAscii(c);
    return r;
}

std::wstring LowerCase(std::wstring_view s) {
    std::wstring r(s);
    for (wchar_t& c : r) c = LowerAscii(c);
    return r;
}

bool SameText(std::wstring_view a, std::wstring_view b) { return CompareText(a, b) == 0; }

int CompareText(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = LowerAscii(a[i]), cb = LowerAscii(b[i]);
        if (ca != cb) return ca - cb;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareStr(std::wstring_view a, std::wstring_view b) {
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::wstring Trim(std::wstring_view s) { return TrimLeft(TrimRight(s)); }

std::wstring TrimLeft(std::wstring_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return std::wstring(s.substr(i));
}

std::wstring TrimRight(std::wstring_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return std::wstring(s.substr(0, n));
}

std::wstring IntToStr(std::int64_t value) { return std::to_wstring(value); }

std::wstring IntToHex(std::uint64_t value, int digits) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring r;
    do {
        r.insert(r.begin(), kDigits[value & 15]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(r.size()) < digits) r.insert(r.begin(), L'0');
    return r;
}

bool TryStrToInt(std::wstring_view s, int& value) {
    bool negative = false;
    std::uint64_t magnitude = 0;
    if (!ParseInteger(s, 0x7FFFFFFFull, 0x80000000ull, negative, magnitude)) return false;
    value = negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude)) : static_cast<int>(magnitude);
    return true;
}

bool TryStrToInt64(std::wstring_view s, std::int64_t& value) {
    bool negative = false;
    std::uint64_t magnitude = 0;
    if (!ParseInteger(s, 0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, negative, magnitude)) return false;
    if (negative)
        value = magnitude == 0x8000000000000000ull ? std::numeric_limits<std::int64_t>::min()
                                                  : -static_cast<std::int64_t>(magnitude);
    else
        value = static_cast<std::int64_t>(magnitude);
    return true;
}

int StrToInt(std::wstring_view s) {
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError(L"“" + std::wstring(s) + L"”不是有效的整数");
    return v;
}

int StrToIntDef(std::wstring_view s, int defaultValue) {
    int v = 0;
    return TryStrToInt(s, v) ? v : defaultValue;
}

std::wstring ExtractFilePath(std::wstring_view path) {
    const std::size_t p = LastSeparator(path);
    return p == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, p + 1));
}

std::wstring ExtractFileName(std::wstring_view path) {
    const std::size_t p = LastSeparator(path);
    return std::wstring(p == std::wstring_view::npos ? path : path.substr(p + 1));
}

std::wstring ExtractFileExt(std::wstring_view path) {
    const std::size_t dot = ExtensionDot(path);
    return dot == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(dot));
}

std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext) {
    const std::size_t dot = ExtensionDot(path);
    std::wstring r(dot == std::wstring_view::npos ? path : path.substr(0, dot));
    r += ext;
    return r;
}

std::wstring IncludeTrailingBackslash(std::wstring_view path) {
    std::wstring r(path);
    if (!r.empty() && r.back() != L'\\') r += L'\\';
    return r;
}

std::wstring ExcludeTrailingBackslash(std::wstring_view path) {
    std::wstring r(path);
    if (!r.empty() && r.back() == L'\\') r.pop_back();
    return r;
}

std::string WideToUtf8(std::wstring_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = static_cast<char32_t>(s[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(s[i + 1]) - 0xDC00);
                ++i;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                c = 0xFFFD;
            }
        } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1, cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2, cp = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3, cp = b0 & 0x07;
        } else {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= static_cast<std::size_t>(extra); ++j) {
            if (i + j >= s.size()) break;
            const auto b = static_cast<unsigned char>(s[i + j]);
            if ((b & 0xC0) != 0x80) break;
            cp = (cp << 6) | (b & 0x3F);
        }
        const bool complete = j == static_cast<std::size_t>(extra) + 1;
        const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
        if (!complete || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += L'\uFFFD';
            i += complete ? j : (j > 1 ? j : 1);
            continue;
        }
        AppendWide(out, cp);
        i += j;
    }
    return out;
}

}  // namespace vx
