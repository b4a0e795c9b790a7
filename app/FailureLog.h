#pragma once
// The unattended batch's failure log: one text line per problem, appended to a file
// beside the output. Windows only.

#include <cstdint>
#include <string>

namespace vx {

// A log above this size is emptied before the next line is written.
inline constexpr std::int64_t kFailureLogLimit = 1048576;

// Appends `text` and CR LF to the file at `path`, creating it when needed; a file
// larger than kFailureLogLimit bytes is emptied first. The text is written as UTF-8,
// so every path reads back as it was. Every failure is silent.
void AppendLog(const std::wstring& path, const std::wstring& text);

}  // namespace vx
