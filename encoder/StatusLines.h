#pragma once
// The lines the encoder prints in the classic encoder's shape: the status line that is
// rewritten in place while it works, and the closing per-stream lines of a successful
// run. The converter reads the frame count and percentage from the first and takes a
// last line beginning with "Video stream" or "Audio stream" as success. Platform-free.

#include <string>

namespace vx {

struct TStatusSnapshot {
    double PositionSeconds = 0;
    long long Frames = 0;
    int Percent = 0;               // 0 to 100
    double FramesPerSecond = 0;    // encoding speed
    int RemainingMinutes = 0;
    int EstimatedMegabytes = 0;    // expected size of the finished file
    int VideoKbit = 0;             // nominal bit rates shown in brackets
    int AudioKbit = 0;
};

// "Pos:  12.3s    308f (12%)  48.20fps Trem:   1min  12mb  A-V:0.000 [800:128]"
// (no line end; the caller ends it with a bare carriage return).
std::string FormatStatusLine(const TStatusSnapshot& s);

struct TStreamSummary {
    long long Bytes = 0;
    double Seconds = 0;
    long long Frames = 0;
};

// "Video stream:  800.123 kbit/s  (100015 B/s)  size: 1234567 bytes  12.345 secs  308 frames"
std::string FormatVideoStreamLine(const TStreamSummary& s);
// "Audio stream:  128.000 kbit/s  (16000 B/s)  size: 197000 bytes  12.312 secs"
std::string FormatAudioStreamLine(const TStreamSummary& s);

}  // namespace vx
