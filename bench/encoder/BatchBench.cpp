// Wall time of converting the same clips three ways, in rounds:
//   program  - the real main window's batch (start button handler to its return),
//   job      - the same command lines through the encoder job (console runner, hidden
//              new console, line hand-over to this thread), without the window,
//   mencoder - codecs\mencoder.exe run once per clip with the command lines the
//              window builds,
//   ffmpeg   - codecs\ffmpeg.exe run once per clip with the arguments mencoder.exe
//              would give it.
// Prints the medians and their ratios as Markdown table rows, with the machine's load
// average before and after, and the spread of the per-round ratios (each round runs the
// four ways one after the other, so a round's ratio sees the same load on both sides).
// Usage (under Wine, from the build folder):
//   bench_batch.exe [ROUNDS] [SECONDS] [TYPE] [SIZE] [CLIPS]
// SIZE is the source clips' picture size (320x240), CLIPS how many of the four kinds
// (AVI, MP4, MPG, MKV) to use (4).

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/IniFileStore.h"
#include "app/ProgressParser.h"
#include "app/Settings.h"
#include "app/main.h"
#include "bench/MainWindowServices.h"
#include "app/vxeUtils.h"
#include "encoder/EncoderOptions.h"
#include "encoder/FfmpegArguments.h"
#include "framework/SysUtils.h"
#include "process/UMEncoder.h"
#include "tests/encoder/EngineTools.h"
#include "framework/Handles.h"
#include "bench/BenchSupport.h"

using namespace vx;
using namespace vx::bench;
using namespace vx::engine_tools;

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}


// One timed run of a command; -1 when it failed.
double Timed(const std::wstring& commandLine) {
    LARGE_INTEGER a, b;
    ::QueryPerformanceCounter(&a);
    const TRun run = RunCommand(commandLine, 600000);
    ::QueryPerformanceCounter(&b);
    if (run.ExitCode != 0) {
        std::fprintf(stderr, "failed: %ls\n%s\n", commandLine.c_str(), run.Output.c_str());
        return -1;
    }
    return Seconds(a, b);
}

struct TBench {
    std::wstring Program, Codecs, Output, Type;
    std::vector<std::wstring> Clips;

    // The window's batch over every clip; -1 unless every row ends converted.
    double ThroughProgram() {
        for (const auto& clip : Clips) ::DeleteFileW(OutputPathFor(Output, clip, OutputExt()).c_str());
        bench::TBenchServices services;
        std::unique_ptr<TfrmMain> form(new TfrmMain(Application, Program, services));
        form->FinishBuilding();
        for (const auto& clip : Clips) form->AddFile(clip);
        form->cboxType->SetItemIndex(form->cboxType->GetItems()->IndexOf(Type));
        form->cboxType->OnChange(form->cboxType);
        form->edtOutputFolder->SetText(Output);
        LARGE_INTEGER a, b;
        ::QueryPerformanceCounter(&a);
        form->btnStartClick(form->btnStart);
        ::QueryPerformanceCounter(&b);
        bool all = true;
        for (int row = 0; row < form->ListView1->GetItems()->Count(); ++row)
            all = all && form->ListView1->GetItems()->Items(row)->GetSubItems()->Get(0) == L"已完成";
        form.reset();
        return all ? Seconds(a, b) : -1;
    }

    std::wstring OutputExt() {
        TIniFileStore store(Codecs + L"VXEncoderParameters.ini");
        return TProfileCatalogue(store).OutputExtFor(Type);
    }

    // The command line the window builds for a clip.
    std::wstring EncoderCommand(const std::wstring& clip) {
        TIniFileStore store(Codecs + L"VXEncoderParameters.ini");
        TProfileCatalogue catalogue(store);
        return BuildCommandLine(Codecs + L"mencoder.exe", catalogue.TemplateFor(Type, SourceExtUpper(clip)), clip,
                                OutputPathFor(Output, clip, catalogue.OutputExtFor(Type)));
    }

    // The engine command that mencoder.exe makes of it.
    std::wstring EngineCommand(const std::wstring& clip) {
        int count = 0;
        LPWSTR* args = ::CommandLineToArgvW(EncoderCommand(clip).c_str(), &count);
        const TParseResult parsed = ParseEncoderOptions(std::vector<std::wstring>(args + 1, args + count));
        ::LocalFree(args);
        if (!parsed.Ok) return L"";
        return JoinWindowsCommandLine(Codecs + L"ffmpeg.exe", BuildFfmpegArguments(parsed.Options));
    }

    // Every clip through the encoder job alone; -1 unless every run ends on a
    // completion line.
    double ThroughJob() {
        double total = 0;
        for (const auto& clip : Clips) {
            ::DeleteFileW(OutputPathFor(Output, clip, OutputExt()).c_str());
            TMEncoder job;
            job.SetCommandLine(EncoderCommand(clip));
            LARGE_INTEGER a, b;
            ::QueryPerformanceCounter(&a);
            job.Run();
            ::QueryPerformanceCounter(&b);
            if (!IsCompletionLine(job.GetLastLine())) return -1;
            total += Seconds(a, b);
        }
        return total;
    }

