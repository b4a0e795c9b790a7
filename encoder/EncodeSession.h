#pragma once
// One run of the encoder as the user sees it: the opening lines, a status line for each
// progress report of the engine, and at the end either the closing stream lines or the
// reason for the failure. It only interprets; running the engine and printing are the
// program's. Platform-free.

#include <optional>
#include <string>
#include <vector>

#include "encoder/EncoderOptions.h"
#include "encoder/FfmpegReport.h"
#include "encoder/StatusLines.h"

namespace vx {

struct TSessionOutcome {
    bool Ok = false;
    // Lines to print after the last status line. On success the last one is a stream
    // line ("Audio stream: ..." when there is sound, else "Video stream: ...").
    std::vector<std::wstring> Lines;
};

class TEncodeSession {
public:
    explicit TEncodeSession(TEncoderOptions options);

    std::vector<std::wstring> BannerLines(const std::wstring& engineCommandLine) const;

    void AddLogLine(const std::string& line) { Report.AddLogLine(line); }
    // The status line to show when the line completes one of the engine's progress blocks.
    std::optional<std::string> AddProgressLine(const std::string& line, double elapsedSeconds);

    // The expected length of the output in seconds (source length less the start
    // position, limited by -endpos); negative when it cannot be known.
    double ExpectedDuration() const;
    TStatusSnapshot Snapshot(double elapsedSeconds) const;

    // The end of the run: the engine's exit code and whether an output file exists.
    TSessionOutcome Finish(unsigned long exitCode, bool outputWritten, double elapsedSeconds) const;

    const TFfmpegReport& EngineReport() const { return Report; }

private:
    TEncoderOptions Options;
    TFfmpegReport Report;
};

// Decodes UTF-8 text (the engine's log); a malformed sequence becomes U+FFFD.
std::wstring WidenUtf8(const std::string& text);

}  // namespace vx
