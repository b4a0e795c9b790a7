// Converts the same clip with one catalogue template, alternately through mencoder.exe
// and through ffmpeg.exe alone with the arguments mencoder.exe would give it, and prints
// the median wall times and their ratio as a Markdown table row.
// Usage (under Wine, from the build folder): bench_encoder.exe [RUNS] [SECONDS]

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "encoder/EncoderOptions.h"
#include "encoder/FfmpegArguments.h"
#include "tests/encoder/EngineTools.h"

namespace {

using namespace vx;

using engine_tools::WindowsPath;

const std::wstring kCodecs = WindowsPath(VX_DIST_CODECS) + L"\\";

// Runs a command line to its end, draining its merged output; returns seconds, or -1.
double TimedRun(const std::wstring& commandLine) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const engine_tools::TRun run = engine_tools::RunCommand(commandLine, 600000);
    QueryPerformanceCounter(&end);
    return run.ExitCode == 0 ? double(end.QuadPart - start.QuadPart) / frequency.QuadPart : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::wstring FullPath(const std::wstring& name) {
    wchar_t buffer[MAX_PATH];
    GetFullPathNameW(name.c_str(), MAX_PATH, buffer, nullptr);
    return buffer;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const int seconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
    const std::wstring engine = kCodecs + L"ffmpeg.exe";
    const std::wstring clip = FullPath(L"bench-encoder-clip-" + std::to_wstring(seconds) + L".avi");
    const std::wstring output = FullPath(L"bench-encoder-out.avi");
    if (GetFileAttributesW(clip.c_str()) == INVALID_FILE_ATTRIBUTES &&
        TimedRun(L"\"" + engine + L"\" -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=640x480:rate=25 -f lavfi -i sine=frequency=440 -t " +
                 std::to_wstring(seconds) + L" -c:v mpeg4 -q:v 4 -c:a libmp3lame \"" + clip + L"\"") < 0) {
        std::fprintf(stderr, "cannot make the clip\n");
        return 1;
    }

    // The catalogue's fast XviD type, as the converter would run it.
    const std::wstring catalogue = kCodecs + L"VXEncoderParameters.ini";
    wchar_t type[256] = {}, templ[2048] = {};
    std::vector<wchar_t> keys(8192);
    GetPrivateProfileStringW(L"EncoderType", nullptr, L"", keys.data(), keys.size(), catalogue.c_str());
    for (const wchar_t* k = keys.data(); *k; k += wcslen(k) + 1)
        if (wcsstr(k, L"XviD 320x240")) wcsncpy(type, k, 255);
    GetPrivateProfileStringW(type, L"AVI", L"", templ, 2048, catalogue.c_str());
    std::wstring t = templ;
    if (t.empty()) {
        std::fprintf(stderr, "no XviD 320x240 template in %ls\n", catalogue.c_str());
        return 1;
    }
    t.replace(t.find(L"<SourceFile>"), 12, clip);
    t.replace(t.find(L"<OutputFile>"), 12, output);
    const std::wstring viaEncoder = L"\"" + kCodecs + L"mencoder.exe\" " + t;

    int count = 0;
    LPWSTR* args = CommandLineToArgvW((L"x " + t).c_str(), &count);
    TParseResult parsed = ParseEncoderOptions(std::vector<std::wstring>(args + 1, args + count));
    LocalFree(args);
    if (!parsed.Ok) return 1;
    const std::wstring direct = JoinWindowsCommandLine(engine, BuildFfmpegArguments(parsed.Options));

    std::vector<double> encoderTimes, engineTimes;
    for (int i = 0; i < runs; ++i) {
        double a = TimedRun(viaEncoder), b = TimedRun(direct);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        encoderTimes.push_back(a);
        engineTimes.push_back(b);
        std::fprintf(stderr, "run %d: mencoder.exe %.3f s, ffmpeg.exe %.3f s\n", i + 1, a, b);
    }
    const double m = Median(encoderTimes), e = Median(engineTimes);
    std::printf("| %d s 640x480 MPEG-4/MP3 AVI to the XviD 320x240 type | %d | %.3f s | %.3f s | %.3f |\n", seconds,
                runs, m, e, m / e);
    return 0;
}
