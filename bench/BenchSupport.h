#pragma once
// What the Windows benchmark programs share: a high-resolution clock, the CPU time of
// the process and of a thread (on a shared machine the wall time carries other people's
// work, CPU time does not), the host's load average as Wine sees it, medians, and the
// program's own folder.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "framework/Handles.h"

namespace vx::bench {

// Ticks of the performance counter; MsBetween/MsSince turn them into milliseconds.
inline long long Now() {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t.QuadPart;
}

inline double TicksPerMs() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return perMs;
}

inline double Ms(long long ticks) { return static_cast<double>(ticks) / TicksPerMs(); }
inline double MsSince(long long from) { return Ms(Now() - from); }

inline double CpuMs(const FILETIME& kernel, const FILETIME& user) {
    auto value = [](const FILETIME& f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

// User + kernel time of the whole process so far.
inline double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return CpuMs(kernel, user);
}

// User + kernel time of one thread (the calling one by default) so far.
inline double ThreadCpuMs(HANDLE thread = ::GetCurrentThread()) {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
    return CpuMs(kernel, user);
}

// The host's load average (three figures), read through Wine's view of /proc; "?"
// where there is none (on Windows).
inline std::string LoadAverage() {
    const THandle h(
        ::CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) return "?";
    char buffer[128] = {};
    DWORD got = 0;
    ::ReadFile(h.Get(), buffer, sizeof buffer - 1, &got, nullptr);
    std::string text(buffer, got);
    size_t cut = 0;
    for (int fields = 0; fields < 3 && cut != std::string::npos; ++fields) cut = text.find(' ', cut + 1);
    return text.substr(0, cut);
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

inline std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

// The running program's folder, with its trailing backslash.
inline std::wstring ExeFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return Folder(std::wstring(buffer, n));
}

inline void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
}

// Makes `root` a program folder for the main window: codecs\ with the stand-in encoder
// (copied from beside this program) as mencoder.exe. False, with a message, when the
// stand-in is missing.
inline bool PrepareProgramFolder(const std::wstring& root) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW((root + L"codecs").c_str(), nullptr);
    if (!::CopyFileW((ExeFolder() + L"stand_in_encoder.exe").c_str(), (root + L"codecs\\mencoder.exe").c_str(),
                     FALSE)) {
        std::fprintf(stderr, "stand_in_encoder.exe is missing beside this program\n");
        return false;
    }
    return true;
}

}  // namespace vx::bench
