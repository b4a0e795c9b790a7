#pragma once
// Helpers for the Windows programs that drive the bundled encoder and its engine under
// Wine (the encoder's tests, the end-to-end tests of the main window, the benchmarks):
// the Windows path of a build file, a started command whose merged output is collected,
// test clips made by the engine, a decoding probe that reads a file's length, picture
// size and frame count, and the processes running under a given program name. Free of
// the test framework, so that benchmark programs can use them too.

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "framework/Handles.h"

namespace vx::engine_tools {

// "/a/b" as Wine's drive Z: sees it.
inline std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

inline std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

inline bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, buffer);
    return std::wstring(buffer) + L"\\";
}

// Copies `from` to `to` unless `to` has its size and time already (the engine is large).
inline bool CopyIfChanged(const std::wstring& from, const std::wstring& to) {
    WIN32_FILE_ATTRIBUTE_DATA x{}, y{};
    if (!::GetFileAttributesExW(from.c_str(), GetFileExInfoStandard, &x)) return false;
    if (::GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &y) && x.nFileSizeLow == y.nFileSizeLow &&
        x.nFileSizeHigh == y.nFileSizeHigh && ::CompareFileTime(&x.ftLastWriteTime, &y.ftLastWriteTime) == 0)
        return true;
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

struct TRun {
    bool Started = false;
    bool TimedOut = false;  // killed by Finish after its time limit
    DWORD ExitCode = 0xFFFFFFFF;
    std::string Output;  // standard output and standard error, merged
};

