#include "process/ConsoleCommand.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "framework/Forms.h"

namespace vx {

namespace {

constexpr DWORD kStillActive = 259;
constexpr DWORD kInitialBufferSize = 1024;
// The pause between two looks into the pipe: 1 ms after output came, doubled after each
// look that found nothing, up to kLongestPause. A program that is quiet between its
// status lines is then looked at some 60 times a second instead of 1000 (each look is
// two requests to the system, under Wine to its server process), while a burst of
// output is read at once. The pause waits on the program, so its end is seen at once.
constexpr DWORD kLongestPause = 16;

// Output bytes become text as UTF-8 when they are valid UTF-8 (plain ASCII is), and in
// the system code page otherwise.
std::wstring DecodeOutput(const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int size = static_cast<int>(bytes.size());
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    UINT codePage = CP_UTF8;
    DWORD flags = MB_ERR_INVALID_CHARS;
    if (wide <= 0) {
        codePage = CP_ACP;
        flags = 0;
        wide = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    }
    std::wstring text(static_cast<size_t>(wide > 0 ? wide : 0), L'\0');
    if (wide > 0) MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), wide);
    return text;
}

std::string EncodeInput(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int narrow = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(narrow > 0 ? narrow : 0), '\0');
    if (narrow > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), narrow, nullptr, nullptr);
    return bytes;
}

// The failure code of a stage that an error ended; an outcome is kept as it is.
TRunState FailureOf(TRunState stage) {
    switch (stage) {
        case rsStarted: return rsFailedEarly;
        case rsCreatingPipes: return rsPipeFailed;
        case rsStarting: return rsCannotStart;
        case rsRunning: return rsRunFailed;
        default: return stage;
    }
}

}  // namespace

WORD ShowCommandOf(TShowWindow value) {
    static const WORD commands[] = {SW_HIDE,          SW_MAXIMIZE,         SW_MINIMIZE,      SW_RESTORE,
                                    SW_SHOW,          SW_SHOWDEFAULT,      SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED,
                                    SW_SHOWMINNOACTIVE, SW_SHOWNA,         SW_SHOWNOACTIVATE, SW_SHOWNORMAL};
    return commands[value];
}

DWORD CreationFlagOf(TCreationFlag value) {
    static const DWORD flags[] = {CREATE_DEFAULT_ERROR_MODE, CREATE_NEW_CONSOLE,       CREATE_NEW_PROCESS_GROUP,
                                  CREATE_SEPARATE_WOW_VDM,   CREATE_SHARED_WOW_VDM,    CREATE_SUSPENDED,
                                  CREATE_UNICODE_ENVIRONMENT, DEBUG_PROCESS,           DEBUG_ONLY_THIS_PROCESS,
                                  DETACHED_PROCESS};
    return flags[value];
}

// --- TProcessTimer ---------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TProcessTimer, TTimer)

TProcessTimer::TProcessTimer(TComponent* owner) : TTimer(owner) {
    SetEnabled(false);
    OnTimer = [this](TObject*) {
        ++SecondsSinceStart;
        ++SecondsSinceLastOutput;
    };
}

void TProcessTimer::StartCounting() {
    SetInterval(1000);
    SecondsSinceStart = 0;
    SecondsSinceLastOutput = 0;
    SetEnabled(true);
}

void TProcessTimer::StopCounting() { SetEnabled(false); }

// --- TConsoleRun -----------------------------------------------------------------------

TConsoleRun::TConsoleRun() : Done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

// --- TRunHandles -----------------------------------------------------------------------

// The handles of one run: both ends of the input and the output pipe, the program's
// process and its main thread. They close when the run's scope ends, the process
// handles first, on the normal and on every error path.
struct TRunHandles {
    THandle InputRead, InputWrite;
    THandle OutputRead, OutputWrite;
    THandle Process, Thread;
};

// --- TConsoleThread --------------------------------------------------------------------

