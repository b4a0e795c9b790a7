#pragma once
// INI files through the platform's private-profile functions. Every call opens the
// file afresh (nothing is cached), so changes by others are seen at once. Section and
// key names match without regard to case, as the platform does it.

#include <string>

#include "framework/Classes.h"
#include "framework/SysUtils.h"

namespace vx {

// A write that the platform refused (read-only file, missing folder ...).
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

class TIniFile : public TObject {
public:
    // A relative name is taken relative to the current folder when the object is
    // made (the platform would otherwise look in the Windows folder).
    explicit TIniFile(const std::wstring& fileName);
    const std::wstring& GetFileName() const { return fileName_; }

    // Values are read through a 2048-character buffer: at most 2047 characters come
    // back. Surrounding blanks and one pair of enclosing quotes are removed by the
    // platform.
    std::wstring ReadString(const std::wstring& section, const std::wstring& ident, const std::wstring& defaultValue) const;
    // Writing creates the file (as UTF-16, so any text survives) and the section.
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value);
    // A value that is not a decimal integer ([sign]digits, 32-bit) gives the default.
    int ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue) const;
    void WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
    // Stored as "1"/"0"; any non-zero integer reads as true.
    bool ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue) const;
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value);

    // Key names of a section, in file order (the list is cleared first).
    void ReadSection(const std::wstring& section, TStrings& keys) const;
    // Section names, in file order.
    void ReadSections(TStrings& sections) const;
    // "key=value" items of a section, in file order.
    void ReadSectionValues(const std::wstring& section, TStrings& values) const;

    bool ValueExists(const std::wstring& section, const std::wstring& ident) const;
    // True when the section is present, even without keys.
    bool SectionExists(const std::wstring& section) const;
    void EraseSection(const std::wstring& section);
    void DeleteKey(const std::wstring& section, const std::wstring& ident);
    // Flushes the platform's cached copy of the file to disk.
    void UpdateFile();

private:
    void Write(const wchar_t* section, const wchar_t* ident, const wchar_t* value);
    std::wstring fileName_;
};

}  // namespace vx
