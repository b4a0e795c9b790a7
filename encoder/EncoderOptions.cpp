#include "encoder/EncoderOptions.h"

#include <cmath>
#include <cstdlib>
#include <cwchar>

namespace vx {

namespace {

// An option error travels as an exception inside the parser only; ParseEncoderOptions
// turns it into its result.
struct TOptionError {
    std::wstring Message;
};

[[noreturn]] void Fail(const std::wstring& message) { throw TOptionError{message}; }

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring Lower(std::wstring text) {
    for (auto& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

bool IsOneOf(const std::wstring& value, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names)
        if (value == name) return true;
    return false;
}

// "key=value:flag:key=value" as used by the codec option groups. Empty items are skipped.
struct TSubOption {
    std::wstring Key;
    std::wstring Value;
    bool HasValue = false;
};

std::vector<TSubOption> SplitSubOptions(const std::wstring& text, wchar_t separator) {
    std::vector<TSubOption> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring item = text.substr(start, end - start);
        if (!item.empty()) {
            TSubOption option;
            size_t eq = item.find(L'=');
            if (eq == std::wstring::npos) {
                option.Key = item;
            } else {
                option.Key = item.substr(0, eq);
                option.Value = item.substr(eq + 1);
                option.HasValue = true;
            }
            items.push_back(option);
        }
        start = end + 1;
    }
    return items;
}

// Readers that name the option in their message.
class TGroupReader {
public:
    TGroupReader(std::wstring group, const TSubOption& option) : Group(std::move(group)), Option(option) {}

    const std::wstring& Value() const {
        if (!Option.HasValue || Option.Value.empty())
            Fail(Group + L": suboption " + Option.Key + L" needs a value");
        return Option.Value;
    }

    int Int(int low, int high) const {
        int value = 0;
        if (!ParseInteger(Value(), value) || value < low || value > high)
            Fail(Group + L": " + Option.Key + L"=" + Option.Value + L" is not a whole number from " +
                 std::to_wstring(low) + L" to " + std::to_wstring(high));
        return value;
    }

    double Number(double low, double high) const {
        double value = 0;
        if (!ParseNumber(Value(), value) || value < low || value > high)
            Fail(Group + L": " + Option.Key + L"=" + Option.Value + L" is not a number from " +
                 std::to_wstring(static_cast<int>(low)) + L" to " + std::to_wstring(static_cast<int>(high)));
        return value;
    }

    // A video bit rate: kbit/s, or bit/s when the number is above 16000 (the classic rule).
    int VideoBitrate() const {
        int value = Int(1, 100000000);
        return value > 16000 ? value : value * 1000;
    }

    void NoValue() const {
        if (Option.HasValue) Fail(Group + L": suboption " + Option.Key + L" takes no value");
    }

    [[noreturn]] void Unknown() const { Fail(Group + L": unknown suboption " + Option.Key); }
    [[noreturn]] void Unsupported(const std::wstring& why) const {
        Fail(Group + L": suboption " + Option.Key + L" is not supported (" + why + L")");
    }

