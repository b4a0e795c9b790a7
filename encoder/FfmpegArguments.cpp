#include "encoder/FfmpegArguments.h"

#include <cwchar>

namespace vx {

namespace {

// Numbers written the way the engine reads them: integers without a fraction, others
// with up to three decimals and no trailing zeros.
std::wstring Num(double value) {
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%.3f", value);
    std::wstring text = buffer;
    while (!text.empty() && text.back() == L'0') text.pop_back();
    if (!text.empty() && text.back() == L'.') text.pop_back();
    return text;
}

std::wstring VideoCodecName(const TEncoderOptions& o) {
    switch (o.VideoEncoder) {
        case TVideoEncoder::veLavc: return o.LavcVideoCodec;
        case TVideoEncoder::veXvid: return L"libxvid";
        case TVideoEncoder::veX264: return L"libx264";
        case TVideoEncoder::veCopy: return L"copy";
        case TVideoEncoder::veNone: break;
    }
    return L"";
}

std::wstring AudioCodecName(const TEncoderOptions& o) {
    switch (o.AudioEncoder) {
        case TAudioEncoder::aeMp3Lame: return L"libmp3lame";
        case TAudioEncoder::aeFaac: return L"aac";
        case TAudioEncoder::aeLavc: return o.LavcAudioCodec;
        case TAudioEncoder::aePcm: return L"pcm_s16le";
        case TAudioEncoder::aeCopy: return L"copy";
        case TAudioEncoder::aeNone: break;
    }
    return L"";
}

// The container the engine writes; empty lets it choose by the output's extension.
std::wstring FormatName(const TEncoderOptions& o) {
    switch (o.Container) {
        case TContainer::ctAvi: return L"avi";
        case TContainer::ctLavf: return o.LavfFormat;
        case TContainer::ctMpeg:
            return o.VideoEncoder == TVideoEncoder::veLavc && o.LavcVideoCodec == L"mpeg2video" ? L"vob" : L"mpeg";
        case TContainer::ctRawAudio: {
            // The bare audio stream, as the codec's own elementary format.
            const std::wstring codec = AudioCodecName(o);
            if (codec == L"libmp3lame") return L"mp3";
            if (codec == L"aac") return L"adts";
            if (codec == L"mp2") return L"mp2";
            if (codec == L"ac3") return L"ac3";
            if (codec == L"pcm_s16le") return L"s16le";
            return L"";
        }
    }
    return L"";
}

// A scale dimension as an engine expression. Derived sides follow the picture's display
// aspect (dar), so a source with non-square pixels comes out with the right shape.
std::wstring ScaleWidth(int w) {
    if (w > 0) return std::to_wstring(w);
    if (w >= -1) return L"iw";
    return L"trunc(oh*dar/2)*2";
}

std::wstring ScaleHeight(int h) {
    if (h > 0) return std::to_wstring(h);
    if (h >= -1) return L"ih";
    return L"trunc(ow/dar/2)*2";
}

const wchar_t* ScalerName(int n) {
    static const wchar_t* const names[] = {L"fast_bilinear", L"bilinear", L"bicubic", L"experimental",
                                           L"neighbor",      L"area",     L"bicublin", L"gauss",
                                           L"sinc",          L"lanczos",  L"spline"};
    return names[n];
}

}  // namespace

std::wstring BuildVideoFilterChain(const TEncoderOptions& o) {
    std::wstring chain;
    auto add = [&chain](const std::wstring& filter) {
        if (!chain.empty()) chain += L",";
        chain += filter;
    };
    for (const auto& f : o.Filters) {
        switch (f.Kind) {
            case TVideoFilter::vfScale:
                if (f.Width <= 0 && f.Width >= -1 && f.Height <= 0 && f.Height >= -1) break;  // keeps the size
                add(L"scale=" + ScaleWidth(f.Width) + L":" + ScaleHeight(f.Height));
                add(L"setsar=1");
                break;
            case TVideoFilter::vfExpand: {
                // Centre the picture on a black W x H canvas; a picture larger than the
                // canvas is first shrunk to fit, keeping its shape. "\," keeps the commas
                // of the expressions inside one filter.
                const std::wstring w = std::to_wstring(f.Width), h = std::to_wstring(f.Height);
                const std::wstring fit = L"min(1\\,min(" + w + L"/(iw*sar)\\," + h + L"/ih))";
                add(L"scale=w=trunc(" + fit + L"*iw*sar/2)*2:h=trunc(" + fit + L"*ih/2)*2");
                add(L"setsar=1");
                add(L"pad=" + w + L":" + h + L":(ow-iw)/2:(oh-ih)/2");
                break;
            }
            case TVideoFilter::vfHarddup:
                // A fixed output frame rate already repeats frames where the source has gaps.
                break;
        }
    }
    return chain;
}

std::vector<std::wstring> BuildFfmpegArguments(const TEncoderOptions& o) {
    std::vector<std::wstring> a = {L"-hide_banner", L"-nostdin", L"-y", L"-loglevel", L"verbose"};
    auto add = [&a](std::initializer_list<std::wstring> items) { a.insert(a.end(), items); };

    if (o.StartTime > 0) add({L"-ss", Num(o.StartTime)});
    // "file:" keeps names that start with "-" or look like a protocol from being misread.
    add({L"-i", L"file:" + o.Source});
    if (o.EndPosition > 0) add({L"-t", Num(o.EndPosition)});

    if (o.NoVideo) {
        add({L"-vn"});
    } else {
        const std::wstring codec = VideoCodecName(o);
        add({L"-c:v", codec});
        if (codec != L"copy") {
            if (o.VideoEncoder == TVideoEncoder::veX264) {
                if (!o.X264Preset.empty()) add({L"-preset", o.X264Preset});
                if (!o.X264Tune.empty()) add({L"-tune", o.X264Tune});
                if (!o.X264Profile.empty()) add({L"-profile:v", o.X264Profile});
                if (!o.X264Level.empty()) add({L"-level", o.X264Level});
                if (o.VideoCrf >= 0) add({L"-crf", Num(o.VideoCrf)});
                if (o.VideoQuantizer > 0) add({L"-qp", Num(o.VideoQuantizer)});
                if (o.RefFrames > 0) add({L"-refs", std::to_wstring(o.RefFrames)});
                if (o.NoCabac) add({L"-x264-params", L"cabac=0"});
                // Players decode 4:2:0 only; a 4:2:2 or 4:4:4 source would pick a profile they lack.
                add({L"-pix_fmt", L"yuv420p"});
            } else if (o.VideoQuantizer > 0) {
                add({L"-q:v", Num(o.VideoQuantizer)});
            }
            if (o.VideoBitrate > 0) add({L"-b:v", std::to_wstring(o.VideoBitrate)});
            if (o.KeyInterval > 0) add({L"-g", std::to_wstring(o.KeyInterval)});
            if (o.MaxBFrames >= 0) add({L"-bf", std::to_wstring(o.MaxBFrames)});
            if (o.FourMotionVectors) add({L"-flags", L"+mv4"});
            if (o.MacroblockDecision >= 0) add({L"-mbd", std::to_wstring(o.MacroblockDecision)});
            if (o.Trellis && o.VideoEncoder != TVideoEncoder::veX264) add({L"-trellis", L"1"});
            if (o.Threads > 0) add({L"-threads", std::to_wstring(o.Threads)});
            const std::wstring chain = BuildVideoFilterChain(o);
            if (!chain.empty()) add({L"-vf", chain});
            if (o.Scaler >= 0) add({L"-sws_flags", ScalerName(o.Scaler)});
            if (!o.OutputFps.empty()) add({L"-r", o.OutputFps});
        }
        if (!o.Aspect.empty()) add({L"-aspect", o.Aspect});
        if (!o.FourCC.empty()) add({L"-vtag", o.FourCC});
    }

    if (o.NoSound) {
        add({L"-an"});
    } else {
        const std::wstring codec = AudioCodecName(o);
        add({L"-c:a", codec});
        if (codec != L"copy") {
            switch (o.AudioEncoder) {
                case TAudioEncoder::aeMp3Lame:
                    if (o.LameMode == TLameMode::lmVbr) {
                        add({L"-q:a", Num(o.AudioQuality >= 0 ? o.AudioQuality : 4)});
                    } else {
                        add({L"-b:a", std::to_wstring(o.AudioBitrate > 0 ? o.AudioBitrate : 128000)});
                        if (o.LameMode == TLameMode::lmAbr) add({L"-abr", L"1"});
                    }
                    break;
                case TAudioEncoder::aeFaac:
                    add({L"-b:a", std::to_wstring(o.AudioBitrate > 0 ? o.AudioBitrate : 128000)});
                    break;
                case TAudioEncoder::aeLavc:
                    if (o.AudioBitrate > 0) add({L"-b:a", std::to_wstring(o.AudioBitrate)});
                    break;
                default:
                    break;
            }
            if (o.SampleRate > 0) add({L"-ar", std::to_wstring(o.SampleRate)});
            if (o.Channels > 0) add({L"-ac", std::to_wstring(o.Channels)});
            else if (o.Mono) add({L"-ac", L"1"});
            if (o.HasVolume) add({L"-af", L"volume=" + Num(o.VolumeDb) + L"dB"});
        }
    }

    const std::wstring format = FormatName(o);
    if (!format.empty()) add({L"-f", format});
    add({L"-progress", L"pipe:1", L"-nostats", L"file:" + o.Output});
    return a;
}

std::wstring QuoteWindowsArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quotation mark follows them.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring JoinWindowsCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments) {
    // The program name is read up to the next quotation mark, without escapes.
    std::wstring line = L"\"" + program + L"\"";
    for (const auto& arg : arguments) line += L" " + QuoteWindowsArgument(arg);
    return line;
}

int NominalVideoKbit(const TEncoderOptions& o) {
    if (o.NoVideo || o.VideoEncoder == TVideoEncoder::veCopy) return 0;
    return o.VideoBitrate / 1000;
}

int NominalAudioKbit(const TEncoderOptions& o) {
    if (o.NoSound || o.AudioEncoder == TAudioEncoder::aeCopy) return 0;
    switch (o.AudioEncoder) {
        case TAudioEncoder::aeMp3Lame:
            if (o.LameMode == TLameMode::lmVbr) return 0;
            return (o.AudioBitrate > 0 ? o.AudioBitrate : 128000) / 1000;
        case TAudioEncoder::aeFaac: return (o.AudioBitrate > 0 ? o.AudioBitrate : 128000) / 1000;
        default: return o.AudioBitrate / 1000;
    }
}

}  // namespace vx
