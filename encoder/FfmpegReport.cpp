#include "encoder/FfmpegReport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace vx {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::string TrimLeft(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return text.substr(i);
}

// The number that ends right before `marker` (e.g. "25" of "25 fps"); negative when none.
double NumberBefore(const std::string& text, const std::string& marker) {
    size_t at = text.find(marker);
    if (at == std::string::npos) return -1;
    size_t end = at;
    size_t begin = end;
    while (begin > 0 && (std::isdigit(static_cast<unsigned char>(text[begin - 1])) || text[begin - 1] == '.')) --begin;
    if (begin == end) return -1;
    return std::strtod(text.substr(begin, end - begin).c_str(), nullptr);
}

// The whole number that starts at `at` (after blanks); negative when none.
long long NumberAt(const std::string& text, size_t at) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return -1;
    return std::strtoll(text.c_str() + at, nullptr, 10);
}

// The whole number right before `marker`, e.g. 126 of "126 frames encoded".
long long CountBefore(const std::string& text, const std::string& marker) {
    size_t at = text.find(marker);
    if (at == std::string::npos) return -1;
    size_t begin = at;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(text[begin - 1]))) --begin;
    if (begin == at) return -1;
    return std::strtoll(text.substr(begin, at - begin).c_str(), nullptr, 10);
}

}  // namespace

double ParseClockTime(const std::string& text) {
    int h = 0, m = 0;
    double s = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%lf%c", &h, &m, &s, &tail) < 3) return -1;
    if (h < 0 || m < 0 || m >= 60 || s < 0 || s >= 60) return -1;
    return h * 3600.0 + m * 60.0 + s;
}

void TFfmpegReport::AddLogLine(const std::string& raw) {
    const std::string line = TrimLeft(raw);
    if (line.empty()) return;

    if (StartsWith(line, "Input #")) {
        Section = sInput;
        ++InputsSeen;
    } else if (StartsWith(line, "Output #")) {
        Section = sOutput;
    } else if (StartsWith(line, "Output file #")) {
        Section = sOutputTotals;
    } else if (StartsWith(line, "Input file #") || StartsWith(line, "Stream mapping:")) {
        Section = sNone;
    } else if (Section == sInput && InputsSeen == 1 && StartsWith(line, "Duration:") && Duration < 0) {
        Duration = ParseClockTime(line.substr(9 + (line.size() > 9 && line[9] == ' ' ? 1 : 0)));
    } else if (Section == sOutput && StartsWith(line, "Stream #")) {
        if (line.find(": Video: ") != std::string::npos && Fps <= 0) {
            double fps = NumberBefore(line, " fps");
            if (fps > 0) Fps = fps;
        } else if (line.find(": Audio: ") != std::string::npos && SampleRate <= 0) {
            double rate = NumberBefore(line, " Hz");
            if (rate > 0) SampleRate = static_cast<int>(rate);
        }
    } else if (Section == sOutputTotals && StartsWith(line, "Output stream #")) {
        ReadTotals(line);
    } else if (!ExactTotals && StartsWith(line, "video:")) {
        // The short summary, in kibibytes: used only when the detailed one is missing.
        long long v = NumberAt(line, 6);
        size_t a = line.find("audio:");
        long long au = a == std::string::npos ? -1 : NumberAt(line, a + 6);
        if (v > 0) Video = {true, v * 1024, Current.Frames, 0};
        if (au > 0) Audio = {true, au * 1024, 0, 0};
    }

    // Remember what may explain a failure; the engine's I/O statistics explain nothing.
    if (line.find("Statistics:") == std::string::npos) {
        Recent.push_back(line);
        if (Recent.size() > 4) Recent.pop_front();
    }
}

void TFfmpegReport::ReadTotals(const std::string& line) {
    // "Output stream #0:0 (video): 126 frames encoded; 126 packets muxed (210467 bytes); "
    // "Output stream #0:1 (audio): 218 frames encoded (222336 samples); 219 packets muxed (43244 bytes); "
    const bool video = line.find("(video):") != std::string::npos;
    const bool audio = line.find("(audio):") != std::string::npos;
    if (!video && !audio) return;
    TEngineStreamTotals totals;
    totals.Seen = true;
    long long encoded = CountBefore(line, " frames encoded");
    long long muxed = CountBefore(line, " packets muxed");
    size_t open = line.find("muxed (");
    totals.Bytes = open == std::string::npos ? 0 : std::max(0LL, NumberAt(line, open + 7));
    totals.Frames = encoded > 0 ? encoded : std::max(0LL, muxed);
    totals.Samples = std::max(0LL, CountBefore(line, " samples)"));
    if (!ExactTotals) Video = Audio = TEngineStreamTotals{};
    ExactTotals = true;
    (video ? Video : Audio) = totals;
}

bool TFfmpegReport::AddProgressLine(const std::string& line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    const std::string key = line.substr(0, eq);
    const std::string value = TrimLeft(line.substr(eq + 1));
    if (key == "frame") {
        Pending.Frames = std::max(0LL, std::atoll(value.c_str()));
    } else if (key == "out_time_us" || key == "out_time_ms") {
        // Both carry microseconds in the engine's output (the second by an old quirk).
        if (value != "N/A") Pending.OutTimeSeconds = std::max(0.0, std::atof(value.c_str()) / 1e6);
    } else if (key == "total_size") {
        if (value != "N/A") Pending.TotalSize = std::max(0LL, std::atoll(value.c_str()));
    } else if (key == "progress") {
        Pending.Ended = value == "end";
        Current = Pending;
        return true;
    }
    return false;
}

}  // namespace vx
