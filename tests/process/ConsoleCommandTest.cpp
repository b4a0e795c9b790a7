// The console process runner against the scripted stand-in encoder.
#include "process/ConsoleCommand.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "tests/process/ProcessTestSupport.h"
#include "framework/Handles.h"

namespace vx {
namespace {

using test::LiveStandIns;
using test::PumpUntil;
using test::StandInCommand;

using Delivery = std::pair<std::wstring, TOutputType>;

class ConsoleCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        runner_.OnNewLine = [this](TObject* sender, const std::wstring& line, TOutputType type) {
            EXPECT_EQ(sender, &runner_);
            EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
            delivered_.emplace_back(line, type);
        };
        runner_.OnTerminated = [this](TObject*, std::uint32_t exitCode) {
            terminatedCode_ = exitCode;
            ++terminatedCalls_;
        };
    }
    void TearDown() override { EXPECT_TRUE(LiveStandIns().empty()) << "a stand-in encoder was left running"; }

    // Runs the stand-in with the steps to its end, serving hand-overs meanwhile.
    void RunToEnd(const std::vector<std::wstring>& steps) {
        runner_.SetCommandLine(StandInCommand(steps));
        runner_.Execute();
        ASSERT_TRUE(PumpUntil([this] { return !runner_.IsRunning(); }, 20000));
        ASSERT_TRUE(runner_.WaitForRunEnd(10000));
    }
    std::vector<std::wstring> EntireLines() const {
        std::vector<std::wstring> lines;
        for (auto& d : delivered_)
            if (d.second == otEntireLine) lines.push_back(d.first);
        return lines;
    }
    std::vector<std::wstring> Lines() {
        std::vector<std::wstring> lines;
        for (int i = 0; i < runner_.Lines()->GetCount(); ++i) lines.push_back(runner_.Lines()->Get(i));
        return lines;
    }

    TConsoleCommand runner_;
    std::vector<Delivery> delivered_;
    std::atomic<std::uint32_t> terminatedCode_{12345};
    std::atomic<int> terminatedCalls_{0};
};

TEST_F(ConsoleCommandTest, LinesAreCutAcrossWritesAndDeliveredOnTheMainThread) {
    RunToEnd({L"out:Po", L"sleep:150", L"out:s: 1.0s 25f (5%)\\r", L"sleep:150", L"out:x\\r", L"sleep:150",
              L"out:\\ny\\r\\n", L"err:from stderr\\r\\n", L"sleep:100", L"line:Video stream: done"});
    EXPECT_EQ(runner_.GetRunState(), rsEnded);
    EXPECT_EQ(runner_.GetExitCode(), 0u);
    EXPECT_EQ(EntireLines(), (std::vector<std::wstring>{L"Pos: 1.0s 25f (5%)", L"x", L"y", L"from stderr",
                                                        L"Video stream: done"}));
    ASSERT_FALSE(delivered_.empty());
    EXPECT_EQ(delivered_.front(), Delivery(L"Po", otBeginningOfLine));
    EXPECT_EQ(runner_.GetOutputReturnCode(), rcCRLF);
    // Lines keeps every delivery, the early partial one too.
    EXPECT_EQ(Lines().front(), L"Po");
    EXPECT_EQ(Lines().back(), L"Video stream: done");
    EXPECT_EQ(terminatedCalls_, 1);
    EXPECT_EQ(terminatedCode_, 0u);
}

TEST_F(ConsoleCommandTest, OutputStillWaitingAtExitIsDeliveredInFull) {
    RunToEnd({L"repeat:3000:Pos: 1.0s 25f (5%)\\rline\\r\\n", L"out:tail", L"exit:7"});
    EXPECT_EQ(runner_.GetRunState(), rsEnded);
    EXPECT_EQ(runner_.GetExitCode(), 7u);
    EXPECT_EQ(terminatedCode_, 7u);
    const std::vector<std::wstring> entire = EntireLines();
    ASSERT_EQ(entire.size(), 6000u);
    EXPECT_EQ(entire[5998], L"Pos: 1.0s 25f (5%)");
    EXPECT_EQ(entire[5999], L"line");
    // The unfinished tail is handed on after its chunk, and once more when the run ends.
    ASSERT_GE(delivered_.size(), 2u);
    EXPECT_EQ(delivered_[delivered_.size() - 2], Delivery(L"tail", otBeginningOfLine));
    EXPECT_EQ(delivered_.back(), Delivery(L"tail", otBeginningOfLine));
    EXPECT_EQ(Lines().back(), L"tail");
}

