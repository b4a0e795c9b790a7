// A scripted console program that stands in for the encoder in tests. Each argument
// (or each line of a script file) is one step:
//   out:TEXT        write TEXT as it stands (escapes \r \n \0 \t \\ \xHH)
//   line:TEXT       write TEXT and CR LF
//   raw:TEXT        write TEXT without reading escapes (paths) and CR LF
//   err:TEXT        write TEXT to standard error
//   repeat:N:TEXT   write TEXT N times, as fast as possible
//   progress:N      N status lines "Pos: ...s ...f (..%)", each ended by a bare CR
//   sleep:MS        wait
//   file:PATH       create PATH holding a few bytes (the "converted" file)
//   echo-input:N    read N bytes from standard input and write them back
//   script:PATH     run the steps in PATH, one per line
//   exit:CODE       end at once with CODE
//   whoami          write the program's own path and CR LF
// Every write goes straight to the handle, unbuffered. Console control events (Ctrl+C,
// close) are ignored: only termination from outside ends the program early.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
    std::string out;
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    out.resize(static_cast<size_t>(n > 0 ? n : 0));
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '0': out += '\0'; break;
            case 'x':
                if (i + 2 < text.size() + 1) {
                    out += static_cast<char>(std::strtoul(text.substr(i + 1, 2).c_str(), nullptr, 16));
                    i += 2;
                }
                break;
            default: out += c; break;
        }
    }
    return out;
}

void WriteAll(HANDLE handle, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        DWORD wrote = 0;
        if (!WriteFile(handle, bytes.data() + sent, static_cast<DWORD>(bytes.size() - sent), &wrote, nullptr) ||
            wrote == 0)
            return;
        sent += wrote;
    }
}

BOOL WINAPI IgnoreControl(DWORD) { return TRUE; }

void RunStep(const std::string& step);

void RunScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) RunStep(line);
    }
}

void RunStep(const std::string& step) {
    const size_t colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string arg = colon == std::string::npos ? std::string() : step.substr(colon + 1);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (verb == "out") {
        WriteAll(out, Unescape(arg));
    } else if (verb == "line") {
        WriteAll(out, Unescape(arg) + "\r\n");
    } else if (verb == "raw") {
        WriteAll(out, arg + "\r\n");
    } else if (verb == "err") {
        WriteAll(GetStdHandle(STD_ERROR_HANDLE), Unescape(arg));
    } else if (verb == "repeat") {
        const size_t second = arg.find(':');
        const long count = std::strtol(arg.substr(0, second).c_str(), nullptr, 10);
        const std::string text = Unescape(arg.substr(second + 1));
        for (long i = 0; i < count; ++i) WriteAll(out, text);
    } else if (verb == "progress") {
        const long count = std::strtol(arg.c_str(), nullptr, 10);
        for (long i = 1; i <= count; ++i) {
            char status[96];
            std::snprintf(status, sizeof status, "Pos: %ld.0s %ldf (%2ld%%) 25fps Trem: 0min 1mb\r", i, i * 25,
                          i * 100 / count);
            WriteAll(out, status);
        }
    } else if (verb == "sleep") {
        Sleep(static_cast<DWORD>(std::strtoul(arg.c_str(), nullptr, 10)));
    } else if (verb == "file") {
        std::ofstream file(arg, std::ios::binary);
        file << "converted";
    } else if (verb == "echo-input") {
        std::string bytes(std::strtoul(arg.c_str(), nullptr, 10), '\0');
        size_t got = 0;
        while (got < bytes.size()) {
            DWORD n = 0;
            if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), bytes.data() + got, static_cast<DWORD>(bytes.size() - got),
                          &n, nullptr) ||
                n == 0)
                break;
            got += n;
        }
        WriteAll(out, bytes.substr(0, got));
    } else if (verb == "script") {
        RunScript(arg);
    } else if (verb == "whoami") {
        wchar_t self[MAX_PATH * 4];
        const DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
        WriteAll(out, Narrow(std::wstring(self, n)) + "\r\n");
    } else if (verb == "exit") {
        ExitProcess(static_cast<UINT>(std::strtoul(arg.c_str(), nullptr, 10)));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleCtrlHandler(IgnoreControl, TRUE);
    for (int i = 1; i < argc; ++i) RunStep(Narrow(argv[i]));
    return 0;
}