// A started command whose merged output is collected by polling. The pipe is read
// while the program runs and drained once it has ended, so a copy of the pipe's writing
// end that lingers in another process cannot stall the caller.
class TChild {
public:
    explicit TChild(const std::wstring& commandLine) {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        THandle writeEnd;  // the child's copy is the one that counts; ours closes here
        if (!::CreatePipe(ReadEnd.Receive(), writeEnd.Receive(), &sa, 0)) return;
        ::SetHandleInformation(ReadEnd.Get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = writeEnd.Get();
        std::wstring line = commandLine;
        Started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                   &si, &Info) != FALSE;
        if (Started) {
            process_.Reset(Info.hProcess);
            thread_.Reset(Info.hThread);
        }
    }
    ~TChild() {
        if (Started && ::WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(Info.hProcess, 1);
    }
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;

    // Reads what is waiting; true while the program runs.
    bool Pump(DWORD waitMs = 20) {
        char buffer[4096];
        DWORD available = 0, got = 0;
        while (ReadEnd && ::PeekNamedPipe(ReadEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available &&
               ::ReadFile(ReadEnd.Get(), buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) && got)
            Output.append(buffer, got);
        return Started && ::WaitForSingleObject(Info.hProcess, waitMs) == WAIT_TIMEOUT;
    }

    // Runs to the end, or kills the program after `timeoutMs` (TimedOut is then set).
    TRun Finish(DWORD timeoutMs = 120000) {
        TRun run;
        const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
        while (Pump()) {
            if (::GetTickCount64() > deadline) {
                run.TimedOut = true;
                ::TerminateProcess(Info.hProcess, 1);
                ::WaitForSingleObject(Info.hProcess, INFINITE);
            }
        }
        Pump(0);
        run.Started = Started;
        run.Output = Output;
        if (Started) ::GetExitCodeProcess(Info.hProcess, &run.ExitCode);
        return run;
    }

    bool Started = false;
    PROCESS_INFORMATION Info = {};  // its two handles are owned by process_ and thread_
    THandle ReadEnd;
    std::string Output;

private:
    THandle process_, thread_;
};

inline TRun RunCommand(const std::wstring& commandLine, DWORD timeoutMs = 120000) {
    return TChild(commandLine).Finish(timeoutMs);
}

// A clip of a moving test pattern and a 440 Hz tone, made by the engine unless it
// exists. `codecArguments` picks the codecs; the container follows the extension.
// Written under a temporary name first, so an interrupted run leaves no half clip.
inline TRun MakeClip(const std::wstring& engine, const std::wstring& path, int seconds, const wchar_t* size,
                     const std::wstring& codecArguments) {
    TRun made;
    made.Started = true;
    made.ExitCode = 0;
    if (Exists(path)) return made;
    const size_t dot = path.rfind(L'.');
    const std::wstring temporary = path + L".part" + (dot == std::wstring::npos ? L"" : path.substr(dot));
    made = RunCommand(Quoted(engine) + L" -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc=size=" + size +
                      L":rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 -t " + std::to_wstring(seconds) +
                      L" " + codecArguments + L" " + Quoted(L"file:" + temporary));
    if (made.ExitCode == 0 && !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        made.ExitCode = ::GetLastError();
    return made;
}

struct TProbe {
    bool Decoded = false;  // the engine read the whole file and said no error
    double Duration = -1;  // seconds, from the container
    int Width = 0, Height = 0;
    double FrameRate = 0;  // of the video stream
    long DecodedFrames = -1;
    bool HasVideo = false, HasAudio = false;
    std::string Log;
};

// Decodes the whole file with the engine (to nothing) and reads what it reports: the
// container's duration, the first video stream's size and rate, whether there is an
// audio stream, and how many frames were decoded.
inline TProbe Probe(const std::wstring& engine, const std::wstring& path) {
    TRun run = RunCommand(Quoted(engine) + L" -hide_banner -nostdin -i " + Quoted(L"file:" + path) + L" -f null -");
    TProbe p;
    p.Log = run.Output;
    p.Decoded = run.ExitCode == 0;
    // Only the input's description counts, not the null output's.
    const size_t outputAt = run.Output.find("Output #0");
    const std::string input = run.Output.substr(0, outputAt);
    std::smatch m;
    if (std::regex_search(input, m, std::regex(R"(Duration: (\d+):(\d+):(\d+\.\d+))")))
        p.Duration = std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stod(m[3]);
    if (std::regex_search(input, m, std::regex(R"(Stream #0:\d+[^\n]*: Video: ([^\n]*))"))) {
        p.HasVideo = true;
        const std::string video = m[1];
        if (std::regex_search(video, m, std::regex(R"(, (\d{2,5})x(\d{2,5}))"))) {
            p.Width = std::stoi(m[1]);
            p.Height = std::stoi(m[2]);
        }
        if (std::regex_search(video, m, std::regex(R"(, (\d+(\.\d+)?) fps)"))) p.FrameRate = std::stod(m[1]);
    }
    p.HasAudio = std::regex_search(input, std::regex(R"(Stream #0:\d+[^\n]*: Audio: )"));
    // The last progress report of the decoding run: "frame=   50 fps=...".
    const std::string tail = outputAt == std::string::npos ? std::string() : run.Output.substr(outputAt);
    const std::regex frame(R"(frame=\s*(\d+))");
    for (auto it = std::sregex_iterator(tail.begin(), tail.end(), frame); it != std::sregex_iterator(); ++it)
        p.DecodedFrames = std::stol((*it)[1]);
    return p;
}

struct TProcessEntry {
    DWORD Id = 0, Parent = 0;
};

// The running processes of the given program file name (without regard to case).
inline std::vector<TProcessEntry> ProcessesNamed(const wchar_t* name) {
    std::vector<TProcessEntry> found;
    const THandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL ok = ::Process32FirstW(snapshot.Get(), &entry); ok; ok = ::Process32NextW(snapshot.Get(), &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0) found.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
    return found;
}

// The processes of that name started by the process `parent`.
inline std::vector<DWORD> ChildrenNamed(const wchar_t* name, DWORD parent) {
    std::vector<DWORD> ids;
    for (const TProcessEntry& e : ProcessesNamed(name))
        if (e.Parent == parent) ids.push_back(e.Id);
    return ids;
}

inline bool ProcessRunning(DWORD id) {
    const THandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL ok = ::Process32FirstW(snapshot.Get(), &entry); ok && !running;
         ok = ::Process32NextW(snapshot.Get(), &entry))
        running = entry.th32ProcessID == id;
    return running;
}

}  // namespace vx::engine_tools