// The reader thread of one run. It copies the runner's settings when it is made, so
// later changes to the runner do not affect the run, and frees itself when it ends.
class TConsoleThread : public TThread {
public:
    TConsoleThread(TConsoleCommand& owner, std::shared_ptr<TConsoleRun> run)
        : owner_(owner),
          run_(std::move(run)),
          commandLine_(owner.commandLine_),
          timer_(owner.timer_),
          maxTimeAfterBeginning_(owner.maxTimeAfterBeginning_),
          maxTimeAfterLastOutput_(owner.maxTimeAfterLastOutput_),
          onNewLine_(owner.OnNewLine),
          onTerminated_(owner.OnTerminated),
          priority_(owner.priority_),
          showWindow_(owner.showWindow_),
          creationFlag_(owner.creationFlag_),
          inputToOutput_(owner.inputToOutput_) {
        std::lock_guard<std::mutex> lock(owner_.inputLock_);
        owner_.inputLines_.Clear();
        SetFreeOnTerminate(true);
    }

protected:
    void Execute() override;

private:
    bool StopAsked() const { return run_->Terminated; }
    void RunProcess();
    void StartProgram(TRunHandles& io);
    void EndProgram(const TRunHandles& io);
    void FinishRun();
    void ReadLoop(const TRunHandles& io);
    void WriteInput(const TRunHandles& io);
    void AddLine(const std::string& bytes, TOutputType type);
    void SyncNewLine();

    TConsoleCommand& owner_;
    std::shared_ptr<TConsoleRun> run_;
    const std::wstring commandLine_;
    TProcessTimer* const timer_;
    const std::int32_t maxTimeAfterBeginning_;
    const std::int32_t maxTimeAfterLastOutput_;
    const TNewLineEvent onNewLine_;
    const TTerminateEvent onTerminated_;
    const std::uint32_t priority_;
    const TShowWindow showWindow_;
    const TCreationFlag creationFlag_;
    const bool inputToOutput_;

    // The line being handed to the main thread.
    std::wstring line_;
    TOutputType lineType_ = otEntireLine;
    bool lastWasPartial_ = false;

    TLineCutter cutter_;
    std::vector<char> buffer_;
    DWORD lastExitCode_ = kStillActive;
    DWORD failureError_ = 0;
    bool counting_ = false;
};

void TConsoleThread::Execute() {
    std::exception_ptr startError;
    try {
        RunProcess();
    } catch (const TCreatePipeError&) {
        startError = std::current_exception();
    } catch (const TCreateProcessError&) {
        startError = std::current_exception();
    } catch (...) {
        // Any other failure only ends the run; RunState tells what happened.
    }
    // The message is shown while the run still counts as active, so a caller waiting
    // for the run's end sees the message before it goes on.
    if (startError) {
        try {
            Synchronize([this, &startError] {
                try {
                    std::rethrow_exception(startError);
                } catch (const std::exception& e) {
                    Application->HandleException(&owner_, e);
                }
            });
        } catch (...) {
        }
    }
    run_->Active = false;
    run_->Terminated = true;
    SetEvent(run_->Done.Get());  // from here on the runner may go
}

// The end of a run is three steps, run in this order however the run ends: the program
// is ended and the counting stopped (EndProgram), the run's handles close, and the run's
// outcome is settled (FinishRun). The guards and the handles are declared in the
// reverse of that order.
void TConsoleThread::RunProcess() {
    owner_.runState_ = rsStarted;
    TScopeExit finish([this] { FinishRun(); });
    TRunHandles io;
    TScopeExit endProgram([this, &io] { EndProgram(io); });
    try {
        buffer_.assign(kInitialBufferSize, '\0');
        StartProgram(io);

        Synchronize([this] { timer_->StartCounting(); });
        counting_ = true;
        lastExitCode_ = kStillActive;
        owner_.runState_ = rsRunning;
        cutter_.Reset();
        lastWasPartial_ = false;

        ReadLoop(io);

        if (!cutter_.Pending().empty()) AddLine(cutter_.Pending(), otBeginningOfLine);
    } catch (...) {
        if (!failureError_) failureError_ = GetLastError();
        throw;
    }
}

