#include "encoder/EncodeSession.h"

#include <algorithm>
#include <cmath>

#include "encoder/FfmpegArguments.h"

namespace vx {

namespace {

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring VideoDescription(const TEncoderOptions& o) {
    if (o.NoVideo) return L"no video";
    switch (o.VideoEncoder) {
        case TVideoEncoder::veLavc: return L"lavc " + o.LavcVideoCodec;
        case TVideoEncoder::veXvid: return L"xvid";
        case TVideoEncoder::veX264: return L"x264";
        case TVideoEncoder::veCopy: return L"video copied";
        case TVideoEncoder::veNone: break;
    }
    return L"";
}

std::wstring AudioDescription(const TEncoderOptions& o) {
    if (o.NoSound) return L"no sound";
    switch (o.AudioEncoder) {
        case TAudioEncoder::aeMp3Lame: return L"mp3lame";
        case TAudioEncoder::aeFaac: return L"faac";
        case TAudioEncoder::aeLavc: return L"lavc " + o.LavcAudioCodec;
        case TAudioEncoder::aePcm: return L"pcm";
        case TAudioEncoder::aeCopy: return L"sound copied";
        case TAudioEncoder::aeNone: break;
    }
    return L"";
}

std::wstring WithRate(const std::wstring& text, int kbit) {
    return kbit > 0 ? text + L" " + std::to_wstring(kbit) + L" kbit/s" : text;
}

}  // namespace

TEncodeSession::TEncodeSession(TEncoderOptions options) : Options(std::move(options)) {}

std::vector<std::wstring> TEncodeSession::BannerLines(const std::wstring& engineCommandLine) const {
    std::vector<std::wstring> lines = {
        L"Vexlo encoder 1.3 (mencoder options, ffmpeg engine)",
        L"Source: " + Options.Source,
        L"Output: " + Options.Output + L" (" + WithRate(VideoDescription(Options), NominalVideoKbit(Options)) +
            L", " + WithRate(AudioDescription(Options), NominalAudioKbit(Options)) + L")",
    };
    if (Options.Verbose) lines.push_back(L"Engine: " + engineCommandLine);
    return lines;
}

double TEncodeSession::ExpectedDuration() const {
    double total = Report.InputDuration();
    if (total >= 0 && Options.StartTime > 0) total = std::max(0.0, total - Options.StartTime);
    if (Options.EndPosition > 0) total = total < 0 ? Options.EndPosition : std::min(total, Options.EndPosition);
    return total;
}

TStatusSnapshot TEncodeSession::Snapshot(double elapsed) const {
    const TEngineProgress& p = Report.Progress();
    TStatusSnapshot s;
    s.PositionSeconds = p.OutTimeSeconds;
    s.Frames = p.Frames;
    s.VideoKbit = NominalVideoKbit(Options);
    s.AudioKbit = NominalAudioKbit(Options);
    if (elapsed > 0) s.FramesPerSecond = p.Frames / elapsed;

    const double total = ExpectedDuration();
    const double done = total > 0 ? std::min(1.0, p.OutTimeSeconds / total) : 0.0;
    s.Percent = static_cast<int>(std::floor(done * 100));
    constexpr double kMegabyte = 1024.0 * 1024.0;
    if (done > 0) {
        s.RemainingMinutes = static_cast<int>(std::lround(elapsed * (1 - done) / done / 60));
        s.EstimatedMegabytes = static_cast<int>(std::lround(p.TotalSize / done / kMegabyte));
    } else {
        s.EstimatedMegabytes = static_cast<int>(std::lround(p.TotalSize / kMegabyte));
    }
    return s;
}

std::optional<std::string> TEncodeSession::AddProgressLine(const std::string& line, double elapsed) {
    if (!Report.AddProgressLine(line)) return std::nullopt;
    return FormatStatusLine(Snapshot(elapsed));
}

TSessionOutcome TEncodeSession::Finish(unsigned long exitCode, bool outputWritten, double elapsed) const {
    TSessionOutcome outcome;
    auto fail = [&outcome, this](const std::wstring& reason) {
        for (const auto& line : Report.RecentLines()) outcome.Lines.push_back(L"ffmpeg: " + WidenUtf8(line));
        outcome.Lines.push_back(L"Exiting... (" + reason + L")");
        return outcome;
    };
    if (exitCode != 0) return fail(L"the engine failed with exit code " + std::to_wstring(exitCode));
    if (!outputWritten) return fail(L"the engine wrote no output file");

    const TEngineStreamTotals& video = Report.VideoTotals();
    const TEngineStreamTotals& audio = Report.AudioTotals();
    const bool hasVideo = !Options.NoVideo && video.Seen;
    const bool hasAudio = !Options.NoSound && audio.Seen;
    if (!hasVideo && !hasAudio) return fail(L"the engine wrote no stream");

    // The run is complete: the last status line stands at the end.
    TStatusSnapshot last = Snapshot(elapsed);
    last.Percent = 100;
    last.RemainingMinutes = 0;
    last.EstimatedMegabytes = static_cast<int>(std::lround(Report.Progress().TotalSize / (1024.0 * 1024.0)));
    outcome.Lines.push_back(Widen(FormatStatusLine(last)));
    outcome.Lines.push_back(L"");

    const double played = Report.Progress().OutTimeSeconds;
    if (hasVideo) {
        TStreamSummary s;
        s.Bytes = video.Bytes;
        s.Frames = video.Frames;
        s.Seconds = Report.OutputFps() > 0 ? video.Frames / Report.OutputFps() : played;
        outcome.Lines.push_back(Widen(FormatVideoStreamLine(s)));
    }
    if (hasAudio) {
        TStreamSummary s;
        s.Bytes = audio.Bytes;
        s.Seconds = audio.Samples > 0 && Report.OutputSampleRate() > 0
                        ? static_cast<double>(audio.Samples) / Report.OutputSampleRate()
                        : played;
        outcome.Lines.push_back(Widen(FormatAudioStreamLine(s)));
    }
    outcome.Ok = true;
    return outcome;
}

std::wstring WidenUtf8(const std::string& text) {
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        unsigned long code = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
        bool ok = extra >= 0 && i + extra < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) ok = false;
            else code = (code << 6) | (t & 0x3F);
        }
        static const unsigned long kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) ok = false;
        if (!ok) {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        if (code >= 0x10000 && sizeof(wchar_t) == 2) {
            code -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (code >> 10));
            out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<wchar_t>(code);
        }
        i += extra + 1;
    }
    return out;
}

}  // namespace vx
