// mencoder.exe: the converter's bundled encoder. It reads the classic encoder's options
// (the subset the profile catalogue uses), has the ffmpeg engine beside it
// (ffmpeg.exe) do the conversion, and prints the classic status and closing lines.
// Exit code 0 after a successful conversion, 1 otherwise.

#include <windows.h>

#include <string>
#include <vector>

#include "encoder/EncodeSession.h"
#include "encoder/EncoderOptions.h"
#include "encoder/EngineProcess.h"
#include "encoder/FfmpegArguments.h"

namespace {

using namespace vx;

// Console text: wide characters to a console, the system's ANSI code page to a pipe or
// file (what a reader of a classic console program expects). Written at once, unbuffered.
void Write(DWORD which, const std::wstring& text) {
    HANDLE h = GetStdHandle(which);
    if (!h || h == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(h, &mode)) {
        WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Say(const std::wstring& line) { Write(STD_OUTPUT_HANDLE, line + L"\n"); }

int Refuse(const std::wstring& message, const wchar_t* stage) {
    Write(STD_ERROR_HANDLE, L"Error: " + message + L"\n");
    Write(STD_ERROR_HANDLE, std::wstring(L"Exiting... (") + stage + L")\n");
    return 1;
}

std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(size);
    return full;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderOf(path);
}

bool IsFile(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasContent(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeLow || data.nFileSizeHigh);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    TParseResult parsed = ParseEncoderOptions(args);
    if (!parsed.Ok) {
        Write(STD_ERROR_HANDLE, L"Usage: mencoder SOURCE -o OUTPUT -ovc ENCODER -oac ENCODER [options]\n");
        return Refuse(parsed.Error, L"error parsing command line");
    }
    TEncoderOptions options = parsed.Options;
    options.Source = FullPath(options.Source);
    options.Output = FullPath(options.Output);

    if (!IsFile(options.Source)) {
        return Refuse(L"cannot open source file \"" + options.Source + L"\": " +
                          (IsFolder(options.Source) ? L"it is a folder" : L"it does not exist"),
                      L"source file not found");
    }
    if (IsSameFilePath(options.Source, options.Output))
        return Refuse(L"the output file is the source file \"" + options.Source + L"\"", L"output file not usable");
    if (IsFolder(options.Output))
        return Refuse(L"cannot write \"" + options.Output + L"\": it is a folder", L"output file not usable");
    if (!IsFolder(FolderOf(options.Output)))
        return Refuse(L"cannot write \"" + options.Output + L"\": its folder does not exist",
                      L"output file not usable");
    const std::wstring engine = ProgramFolder() + L"ffmpeg.exe";
    if (!IsFile(engine)) return Refuse(L"the engine \"" + engine + L"\" is missing", L"no engine");

    const std::wstring commandLine = JoinWindowsCommandLine(engine, BuildFfmpegArguments(options));
    TEncodeSession session(options);
    for (const auto& line : session.BannerLines(commandLine)) Say(line);

    const ULONGLONG start = GetTickCount64();
    auto elapsed = [start] { return (GetTickCount64() - start) / 1000.0; };

    TEngineProcess process;
    std::wstring error, warning;
    if (!process.Start(engine, commandLine, error, warning)) return Refuse(error, L"the engine did not start");
    if (!warning.empty()) Write(STD_ERROR_HANDLE, L"Warning: " + warning + L"\n");

    TEngineLine line;
    while (process.NextLine(line)) {
        if (!line.FromStdout) {
            session.AddLogLine(line.Text);
        } else if (auto status = session.AddProgressLine(line.Text, elapsed())) {
            // The status line is rewritten in place: it ends with a bare carriage return.
            Write(STD_OUTPUT_HANDLE, std::wstring(status->begin(), status->end()) + L"\r");
        }
    }
    const unsigned long exitCode = process.Wait();

    TSessionOutcome outcome = session.Finish(exitCode, HasContent(options.Output), elapsed());
    Write(STD_OUTPUT_HANDLE, L"\n");
    for (const auto& text : outcome.Lines) Write(outcome.Ok ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, text + L"\n");
    return outcome.Ok ? 0 : 1;
}
