#pragma once
// String, number and path helpers with the program's text rules, and the exception
// base class. Case rules touch ASCII letters only; every text is UTF-16.
// The file-system helpers at the end exist on Windows only.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vx {

// --- Exceptions ----------------------------------------------------------------------

// Base of the framework's exceptions: carries a wide message for the user. what()
// gives the same message in UTF-8 for code that only knows std::exception.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring message_;
    std::string utf8_;
};

// A text that is not a number where one was needed.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// The wide message of any exception: Exception::Message(), or what() read as UTF-8.
std::wstring ExceptionMessage(const std::exception& e);

// --- Case and trimming -------------------------------------------------------------

// ASCII letters only: "Ä" and Chinese characters are left as they are.
std::wstring UpperCase(std::wstring_view s);
std::wstring LowerCase(std::wstring_view s);
bool SameText(std::wstring_view a, std::wstring_view b);
// <0, 0 or >0 comparing the ASCII-lower-cased texts code unit by code unit.
int CompareText(std::wstring_view a, std::wstring_view b);
// <0, 0 or >0, case-sensitive, code unit by code unit.
int CompareStr(std::wstring_view a, std::wstring_view b);

// Remove characters with codes 0 to 32 (controls and space) from the ends.
std::wstring Trim(std::wstring_view s);
std::wstring TrimLeft(std::wstring_view s);
std::wstring TrimRight(std::wstring_view s);

// --- Numbers --------------------------------------------------------------------------

std::wstring IntToStr(std::int64_t value);
// Upper-case hexadecimal, zero-padded to at least `digits` digits.
std::wstring IntToHex(std::uint64_t value, int digits);

// Accepted: an optional sign followed by decimal digits, or "$" followed by hex digits
// (also with a sign before it). Nothing else: no spaces, no "0x", no empty text. A value
// outside the 32-bit signed range is a failure.
bool TryStrToInt(std::wstring_view s, int& value);
// As TryStrToInt; throws EConvertError on failure.
int StrToInt(std::wstring_view s);
int StrToIntDef(std::wstring_view s, int defaultValue);
// The same rules for the 64-bit signed range.
bool TryStrToInt64(std::wstring_view s, std::int64_t& value);

// --- Paths (separators "\" and ":"; "/" is an ordinary character) ----------------

// Everything up to and including the last separator ("C:\a\b.txt" -> "C:\a\").
std::wstring ExtractFilePath(std::wstring_view path);
// Everything after the last separator ("C:\a\b.txt" -> "b.txt").
std::wstring ExtractFileName(std::wstring_view path);
// From the last "." of the file name on, dot included; empty when the name has none.
std::wstring ExtractFileExt(std::wstring_view path);
// Replaces the extension (or appends one); `ext` includes its dot, or is empty.
std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext);
// Appends "\" unless the text ends in one already. An empty text stays empty.
std::wstring IncludeTrailingBackslash(std::wstring_view path);
std::wstring ExcludeTrailingBackslash(std::wstring_view path);

// --- Text encodings -------------------------------------------------------------------

// UTF-8 and UTF-16 conversion without the platform; ill-formed input becomes U+FFFD.
std::string WideToUtf8(std::wstring_view s);
std::wstring Utf8ToWide(std::string_view s);

#ifdef _WIN32
// --- Windows file system and code pages ----------------------------------------------

// True for an existing file (not a folder).
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// Creates one folder level; false when it could not be made (also when it exists).
bool CreateDir(const std::wstring& path);
// Deletes a file; false when it could not be deleted.
bool DeleteFile(const std::wstring& path);
// The running program's folder, with a trailing backslash.
std::wstring ProgramFolder();
// Code page conversions (CP_ACP for the system's ANSI code page, 936 for GBK ...).
std::string WideToAnsi(std::wstring_view s, unsigned codePage = CP_ACP);
std::wstring AnsiToWide(std::string_view s, unsigned codePage = CP_ACP);
// The text of a Win32 error code, without the trailing line break.
std::wstring SysErrorMessage(unsigned long errorCode);
#endif

}  // namespace vx
