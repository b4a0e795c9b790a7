// The whole program path under Wine: the real main window, the real bundled encoder
// (codecs\mencoder.exe), its engine (codecs\ffmpeg.exe) and the shipped catalogue.
// Clips of several containers are made by the engine, queued through the window's open
// dialog handler, converted by the start button's handler with a type picked in the
// type list, and every output is decoded again to check its length and picture size.
// Another batch is stopped midway; the encoder and its engine must be gone afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main.h"
#include "tests/app/MessageLoopWatcher.h"
#include "tests/app/ScriptedServices.h"
#include "app/vxeUtils.h"
#include "framework/SysUtils.h"
#include "tests/encoder/EngineTools.h"
#include "framework/Handles.h"

using namespace vx;
using namespace vx::engine_tools;

namespace {

const std::wstring kDistCodecs = WindowsPath(VX_DIST_CODECS) + L"\\";

// The catalogue's types the tests use (names as shipped).
const wchar_t kMp4Type[] = L"MP4 H.264 320x240 (MP4播放器)";
const wchar_t kXvidType[] = L"AVI XviD 320x240 高速度";
const wchar_t kSlowType[] = L"MP4 H.264 640x480 (高清)";

constexpr double kClipSeconds = 2.0;
// Container lengths round to the frame and the audio packet; AAC and MP3 add priming.
constexpr double kDurationTolerance = 0.25;

// Deletes the files in `folder` (one level), so no output of an earlier run is asked about.
void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

using test::TWatcher;

struct TClip {
    const wchar_t* Name;
    const wchar_t* Codecs;  // engine arguments that make it
};

// Small, short sources in the containers people bring, each with sound.
const TClip kAvi = {L"片段 AVI.avi", L"-c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k"};
const TClip kMp4 = {L"片段 MP4.mp4", L"-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 64k"};
const TClip kMpg = {L"片段 MPG.mpg", L"-c:v mpeg1video -q:v 5 -c:a mp2 -b:a 128k"};
const TClip kMkv = {L"片段 MKV.mkv", L"-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a libmp3lame -b:a 64k"};
const TClip kWmv = {L"片段 WMV.wmv", L"-c:v wmv2 -b:v 300k -c:a wmav2 -b:a 64k"};
const TClip kFlv = {L"片段 FLV.flv", L"-c:v flv -b:v 300k -c:a libmp3lame -b:a 64k"};

class EndToEnd : public ::testing::Test {
protected:
    // One program folder for the whole test program: codecs\ holds copies of the
    // build's encoder, engine and catalogue (the settings file the window writes stays
    // out of the build's own dist folder).
    static void SetUpTestSuite() {
        program = CurrentFolder() + L"e2e-program\\";
        ::CreateDirectoryW(program.c_str(), nullptr);
        ::CreateDirectoryW((program + L"codecs").c_str(), nullptr);
        for (const wchar_t* name : {L"mencoder.exe", L"ffmpeg.exe", L"VXEncoderParameters.ini"}) {
            const std::wstring from = kDistCodecs + name, to = program + L"codecs\\" + name;
            CopyIfChanged(from, to);
        }
        engine = program + L"codecs\\ffmpeg.exe";
        clips = CurrentFolder() + L"e2e-clips 视频\\";
        ::CreateDirectoryW(clips.c_str(), nullptr);
    }

