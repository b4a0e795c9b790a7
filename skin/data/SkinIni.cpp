#include "skin/data/SkinIni.h"

#include <limits>

namespace vx {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = LowerAscii(c);
    return r;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

bool IsHeader(std::string_view line) {
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

// Lower-cased, trimmed text before the first "="; empty when there is no "=".
std::string KeyName(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    return LowerCase(TQuickIni::Trim(line.substr(0, eq)));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view TQuickIni::Trim(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void TQuickIni::LoadFromText(std::string_view text) {
    lines_.clear();
    sections_.clear();
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = Trim(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;

        if (line.empty() || line.front() == ';')
            continue;
        if (IsHeader(line))
            sections_.push_back({std::string(line), static_cast<int>(lines_.size())});
        lines_.emplace_back(line);
    }
}

int TQuickIni::SectionIndex(std::string_view name) const {
    std::string header;
    header.reserve(name.size() + 2);
    header += '[';
    header += name;
    header += ']';
    for (const TSection& s : sections_)
        if (SameText(s.Header, header))
            return s.LineIndex;
    return -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    const std::string wanted = LowerCase(key);
    const int header = lines_.empty() ? -1 : SectionIndex(section);
    if (header < 0 || wanted.empty())
        return std::string(defaultValue);
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        if (IsHeader(line))
            break;
        if (KeyName(line) != wanted)
            continue;
        const std::string_view value = Trim(std::string_view(line).substr(line.find('=') + 1));
        return value.empty() ? std::string(defaultValue) : std::string(value);
    }
    return std::string(defaultValue);
}

bool TQuickIni::TryParseInteger(std::string_view s, std::int32_t& value) {
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return false;
    std::int64_t magnitude = 0;
    if (s.front() == '$') {
        s.remove_prefix(1);
        if (s.empty() || s.size() > 8)
            return false;
        for (char c : s) {
            const int d = HexDigit(c);
            if (d < 0)
                return false;
            magnitude = magnitude * 16 + d;
        }
        // A 32-bit pattern: "$FFFFFFFF" is -1.
        const auto pattern = static_cast<std::uint32_t>(negative ? -magnitude : magnitude);
        value = static_cast<std::int32_t>(pattern);
        return true;
    }
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
            return false;
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
    std::string s = ReadString(section, key, "");
    if (s.size() >= 3 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s.replace(0, 2, "$");
    std::int32_t value;
    return TryParseInteger(s, value) ? value : defaultValue;
}

void TQuickIni::ReadSections(std::vector<std::string>& names) const {
    names.clear();
    for (const TSection& s : sections_) {
        std::string_view h = Trim(s.Header);
        h = h.substr(1, h.size() - 2);
        names.emplace_back(Trim(h));
    }
}

}  // namespace vx
