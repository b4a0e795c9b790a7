// The Windows part of SysUtils: file system queries and code page conversions.
#include "framework/SysUtils.h"

#include <vector>

namespace vx {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDir(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool DeleteFile(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

std::wstring ProgramFolder() {
    // Long paths: grow the buffer until the module name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) return ExtractFilePath(std::wstring(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string WideToAnsi(std::wstring_view s, unsigned codePage) {
    if (s.empty()) return std::string();
    const int n = WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string r(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), r.data(), n, nullptr, nullptr);
    return r;
}

std::wstring AnsiToWide(std::string_view s, unsigned codePage) {
    if (s.empty()) return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring r(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), r.data(), n);
    return r;
}

std::wstring SysErrorMessage(unsigned long errorCode) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring r = n && text ? std::wstring(text, n) : std::wstring();
    if (text) LocalFree(text);
    return TrimRight(r);
}

}  // namespace vx
