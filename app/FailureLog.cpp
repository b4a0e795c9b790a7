#include "app/FailureLog.h"

#include <windows.h>

#include "framework/Handles.h"

namespace vx {

namespace {

// Size of an existing file, or -1 when it cannot be learned.
std::int64_t FileSizeOf(const std::wstring& path) {
    const THandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return -1;
    LARGE_INTEGER size{};
    return GetFileSizeEx(file.Get(), &size) ? size.QuadPart : -1;
}

bool FileExistsAt(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

THandle OpenForAppend(const std::wstring& path, DWORD disposition) {
    return THandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string Utf8Of(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                            nullptr);
    return bytes;
}

}  // namespace

void AppendLog(const std::wstring& path, const std::wstring& text) {
    THandle file;
    if (FileExistsAt(path)) {
        if (FileSizeOf(path) > kFailureLogLimit) {
            DeleteFileW(path.c_str());
            file = OpenForAppend(path, CREATE_ALWAYS);
        } else {
            file = OpenForAppend(path, OPEN_EXISTING);
        }
    } else {
        file = OpenForAppend(path, CREATE_NEW);
    }
    if (!file) return;

    const std::string line = Utf8Of(text) + "\r\n";
    LARGE_INTEGER zero{};
    if (SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) {
        DWORD written = 0;
        WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

}  // namespace vx
