#include "app/IniFileStore.h"

#include "framework/IniFiles.h"

namespace vx {

std::vector<std::wstring> TIniFileStore::ReadSection(const std::wstring& section) {
    TStringList keys;
    TIniFile(fileName_).ReadSection(section, keys);
    std::vector<std::wstring> result;
    result.reserve(static_cast<size_t>(keys.GetCount()));
    for (int i = 0; i < keys.GetCount(); ++i) result.push_back(keys.Strings(i));
    return result;
}

std::wstring TIniFileStore::ReadString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& defaultValue) {
    return TIniFile(fileName_).ReadString(section, key, defaultValue);
}

int TIniFileStore::ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) {
    return TIniFile(fileName_).ReadInteger(section, key, defaultValue);
}

void TIniFileStore::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    TIniFile(fileName_).WriteString(section, key, value);
}

void TIniFileStore::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    TIniFile(fileName_).WriteInteger(section, key, value);
}

}  // namespace vx
