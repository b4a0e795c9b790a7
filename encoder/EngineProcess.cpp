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
    THandle Pipe;
    bool FromStdout;
};

// Reads one pipe to its end, cutting it into lines at CR and LF. Owns its pipe handle
// and its share of the queue.
unsigned __stdcall ReadStream(void* argument) {
    std::unique_ptr<TReaderStart> start(static_cast<TReaderStart*>(argument));
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(start->Pipe.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
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
    start->Pipe.Reset();
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
        Job.Reset();
    } else if (Process && WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(Process.Get(), 1);
    }
    // A reader still blocked on a pipe held open elsewhere is left to the end of the
    // program; it only touches the shared queue. The members close the reader and
    // process handles.
    for (const THandle& reader : Readers)
        if (reader) WaitForSingleObject(reader.Get(), kDrainMs);
}

bool TEngineProcess::Start(const std::wstring& program, const std::wstring& commandLine, std::wstring& error,
                           std::wstring& warning) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    THandle readEnds[2];
    THandle writeEnds[2];
    for (int i = 0; i < 2; ++i) {
        if (!CreatePipe(readEnds[i].Receive(), writeEnds[i].Receive(), &inherit, 0)) {
            error = L"cannot create a pipe: " + SystemMessage(GetLastError());
            return false;
        }
        SetHandleInformation(readEnds[i].Get(), HANDLE_FLAG_INHERIT, 0);
    }
    THandle nul(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                            nullptr));
    KeepOwnStandardHandles();

    STARTUPINFOEXW si = {};
    si.StartupInfo.cb = sizeof si;
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    si.StartupInfo.hStdInput = nul.Get();
    si.StartupInfo.hStdOutput = writeEnds[0].Get();
    si.StartupInfo.hStdError = writeEnds[1].Get();
    // Only these three handles pass on to the engine.
    HANDLE inherited[3] = {writeEnds[0].Get(), writeEnds[1].Get(), nul.Get()};
    const DWORD inheritedCount = nul ? 3 : 2;
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
    // The engine holds its own copies now: the pipes reach their end when it ends.
    writeEnds[0].Reset();
    writeEnds[1].Reset();
    nul.Reset();
    if (!started) {
        error = L"cannot start \"" + program + L"\": " + SystemMessage(startError);
        return false;
    }
    Process.Reset(pi.hProcess);
    const THandle mainThread(pi.hThread);

    Job.Reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!Job || !SetInformationJobObject(Job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(Job.Get(), Process.Get())) {
        warning = L"the engine cannot be tied to this program (" + SystemMessage(GetLastError()) +
                  L"); it will not end if this program is ended from outside";
        Job.Reset();
    }
    ResumeThread(mainThread.Get());

    Queue->OpenStreams = 2;
    for (int i = 0; i < 2; ++i) {
        // The reader thread owns its start record and, through it, its pipe's end.
        auto start = std::make_unique<TReaderStart>(TReaderStart{Queue, std::move(readEnds[i]), i == 0});
        Readers[i].Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ReadStream, start.get(), 0, nullptr)));
        if (Readers[i]) {
            static_cast<void>(start.release());
        } else {
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
        if (endedAt == 0 && Process && WaitForSingleObject(Process.Get(), 0) == WAIT_OBJECT_0) endedAt = GetTickCount64();
        if (endedAt && GetTickCount64() - endedAt > kDrainMs) return false;
        Queue->Ready.wait_for(guard, std::chrono::milliseconds(100));
    }
}

unsigned long TEngineProcess::Wait() {
    if (!Process) return 1;
    WaitForSingleObject(Process.Get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(Process.Get(), &code);
    return code;
}

}  // namespace vx
