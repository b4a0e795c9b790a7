// What one short run of a console program costs from start to its end being seen, for
// the ways this program and its benchmarks start programs. The program is the stand-in
// encoder printing three lines and ending. In rounds, one of each:
//   bare     - CreateProcess without a console (CREATE_NO_WINDOW), output on a pipe,
//              waiting for the process handle: how the benchmarks start mencoder.exe
//              and ffmpeg.exe directly;
//   console  - the same in a new hidden console (CREATE_NEW_CONSOLE, SW_HIDE): the
//              start the encoder contract asks for, without the runner;
//   runner   - TConsoleCommand::Execute (reader thread, hidden new console, line
//              hand-overs) and waiting for its end (WaitForRunEnd);
//   job      - TMEncoder::Run, the encoder job's wait loop, as the main window uses it.
// Then the CPU time of this process while the job waits on a program that prints one
// line a second for a few seconds (the runner's polling).
// Prints median, best and worst per variant and the load average before and after.
// Usage (under Wine): bench_runner_start.exe [ROUNDS] [STAND_IN_PATH] [IDLE_SECONDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "process/ConsoleCommand.h"
#include "process/UMEncoder.h"
#include "bench/BenchSupport.h"

using namespace vx;
using namespace vx::bench;

namespace {

// Starts the command with its output on a pipe, waits for its end and reads what it
// wrote; the time from the call to its end being seen, or -1.
double Direct(const std::wstring& commandLine, DWORD flags, bool hidden) {
    const long long t = Now();
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    THandle readEnd, writeEnd;
    if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &sa, 0)) return -1;
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | (hidden ? STARTF_USESHOWWINDOW : 0);
    si.wShowWindow = SW_HIDE;
    si.hStdOutput = si.hStdError = writeEnd.Get();
    PROCESS_INFORMATION pi = {};
    std::wstring line = commandLine;
    const BOOL started =
        ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si, &pi);
    writeEnd.Reset();
    if (!started) return -1;
    const THandle process(pi.hProcess), thread(pi.hThread);
    // The end is the program's end: a copy of the pipe's writing end may live on in a
    // console host for a while, so the pipe's own end is not waited for. The three
    // short lines fit in the pipe.
    ::WaitForSingleObject(process.Get(), INFINITE);
    const double ms = MsSince(t);
    std::string output;
    char buffer[4096];
    DWORD available = 0, got = 0;
    while (::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available &&
           ::ReadFile(readEnd.Get(), buffer, sizeof buffer, &got, nullptr) && got)
        output.append(buffer, got);
    return output.find("three") != std::string::npos ? ms : -1;
}

double ThroughRunner(const std::wstring& commandLine) {
    TConsoleCommand runner;
    runner.SetCommandLine(commandLine);
    const long long t = Now();
    runner.Execute();
    runner.WaitForRunEnd();
    const double ms = MsSince(t);
    return runner.GetRunState() == rsEnded && runner.Lines()->GetCount() >= 3 ? ms : -1;
}

double ThroughJob(TMEncoder& job, const std::wstring& commandLine) {
    job.SetCommandLine(commandLine);
    const long long t = Now();
    job.Run();
    const double ms = MsSince(t);
    return job.GetLastLine() == L"three" ? ms : -1;
}

struct TSeries {
    const char* Name;
    std::vector<double> Ms;
    void Print() const {
        std::vector<double> v = Ms;
        std::sort(v.begin(), v.end());
        const double median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
        std::printf("| %-8s | %zu | %7.1f ms | %7.1f ms | %7.1f ms |\n", Name, v.size(), median, v.front(), v.back());
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 15;
    const std::wstring standIn = argc > 2 ? argv[2] : L"stand_in_encoder.exe";
    const int idleSeconds = argc > 3 ? std::max(0, _wtoi(argv[3])) : 10;
    Application->GetHandle();

    const std::wstring command = L"\"" + standIn + L"\" line:one line:two out:three exit:0";
    const std::string loadBefore = LoadAverage();
    TSeries bare{"bare"}, console{"console"}, runner{"runner"}, job{"job"};
    TMEncoder encoder;
    for (int i = 0; i < rounds; ++i) {
        const double b = Direct(command, CREATE_NO_WINDOW, false);
        const double c = Direct(command, CREATE_NEW_CONSOLE, true);
        const double r = ThroughRunner(command);
        const double j = ThroughJob(encoder, command);
        if (b < 0 || c < 0 || r < 0 || j < 0) {
            std::fprintf(stderr, "round %d: a run failed (%.1f %.1f %.1f %.1f)\n", i + 1, b, c, r, j);
            return 1;
        }
        bare.Ms.push_back(b);
        console.Ms.push_back(c);
        runner.Ms.push_back(r);
        job.Ms.push_back(j);
    }
    std::printf("%d rounds, load average %s / %s\n", rounds, loadBefore.c_str(), LoadAverage().c_str());
    std::printf("| Start | Runs | Median | Best | Worst |\n|---|---|---|---|---|\n");
    for (const TSeries* s : {&bare, &console, &runner, &job}) s->Print();

    if (idleSeconds > 0) {
        std::wstring slow = L"\"" + standIn + L"\" line:one line:two";
        for (int i = 0; i < idleSeconds; ++i) slow += L" line:tick sleep:1000";
        slow += L" out:three exit:0";
        const double cpu0 = ProcessCpuMs();
        const long long t = Now();
        const double ms = ThroughJob(encoder, slow);
        const double cpu = ProcessCpuMs() - cpu0;
        std::printf("job waiting on %d lines in %.1f s: %.0f ms CPU of this process (%.0f ms per minute)%s\n",
                    idleSeconds, MsSince(t) / 1000.0, cpu, cpu / (MsSince(t) / 60000.0), ms < 0 ? " (failed)" : "");
    }
    return 0;
}
