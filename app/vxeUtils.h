#pragma once
// Small path and text helpers of the converter: folder texts, output names, the
// source extension used to choose a command template, the files the converter keeps
// beside the program, and names quoted for messages. Platform-free; paths use "\"
// and ":" as separators.

#include <string>
#include <string_view>

namespace vx {

// Relative names below the program's folder.
inline constexpr wchar_t kEncoderRelativePath[] = L"codecs\\mencoder.exe";
inline constexpr wchar_t kCatalogueRelativePath[] = L"codecs\\VXEncoderParameters.ini";
inline constexpr wchar_t kSettingsRelativePath[] = L"codecs\\VXEncoder.ini";

// A folder text gets a trailing "\" unless it is empty or already ends with one.
std::wstring AddTrailingBackslash(std::wstring_view folder);

// The extension of the file name, dot included, ASCII letters upper-cased
// ("C:\In\a.mpg" -> ".MPG"); empty when the name has no dot.
std::wstring SourceExtUpper(std::wstring_view sourcePath);

// Where a converted file goes: the folder text as it stands (no separator is added),
// the source's file name without its extension (cut before the name's last dot; a
// name without a dot is taken whole), "-[VXE]" and the output extension.
//   OutputPathFor(L"D:\\Out\\", L"C:\\In\\clip.part1.mpg", L".avi")
//     == L"D:\\Out\\clip.part1-[VXE].avi"
std::wstring OutputPathFor(std::wstring_view outputFolder, std::wstring_view sourcePath,
                           std::wstring_view outputExt);

// A path or name between the Chinese quotation marks the converter's messages use:
// Quoted(L"a.avi") == L"“a.avi”".
std::wstring Quoted(const std::wstring& text);

}  // namespace vx
