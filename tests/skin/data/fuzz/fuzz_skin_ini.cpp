// Arbitrary INI text, looked up with section and key names taken from the text itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinIni.h"
#include "skin/data/imgutil.h"

namespace {

// Bounded work per input. Every lookup scans the section table and the section's
// lines, so unbounded lookups (every key in every section) are cubic in the input size
// and ran at a few inputs a second. Inputs past kMaxText add nothing the first part
// does not already reach; the first sections and key lines exercise every path.
constexpr std::size_t kMaxText = 2048;
constexpr std::size_t kSections = 8;
constexpr std::size_t kKeys = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxText)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vx::TQuickIni ini;
    ini.LoadFromText(text);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    std::size_t headers = 0;
    for (const std::string& line : ini.Lines()) {
        // Kept lines are trimmed and never empty or comments.
        if (line.empty() || line.front() == ';' || static_cast<unsigned char>(line.front()) <= 32 ||
            static_cast<unsigned char>(line.back()) <= 32)
            __builtin_trap();
        headers += line.size() >= 2 && line.front() == '[' && line.back() == ']';
    }
    if (headers != sections.size())
        __builtin_trap();

    std::size_t sectionCount = 0;
    for (const std::string& s : sections) {
        if (++sectionCount > kSections)
            break;
        std::size_t keyCount = 0;
        for (const std::string& line : ini.Lines()) {
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            if (++keyCount > kKeys)
                break;
            const std::string key = line.substr(0, eq);
            // A found value is never empty and never reported as the default; a
            // missing one is: two different defaults tell them apart.
            const std::string value = ini.ReadString(s, key, "");
            const std::string other = ini.ReadString(s, key, "\x01");
            if (value.empty() != (other == "\x01") || (!value.empty() && value != other))
                __builtin_trap();
            const std::int32_t a = ini.ReadInteger(s, key, 0);
            const std::int32_t b = ini.ReadInteger(s, key, 1);
            std::int32_t parsed = 0;
            if (a != b && vx::TQuickIni::TryParseInteger(value, parsed) && value.rfind("0x", 0) != 0 && value.rfind("0X", 0) != 0)
                __builtin_trap();  // a number was there, yet the default came back
            vx::ColourFromText(value, 0);
        }
    }
    return 0;
}
