#pragma once
// The encoder job: runs one encoder command to its end through a console process
// runner while the window keeps handling its messages, lets the window stop it, and
// tells which line the encoder printed last. Windows only.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "process/ConsoleCommand.h"

namespace vx {

// What GetLastLine reports until the encoder has printed three lines.
inline constexpr wchar_t kNoLogPlaceholder[] = L"Video: no log currently avalible. Working...";

// The latest meaningful line of `lines`: the placeholder below three entries, else the
// last entry, or the one before it when the last is empty.
std::wstring LastMeaningfulLine(const TStrings& lines);

class TMEncoder {
public:
    TMEncoder();
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

    // The message handling of the wait loop; by default the application's
    // ProcessMessages. Tests may replace it.
    std::function<void()> ProcessMessages;

    std::wstring CommandLine;
    std::unique_ptr<TConsoleCommand> Runner;
};

}  // namespace vx
