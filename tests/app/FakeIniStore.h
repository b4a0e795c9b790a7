#pragma once
// An INI file in memory with the private-profile lookup rules: sections and keys in
// file order, names matched without regard to ASCII case, a missing key yields the
// default, a key present with an empty value yields the empty text.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "framework/SysUtils.h"
#include "app/vxeUtils.h"

namespace vx::test {

class FakeIniStore : public TIniStore {
public:
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        if (std::optional<size_t> at = Find(section, key)) {
            sections_[SectionIndex(section)].second[*at].second = value;
            return;
        }
        sections_[SectionIndex(section)].second.emplace_back(key, value);
    }

    std::vector<std::wstring> ReadSection(const std::wstring& section) override {
        ++reads;
        std::vector<std::wstring> keys;
        for (auto& s : sections_)
            if (Same(s.first, section))
                for (auto& kv : s.second) keys.push_back(kv.first);
        return keys;
    }
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& defaultValue) override {
        ++reads;
        if (std::optional<size_t> at = Find(section, key)) return sections_[SectionIndex(section)].second[*at].second;
        return defaultValue;
    }
    int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) override {
        const std::wstring text = ReadString(section, key, L"");
        try {
            size_t used = 0;
            const int value = std::stoi(text, &used);
            return used == text.size() ? value : defaultValue;
        } catch (...) {
            return defaultValue;
        }
    }
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override {
        Set(section, key, value);
    }
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value) override {
        Set(section, key, std::to_wstring(value));
    }

    int reads = 0;

private:
    static bool Same(const std::wstring& a, const std::wstring& b) { return UpperCase(a) == UpperCase(b); }
    size_t SectionIndex(const std::wstring& section) {
        for (size_t i = 0; i < sections_.size(); ++i)
            if (Same(sections_[i].first, section)) return i;
        sections_.emplace_back(section, std::vector<std::pair<std::wstring, std::wstring>>{});
        return sections_.size() - 1;
    }
    std::optional<size_t> Find(const std::wstring& section, const std::wstring& key) {
        for (auto& s : sections_) {
            if (!Same(s.first, section)) continue;
            for (size_t i = 0; i < s.second.size(); ++i)
                if (Same(s.second[i].first, key)) return i;
        }
        return std::nullopt;
    }

    std::vector<std::pair<std::wstring, std::vector<std::pair<std::wstring, std::wstring>>>> sections_;
};

}  // namespace vx::test
