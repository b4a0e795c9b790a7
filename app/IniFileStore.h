#pragma once
// The converter's INI files on disk: a TIniStore over the framework's TIniFile. Each
// call makes a fresh TIniFile, so nothing is cached between lookups. Windows only.

#include <string>
#include <vector>

#include "app/Settings.h"

namespace vx {

class TIniFileStore : public TIniStore {
public:
    explicit TIniFileStore(std::wstring fileName) : fileName_(std::move(fileName)) {}

    std::vector<std::wstring> ReadSection(const std::wstring& section) override;
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& defaultValue) override;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) override;
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value) override;

private:
    std::wstring fileName_;
};

}  // namespace vx
