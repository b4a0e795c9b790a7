#include "encoder/EngineProcess.h"

#include <process.h>

#include <chrono>
#include <vector>

namespace vx {

namespace {

std::wstring SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n ? std::wstring(text, n) : L"system error " + std::to_wstring(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

void CloseIf(HANDLE& h) {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = nullptr;
}

// This program's own standard handles must not pass on to the engine: the engine gets
// exactly the handles made for it.
void KeepOwnStandardHandles() {
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE h = GetStdHandle(which);
        if (h && h != INVALID_HANDLE_VALUE) SetHandleInformation(h, HANDLE_FLAG_INHERIT, 0);
    }
}

// How long the last output may take to arrive after the child has ended.
constexpr DWORD kDrainMs = 1000;

struct TReaderStart {
    std::shared_ptr<TEngineProcess::TLineQueue> Queue;
    HANDLE Pipe;
    bool FromStdout;
};

// Reads one pipe to its end, cutting it into lines at CR and LF. Owns its pipe handle
// and its share of the queue.
unsigned __stdcall ReadStream(void* argument) {
    std::unique_ptr<TReaderStart> start(static_cast<TReaderStart*>(argument));
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(start->Pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\r' || c == '\n') {
                if (!pending.empty()) start->Queue->Push(start->FromStdout, std::move(pending));
                pending.clear();
            } else {
                pending += c;
            }
        }
    }
    if (!pending.empty()) start->Queue->Push(start->FromStdout, std::move(pending));
    CloseHandle(start->Pipe);
    std::lock_guard<std::mutex> guard(start->Queue->Lock);
    --start->Queue->OpenStreams;
    start->Queue->Ready.notify_one();
    return 0;
}

}  // namespace

void TEngineProcess::TLineQueue::Push(bool fromStdout, std::string text) {
    std::lock_guard<std::mutex> guard(Lock);
    Lines.push_back({fromStdout, std::move(text)});
    Ready.notify_one();
}

TEngineProcess::~TEngineProcess() {
    // Closing the job ends the child; without a job it is ended directly.
    if (Job) {
        CloseIf(Job);
    } else if (Process && WaitForSingleObject(Process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(Process, 1);
    }
    // A reader still blocked on a pipe held open elsewhere is left to the end of the
    // program; it only touches the shared queue.
    for (auto& reader : Readers) {
        if (reader) WaitForSingleObject(reader, kDrainMs);
        CloseIf(reader);
    }
    CloseIf(Process);
}

bool TEngineProcess::Start(const std::wstring& program, const std::wstring& commandLine, std::wstring& error,
                           std::wstring& warning) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnds[2] = {nullptr, nullptr};
    HANDLE writeEnds[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i) {
        if (!CreatePipe(&readEnds[i], &writeEnds[i], &inherit, 0)) {
            error = L"cannot create a pipe: " + SystemMessage(GetLastError());
            for (auto* h : {&readEnds[0], &writeEnds[0]}) CloseIf(*h);
            return false;
        }
        SetHandleInformation(readEnds[i], HANDLE_FLAG_INHERIT, 0);
    }
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                             nullptr);
    KeepOwnStandardHandles();

    STARTUPINFOEXW si = {};
    si.StartupInfo.cb = sizeof si;
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    si.StartupInfo.hStdInput = nul;
    si.StartupInfo.hStdOutput = writeEnds[0];
    si.StartupInfo.hStdError = writeEnds[1];
    // Only these three handles pass on to the engine.
    HANDLE inherited[3] = {writeEnds[0], writeEnds[1], nul};
    const DWORD inheritedCount = nul != INVALID_HANDLE_VALUE ? 3 : 2;
    SIZE_T attributeSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributes(attributeSize);
    DWORD flags = CREATE_SUSPENDED;
    si.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    if (attributeSize && InitializeProcThreadAttributeList(si.lpAttributeList, 1, 0, &attributeSize) &&
        UpdateProcThreadAttribute(si.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                  inheritedCount * sizeof(HANDLE), nullptr, nullptr)) {
        si.StartupInfo.cb = sizeof(STARTUPINFOEXW);
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    } else {
        si.StartupInfo.cb = sizeof(STARTUPINFOW);
        si.lpAttributeList = nullptr;
    }
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    PROCESS_INFORMATION pi = {};
    // The engine does the work, so it gets the priority that this program was given.
    const DWORD priority = GetPriorityClass(GetCurrentProcess());
    const BOOL started = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, flags | priority, nullptr,
                                        nullptr, &si.StartupInfo, &pi);
    const DWORD startError = GetLastError();
    if (si.lpAttributeList) DeleteProcThreadAttributeList(si.lpAttributeList);
    CloseIf(writeEnds[0]);
    CloseIf(writeEnds[1]);
    CloseIf(nul);
    if (!started) {
        CloseIf(readEnds[0]);
        CloseIf(readEnds[1]);
        error = L"cannot start \"" + program + L"\": " + SystemMessage(startError);
        return false;
    }
    Process = pi.hProcess;

    Job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!Job || !SetInformationJobObject(Job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(Job, Process)) {
        warning = L"the engine cannot be tied to this program (" + SystemMessage(GetLastError()) +
                  L"); it will not end if this program is ended from outside";
        CloseIf(Job);
    }
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);

    Queue->OpenStreams = 2;
    for (int i = 0; i < 2; ++i) {
        auto* start = new TReaderStart{Queue, readEnds[i], i == 0};
        Readers[i] = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ReadStream, start, 0, nullptr));
        if (!Readers[i]) {
            delete start;
            CloseHandle(readEnds[i]);
            std::lock_guard<std::mutex> guard(Queue->Lock);
            --Queue->OpenStreams;
        }
    }
    return true;
}

bool TEngineProcess::NextLine(TEngineLine& line) {
    std::unique_lock<std::mutex> guard(Queue->Lock);
    ULONGLONG endedAt = 0;
    for (;;) {
        if (!Queue->Lines.empty()) {
            line = std::move(Queue->Lines.front());
            Queue->Lines.pop_front();
            return true;
        }
        if (Queue->OpenStreams == 0) return false;
        if (endedAt == 0 && Process && WaitForSingleObject(Process, 0) == WAIT_OBJECT_0) endedAt = GetTickCount64();
        if (endedAt && GetTickCount64() - endedAt > kDrainMs) return false;
        Queue->Ready.wait_for(guard, std::chrono::milliseconds(100));
    }
}

unsigned long TEngineProcess::Wait() {
    if (!Process) return 1;
    WaitForSingleObject(Process, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(Process, &code);
    return code;
}

}  // namespace vx