    std::wstring Group;
    const TSubOption& Option;
};

// Tuning switches of the classic encoders that have no counterpart in the engine; they
// are accepted so that existing profiles keep working, and change nothing.
bool IsIgnoredLavcTuning(const std::wstring& key) {
    return IsOneOf(key, {L"autoaspect", L"vhq", L"vglobal", L"aglobal", L"turbo", L"cmp", L"subcmp",
                         L"precmp", L"predia", L"dia", L"last_pred", L"naq", L"mv0", L"cbp", L"preme",
                         L"psnr", L"vqmin", L"vqmax"});
}

void ReadAspect(const std::wstring& group, const TGroupReader& r, std::wstring& aspect) {
    const std::wstring& value = r.Value();
    size_t slash = value.find(L'/');
    double a = 0, b = 1;
    bool ok = slash == std::wstring::npos
                  ? ParseNumber(value, a)
                  : ParseNumber(value.substr(0, slash), a) && ParseNumber(value.substr(slash + 1), b);
    if (!ok || a <= 0 || b <= 0) Fail(group + L": aspect=" + value + L" is not a ratio such as 16/9");
    aspect = value;
}

void ReadLavcOptions(const std::wstring& text, TEncoderOptions& o) {
    const std::wstring group = L"-lavcopts";
    for (const auto& item : SplitSubOptions(text, L':')) {
        TGroupReader r(group, item);
        const std::wstring& k = item.Key;
        if (k == L"vcodec") {
            if (!IsOneOf(r.Value(), {L"mpeg4", L"msmpeg4", L"msmpeg4v2", L"wmv1", L"wmv2", L"flv", L"h263",
                                     L"h263p", L"mpeg1video", L"mpeg2video", L"mjpeg"}))
                Fail(group + L": unknown video codec " + item.Value);
            o.LavcVideoCodec = item.Value;
        } else if (k == L"acodec") {
            if (!IsOneOf(r.Value(), {L"mp2", L"ac3", L"aac", L"libfaac", L"libmp3lame", L"wmav1", L"wmav2",
                                     L"pcm_s16le", L"adpcm_ima_wav", L"libopencore_amrnb"}))
                Fail(group + L": unknown audio codec " + item.Value);
            o.LavcAudioCodec = item.Value == L"libfaac" ? L"aac" : item.Value;
        } else if (k == L"vbitrate") {
            o.VideoBitrate = r.VideoBitrate();
        } else if (k == L"abitrate") {
            o.AudioBitrate = r.Int(8, 640) * 1000;
        } else if (k == L"vqscale") {
            o.VideoQuantizer = r.Number(1, 31);
        } else if (k == L"keyint") {
            o.KeyInterval = r.Int(1, 1000);
        } else if (k == L"vmax_b_frames") {
            o.MaxBFrames = r.Int(0, 16);
        } else if (k == L"v4mv") {
            r.NoValue();
            o.FourMotionVectors = true;
        } else if (k == L"mbd") {
            o.MacroblockDecision = r.Int(0, 2);
        } else if (k == L"trell") {
            r.NoValue();
            o.Trellis = true;
        } else if (k == L"threads") {
            o.Threads = r.Int(1, 16);
        } else if (k == L"aspect") {
            ReadAspect(group, r, o.Aspect);
        } else if (k == L"vpass") {
            r.Unsupported(L"one pass only");
        } else if (IsIgnoredLavcTuning(k)) {
            // accepted, no effect
        } else {
            r.Unknown();
        }
    }
}

void ReadXvidOptions(const std::wstring& text, TEncoderOptions& o) {
    const std::wstring group = L"-xvidencopts";
    for (const auto& item : SplitSubOptions(text, L':')) {
        TGroupReader r(group, item);
        const std::wstring& k = item.Key;
        if (k == L"bitrate") {
            o.VideoBitrate = r.VideoBitrate();
        } else if (k == L"fixed_quant") {
            o.VideoQuantizer = r.Number(1, 31);
        } else if (k == L"max_key_interval") {
            o.KeyInterval = r.Int(1, 1000);
        } else if (k == L"max_bframes") {
            o.MaxBFrames = r.Int(0, 16);
        } else if (k == L"threads") {
            o.Threads = r.Int(1, 16);
        } else if (k == L"trellis") {
            r.NoValue();
            o.Trellis = true;
        } else if (k == L"pass") {
            r.Unsupported(L"one pass only");
        } else if (IsOneOf(k, {L"vhq", L"bvhq", L"chroma_me", L"chroma_opt", L"hq_ac", L"turbo", L"autoaspect",
                               L"nochroma_me", L"nochroma_opt", L"quant_type", L"me_quality"})) {
            // quality switches without a counterpart: accepted, no effect
        } else {
            r.Unknown();
        }
    }
}

void ReadX264Options(const std::wstring& text, TEncoderOptions& o) {
    const std::wstring group = L"-x264encopts";
    for (const auto& item : SplitSubOptions(text, L':')) {
        TGroupReader r(group, item);
        const std::wstring& k = item.Key;
        if (k == L"bitrate") {
            o.VideoBitrate = r.Int(1, 100000) * 1000;
        } else if (k == L"crf") {
            o.VideoCrf = r.Number(0, 51);
        } else if (k == L"qp") {
            o.VideoQuantizer = r.Number(0, 69);
        } else if (k == L"preset") {
            if (!IsOneOf(r.Value(), {L"ultrafast", L"superfast", L"veryfast", L"faster", L"fast", L"medium",
                                     L"slow", L"slower", L"veryslow", L"placebo"}))
                Fail(group + L": unknown preset " + item.Value);
            o.X264Preset = item.Value;
        } else if (k == L"tune") {
            if (!IsOneOf(r.Value(), {L"film", L"animation", L"grain", L"stillimage", L"psnr", L"ssim",
                                     L"fastdecode", L"zerolatency"}))
                Fail(group + L": unknown tune " + item.Value);
            o.X264Tune = item.Value;
        } else if (k == L"profile") {
            if (!IsOneOf(r.Value(), {L"baseline", L"main", L"high"}))
                Fail(group + L": unknown profile " + item.Value);
            o.X264Profile = item.Value;
        } else if (k == L"level_idc") {
            // 30 means level 3.0, 13 level 1.3.
            int level = r.Int(10, 52);
            o.X264Level = std::to_wstring(level / 10) + L"." + std::to_wstring(level % 10);
        } else if (k == L"keyint") {
            o.KeyInterval = r.Int(1, 1000);
        } else if (k == L"bframes") {
            o.MaxBFrames = r.Int(0, 16);
        } else if (k == L"frameref") {
            o.RefFrames = r.Int(1, 16);
        } else if (k == L"threads") {
            if (item.Value != L"auto") o.Threads = r.Int(1, 16);
        } else if (k == L"nocabac") {
            r.NoValue();
            o.NoCabac = true;
        } else if (k == L"pass") {
            r.Unsupported(L"one pass only");
        } else if (IsOneOf(k, {L"subq", L"8x8dct", L"no8x8dct", L"turbo", L"global_header", L"partitions",
                               L"me", L"trellis", L"weight_b", L"mixed_refs", L"nofast_pskip"})) {
            // analysis switches: the preset covers them; accepted, no effect
        } else {
            r.Unknown();
        }
    }
}

void ReadLameOptions(const std::wstring& text, TEncoderOptions& o) {
    const std::wstring group = L"-lameopts";
    for (const auto& item : SplitSubOptions(text, L':')) {
        TGroupReader r(group, item);
        const std::wstring& k = item.Key;
        if (k == L"cbr") {
            r.NoValue();
            o.LameMode = TLameMode::lmCbr;
        } else if (k == L"abr") {
            r.NoValue();
            o.LameMode = TLameMode::lmAbr;
        } else if (k == L"vbr") {
            r.Int(0, 4);
            o.LameMode = TLameMode::lmVbr;
        } else if (k == L"br") {
            o.AudioBitrate = r.Int(8, 320) * 1000;
        } else if (k == L"q") {
            o.AudioQuality = r.Int(0, 9);
        } else if (k == L"mode") {
            // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
            o.Mono = r.Int(0, 3) == 3;
        } else if (IsOneOf(k, {L"aq", L"padding"})) {
            r.Int(0, 9);
        } else if (k == L"fast") {
            r.NoValue();
        } else if (k == L"preset" || k == L"vol") {
            r.Unsupported(L"use br, q and -af volume");
        } else {
            r.Unknown();
        }
    }
}

void ReadFaacOptions(const std::wstring& text, TEncoderOptions& o) {
    const std::wstring group = L"-faacopts";
    for (const auto& item : SplitSubOptions(text, L':')) {
        TGroupReader r(group, item);
        const std::wstring& k = item.Key;
        if (k == L"br") {
            o.AudioBitrate = r.Int(8, 576) * 1000;
        } else if (k == L"mpeg") {
            int version = r.Int(2, 4);
            if (version == 3) Fail(group + L": mpeg must be 2 or 4");
        } else if (k == L"object") {
            // 2 (low complexity) is the only kind portable players decode.
            if (r.Int(1, 4) != 2) r.Unsupported(L"only object=2, low complexity");
        } else if (IsOneOf(k, {L"tns", L"raw"})) {
            r.NoValue();
        } else if (k == L"quality") {
            r.Int(10, 500);
        } else {
            r.Unknown();
        }
    }
}

void ReadLavfOptions(const std::wstring& text, TEncoderOptions& o) {
    const std::wstring group = L"-lavfopts";
    for (const auto& item : SplitSubOptions(text, L':')) {
        TGroupReader r(group, item);
        if (item.Key == L"format") {
            if (!IsOneOf(r.Value(), {L"mp4", L"ipod", L"psp", L"3gp", L"3g2", L"mov", L"flv", L"avi", L"asf",
                                     L"matroska", L"mpegts", L"mpeg"}))
                Fail(group + L": unknown format " + item.Value);
            o.LavfFormat = item.Value;
        } else if (IsOneOf(item.Key, {L"i_certify_that_my_video_stream_does_not_use_b_frames", L"delay"})) {
            // accepted, no effect
        } else {
            r.Unknown();
        }
    }
}

// A scale dimension: a size, or 0/-1 (keep) or -2/-3 (from the other side).
int ReadScaleSize(const std::wstring& text) {
    int value = 0;
    if (!ParseInteger(text, value) || value < -3 || value > 8192)
        Fail(L"-vf scale: " + text + L" is not a size (1 to 8192, or 0, -1, -2, -3)");
    return value;
}

void ReadVideoFilters(const std::wstring& text, TEncoderOptions& o) {
    o.Filters.clear();
    for (const auto& item : SplitSubOptions(text, L',')) {
        std::vector<std::wstring> params;
        for (const auto& p : SplitSubOptions(item.Value, L':')) params.push_back(p.Key + (p.HasValue ? L"=" + p.Value : L""));
        TVideoFilter filter;
        if (item.Key == L"scale") {
            filter.Kind = TVideoFilter::vfScale;
            if (params.size() > 2) Fail(L"-vf scale takes a width and a height only");
            filter.Width = params.size() > 0 ? ReadScaleSize(params[0]) : 0;
            filter.Height = params.size() > 1 ? ReadScaleSize(params[1]) : 0;
            if (filter.Width <= -2 && filter.Height <= -2)
                Fail(L"-vf scale: width and height cannot both be derived from each other");
        } else if (item.Key == L"expand") {
            filter.Kind = TVideoFilter::vfExpand;
            if (params.size() != 2) Fail(L"-vf expand needs a width and a height");
            if (!ParseInteger(params[0], filter.Width) || !ParseInteger(params[1], filter.Height) ||
                filter.Width < 16 || filter.Height < 16 || filter.Width > 8192 || filter.Height > 8192)
                Fail(L"-vf expand: " + item.Value + L" is not a picture size");
        } else if (item.Key == L"harddup") {
            filter.Kind = TVideoFilter::vfHarddup;
            if (!params.empty()) Fail(L"-vf harddup takes no parameters");
        } else {
            Fail(L"-vf: unknown filter " + item.Key);
        }
        o.Filters.push_back(filter);
    }
}

void ReadAudioFilters(const std::wstring& text, TEncoderOptions& o) {
    for (const auto& item : SplitSubOptions(text, L',')) {
        if (item.Key != L"volume") Fail(L"-af: unknown filter " + item.Key);
        // volume=gain[:softclip]; the gain is in decibels.
        auto params = SplitSubOptions(item.Value, L':');
        double gain = 0;
        if (params.empty() || params[0].HasValue || !ParseNumber(params[0].Key, gain) || gain < -200 || gain > 60)
            Fail(L"-af volume: the gain must be a number of decibels from -200 to 60");
        if (params.size() > 2) Fail(L"-af volume takes a gain and a soft-clip switch only");
        o.HasVolume = true;
        o.VolumeDb = gain;
    }
}

bool IsFrameRate(const std::wstring& text) {
    size_t slash = text.find(L'/');
    double a = 0, b = 1;
    bool ok = slash == std::wstring::npos
                  ? ParseNumber(text, a)
                  : ParseNumber(text.substr(0, slash), a) && ParseNumber(text.substr(slash + 1), b);
    return ok && a > 0 && b > 0 && a / b <= 240;
}

class TParser {
public:
    explicit TParser(const std::vector<std::wstring>& args) : Args(args) {}

