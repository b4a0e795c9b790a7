#pragma once
// Paths of the test libraries built beside the test programs.
#include <windows.h>

#include <string>

namespace vx::test {

// The folder of the running test program, with a trailing backslash.
inline std::wstring ProgramFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// One build of the stand-in library: "full", "no-inform", "no-close" or "wide-only".
inline std::wstring FakeLibrary(const wchar_t* variant) {
    return ProgramFolder() + L"fake\\" + variant + L"\\MediaInfo.dll";
}

}  // namespace vx::test
