#pragma once
// The encoder's command-line language: the subset of the classic encoder's options that
// the profile catalogue uses, read into one validated description of the conversion.
// Platform-free.

#include <string>
#include <vector>

namespace vx {

enum class TContainer { ctAvi, ctLavf, ctRawAudio, ctMpeg };
enum class TVideoEncoder { veNone, veLavc, veXvid, veX264, veCopy };
enum class TAudioEncoder { aeNone, aeMp3Lame, aeFaac, aeLavc, aePcm, aeCopy };
enum class TLameMode { lmVbr, lmCbr, lmAbr };

// One step of the "-vf" chain. For scale, a dimension of 0 or -1 keeps the source's
// size and -2 or -3 is derived from the other one, keeping the picture's aspect.
struct TVideoFilter {
    enum TKind { vfScale, vfExpand, vfHarddup } Kind = vfScale;
    int Width = 0;
    int Height = 0;
};

struct TEncoderOptions {
    std::wstring Source;
    std::wstring Output;

    TContainer Container = TContainer::ctAvi;
    std::wstring LavfFormat;  // "-lavfopts format=..."; empty: chosen by the output's extension

    // Video. Bit rates are in bits per second; 0 leaves the engine's default.
    bool NoVideo = false;
    TVideoEncoder VideoEncoder = TVideoEncoder::veNone;
    std::wstring LavcVideoCodec = L"mpeg4";
    int VideoBitrate = 0;
    double VideoQuantizer = 0;  // fixed quantizer (lavc vqscale, xvid fixed_quant, x264 qp)
    double VideoCrf = -1;       // x264 constant rate factor; negative: not set
    int KeyInterval = 0;
    int MaxBFrames = -1;
    int RefFrames = 0;
    int Threads = 0;
    bool FourMotionVectors = false;
    int MacroblockDecision = -1;
    bool Trellis = false;
    bool NoCabac = false;
    std::wstring X264Preset, X264Tune, X264Profile, X264Level;
    std::wstring Aspect;     // display aspect, e.g. "16/9"
    std::wstring FourCC;     // "-ffourcc"
    std::wstring OutputFps;  // "-ofps", a number or a fraction such as 30000/1001
    std::vector<TVideoFilter> Filters;
    int Scaler = -1;  // "-sws" number; negative: the engine's default

    // Audio.
    bool NoSound = false;
    TAudioEncoder AudioEncoder = TAudioEncoder::aeNone;
    std::wstring LavcAudioCodec = L"mp2";
    int AudioBitrate = 0;
    TLameMode LameMode = TLameMode::lmVbr;
    double AudioQuality = -1;  // lame VBR quality 0 (best) to 9; negative: not set
    bool Mono = false;
    int SampleRate = 0;
    int Channels = 0;
    bool HasVolume = false;
    double VolumeDb = 0;

    // Timing, in seconds; negative: not set.
    double StartTime = -1;
    double EndPosition = -1;

    bool Verbose = false;  // "-v": also print the engine's command line
};

struct TParseResult {
    bool Ok = false;
    std::wstring Error;  // one line saying which option is wrong and why
    TEncoderOptions Options;
};

// Reads the arguments that follow the program name. Unknown options, missing or
// malformed values, a missing source or output, and combinations the engine cannot
// honour all give Ok = false with a message.
TParseResult ParseEncoderOptions(const std::vector<std::wstring>& args);

// Strict number readers used by the option parser (whole text, decimal, optional sign).
bool ParseInteger(const std::wstring& text, int& value);
bool ParseNumber(const std::wstring& text, double& value);
// A time as seconds ("90", "12.5") or as [[hh:]mm:]ss[.ff].
bool ParseTime(const std::wstring& text, double& seconds);

// Whether two path texts name the same file: letters compared without regard to ASCII
// case, "/" taken as "\". The Windows side passes full paths.
bool IsSameFilePath(const std::wstring& a, const std::wstring& b);

}  // namespace vx