    TEncoderOptions Run() {
        for (Index = 0; Index < Args.size(); ++Index) {
            const std::wstring& arg = Args[Index];
            if (arg.size() > 1 && arg[0] == L'-')
                Option(arg);
            else if (arg.empty() || arg == L"-")
                Fail(L"\"" + arg + L"\" is not a file name");
            else if (!O.Source.empty())
                Fail(L"more than one source file: \"" + O.Source + L"\" and \"" + arg + L"\"");
            else
                O.Source = arg;
        }
        Check();
        return O;
    }

private:
    const std::wstring& Value(const std::wstring& name) {
        if (Index + 1 >= Args.size()) Fail(L"option " + name + L" needs a value");
        return Args[++Index];
    }

    void Option(const std::wstring& name) {
        if (name == L"-o") {
            O.Output = Value(name);
            if (O.Output.empty()) Fail(L"option -o needs a file name");
        } else if (name == L"-of") {
            const std::wstring v = Lower(Value(name));
            if (v == L"avi") O.Container = TContainer::ctAvi;
            else if (v == L"lavf") O.Container = TContainer::ctLavf;
            else if (v == L"rawaudio") O.Container = TContainer::ctRawAudio;
            else if (v == L"mpeg") O.Container = TContainer::ctMpeg;
            else Fail(L"-of: unknown output format " + v + L" (avi, lavf, rawaudio, mpeg)");
        } else if (name == L"-ovc") {
            const std::wstring v = Lower(Value(name));
            if (v == L"lavc") O.VideoEncoder = TVideoEncoder::veLavc;
            else if (v == L"xvid") O.VideoEncoder = TVideoEncoder::veXvid;
            else if (v == L"x264") O.VideoEncoder = TVideoEncoder::veX264;
            else if (v == L"copy") O.VideoEncoder = TVideoEncoder::veCopy;
            else Fail(L"-ovc: unknown video encoder " + v + L" (lavc, xvid, x264, copy)");
        } else if (name == L"-oac") {
            const std::wstring v = Lower(Value(name));
            if (v == L"mp3lame") O.AudioEncoder = TAudioEncoder::aeMp3Lame;
            else if (v == L"faac") O.AudioEncoder = TAudioEncoder::aeFaac;
            else if (v == L"lavc") O.AudioEncoder = TAudioEncoder::aeLavc;
            else if (v == L"pcm") O.AudioEncoder = TAudioEncoder::aePcm;
            else if (v == L"copy") O.AudioEncoder = TAudioEncoder::aeCopy;
            else Fail(L"-oac: unknown audio encoder " + v + L" (mp3lame, faac, lavc, pcm, copy)");
        } else if (name == L"-lavcopts") {
            ReadLavcOptions(Value(name), O);
        } else if (name == L"-xvidencopts") {
            ReadXvidOptions(Value(name), O);
        } else if (name == L"-x264encopts") {
            ReadX264Options(Value(name), O);
        } else if (name == L"-lameopts") {
            ReadLameOptions(Value(name), O);
        } else if (name == L"-faacopts") {
            ReadFaacOptions(Value(name), O);
        } else if (name == L"-lavfopts") {
            ReadLavfOptions(Value(name), O);
        } else if (name == L"-vf") {
            ReadVideoFilters(Value(name), O);
        } else if (name == L"-af") {
            ReadAudioFilters(Value(name), O);
        } else if (name == L"-ofps") {
            const std::wstring& v = Value(name);
            if (!IsFrameRate(v)) Fail(L"-ofps: " + v + L" is not a frame rate");
            O.OutputFps = v;
        } else if (name == L"-srate") {
            O.SampleRate = Integer(name, 8000, 192000);
        } else if (name == L"-channels") {
            O.Channels = Integer(name, 1, 8);
        } else if (name == L"-ss") {
            O.StartTime = Time(name);
        } else if (name == L"-endpos") {
            O.EndPosition = Time(name);
            if (O.EndPosition <= 0) Fail(L"-endpos must be longer than zero");
        } else if (name == L"-sws") {
            O.Scaler = Integer(name, 0, 10);
        } else if (name == L"-ffourcc") {
            const std::wstring& v = Value(name);
            if (v.size() != 4) Fail(L"-ffourcc needs four characters");
            O.FourCC = v;
        } else if (name == L"-mc") {
            double ignored = 0;
            if (!ParseNumber(Value(name), ignored)) Fail(L"-mc needs a number");
        } else if (name == L"-nosound") {
            O.NoSound = true;
        } else if (name == L"-novideo") {
            O.NoVideo = true;
        } else if (name == L"-noskip" || name == L"-quiet") {
            // the engine never skips frames and always prints its status line
        } else if (name == L"-v") {
            O.Verbose = true;
        } else {
            Fail(L"unknown option " + name);
        }
    }

