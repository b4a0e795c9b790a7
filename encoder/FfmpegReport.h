#pragma once
// What the ffmpeg engine tells about a conversion: the source's duration, the output
// streams' frame rate and sample rate and, at the end, the bytes, frames and samples
// written per stream (from its verbose log on standard error), and the running
// position, frame count and size (from its key=value progress blocks on standard
// output). Platform-free; lines arrive without their line ends.

#include <deque>
#include <string>

namespace vx {

struct TEngineProgress {
    long long Frames = 0;
    double OutTimeSeconds = 0;
    long long TotalSize = 0;
    bool Ended = false;  // the engine's last block ("progress=end")
};

struct TEngineStreamTotals {
    bool Seen = false;
    long long Bytes = 0;
    long long Frames = 0;   // frames encoded, or packets written when the stream is copied
    long long Samples = 0;  // audio only; 0 when not reported
};

class TFfmpegReport {
public:
    void AddLogLine(const std::string& line);
    // Returns true when the line completes a progress block.
    bool AddProgressLine(const std::string& line);

    double InputDuration() const { return Duration; }  // seconds; negative when unknown
    double OutputFps() const { return Fps; }           // 0 when unknown
    int OutputSampleRate() const { return SampleRate; }  // 0 when unknown
    const TEngineProgress& Progress() const { return Current; }
    const TEngineStreamTotals& VideoTotals() const { return Video; }
    const TEngineStreamTotals& AudioTotals() const { return Audio; }
    // The last few log lines that say something (for a failure message).
    const std::deque<std::string>& RecentLines() const { return Recent; }

private:
    enum TSection { sNone, sInput, sOutput, sOutputTotals };
    void ReadTotals(const std::string& line);

    TSection Section = sNone;
    int InputsSeen = 0;
    double Duration = -1;
    double Fps = 0;
    int SampleRate = 0;
    TEngineProgress Pending, Current;
    TEngineStreamTotals Video, Audio;
    bool ExactTotals = false;  // per-stream totals came from the detailed report
    std::deque<std::string> Recent;
};

// "HH:MM:SS.ff" as seconds; negative when the text is not such a time.
double ParseClockTime(const std::string& text);

}  // namespace vx
