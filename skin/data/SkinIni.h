#pragma once
// TQuickIni: a read-only INI reader over text held in memory (the skin definition taken
// out of a skin archive). The text is bytes (ANSI). Rules:
//  - lines end at CR, LF or CR LF; a NUL ends the text;
//  - kept lines are trimmed (bytes 0..32 removed at both ends); empty lines and lines
//    starting with ";" are dropped (comments only at the start of a line);
//  - a kept line "[...]" is a section header; section names match without regard to
//    ASCII case, blanks inside the brackets are significant;
//  - key names are the trimmed text before the first "=", matched lower-cased;
//  - within a section the first line with the key wins, and an empty value there
//    counts as missing (a later line with the same key is never consulted).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TStream;

class TQuickIni {
public:
    // Replaces the content with the text from the stream's position to its end; a
    // null stream leaves the content unchanged.
    void LoadFromStream(TStream* stream);

    // Replaces the content with `text` (the bytes from the stream's current position
    // to its end). A null pointer leaves the content unchanged.
    void LoadFromText(std::string_view text);
    void LoadFromText(const std::string* text) {
        if (text)
            LoadFromText(std::string_view(*text));
    }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // "0x1F" and "$1F" are hexadecimal; otherwise an optional sign and decimal digits.
    // Anything else (blanks, trailing notes, overflow) gives the default. Hexadecimal
    // takes up to 8 digits as a 32-bit pattern, so "$FF000008" is the system colour
    // reference it spells.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // The section names without brackets, trimmed, in file order (duplicates kept).
    void ReadSections(std::vector<std::string>& names) const;
    // Index in Lines() of the first header of that section, or -1.
    int SectionIndex(std::string_view name) const;

    const std::vector<std::string>& Lines() const { return lines_; }

    // The conversion ReadInteger applies to a value: false when it is not a number.
    static bool TryParseInteger(std::string_view text, std::int32_t& value);
    // Trimming as applied to lines: bytes with codes 0..32 at both ends.
    static std::string_view Trim(std::string_view text);

private:
    struct TSection {
        std::string Header;  // the header line as it stands, brackets included
        int LineIndex;
    };
    std::vector<std::string> lines_;
    std::vector<TSection> sections_;
};

}  // namespace vx