    int Integer(const std::wstring& name, int low, int high) {
        const std::wstring& v = Value(name);
        int value = 0;
        if (!ParseInteger(v, value) || value < low || value > high)
            Fail(name + L": " + v + L" is not a whole number from " + std::to_wstring(low) + L" to " +
                 std::to_wstring(high));
        return value;
    }

    double Time(const std::wstring& name) {
        const std::wstring& v = Value(name);
        double seconds = 0;
        if (!ParseTime(v, seconds)) Fail(name + L": " + v + L" is not a time ([[hh:]mm:]ss[.ff])");
        return seconds;
    }

    void Check() {
        if (O.Source.empty()) Fail(L"no source file given");
        if (O.Output.empty()) Fail(L"no output file given (-o)");
        if (IsSameFilePath(O.Source, O.Output)) Fail(L"the output file is the source file");
        if (O.LavfFormat.size() && O.Container != TContainer::ctLavf)
            Fail(L"-lavfopts needs -of lavf");
        const bool audioOnly = O.Container == TContainer::ctRawAudio;
        if (audioOnly) {
            O.NoVideo = true;
            if (O.NoSound) Fail(L"-of rawaudio writes audio only, but -nosound was given");
        }
        if (O.NoVideo && O.NoSound) Fail(L"nothing to encode: both -novideo and -nosound were given");
        if (!O.NoVideo && O.VideoEncoder == TVideoEncoder::veNone)
            Fail(L"no video encoder selected (-ovc)");
        if (!O.NoSound && O.AudioEncoder == TAudioEncoder::aeNone)
            Fail(L"no audio encoder selected (-oac); use -nosound for a file without sound");
        if (audioOnly && O.AudioEncoder == TAudioEncoder::aeLavc &&
            IsOneOf(O.LavcAudioCodec, {L"wmav1", L"wmav2", L"adpcm_ima_wav", L"libopencore_amrnb"}))
            Fail(L"-of rawaudio cannot hold " + O.LavcAudioCodec);
        if (O.VideoEncoder == TVideoEncoder::veCopy && !O.NoVideo && !O.Filters.empty()) {
            for (const auto& f : O.Filters)
                if (f.Kind != TVideoFilter::vfHarddup) Fail(L"-vf cannot change a copied video stream (-ovc copy)");
        }
    }

