#pragma once
// The console process runner: starts one console program with its standard input,
// output and error redirected to pipes, reads the merged output on a reader thread,
// cuts it into lines (TLineCutter), keeps every line in Lines and hands each one to the
// main thread synchronously. It can stop the program and end it after time limits.
// Windows only.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/ExtCtrls.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"
#include "framework/Threads.h"
#include "process/LineCutter.h"

namespace vx {

class TConsoleCommand;

using TNewLineEvent = std::function<void(TObject* Sender, const std::wstring& NewLine, TOutputType OutputType)>;
using TTerminateEvent = std::function<void(TObject* Sender, std::uint32_t ExitCode)>;

enum TShowWindow {
    swHIDE, swMAXIMIZE, swMINIMIZE, swRESTORE, swSHOW, swSHOWDEFAULT, swSHOWMAXIMIZED,
    swSHOWMINIMIZED, swSHOWMINNOACTIVE, swSHOWNA, swSHOWNOACTIVATE, swSHOWNORMAL
};
enum TCreationFlag {
    fCREATE_DEFAULT_ERROR_MODE, fCREATE_NEW_CONSOLE, fCREATE_NEW_PROCESS_GROUP, fCREATE_SEPARATE_WOW_VDM,
    fCREATE_SHARED_WOW_VDM, fCREATE_SUSPENDED, fCREATE_UNICODE_ENVIRONMENT, fDEBUG_PROCESS,
    fDEBUG_ONLY_THIS_PROCESS, fDETACHED_PROCESS
};
// The Windows show command and process creation flag each value stands for.
WORD ShowCommandOf(TShowWindow value);
DWORD CreationFlagOf(TCreationFlag value);

class TCreatePipeError : public Exception {
public:
    using Exception::Exception;
};
class TCreateProcessError : public Exception {
public:
    using Exception::Exception;
};

// Stage or outcome of the last run. A run moves through the even stages; a failure in
// one of them ends the run in the odd code that follows it.
enum class TRunState : std::uint8_t {
    rsStarted = 0,          // the reader thread has begun
    rsFailedEarly = 1,      // failed before the pipes were made
    rsCreatingPipes = 2,
    rsPipeFailed = 3,
    rsStarting = 4,
    rsCannotStart = 5,
    rsRunning = 6,
    rsRunFailed = 7,        // an error ended the run while the program ran
    rsEnded = 8,            // the program ended by itself; ExitCode is its exit code
    rsStopped = 9,          // stopped on request
    rsTimedOut = 10,        // a time limit was exceeded
};
using enum TRunState;

// Counts whole seconds since a run started and since its last delivered line. Ticks on
// the main thread; the reader thread reads the counters.
class TProcessTimer : public TTimer {
    VX_DECLARE_CLASS(TProcessTimer, TTimer)
public:
    explicit TProcessTimer(TComponent* owner);
    void StartCounting();
    void ResetLastOutput() { SecondsSinceLastOutput = 0; }
    void StopCounting();

    std::atomic<std::int32_t> SecondsSinceStart{0};
    std::atomic<std::int32_t> SecondsSinceLastOutput{0};
};

// What the runner and its reader thread share for one run. The thread frees itself, so
// the runner never keeps a pointer to it: it looks at this record instead.
struct TConsoleRun {
    std::atomic<bool> Active{true};
    std::atomic<bool> Terminated{false};
    // Signalled when the thread has finished with the runner (after its clean-up).
    THandle Done;
    TConsoleRun();
};

class TConsoleCommand : public TComponent {
    VX_DECLARE_CLASS(TConsoleCommand, TComponent)
public:
    explicit TConsoleCommand(TComponent* owner = nullptr);
    // Stops a run under way and waits until its reader thread has finished its clean-up
    // (serving the thread's hand-overs meanwhile).
    ~TConsoleCommand() override;