TEST_F(ConsoleCommandTest, StopEndsTheProgramWithExitCodeZero) {
    runner_.SetCommandLine(StandInCommand({L"line:a", L"line:b", L"line:c", L"sleep:30000"}));
    runner_.Execute();
    ASSERT_TRUE(PumpUntil([this] { return EntireLines().size() == 3; }));
    const std::vector<DWORD> live = LiveStandIns();
    ASSERT_EQ(live.size(), 1u);
    const THandle program(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, live[0]));
    ASSERT_TRUE(program.Valid());

    runner_.Stop();
    EXPECT_FALSE(runner_.IsRunning());  // at once, before the program has ended
    ASSERT_TRUE(runner_.WaitForRunEnd(10000));
    EXPECT_EQ(runner_.GetRunState(), rsStopped);
    EXPECT_EQ(terminatedCode_, 259u);
    EXPECT_EQ(WaitForSingleObject(program.Get(), 0), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(program.Get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST_F(ConsoleCommandTest, TimeLimitsEndTheRun) {
    runner_.SetMaxTimeAfterBeginning(1);
    const ULONGLONG started = GetTickCount64();
    RunToEnd({L"line:working", L"sleep:30000"});
    EXPECT_EQ(runner_.GetRunState(), rsTimedOut);
    EXPECT_EQ(terminatedCode_, 259u);
    EXPECT_LT(GetTickCount64() - started, 10000u);

    // Silence after output: the program keeps running but prints nothing more.
    runner_.SetMaxTimeAfterBeginning(0);
    runner_.SetMaxTimeAfterLastOutput(1);
    RunToEnd({L"line:one", L"sleep:30000"});
    EXPECT_EQ(runner_.GetRunState(), rsTimedOut);
}

TEST_F(ConsoleCommandTest, AProgramThatCannotStartIsReported) {
    test::ExceptionRecorder recorder;
    const std::wstring command = L"\"C:\\no such folder\\mencoder.exe\" -o x";
    runner_.SetCommandLine(command);
    runner_.Execute();
    ASSERT_TRUE(PumpUntil([this] { return !runner_.IsRunning(); }));
    ASSERT_TRUE(runner_.WaitForRunEnd(10000));
    EXPECT_EQ(runner_.GetRunState(), rsCannotStart);
    EXPECT_NE(runner_.GetExitCode(), 0u);  // the system's error code
    ASSERT_EQ(recorder.Messages.size(), 1u);
    EXPECT_EQ(recorder.Messages[0], command + L" doesn't exist.");
    EXPECT_TRUE(delivered_.empty());
    EXPECT_EQ(terminatedCalls_, 1);
}

TEST_F(ConsoleCommandTest, EmptyCommandLineDoesNothing) {
    runner_.Execute();
    EXPECT_FALSE(runner_.IsRunning());
    EXPECT_TRUE(runner_.WaitForRunEnd(0));
    EXPECT_EQ(terminatedCalls_, 0);
}

TEST_F(ConsoleCommandTest, OutputLinesHoldOnlyTheCompletedFormOfALine) {
    TStringList output;
    runner_.SetOutputLines(&output);
    RunToEnd({L"out:ab", L"sleep:200", L"out:cd\\n", L"line:next"});
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"ab", L"abcd", L"next"}));
    ASSERT_EQ(output.GetCount(), 2);
    EXPECT_EQ(output.Get(0), L"abcd");
    EXPECT_EQ(output.Get(1), L"next");
}

TEST_F(ConsoleCommandTest, InputLinesReachTheProgramAndCanBeEchoed) {
    runner_.SetInputToOutput(true);
    runner_.SetCommandLine(StandInCommand({L"echo-input:7", L"line:bye"}));
    runner_.Execute();
    runner_.AddInputLine(L"hello\r\n");
    ASSERT_TRUE(PumpUntil([this] { return !runner_.IsRunning(); }));
    ASSERT_TRUE(runner_.WaitForRunEnd(10000));
    EXPECT_EQ(runner_.InputLineCount(), 0);
    // The echo carries the line as written; the program's own copy comes back cut.
    EXPECT_EQ(EntireLines(), (std::vector<std::wstring>{L"hello\r\n", L"hello", L"bye"}));
}

TEST_F(ConsoleCommandTest, ANewRunStopsThePreviousOneAndStartsClean) {
    runner_.SetCommandLine(StandInCommand({L"line:first", L"sleep:30000"}));
    runner_.Execute();
    ASSERT_TRUE(PumpUntil([this] { return !EntireLines().empty(); }));
    delivered_.clear();
    RunToEnd({L"line:second"});
    EXPECT_EQ(runner_.GetRunState(), rsEnded);
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"second"}));
    EXPECT_EQ(terminatedCalls_, 2);
}

TEST(ConsoleCommandLifetime, FreeingTheRunnerDuringARunEndsTheProgram) {
    auto* runner = new TConsoleCommand();
    runner->SetCommandLine(StandInCommand({L"line:a", L"sleep:30000"}));
    runner->Execute();
    ASSERT_TRUE(PumpUntil([] { return LiveStandIns().size() == 1; }));
    delete runner;
    EXPECT_TRUE(LiveStandIns().empty());
}

}  // namespace
}  // namespace vx
