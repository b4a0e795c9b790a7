// A minimal reader of the skin's INI text for the preview and the tests: sections in
// file order, keys matched without regard to case, first occurrence wins.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vx::skingen {

class IniText {
 public:
  explicit IniText(const std::string& text);

  std::vector<std::string> sections() const;
  bool hasSection(const std::string& section) const;
  std::optional<std::string> value(const std::string& section, const std::string& key) const;
  // The value as a decimal integer (optional sign); the fallback when missing or not a number.
  int integer(const std::string& section, const std::string& key, int fallback) const;
  std::string text(const std::string& section, const std::string& key) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  const Section* find(const std::string& name) const;
  std::vector<Section> sections_;
};

std::string lowerAscii(std::string s);

}  // namespace vx::skingen