    void SetUp() override {
        ASSERT_TRUE(Exists(program + L"codecs\\mencoder.exe")) << "mencoder.exe is not in " << VX_DIST_CODECS;
        ASSERT_TRUE(Exists(engine)) << "ffmpeg.exe is not in " << VX_DIST_CODECS << ": run scripts/setup.sh";
        ::DeleteFileW((program + L"codecs\\VXEncoder.ini").c_str());
        out = CurrentFolder() + L"e2e-out 输出\\" +
              Utf8ToWide(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
        ::CreateDirectoryW((CurrentFolder() + L"e2e-out 输出").c_str(), nullptr);
        EmptyFolder(out);
        services.messageBox = [this](const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            return IDOK;
        };
        form.reset(new TfrmMain(Application, program, services));
        form->FinishBuilding();
        ASSERT_EQ(form->EncoderPath, program + L"codecs\\mencoder.exe");
    }

    void TearDown() override {
        form.reset();
        Application->ResetTerminated();
    }

    std::wstring Clip(const TClip& clip, int seconds = 2) {
        const std::wstring path = clips + clip.Name;
        const TRun made = MakeClip(engine, path, seconds, L"160x120", clip.Codecs);
        EXPECT_EQ(made.ExitCode, 0u) << made.Output;
        return path;
    }

    // Queues the files the way the user does: the add button's open dialog, confirmed
    // with these files selected.
    void Queue(const std::vector<std::wstring>& files) {
        services.openDialog = [&files](TOpenDialog& dialog) {
            dialog.GetFiles()->Clear();
            for (const auto& file : files) dialog.GetFiles()->Add(file);
            return true;
        };
        form->btnAddFileClick(form->btnAddFile);
    }

    // Picks the type in the list as a user does (the list's change handler runs) and
    // the output folder through the folder chooser.
    void Choose(const std::wstring& type, const std::wstring& folder) {
        const int index = form->cboxType->GetItems()->IndexOf(type);
        ASSERT_GE(index, 0) << "the catalogue has no type " << WideToUtf8(type);
        form->cboxType->SetItemIndex(index);
        form->cboxType->OnChange(form->cboxType);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        services.chooseFolder = [folder](const std::wstring&, std::wstring& chosen) {
            chosen = folder;
            return true;
        };
        form->btnBrowseClick(form->btnBrowse);
        ASSERT_EQ(form->edtOutputFolder->GetText(), AddTrailingBackslash(folder));
    }

    // Presses the start button and returns when the batch has ended. Should a run
    // hang, the stop button ends it after `limitMs` and the test fails.
    void RunBatch(DWORD limitMs = 60000) {
        const ULONGLONG deadline = ::GetTickCount64() + limitMs;
        bool stoppedByTest = false;
        TWatcher watchdog([&] {
            if (::GetTickCount64() < deadline) return false;
            stoppedByTest = true;
            form->btnStopClick(form->btnStop);
            return true;
        });
        form->btnStartClick(form->btnStart);
        EXPECT_FALSE(stoppedByTest) << "the batch did not end within " << limitMs << " ms";
        EXPECT_FALSE(form->BatchRunning());
    }

    std::wstring Status(int row) const { return form->ListView1->GetItems()->Items(row)->GetSubItems()->Get(0); }
    std::wstring Progress(int row) const { return form->ListView1->GetItems()->Items(row)->GetSubItems()->Get(1); }
    int Image(int row) const { return form->ListView1->GetItems()->Items(row)->GetImageIndex(); }

    std::wstring OutputOf(const std::wstring& source) const { return OutputPathFor(out, source, form->OutputExt); }

    // Every row converted, and every output a whole file of the expected length with
    // the type's picture size and sound.
    void ExpectConverted(const std::vector<std::wstring>& sources, int width, int height) {
        ASSERT_EQ(form->ListView1->GetItems()->Count(), static_cast<int>(sources.size()));
        for (size_t i = 0; i < sources.size(); ++i) {
            const int row = static_cast<int>(i);
            SCOPED_TRACE(WideToUtf8(sources[i]));
            EXPECT_EQ(Status(row), L"已完成");
            EXPECT_EQ(Progress(row), L"100%");
            EXPECT_EQ(Image(row), 2);
            const TProbe probe = Probe(engine, OutputOf(sources[i]));
            EXPECT_TRUE(probe.Decoded) << probe.Log;
            EXPECT_NEAR(probe.Duration, kClipSeconds, kDurationTolerance) << probe.Log;
            EXPECT_EQ(probe.Width, width) << probe.Log;
            EXPECT_EQ(probe.Height, height) << probe.Log;
            EXPECT_TRUE(probe.HasAudio) << probe.Log;
            // The whole picture track decodes, not just its header.
            EXPECT_GT(probe.FrameRate, 0) << probe.Log;
            EXPECT_NEAR(probe.DecodedFrames, probe.FrameRate * kClipSeconds, probe.FrameRate * kDurationTolerance)
                << probe.Log;
        }
        EXPECT_EQ(form->ProgressBar->GetPosition(), 100);
        EXPECT_TRUE(boxes.empty()) << WideToUtf8(boxes.empty() ? L"" : boxes[0]);
        EXPECT_TRUE(form->btnStart->GetEnabled());
        EXPECT_FALSE(form->btnStop->GetEnabled());
    }

    static std::wstring program, engine, clips;
    std::wstring out;
    test::TScriptedServices services;  // outlives the form
    std::unique_ptr<TfrmMain> form;
    std::vector<std::wstring> boxes;
};

std::wstring EndToEnd::program, EndToEnd::engine, EndToEnd::clips;

TEST_F(EndToEnd, FourContainersToMp4H264) {
    const std::vector<std::wstring> sources = {Clip(kAvi), Clip(kMp4), Clip(kMpg), Clip(kMkv)};
    Queue(sources);
    Choose(kMp4Type, out);
    EXPECT_EQ(form->OutputExt, L".mp4");
    // The row of the running file shows that it runs while the encoder works.
    bool sawRunning = false;
    TWatcher watch([&] {
        if (form->JobRunning() && form->CurrentRow() >= 0 && Status(form->CurrentRow()) == L"正在转换...")
            sawRunning = true;
        return sawRunning;
    });
    RunBatch();
    EXPECT_TRUE(sawRunning);
    ExpectConverted(sources, 320, 240);
}

TEST_F(EndToEnd, WindowsMediaFlashAndAviToXvid) {
    const std::vector<std::wstring> sources = {Clip(kWmv), Clip(kFlv), Clip(kAvi)};
    Queue(sources);
    Choose(kXvidType, out);
    EXPECT_EQ(form->OutputExt, L".avi");
    RunBatch();
    ExpectConverted(sources, 320, 240);
    // The container the type promises, not just the name.
    EXPECT_NE(Probe(engine, OutputOf(sources[0])).Log.find("Input #0, avi,"), std::string::npos);
}

// The type remembered from the last session converts to its own container and
// extension when the user starts without picking a type again.
TEST_F(EndToEnd, RememberedTypeKeepsItsExtension) {
    form.reset();
    const int mp4Index = 0;  // the catalogue's first type
    // Written as UTF-16 with a byte-order mark, so the Chinese folder name survives.
    const std::wstring text = L"\xFEFF[Configure]\r\nOutputFolder=" + out + L"\r\nEncoderType=" +
                              std::to_wstring(mp4Index) + L"\r\n";
    {
        const THandle h(::CreateFileW((program + L"codecs\\VXEncoder.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(h.Valid());
        DWORD written = 0;
        ::WriteFile(h.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    }
    ::CreateDirectoryW(out.c_str(), nullptr);
    form.reset(new TfrmMain(Application, program, services));
    form->FinishBuilding();
    ASSERT_EQ(form->cboxType->GetText(), kMp4Type);
    ASSERT_EQ(form->edtOutputFolder->GetText(), out);
    const std::wstring source = Clip(kAvi);
    Queue({source});
    RunBatch();
    EXPECT_EQ(Status(0), L"已完成");
    const std::wstring output = OutputPathFor(out, source, L".mp4");
    const TProbe probe = Probe(engine, output);
    EXPECT_TRUE(probe.Decoded) << WideToUtf8(output) << "\n" << probe.Log;
    EXPECT_NE(probe.Log.find("Input #0, mov,mp4"), std::string::npos) << probe.Log;
}

// A file the engine cannot read is not marked converted, and the next one still is.
TEST_F(EndToEnd, SourceThatIsNoVideoEndsStopped) {
    const std::wstring broken = clips + L"不是视频.avi";
    {
        const THandle h(::CreateFileW(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(h.Valid());
        DWORD written = 0;
        ::WriteFile(h.Get(), "no frames in here", 17, &written, nullptr);
    }
    Queue({broken, Clip(kMpg)});
    Choose(kXvidType, out);
    RunBatch();
    EXPECT_EQ(Status(0), L"已终止");
    EXPECT_EQ(Image(0), 3);
    EXPECT_FALSE(Probe(engine, OutputOf(broken)).Decoded);
    EXPECT_EQ(Status(1), L"已完成");
    EXPECT_TRUE(Probe(engine, OutputOf(clips + kMpg.Name)).Decoded);
}

// Stopped while the encoder works: the row ends stopped, and neither the encoder nor
// its engine outlives the stop.
TEST_F(EndToEnd, StopMidwayLeavesNoProcessBehind) {
    const std::wstring source = Clip({L"长片段 AVI.avi", kAvi.Codecs}, 30);
    Queue({source});
    Choose(kSlowType, out);
    DWORD encoderId = 0, engineId = 0;
    std::wstring progressAtStop;
    TWatcher watch([&] {
        if (!form->JobRunning()) return false;
        const std::wstring progress = Progress(0);
        if (progress == L"0%" || progress.empty() || progress.back() != L'%') return false;
        // The processes under way: the encoder started by this program, the engine by it.
        const auto encoders = ChildrenNamed(L"mencoder.exe", ::GetCurrentProcessId());
        if (encoders.size() != 1) return false;
        const auto engines = ChildrenNamed(L"ffmpeg.exe", encoders[0]);
        if (engines.size() != 1) return false;
        encoderId = encoders[0];
        engineId = engines[0];
        progressAtStop = progress;
        form->btnStopClick(form->btnStop);  // the question is answered OK
        return true;
    });
    const ULONGLONG started = ::GetTickCount64();
    RunBatch(90000);
    const ULONGLONG took = ::GetTickCount64() - started;

    ASSERT_NE(encoderId, 0u) << "the encoder never showed progress; row: " << WideToUtf8(Progress(0));
    ASSERT_NE(engineId, 0u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], L"您确定终止转换吗？");
    EXPECT_EQ(Status(0), L"已终止");
    EXPECT_EQ(Image(0), 3);
    EXPECT_NE(progressAtStop, L"100%") << "the clip was converted before it could be stopped";
    EXPECT_LT(took, 60000u);
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        gone = !ProcessRunning(encoderId) && !ProcessRunning(engineId);
        if (!gone) ::Sleep(50);
    }
    EXPECT_TRUE(gone) << "encoder " << ProcessRunning(encoderId) << ", engine " << ProcessRunning(engineId);
    EXPECT_TRUE(ChildrenNamed(L"mencoder.exe", ::GetCurrentProcessId()).empty());
    EXPECT_TRUE(ChildrenNamed(L"ffmpeg.exe", encoderId).empty());
    // Nothing holds the half-written output open.
    const std::wstring output = OutputOf(source);
    EXPECT_TRUE(!Exists(output) || ::DeleteFileW(output.c_str()));
}

}  // namespace