    // Starts a run of CommandLine (nothing happens when it is empty). A run under way is
    // stopped, and its reader thread's clean-up waited for, first. Returns at once.
    void Execute();
    // Asks the reader thread to end the program; IsRunning is false at once.
    void Stop();
    bool IsRunning() const;
    // Waits until the last run's reader thread has finished, serving its hand-overs to
    // the main thread meanwhile; true when it has (or there was none).
    bool WaitForRunEnd(DWORD timeoutMs = INFINITE);

    std::wstring GetCommandLine() const { return commandLine_; }
    void SetCommandLine(const std::wstring& value) { commandLine_ = value; }
    bool GetInputToOutput() const { return inputToOutput_; }
    void SetInputToOutput(bool value) { inputToOutput_ = value; }
    std::int32_t GetMaxTimeAfterBeginning() const { return maxTimeAfterBeginning_; }
    void SetMaxTimeAfterBeginning(std::int32_t seconds) { maxTimeAfterBeginning_ = seconds; }
    std::int32_t GetMaxTimeAfterLastOutput() const { return maxTimeAfterLastOutput_; }
    void SetMaxTimeAfterLastOutput(std::int32_t seconds) { maxTimeAfterLastOutput_ = seconds; }
    std::uint32_t GetPriority() const { return priority_; }
    void SetPriority(std::uint32_t value) { priority_ = value; }
    TShowWindow GetShowWindow() const { return showWindow_; }
    void SetShowWindow(TShowWindow value) { showWindow_ = value; }
    TCreationFlag GetCreationFlag() const { return creationFlag_; }
    void SetCreationFlag(TCreationFlag value) { creationFlag_ = value; }

    TRunState GetRunState() const { return runState_; }
    std::uint32_t GetExitCode() const { return exitCode_; }
    TReturnCode GetOutputReturnCode() const { return outputReturnCode_; }
    TProcessTimer* GetTimer() const { return timer_; }

    // Every line delivered in the current run, partial ones included. The reader thread
    // writes it holding LinesLock for writing; readers hold it for reading.
    TStringList* Lines() { return &lines_; }
    TMultiReadExclusiveWriteSynchronizer& LinesLock() { return linesLock_; }
    // Queues a line for the program's standard input (written as it stands, in the
    // system code page, no line end added). A new run starts with an empty queue, so
    // lines are queued after Execute.
    void AddInputLine(const std::wstring& line);
    int InputLineCount();
    // An optional list, not owned, kept in step on the main thread: a partial line is
    // replaced by its later form.
    TStrings* GetOutputLines() const { return outputLines_; }
    void SetOutputLines(TStrings* list) { outputLines_ = list; }

    TNewLineEvent OnNewLine;
    TTerminateEvent OnTerminated;

private:
    friend class TConsoleThread;

    std::wstring commandLine_;
    bool inputToOutput_ = false;
    std::int32_t maxTimeAfterBeginning_ = 0;
    std::int32_t maxTimeAfterLastOutput_ = 0;
    std::uint32_t priority_ = NORMAL_PRIORITY_CLASS;
    TShowWindow showWindow_ = swHIDE;
    TCreationFlag creationFlag_ = fCREATE_NEW_CONSOLE;
    std::atomic<TRunState> runState_{rsStarted};
    std::atomic<std::uint32_t> exitCode_{0};
    std::atomic<TReturnCode> outputReturnCode_{rcCRLF};

    TProcessTimer* timer_ = nullptr;  // owned as a component
    TStringList lines_;
    TStringList inputLines_;
    std::mutex inputLock_;  // guards inputLines_ (main thread adds, reader takes)
    TStrings* outputLines_ = nullptr;
    TMultiReadExclusiveWriteSynchronizer linesLock_;

    std::shared_ptr<TConsoleRun> run_;      // the current run; empty when idle or stopped
    std::shared_ptr<TConsoleRun> lastRun_;  // the last run started, until its thread is done
};

}  // namespace vx
