// The encoder job: runs the stand-in to its end, stops it, and reports its last line,
// which the progress judgement reads.
#include "process/UMEncoder.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/ProgressParser.h"
#include "app/Settings.h"
#include "framework/Forms.h"
#include "tests/process/ProcessTestSupport.h"

namespace vx {
namespace {

using test::LiveStandIns;
using test::StandInCommand;

TEST(EncoderJobLastLine, PlaceholderBelowThreeLinesAndEmptyLastLineSkipped) {
    TStringList lines;
    lines.Add(L"Pos: 1.0s 25f (5%) x");
    lines.Add(L"Video stream: 1200");
    EXPECT_EQ(LastMeaningfulLine(lines), kNoLogPlaceholder);
    lines.Add(L"");
    EXPECT_EQ(LastMeaningfulLine(lines), L"Video stream: 1200");
    lines.Add(L"");
    EXPECT_EQ(LastMeaningfulLine(lines), L"");
    lines.Add(L"last");
    EXPECT_EQ(LastMeaningfulLine(lines), L"last");
}

// The job's round of message handling as a test scripts it; the application's own
// round when the test sets none.
struct TScriptedRounds : TJobServices {
    std::function<void()> round;
    void ProcessMessages() override {
        if (round)
            round();
        else
            TJobServices::ProcessMessages();
    }
};

class EncoderJobTest : public ::testing::Test {
protected:
    void TearDown() override {
        job_.Runner->WaitForRunEnd(10000);
        EXPECT_TRUE(LiveStandIns().empty()) << "a stand-in encoder was left running";
    }
    TScriptedRounds rounds_;
    TMEncoder job_{rounds_};
};

TEST_F(EncoderJobTest, ASuccessfulRunEndsWithTheCompletionLine) {
    job_.SetCommandLine(StandInCommand({L"line:MEncoder stand-in", L"progress:20", L"file:job-output.avi",
                                        L"out:\\r\\n", L"line:Video stream: 1200 kbit/s (150 kB/s) size: 9 bytes",
                                        L"line:", L"exit:3"}));
    EXPECT_EQ(job_.Run(), 3u);
    EXPECT_FALSE(job_.IsRunning());
    EXPECT_EQ(job_.Runner->GetRunState(), rsEnded);
    EXPECT_EQ(job_.Runner->GetPriority(), static_cast<std::uint32_t>(HIGH_PRIORITY_CLASS));
    const std::wstring last = job_.GetLastLine();
    EXPECT_EQ(last, L"Video stream: 1200 kbit/s (150 kB/s) size: 9 bytes");
    TProgressUpdate verdict = JudgeProgress(last, job_.IsRunning());
    EXPECT_EQ(verdict.State, TRowState::Converted);
    EXPECT_NE(GetFileAttributesW(L"job-output.avi"), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(L"job-output.avi");
}

TEST_F(EncoderJobTest, ProgressIsVisibleWhileTheJobRuns) {
    job_.SetCommandLine(StandInCommand({L"line:a", L"line:b", L"out:Pos: 2.0s 50f (40%) 25fps\\r", L"sleep:2000",
                                        L"line:Video stream: x"}));
    bool sawProgress = false;
    rounds_.round = [this, &sawProgress] {
        Application->ProcessMessages();
        const TProgressUpdate u = JudgeProgress(job_.GetLastLine(), job_.IsRunning());
        if (u.ProgressText && *u.ProgressText == L"50帧  40%" && u.BarPosition == 40 && !u.State)
            sawProgress = true;
    };
    job_.Run();
    EXPECT_TRUE(sawProgress);
}

TEST_F(EncoderJobTest, AnEncoderPrintingOnlyItsCompletionLineIsJudgedStopped) {
    job_.SetCommandLine(StandInCommand({L"line:Video stream: 1200 kbit/s"}));
    job_.Run();
    EXPECT_EQ(job_.GetLastLine(), kNoLogPlaceholder);
    EXPECT_EQ(JudgeProgress(job_.GetLastLine(), false).State, TRowState::Stopped);
}

TEST_F(EncoderJobTest, RunReturnsSoonAfterStop) {
    job_.SetCommandLine(StandInCommand({L"line:a", L"line:b", L"line:c", L"sleep:30000"}));
    ULONGLONG stoppedAt = 0;
    rounds_.round = [this, &stoppedAt] {
        Application->ProcessMessages();
        if (!stoppedAt && job_.Runner->Lines()->GetCount() >= 3) {
            job_.Stop();  // as the stop button's handler would
            stoppedAt = GetTickCount64();
        }
    };
    const ULONGLONG started = GetTickCount64();
    job_.Run();
    const ULONGLONG returnedAt = GetTickCount64();
    ASSERT_NE(stoppedAt, 0u);
    EXPECT_LT(returnedAt - stoppedAt, 200u);
    EXPECT_LT(returnedAt - started, 10000u);
    EXPECT_EQ(JudgeProgress(job_.GetLastLine(), job_.IsRunning()).State, TRowState::Stopped);
    ASSERT_TRUE(job_.Runner->WaitForRunEnd(10000));
    EXPECT_EQ(job_.Runner->GetRunState(), rsStopped);
}

// The job serves the runner's hand-overs (each line, the start and end of the run's
// counters) while it waits between its rounds of message handling, so the reader never
// waits for a round: a job whose message handling does nothing still receives every
// line and sees the end of the run. Only a stuck run reaches the fallback below.
TEST_F(EncoderJobTest, HandOversAreServedWhileTheJobWaits) {
    job_.SetCommandLine(StandInCommand({L"line:a", L"line:b", L"line:c", L"line:Video stream: done", L"exit:0"}));
    int rounds = 0;
    bool rescued = false;
    rounds_.round = [&rounds, &rescued] {
        if (++rounds < 1000) return;
        rescued = true;
        Application->ProcessMessages();
    };
    job_.Run();
    EXPECT_FALSE(rescued) << "the run needed the message rounds to end";
    EXPECT_EQ(job_.Runner->GetRunState(), rsEnded);
    EXPECT_EQ(job_.Runner->Lines()->GetCount(), 4);
    EXPECT_EQ(job_.GetLastLine(), L"Video stream: done");
}

TEST_F(EncoderJobTest, AnEncoderThatCannotStartLeavesTheJobIdle) {
    test::ExceptionRecorder recorder;
    job_.SetCommandLine(L"\"C:\\missing\\codecs\\mencoder.exe\" \"C:\\In\\a.avi\"");
    job_.Run();
    EXPECT_FALSE(job_.IsRunning());
    ASSERT_TRUE(job_.Runner->WaitForRunEnd(10000));
    EXPECT_EQ(job_.Runner->GetRunState(), rsCannotStart);
    ASSERT_EQ(recorder.Messages.size(), 1u);
    EXPECT_EQ(JudgeProgress(job_.GetLastLine(), false).State, TRowState::Stopped);
}

// A program folder with blanks: unquoted, "C:\...\stand in\codecs\mencoder.exe" would
// start "stand.exe" from the folder above instead.
TEST_F(EncoderJobTest, AnEncoderPathWithBlanksStartsTheEncoderItself) {
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    const std::wstring base = std::wstring(here) + L"\\";
    CreateDirectoryW((base + L"stand in").c_str(), nullptr);
    CreateDirectoryW((base + L"stand in\\codecs").c_str(), nullptr);
    const std::wstring encoder = base + L"stand in\\codecs\\mencoder.exe";
    const std::wstring decoy = base + L"stand.exe";
    ASSERT_TRUE(CopyFileW(test::StandInPath().c_str(), encoder.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(test::StandInPath().c_str(), decoy.c_str(), FALSE));

    job_.SetCommandLine(BuildCommandLine(encoder, L"whoami \"raw:<SourceFile>\" \"raw:<OutputFile>\"",
                                         L"C:\\In\\a b.avi", L"D:\\Out\\a b-[VXE].avi"));
    job_.Run();
    ASSERT_TRUE(job_.Runner->WaitForRunEnd(10000));
    ASSERT_EQ(job_.Runner->Lines()->GetCount(), 3);
    EXPECT_TRUE(SameText(job_.Runner->Lines()->Get(0), encoder)) << job_.Runner->Lines()->Get(0);
    EXPECT_EQ(job_.Runner->Lines()->Get(1), L"C:\\In\\a b.avi");
    EXPECT_EQ(job_.Runner->Lines()->Get(2), L"D:\\Out\\a b-[VXE].avi");

    DeleteFileW(encoder.c_str());
    DeleteFileW(decoy.c_str());
    RemoveDirectoryW((base + L"stand in\\codecs").c_str());
    RemoveDirectoryW((base + L"stand in").c_str());
}

}  // namespace
}  // namespace vx
