#include "tools/skingen/IniText.h"

#include <sstream>

namespace vx::skingen {

namespace {

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

}  // namespace

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

IniText::IniText(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      sections_.push_back({trim(line.substr(1, line.size() - 2)), {}});
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos || sections_.empty()) continue;
    sections_.back().keys.emplace_back(trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
  }
}

std::vector<std::string> IniText::sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

const IniText::Section* IniText::find(const std::string& name) const {
  const std::string wanted = lowerAscii(name);
  for (const Section& s : sections_)
    if (lowerAscii(s.name) == wanted) return &s;
  return nullptr;
}

bool IniText::hasSection(const std::string& section) const { return find(section) != nullptr; }

std::optional<std::string> IniText::value(const std::string& section, const std::string& key) const {
  const Section* s = find(section);
  if (!s) return std::nullopt;
  const std::string wanted = lowerAscii(key);
  for (const auto& [k, v] : s->keys)
    if (lowerAscii(k) == wanted) return v;
  return std::nullopt;
}

int IniText::integer(const std::string& section, const std::string& key, int fallback) const {
  const auto v = value(section, key);
  if (!v || v->empty()) return fallback;
  std::size_t i = 0;
  bool negative = false;
  if ((*v)[0] == '-' || (*v)[0] == '+') {
    negative = (*v)[0] == '-';
    i = 1;
  }
  if (i == v->size()) return fallback;
  long long n = 0;
  for (; i < v->size(); ++i) {
    const char c = (*v)[i];
    if (c < '0' || c > '9') return fallback;
    n = n * 10 + (c - '0');
    if (n > 0x7FFFFFFF) return fallback;
  }
  return int(negative ? -n : n);
}

std::string IniText::text(const std::string& section, const std::string& key) const {
  return value(section, key).value_or("");
}

}  // namespace vx::skingen
