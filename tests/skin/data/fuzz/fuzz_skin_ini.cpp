// Arbitrary INI text, looked up with section and key names taken from the text itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinIni.h"
#include "skin/data/imgutil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vx::TQuickIni ini;
    ini.LoadFromText(text);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    std::size_t headers = 0;
    for (const std::string& line : ini.Lines())
        headers += line.size() >= 2 && line.front() == '[' && line.back() == ']';
    if (headers != sections.size())
        __builtin_trap();
    // Bounded work per input: the first 32 sections, the first 64 lines with keys.
    std::size_t sectionCount = 0;
    for (const std::string& s : sections) {
        if (++sectionCount > 32)
            break;
        std::size_t keyCount = 0;
        for (const std::string& line : ini.Lines()) {
            if (keyCount > 64)
                break;
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            ++keyCount;
            const std::string key = line.substr(0, eq);
            const std::string value = ini.ReadString(s, key, "");
            ini.ReadInteger(s, key, 0);
            vx::ColourFromText(value, 0);
        }
    }
    return 0;
}
