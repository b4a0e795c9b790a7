#include "encoder/StatusLines.h"

#include <algorithm>
#include <cstdio>

namespace vx {

namespace {

// Display fields are clamped so that a wild estimate never widens or breaks the line.
int Clamp(long long value, int low, int high) {
    return static_cast<int>(std::min<long long>(std::max<long long>(value, low), high));
}

double BytesPerSecond(const TStreamSummary& s) { return s.Seconds > 0 ? s.Bytes / s.Seconds : 0.0; }

}  // namespace

std::string FormatStatusLine(const TStatusSnapshot& s) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "Pos:%6.1fs %6lldf (%2d%%) %6.2ffps Trem:%4dmin %3dmb  A-V:%5.3f [%d:%d]",
                  std::max(0.0, s.PositionSeconds), std::max(0LL, s.Frames), Clamp(s.Percent, 0, 100),
                  std::min(std::max(0.0, s.FramesPerSecond), 99999.0), Clamp(s.RemainingMinutes, 0, 9999),
                  Clamp(s.EstimatedMegabytes, 0, 999999), 0.0, Clamp(s.VideoKbit, 0, 999999),
                  Clamp(s.AudioKbit, 0, 999999));
    return buffer;
}

std::string FormatVideoStreamLine(const TStreamSummary& s) {
    const double rate = BytesPerSecond(s);
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "Video stream: %8.3f kbit/s  (%lld B/s)  size: %lld bytes  %5.3f secs  %lld frames",
                  rate * 8 / 1000, static_cast<long long>(rate), s.Bytes, s.Seconds, s.Frames);
    return buffer;
}

std::string FormatAudioStreamLine(const TStreamSummary& s) {
    const double rate = BytesPerSecond(s);
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "Audio stream: %8.3f kbit/s  (%lld B/s)  size: %lld bytes  %5.3f secs",
                  rate * 8 / 1000, static_cast<long long>(rate), s.Bytes, s.Seconds);
    return buffer;
}

}  // namespace vx
