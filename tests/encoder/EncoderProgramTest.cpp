// The real mencoder.exe with the real ffmpeg.exe beside it, run the way the converter
// runs it: a command line made of the encoder's path and a catalogue template, with the
// console output merged into one pipe.

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "app/ProgressParser.h"
#include "encoder/FfmpegArguments.h"
#include "process/LineCutter.h"
#include "tests/encoder/EngineTools.h"
#include "framework/Handles.h"

namespace vx {
namespace {

using engine_tools::Exists;
using engine_tools::ProcessesNamed;
using engine_tools::Quoted;
using engine_tools::TChild;
using engine_tools::TProbe;
using engine_tools::TRun;
using engine_tools::WindowsPath;

const std::wstring kCodecs = WindowsPath(VX_DIST_CODECS) + L"\\";
const std::wstring kEncoder = kCodecs + L"mencoder.exe";
const std::wstring kEngine = kCodecs + L"ffmpeg.exe";

std::wstring WorkFolder() {
    wchar_t buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    std::wstring folder = std::wstring(buffer) + L"\\encoder-test-files\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Runs a command to its end; a command that cannot start or does not end in time
// fails the test.
TRun RunCommand(const std::wstring& commandLine, DWORD timeoutMs = 120000) {
    TRun run = engine_tools::RunCommand(commandLine, timeoutMs);
    EXPECT_TRUE(run.Started) << "cannot start the command";
    EXPECT_FALSE(run.TimedOut) << "the command did not end in time";
    return run;
}

// A short test-pattern clip with a tone, made once by the engine and kept in the build folder.
std::wstring Clip(const std::wstring& name, const std::wstring& codecs, int seconds) {
    const std::wstring path = WorkFolder() + name;
    TRun made = engine_tools::MakeClip(kEngine, path, seconds, L"320x240", codecs);
    EXPECT_EQ(made.ExitCode, 0u) << made.Output;
    return path;
}

std::wstring AviClip() { return Clip(L"clip.avi", L"-c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k", 2); }
std::wstring MpgClip() { return Clip(L"clip.mpg", L"-c:v mpeg1video -q:v 5 -c:a mp2 -b:a 128k", 2); }

// The catalogue as the converter reads it: through the private-profile functions.
const std::wstring kCatalogue = kCodecs + L"VXEncoderParameters.ini";

std::vector<std::wstring> TypeNames() {
    std::vector<wchar_t> buffer(32768);
    DWORD n = GetPrivateProfileStringW(L"EncoderType", nullptr, L"", buffer.data(), buffer.size(), kCatalogue.c_str());
    std::vector<std::wstring> names;
    for (const wchar_t* p = buffer.data(); p < buffer.data() + n && *p; p += wcslen(p) + 1) names.push_back(p);
    return names;
}

std::wstring TypeContaining(const std::wstring& part) {
    for (const auto& name : TypeNames())
        if (name.find(part) != std::wstring::npos) return name;
    ADD_FAILURE() << "no conversion type containing the given text";
    return L"";
}

std::wstring ReadProfile(const std::wstring& section, const std::wstring& key) {
    wchar_t buffer[2048];
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, 2048, kCatalogue.c_str());
    return buffer;
}

// The command line exactly as the converter builds it: the quoted encoder path, a blank
// and the template with the first of each placeholder filled in.
std::wstring CommandFor(const std::wstring& type, const std::wstring& sourceKey, const std::wstring& source,
                        const std::wstring& output) {
    std::wstring t = ReadProfile(type, sourceKey);
    EXPECT_FALSE(t.empty());
    size_t at = t.find(L"<SourceFile>");
    if (at != std::wstring::npos) t.replace(at, 12, source);
    at = t.find(L"<OutputFile>");
    if (at != std::wstring::npos) t.replace(at, 12, output);
    return Quoted(kEncoder) + L" " + t;
}

// The output cut into lines at every CR and LF, as the converter's reader does; empty
// lines dropped.
std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : output) {
        if (c == '\r' || c == '\n') {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The line the converter judges a finished run by: its console reader cuts the output
// in the chunks it happens to read (every delivery, partial ones too, is kept), and the
// latest non-empty entry counts once there are three.
std::wstring JudgedLastLine(const std::string& output, size_t chunk) {
    TLineCutter cutter;
    std::vector<std::string> kept;
    auto sink = [&kept](const std::string& line, TOutputType) { kept.push_back(line); };
    for (size_t at = 0; at < output.size(); at += chunk)
        cutter.CutChunk(output.data() + at, std::min(chunk, output.size() - at), sink);
    if (!cutter.Pending().empty()) kept.push_back(cutter.Pending());
    if (kept.size() < 3) return L"(placeholder)";
    const std::string& last = kept.back().empty() ? kept[kept.size() - 2] : kept.back();
    return Widen(last);
}

bool JudgedConverted(const std::string& output) {
    const bool whole = IsCompletionLine(JudgedLastLine(output, output.size() + 1));
    const bool small = IsCompletionLine(JudgedLastLine(output, 7));
    EXPECT_EQ(whole, small);
    return whole && small;
}

// Any completion line anywhere, and the converter's own judgement of the run.
bool HasStreamLine(const std::string& output) {
    bool any = false;
    for (const auto& line : Lines(output)) any = any || IsCompletionLine(Widen(line));
    EXPECT_EQ(any, JudgedConverted(output)) << output;
    return any;
}

// Decodes the whole file with the engine and reads its length and picture size.
TProbe Probe(const std::wstring& path) { return engine_tools::Probe(kEngine, path); }

// Every status line reads as a frame count and a percentage that never go back, and the
// run ends on a completion line.
void ExpectConverterReadsTheOutput(const std::string& output, bool video) {
    const auto lines = Lines(output);
    ASSERT_FALSE(lines.empty());
    int statusLines = 0, lastPercent = -1;
    long lastFrames = -1;
    for (const auto& line : lines) {
        std::wstring percent, frames;
        ParseProgressLine(Widen(line), percent, frames);
        if (percent.empty()) continue;
        ++statusLines;
        ASSERT_EQ(percent.back(), L'%') << line;
        ASSERT_GE(frames.size(), 1u);
        ASSERT_EQ(frames.back(), L'帧') << line;
        const int p = std::stoi(percent);
        const long f = std::stol(frames);
        EXPECT_GE(p, lastPercent) << line;
        EXPECT_GE(f, lastFrames) << line;
        lastPercent = p;
        lastFrames = f;
    }
    EXPECT_GE(statusLines, 1);
    EXPECT_EQ(lastPercent, 100);
    if (video) {
        EXPECT_GT(lastFrames, 0);
    }
    EXPECT_TRUE(IsCompletionLine(Widen(lines.back()))) << lines.back();
    EXPECT_TRUE(JudgedConverted(output)) << output;
}

struct TConversionCase {
    const wchar_t* TypePart;
    const wchar_t* Extension;
    bool Video;
    int Width, Height;
};

void ConvertWithType(const TConversionCase& c, const std::wstring& source, const std::wstring& key) {
    const std::wstring type = TypeContaining(c.TypePart);
    ASSERT_FALSE(type.empty());
    const std::wstring output = WorkFolder() + L"out " + key + c.Extension;
    DeleteFileW(output.c_str());
    TRun run = RunCommand(CommandFor(type, key, source, output));
    ASSERT_EQ(run.ExitCode, 0u) << run.Output;
    ExpectConverterReadsTheOutput(run.Output, c.Video);
    EXPECT_EQ(run.Output.find("Video stream:") != std::string::npos, c.Video) << run.Output;

    TProbe probe = Probe(output);
    EXPECT_TRUE(probe.Decoded) << probe.Log;
    EXPECT_NEAR(probe.Duration, 2.0, 0.2) << probe.Log;
    EXPECT_TRUE(probe.HasAudio) << probe.Log;
    if (c.Video) {
        EXPECT_EQ(probe.Width, c.Width) << probe.Log;
        EXPECT_EQ(probe.Height, c.Height) << probe.Log;
    }
}

// The shipped catalogue (UTF-16) reads, through the private-profile functions, as the
// same type names that the UTF-8 source holds, Chinese included.
TEST(EncoderProgram, CatalogueReadsAsItsSource) {
    std::string text(1 << 20, '\0');
    DWORD got = 0;
    {
        const THandle h(
            CreateFileW(WindowsPath(std::string(VX_TEST_SOURCE_DIR) + "/assets/codecs/VXEncoderParameters.utf8.ini")
                            .c_str(),
                        GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(h.Valid());
        ReadFile(h.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    }
    text.resize(got);
    std::vector<std::wstring> expected;
    size_t at = text.find("[EncoderType]");
    ASSERT_NE(at, std::string::npos);
    for (size_t line = text.find('\n', at) + 1; line < text.size() && text[line] != '[';) {
        size_t end = text.find('\n', line);
        std::string entry = text.substr(line, end - line);
        if (!entry.empty() && entry.find('=') != std::string::npos) {
            std::string key = entry.substr(0, entry.find('='));
            std::wstring wide(key.size(), L'\0');
            wide.resize(MultiByteToWideChar(CP_UTF8, 0, key.data(), key.size(), wide.data(), wide.size()));
            expected.push_back(wide);
        }
        line = end + 1;
    }
    ASSERT_GE(expected.size(), 6u);
    EXPECT_EQ(TypeNames(), expected);
    EXPECT_NE(TypeContaining(L"高速度"), L"");
    EXPECT_EQ(ReadProfile(L"Extension", L"所有文件"), L"*.*");
}

TEST(EncoderProgram, Mp4ForHandheldPlayers) {
    ConvertWithType({L"320x240 (MP4", L".mp4", true, 320, 240}, AviClip(), L"AVI");
}

TEST(EncoderProgram, WidescreenMp4FromMpeg) {
    ConvertWithType({L"480x272", L".mp4", true, 480, 272}, MpgClip(), L"MPG");
}

TEST(EncoderProgram, XvidAvi) { ConvertWithType({L"XviD 320x240", L".avi", true, 320, 240}, AviClip(), L"AVI"); }

TEST(EncoderProgram, PhoneThreeGp) { ConvertWithType({L"176x144", L".3gp", true, 176, 144}, AviClip(), L"AVI"); }

TEST(EncoderProgram, AudioOnlyMp3) { ConvertWithType({L"MP3", L".mp3", false, 0, 0}, MpgClip(), L"MPG"); }

TEST(EncoderProgram, PathsWithChineseCharactersAndBlanks) {
    const std::wstring folder = WorkFolder() + L"测试 目录\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring source = folder + L"视频 片段.avi";
    ASSERT_TRUE(CopyFileW(AviClip().c_str(), source.c_str(), FALSE));
    const std::wstring output = folder + L"输出 文件-[VXE].avi";
    DeleteFileW(output.c_str());
    TRun run = RunCommand(CommandFor(TypeContaining(L"XviD 320x240"), L"AVI", source, output));
    EXPECT_EQ(run.ExitCode, 0u) << run.Output;
    EXPECT_TRUE(IsCompletionLine(Widen(Lines(run.Output).back())));
    EXPECT_TRUE(Probe(output).Decoded);
}

TEST(EncoderProgram, BadOptionFailsBeforeAnyWork) {
    const std::wstring output = WorkFolder() + L"never.avi";
    DeleteFileW(output.c_str());
    TRun run = RunCommand(Quoted(kEncoder) + L" " + Quoted(AviClip()) + L" -o " + Quoted(output) +
                   L" -ovc lavc -lavcopts vbitrate=800 -nosound -foo");
    EXPECT_NE(run.ExitCode, 0u);
    EXPECT_NE(run.Output.find("unknown option -foo"), std::string::npos) << run.Output;
    EXPECT_FALSE(HasStreamLine(run.Output)) << run.Output;
    EXPECT_FALSE(Exists(output));

    TRun empty = RunCommand(Quoted(kEncoder) + L" ");  // an empty template
    EXPECT_NE(empty.ExitCode, 0u);
    EXPECT_NE(empty.Output.find("no source file"), std::string::npos) << empty.Output;
}

TEST(EncoderProgram, MissingSourceOrOutputFolder) {
    TRun missing = RunCommand(Quoted(kEncoder) + L" \"" + WorkFolder() + L"no such clip.avi\" -o \"" + WorkFolder() +
                       L"x.avi\" -ovc lavc -nosound");
    EXPECT_NE(missing.ExitCode, 0u);
    EXPECT_NE(missing.Output.find("does not exist"), std::string::npos) << missing.Output;
    EXPECT_FALSE(HasStreamLine(missing.Output));

    TRun noFolder = RunCommand(Quoted(kEncoder) + L" " + Quoted(AviClip()) + L" -o \"" + WorkFolder() +
                        L"no such folder\\x.avi\" -ovc lavc -nosound");
    EXPECT_NE(noFolder.ExitCode, 0u);
    EXPECT_NE(noFolder.Output.find("folder does not exist"), std::string::npos) << noFolder.Output;
    EXPECT_FALSE(HasStreamLine(noFolder.Output));
}

// The engine's own failures end in its last words and the reason, never in a stream line.
void ExpectEngineFailure(const TRun& run) {
    EXPECT_NE(run.ExitCode, 0u);
    EXPECT_FALSE(HasStreamLine(run.Output)) << run.Output;
    EXPECT_NE(run.Output.find("ffmpeg: "), std::string::npos) << run.Output;
    EXPECT_EQ(Lines(run.Output).back().rfind("Exiting... (the engine failed", 0), 0u) << run.Output;
}

TEST(EncoderProgram, OutputThatCannotBeWrittenFailsTheRun) {
    // Another program holds the output file open without sharing it.
    const std::wstring output = WorkFolder() + L"locked.avi";
    THandle h(CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(h.Valid());
    TRun run = RunCommand(Quoted(kEncoder) + L" " + Quoted(AviClip()) + L" -o " + Quoted(output) +
                          L" -ovc lavc -oac mp3lame");
    h.Reset();
    ExpectEngineFailure(run);
}

TEST(EncoderProgram, SourceThatIsNoVideoFailsTheRun) {
    const std::wstring source = WorkFolder() + L"not a video.avi";
    {
        const THandle h(CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(h.Valid());
        DWORD written = 0;
        WriteFile(h.Get(), "just some text, no frames", 25, &written, nullptr);
    }
    const std::wstring output = WorkFolder() + L"from text.avi";
    DeleteFileW(output.c_str());
    ExpectEngineFailure(RunCommand(Quoted(kEncoder) + L" " + Quoted(source) + L" -o " + Quoted(output) +
                                   L" -ovc lavc -oac mp3lame"));
}

TEST(EncoderProgram, MissingEngineIsReported) {
    const std::wstring folder = WorkFolder() + L"lonely\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(kEncoder.c_str(), (folder + L"mencoder.exe").c_str(), FALSE));
    TRun run = RunCommand(Quoted(folder + L"mencoder.exe") + L" " + Quoted(AviClip()) + L" -o " +
                   Quoted(folder + L"x.avi") + L" -ovc lavc -nosound");
    EXPECT_NE(run.ExitCode, 0u);
    EXPECT_NE(run.Output.find("ffmpeg.exe\" is missing"), std::string::npos) << run.Output;
    EXPECT_FALSE(HasStreamLine(run.Output));
}

TEST(EncoderProgram, TerminatedEncoderLeavesNoProcessBehind) {
    const std::wstring source = Clip(L"long.avi", L"-c:v mpeg4 -q:v 8 -c:a libmp3lame -b:a 64k", 60);
    const std::wstring target = WorkFolder() + L"stopped.mp4";
    DeleteFileW(target.c_str());
    TChild encoder(CommandFor(TypeContaining(L"640x480"), L"AVI", source, target));
    ASSERT_TRUE(encoder.Started);

    // Stop it while it works, as the converter's stop button does (exit code 0 from outside).
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (encoder.Output.find("Pos:") == std::string::npos && encoder.Pump() && GetTickCount64() < deadline) {
    }
    const std::string& output = encoder.Output;
    ASSERT_NE(output.find("Pos:"), std::string::npos) << output;
    ASSERT_EQ(output.find("stream:"), std::string::npos) << "the clip was converted before it could be stopped";
    int children = 0;
    for (const auto& [id, parent] : ProcessesNamed(L"ffmpeg.exe")) children += parent == encoder.Info.dwProcessId;
    EXPECT_EQ(children, 1);
    ASSERT_TRUE(TerminateProcess(encoder.Info.hProcess, 0));
    WaitForSingleObject(encoder.Info.hProcess, 10000);

    // The engine goes with it.
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        gone = ProcessesNamed(L"ffmpeg.exe").empty() && ProcessesNamed(L"mencoder.exe").empty();
        if (!gone) Sleep(50);
    }
    EXPECT_TRUE(gone);
    encoder.Pump(0);
    EXPECT_FALSE(HasStreamLine(output));
    // Nothing keeps the half-written file open.
    EXPECT_TRUE(!Exists(target) || DeleteFileW(target.c_str()));
}

TEST(EncoderProgram, CommandLineQuotingSurvivesTheWindowsReader) {
    const std::vector<std::wstring> args = {L"plain", L"two words", L"", L"C:\\dir with blank\\", L"say \"hi\"",
                                            L"back\\\\slash\\\"quote", L"视频 文件", L"\\\\server\\share"};
    const std::wstring line = JoinWindowsCommandLine(L"C:\\Program Files\\ffmpeg.exe", args);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(count, static_cast<int>(args.size()) + 1);
    EXPECT_STREQ(argv[0], L"C:\\Program Files\\ffmpeg.exe");
    for (size_t i = 0; i < args.size(); ++i) EXPECT_EQ(std::wstring(argv[i + 1]), args[i]) << i;
    LocalFree(argv);
}

}  // namespace
}  // namespace vx