    const std::vector<std::wstring>& Args;
    size_t Index = 0;
    TEncoderOptions O;
};

}  // namespace

bool ParseInteger(const std::wstring& text, int& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == text.size()) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (!IsAsciiDigit(text[i])) return false;
        result = result * 10 + (text[i] - L'0');
        if (result > 2147483647LL) return false;
    }
    value = static_cast<int>(negative ? -result : result);
    return true;
}

bool ParseNumber(const std::wstring& text, double& value) {
    // Digits with at most one decimal point, an optional sign; no exponent, no blanks.
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    bool digits = false, point = false;
    for (size_t j = i; j < text.size(); ++j) {
        if (IsAsciiDigit(text[j])) digits = true;
        else if (text[j] == L'.' && !point) point = true;
        else return false;
    }
    if (!digits) return false;
    value = std::wcstod(text.c_str(), nullptr);
    return std::isfinite(value);
}

bool ParseTime(const std::wstring& text, double& seconds) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t colon = text.find(L':', start);
        parts.push_back(text.substr(start, colon == std::wstring::npos ? std::wstring::npos : colon - start));
        if (colon == std::wstring::npos) break;
        start = colon + 1;
    }
    if (parts.size() > 3) return false;
    double total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        double part = 0;
        const bool last = i + 1 == parts.size();
        if (parts[i].empty() || parts[i][0] == L'-' || parts[i][0] == L'+' || !ParseNumber(parts[i], part))
            return false;
        if (!last && parts[i].find(L'.') != std::wstring::npos) return false;
        if (i > 0 && part >= 60) return false;
        total = total * 60 + part;
    }
    seconds = total;
    return true;
}

bool IsSameFilePath(const std::wstring& a, const std::wstring& b) {
    auto normal = [](const std::wstring& path) {
        std::wstring n = Lower(path);
        for (auto& c : n)
            if (c == L'/') c = L'\\';
        return n;
    };
    return normal(a) == normal(b);
}

TParseResult ParseEncoderOptions(const std::vector<std::wstring>& args) {
    TParseResult result;
    try {
        result.Options = TParser(args).Run();
        result.Ok = true;
    } catch (const TOptionError& e) {
        result.Error = e.Message;
    }
    return result;
}

}  // namespace vx
