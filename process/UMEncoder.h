#pragma once
// The encoder job: runs one encoder command to its end through a console process
// runner while the window keeps handling its messages, lets the window stop it, and
// tells which line the encoder printed last. Windows only.

#include <cstdint>
#include <memory>
#include <string>

#include "process/ConsoleCommand.h"

namespace vx {

// What GetLastLine reports until the encoder has printed three lines.
inline constexpr wchar_t kNoLogPlaceholder[] = L"Video: no log currently avalible. Working...";

// The latest meaningful line of `lines`: the placeholder below three entries, else the
// last entry, or the one before it when the last is empty.
std::wstring LastMeaningfulLine(const TStrings& lines);

// What the job's wait loop reaches outside itself. Each call does the real thing; a
// test derives and overrides what it watches.
class TJobServices {
public:
    virtual ~TJobServices() = default;
    // One round of the window's message handling: the application's ProcessMessages.
    virtual void ProcessMessages();
    // The program's instance.
    static TJobServices& System();
};

class TMEncoder {
public:
    explicit TMEncoder(TJobServices& services = TJobServices::System());
    // Frees the runner, which ends a run under way.
    ~TMEncoder();
    TMEncoder(const TMEncoder&) = delete;
    TMEncoder& operator=(const TMEncoder&) = delete;

    void SetCommandLine(const std::wstring& commandLine) { CommandLine = commandLine; }
    // Runs the stored command at high priority in a hidden new console and waits for
    // its end, handling window messages (timers, clicks such as a stop button) every
    // 30 ms; the runner's line hand-overs are served at once, and the end of the run
    // ends the wait at once. Returns the runner's ExitCode. A Stop from a message
    // handler makes it return at its next test.
    std::uint32_t Run();
    void Stop() { Runner->Stop(); }
    bool IsRunning() const { return Runner->IsRunning(); }
    std::wstring GetLastLine();

    std::wstring CommandLine;
    std::unique_ptr<TConsoleCommand> Runner;

private:
    TJobServices& services_;
};

}  // namespace vx
