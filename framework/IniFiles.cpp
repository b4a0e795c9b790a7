#include "framework/IniFiles.h"

#include <vector>

namespace vx {

namespace {

constexpr DWORD kValueBuffer = 2048;

// Splits a double-NUL-terminated list ("a\0b\0\0") into the string list.
void FillFromList(const std::vector<wchar_t>& buffer, DWORD length, TStrings& out) {
    TUpdateGuard update(out);
    out.Clear();
    DWORD start = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (buffer[i] != L'\0') continue;
        if (i > start) out.Add(std::wstring(buffer.data() + start, i - start));
        start = i + 1;
    }
    if (start < length) out.Add(std::wstring(buffer.data() + start, length - start));
}

// Calls `read(buffer, size)` with a growing buffer until the list fits; the platform
// returns size - 2 when a list was cut short.
template <class Read>
void ReadList(Read read, TStrings& out) {
    std::vector<wchar_t> buffer(16384);
    for (;;) {
        const DWORD n = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
            FillFromList(buffer, n, out);
            return;
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
}

bool IsDecimalInteger(const std::wstring& s) {
    std::size_t i = (!s.empty() && (s[0] == L'+' || s[0] == L'-')) ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
        if (s[i] < L'0' || s[i] > L'9') return false;
    return true;
}

std::wstring FullPath(const std::wstring& name) {
    if (name.empty()) return name;
    const DWORD n = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (n == 0) return name;
    std::wstring full(n, L'\0');
    const DWORD m = GetFullPathNameW(name.c_str(), n, full.data(), nullptr);
    if (m == 0 || m >= n) return name;
    full.resize(m);
    return full;
}

}  // namespace

TIniFile::TIniFile(const std::wstring& fileName) : fileName_(FullPath(fileName)) {}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                  const std::wstring& defaultValue) const {
    std::vector<wchar_t> buffer(kValueBuffer);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), ident.c_str(), defaultValue.c_str(), buffer.data(),
                                             kValueBuffer, fileName_.c_str());
    return std::wstring(buffer.data(), n < kValueBuffer ? n : kValueBuffer - 1);
}

void TIniFile::Write(const wchar_t* section, const wchar_t* ident, const wchar_t* value) {
    // A new file made by the platform would be in the ANSI code page and lose every
    // character outside it; start it as UTF-16 so the platform keeps writing UTF-16.
    if (value != nullptr && GetFileAttributesW(fileName_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        THandle file(
            CreateFileW(fileName_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            const unsigned char bom[2] = {0xFF, 0xFE};
            DWORD done = 0;
            WriteFile(file.Get(), bom, 2, &done, nullptr);
        }
    }
    if (!WritePrivateProfileStringW(section, ident, value, fileName_.c_str()))
        throw EIniFileException(L"无法写入配置文件“" + fileName_ + L"”。");
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) {
    Write(section.c_str(), ident.c_str(), value.c_str());
}

int TIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue) const {
    const std::wstring text = ReadString(section, ident, L"");
    int value = 0;
    if (!IsDecimalInteger(text) || !TryStrToInt(text, value)) return defaultValue;
    return value;
}

void TIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value) {
    WriteString(section, ident, value ? L"1" : L"0");
}

void TIniFile::ReadSection(const std::wstring& section, TStrings& keys) const {
    ReadList([&](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileStringW(section.c_str(), nullptr, nullptr, buffer, size, fileName_.c_str());
    }, keys);
}

void TIniFile::ReadSections(TStrings& sections) const {
    ReadList([&](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesW(buffer, size, fileName_.c_str());
    }, sections);
}

void TIniFile::ReadSectionValues(const std::wstring& section, TStrings& values) const {
    TStringList keys;
    ReadSection(section, keys);
    TUpdateGuard update(values);
    values.Clear();
    for (int i = 0; i < keys.GetCount(); ++i) values.Add(keys[i] + L"=" + ReadString(section, keys[i], L""));
}

bool TIniFile::ValueExists(const std::wstring& section, const std::wstring& ident) const {
    TStringList keys;
    ReadSection(section, keys);
    return keys.IndexOf(ident) >= 0;
}

bool TIniFile::SectionExists(const std::wstring& section) const {
    TStringList sections;
    ReadSections(sections);
    return sections.IndexOf(section) >= 0;
}

// Deleting from a file that does not exist has nothing to do.
void TIniFile::EraseSection(const std::wstring& section) {
    if (GetFileAttributesW(fileName_.c_str()) != INVALID_FILE_ATTRIBUTES) Write(section.c_str(), nullptr, nullptr);
}

void TIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident) {
    if (GetFileAttributesW(fileName_.c_str()) != INVALID_FILE_ATTRIBUTES) Write(section.c_str(), ident.c_str(), nullptr);
}

void TIniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName_.c_str()); }

}  // namespace vx