    double EachClip(const std::function<std::wstring(const std::wstring&)>& command) {
        double total = 0;
        for (const auto& clip : Clips) {
            ::DeleteFileW(OutputPathFor(Output, clip, OutputExt()).c_str());
            const double t = Timed(command(clip));
            if (t < 0) return -1;
            total += t;
        }
        return total;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 3;
    const int seconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    TBench bench;
    bench.Type = argc > 3 ? argv[3] : L"MP4 H.264 320x240 (MP4播放器)";
    const std::wstring size = argc > 4 ? argv[4] : L"320x240";
    const size_t clipCount = argc > 5 ? static_cast<size_t>(std::clamp(_wtoi(argv[5]), 1, 4)) : 4;

    // A program folder of its own with the build's encoder, engine and catalogue.
    const std::wstring dist = WindowsPath(VX_DIST_CODECS) + L"\\";
    bench.Program = CurrentFolder() + L"bench-program\\";
    bench.Codecs = bench.Program + L"codecs\\";
    bench.Output = CurrentFolder() + L"bench-out\\";
    ::CreateDirectoryW(bench.Program.c_str(), nullptr);
    ::CreateDirectoryW(bench.Codecs.c_str(), nullptr);
    ::CreateDirectoryW(bench.Output.c_str(), nullptr);
    for (const wchar_t* name : {L"mencoder.exe", L"ffmpeg.exe", L"VXEncoderParameters.ini"})
        if (!CopyIfChanged(dist + name, bench.Codecs + name)) {
            std::fprintf(stderr, "cannot copy %ls from %ls\n", name, dist.c_str());
            return 1;
        }

    // The same sources as the end-to-end tests, at the size asked for.
    const std::wstring engine = bench.Codecs + L"ffmpeg.exe";
    const std::wstring s = std::to_wstring(seconds);
    std::vector<std::pair<std::wstring, std::wstring>> kinds = {
        {L"avi", L"-c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k"},
        {L"mp4", L"-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 64k"},
        {L"mpg", L"-c:v mpeg1video -q:v 5 -c:a mp2 -b:a 128k"},
        {L"mkv", L"-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a libmp3lame -b:a 64k"}};
    kinds.resize(clipCount);
    const std::wstring sizeTag = size == L"320x240" ? L"" : L"-" + size;
    for (const auto& [ext, codecs] : kinds) {
        const std::wstring clip = CurrentFolder() + L"bench-clip-" + s + L"s" + sizeTag + L"-" + ext + L"." + ext;
        if (MakeClip(engine, clip, seconds, size.c_str(), codecs).ExitCode != 0) {
            std::fprintf(stderr, "cannot make %ls\n", clip.c_str());
            return 1;
        }
        bench.Clips.push_back(clip);
    }
    if (bench.EngineCommand(bench.Clips[0]).empty()) {
        std::fprintf(stderr, "no usable template of \"%ls\"\n", bench.Type.c_str());
        return 1;
    }

    const std::string loadBefore = LoadAverage();
    std::vector<double> program, job, encoder, direct, programRatio, jobRatio;
    for (int i = 0; i < rounds; ++i) {
        const double p = bench.ThroughProgram();
        const double j = bench.ThroughJob();
        const double m = bench.EachClip([&](const std::wstring& c) { return bench.EncoderCommand(c); });
        const double f = bench.EachClip([&](const std::wstring& c) { return bench.EngineCommand(c); });
        if (p < 0 || j < 0 || m < 0 || f < 0) {
            std::fprintf(stderr, "round %d: a conversion failed (program %.3f, job %.3f, mencoder %.3f, ffmpeg %.3f)\n",
                         i + 1, p, j, m, f);
            return 1;
        }
        program.push_back(p);
        job.push_back(j);
        encoder.push_back(m);
        direct.push_back(f);
        programRatio.push_back(p / f);
        jobRatio.push_back(j / f);
        std::fprintf(stderr, "round %d: program %.3f s, job %.3f s, mencoder.exe %.3f s, ffmpeg.exe %.3f s\n", i + 1,
                     p, j, m, f);
    }
    const double p = Median(program), j = Median(job), m = Median(encoder), f = Median(direct);
    std::printf("| %u clips of %d s %s to \"%s\" | %d | %.3f s | %.3f s | %.3f s | %.3f s | %.3f | %.3f | %.3f | %s / %s |\n",
                static_cast<unsigned>(bench.Clips.size()), seconds, WideToUtf8(size).c_str(),
                WideToUtf8(bench.Type).c_str(), rounds, p, j, m, f, p / f, j / f, m / f, loadBefore.c_str(),
                LoadAverage().c_str());
    std::printf("per-round program / ffmpeg: median %.3f, best %.3f, worst %.3f; job / ffmpeg: median %.3f, best %.3f, "
                "worst %.3f\n",
                Median(programRatio), *std::min_element(programRatio.begin(), programRatio.end()),
                *std::max_element(programRatio.begin(), programRatio.end()), Median(jobRatio),
                *std::min_element(jobRatio.begin(), jobRatio.end()), *std::max_element(jobRatio.begin(), jobRatio.end()));
    return 0;
}