void TConsoleThread::StartProgram(TRunHandles& io) {
    // The handles carry the inherit flag only; the default security of the process
    // applies (no descriptor that would open them to everyone).
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.bInheritHandle = TRUE;
    security.lpSecurityDescriptor = nullptr;

    owner_.runState_ = rsCreatingPipes;
    if (!CreatePipe(io.InputRead.Receive(), io.InputWrite.Receive(), &security, 0)) {
        failureError_ = GetLastError();
        throw TCreatePipeError(L"Cannot create the input pipe: " + SysErrorMessage(failureError_));
    }
    if (!CreatePipe(io.OutputRead.Receive(), io.OutputWrite.Receive(), &security, 0)) {
        failureError_ = GetLastError();
        throw TCreatePipeError(L"Cannot create the output pipe: " + SysErrorMessage(failureError_));
    }
    // The program inherits its own ends only; ours stay here, so nothing it starts
    // in turn can hold them.
    SetHandleInformation(io.InputWrite.Get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(io.OutputRead.Get(), HANDLE_FLAG_INHERIT, 0);

    owner_.runState_ = rsStarting;
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = ShowCommandOf(showWindow_);
    startup.hStdInput = io.InputRead.Get();
    startup.hStdOutput = io.OutputWrite.Get();
    startup.hStdError = io.OutputWrite.Get();
    startup.lpReserved = nullptr;
    startup.lpDesktop = nullptr;
    startup.lpTitle = nullptr;
    std::vector<wchar_t> commandLine(commandLine_.begin(), commandLine_.end());
    commandLine.push_back(L'\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        CreationFlagOf(creationFlag_) | priority_, nullptr, nullptr, &startup, &process)) {
        failureError_ = GetLastError();
        throw TCreateProcessError(commandLine_ + L" doesn't exist.");
    }
    io.Process.Reset(process.hProcess);
    io.Thread.Reset(process.hThread);
}

void TConsoleThread::ReadLoop(const TRunHandles& io) {
    DWORD pause = 1;
    for (;;) {
        DWORD exitCode = kStillActive;
        if (GetExitCodeProcess(io.Process.Get(), &exitCode)) lastExitCode_ = exitCode;

        DWORD readable = 0, waiting = 0;
        if (!PeekNamedPipe(io.OutputRead.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &readable, &waiting,
                           nullptr)) {
            readable = 0;
        }
        if (readable > 0) {
            if (waiting > buffer_.size()) buffer_.resize(waiting);
            std::fill(buffer_.begin(), buffer_.end(), '\0');
            DWORD got = 0;
            if (!ReadFile(io.OutputRead.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, nullptr)) {
                failureError_ = GetLastError();
                throw TCreatePipeError(L"Cannot read the program's output: " + SysErrorMessage(failureError_));
            }
            cutter_.CutChunk(
                buffer_.data(), got, [this](const std::string& line, TOutputType type) { AddLine(line, type); },
                [this] { return StopAsked(); });
            owner_.outputReturnCode_ = cutter_.OutputReturnCode();
            pause = 1;
        } else {
            WriteInput(io);
        }

        WaitForSingleObject(io.Process.Get(), pause);
        if (readable == 0) pause = std::min(pause * 2, kLongestPause);

        if (lastExitCode_ != kStillActive) {
            owner_.exitCode_ = lastExitCode_;
            owner_.runState_ = rsEnded;
            return;
        }
        if (StopAsked()) {
            owner_.runState_ = rsStopped;
            return;
        }
        if ((maxTimeAfterBeginning_ > 0 && timer_->SecondsSinceStart > maxTimeAfterBeginning_) ||
            (maxTimeAfterLastOutput_ > 0 && timer_->SecondsSinceLastOutput > maxTimeAfterLastOutput_)) {
            owner_.runState_ = rsTimedOut;
            return;
        }
    }
}

void TConsoleThread::WriteInput(const TRunHandles& io) {
    for (;;) {
        if (StopAsked()) return;
        std::wstring line;
        {
            std::lock_guard<std::mutex> lock(owner_.inputLock_);
            if (owner_.inputLines_.GetCount() == 0) return;
            line = owner_.inputLines_.Strings(0);
            owner_.inputLines_.Delete(0);
        }
        const std::string bytes = EncodeInput(line);
        if (bytes.size() > buffer_.size()) buffer_.resize(bytes.size());
        std::copy(bytes.begin(), bytes.end(), buffer_.begin());
        size_t sent = 0;
        while (sent < bytes.size()) {
            DWORD wrote = 0;
            if (!WriteFile(io.InputWrite.Get(), buffer_.data() + sent, static_cast<DWORD>(bytes.size() - sent), &wrote,
                           nullptr) ||
                wrote == 0)
                break;
            sent += wrote;
        }
        if (inputToOutput_)
            cutter_.EchoInput(bytes, lastWasPartial_,
                              [this](const std::string& l, TOutputType type) { AddLine(l, type); });
    }
}

void TConsoleThread::AddLine(const std::string& bytes, TOutputType type) {
    try {
        const std::wstring line = DecodeOutput(bytes);
        {
            TWriteLock lock(owner_.linesLock_);
            owner_.lines_.Add(line);
        }
        timer_->ResetLastOutput();
        line_ = line;
        lineType_ = type;
        Synchronize([this] { SyncNewLine(); });
    } catch (...) {
        // A failed delivery is dropped; reading goes on.
    }
}

void TConsoleThread::SyncNewLine() {
    if (TStrings* output = owner_.outputLines_) {
        TUpdateGuard update(*output);
        if (output->GetCount() == 0) {
            if (lineType_ == otEntireLine)
                output->Add(line_);
            else
                output->SetText(line_);
        } else if (lastWasPartial_) {
            output->Put(output->GetCount() - 1, line_);
        } else {
            output->Add(line_);
        }
    }
    lastWasPartial_ = lineType_ == otBeginningOfLine;
    if (onNewLine_) onNewLine_(&owner_, line_, lineType_);
}

// Ends a program that is still running (stopped or timed out) and stops the counting.
void TConsoleThread::EndProgram(const TRunHandles& io) {
    if (io.Process && lastExitCode_ == kStillActive) {
        TerminateProcess(io.Process.Get(), 0);
        // Let the program be gone before the run counts as ended.
        WaitForSingleObject(io.Process.Get(), 5000);
    }
    if (counting_) {
        try {
            Synchronize([this] { timer_->StopCounting(); });
        } catch (...) {
        }
        counting_ = false;
    }
}

// After the run's handles are closed: frees the buffer, reports the end and turns a
// stage that an error cut short into its failure code.
void TConsoleThread::FinishRun() {
    buffer_.clear();
    buffer_.shrink_to_fit();

    if (onTerminated_) {
        try {
            onTerminated_(&owner_, lastExitCode_);
        } catch (...) {
        }
    }
    const TRunState stage = owner_.runState_;
    const TRunState outcome = FailureOf(stage);
    if (outcome != stage) {
        owner_.runState_ = outcome;
        owner_.exitCode_ = failureError_ ? failureError_ : GetLastError();
    }
}

// --- TConsoleCommand -------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TConsoleCommand, TComponent)

TConsoleCommand::TConsoleCommand(TComponent* owner) : TComponent(owner) {}

TConsoleCommand::~TConsoleCommand() {
    Stop();
    WaitForRunEnd();
}

void TConsoleCommand::Execute() {
    if (commandLine_.empty()) return;
    Stop();
    // The previous reader thread still touches Lines, RunState and the timer until its
    // clean-up is over; the new run must not share them with it.
    WaitForRunEnd();
    if (!timer_) timer_ = new TProcessTimer(this);
    {
        TWriteLock lock(linesLock_);
        lines_.Clear();
    }
    runState_ = rsStarted;
    run_ = std::make_shared<TConsoleRun>();
    lastRun_ = run_;
    TThread::Run<TConsoleThread>(*this, run_);
}

void TConsoleCommand::Stop() {
    if (!run_) return;
    run_->Terminated = true;
    run_.reset();
}

bool TConsoleCommand::IsRunning() const { return run_ && run_->Active && !run_->Terminated; }

bool TConsoleCommand::WaitForRunEnd(DWORD timeoutMs) {
    if (!lastRun_) return true;
    if (WaitForHandle(lastRun_->Done.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
    lastRun_.reset();
    return true;
}

void TConsoleCommand::AddInputLine(const std::wstring& line) {
    std::lock_guard<std::mutex> lock(inputLock_);
    inputLines_.Add(line);
}

int TConsoleCommand::InputLineCount() {
    std::lock_guard<std::mutex> lock(inputLock_);
    return inputLines_.GetCount();
}

}  // namespace vx
