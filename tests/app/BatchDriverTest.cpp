// The batch over the queue model with a scripted world standing in for the window, the
// file system, the encoder job and its progress timer.
#include "app/BatchDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ProgressParser.h"
#include "framework/SysUtils.h"
#include "tests/app/FakeIniStore.h"

namespace vx {
namespace {

// The progress timer: the scripted job fires it as the 100 ms ticks would come.
class FakeTimer : public TBatchTimer {
public:
    void Start(unsigned intervalMs, std::function<void()> tick) override {
        ++starts;
        interval = intervalMs;
        tick_ = std::move(tick);
    }
    void Stop() override { tick_ = nullptr; }
    bool Running() const { return tick_ != nullptr; }
    // One tick; nothing when the timer is not running.
    void Fire() {
        if (tick_) tick_();
    }

    int starts = 0;
    unsigned interval = 0;

private:
    std::function<void()> tick_;
};

// The window, the file system and the encoder job in one scripted object.
class FakeHost : public TBatchJob, public TBatchSystem, public TBatchView {
public:
    // Paths name one file whatever the case of their letters, as on Windows.
    bool FileExists(const std::wstring& path) override {
        for (const std::wstring& file : files)
            if (SameText(file, path)) return true;
        return false;
    }
    bool DirectoryExists(const std::wstring& path) override { return folders.count(path) != 0; }
    bool CreateDir(const std::wstring& path) override {
        ++createDirCalls;
        if (!canCreateFolders) return false;
        folders.insert(path);
        return true;
    }
    void Warn(const std::wstring& text) override {
        warnings.push_back(text);
        convertingAtWarning = driver->Converting();
    }
    bool Confirm(const std::wstring& text) override {
        questions.push_back(text);
        return confirmAnswer;
    }
    void FocusOutputFolder() override { ++focusCalls; }
    bool Unattended() override { return unattended; }
    void AppendLog(const std::wstring& path, const std::wstring& text) override { logs[path].push_back(text); }
    void RowChanged(int) override {}
    void SetBarPosition(int position) override { bar = position; }
    void SetBarHint(const std::wstring& hint) override { this->hint = hint; }
    void ShowControlStates(const TControlStates& states) override {
        ++buttonUpdates;
        controls = states;
    }
    TStart Run(const std::wstring& commandLine, TListener& listener) override {
        commands.push_back(commandLine);
        timerRanDuringRun = timer->Running();
        lastLine = kNoLog;  // a new run starts without lines
        const std::vector<std::wstring>& script = scripts[commands.size() - 1];
        if (!script.empty() && script[0] == L"<cannot start>") {
            // The runner's message, held back when the listener says so.
            if (listener.HoldBackStartFailure()) return TStart::FailedAndHeldBack;
            ++runnerMessages;
            return TStart::FailedAndShown;
        }
        running = true;
        // The job's first round of messages.
        listener.RunBegun();
        controlsAtFirstRound = controls;
        // The encoder writes its output (the path after -o in the test's template).
        const size_t o = commandLine.find(L"-o \"");
        if (o != std::wstring::npos) files.insert(commandLine.substr(o + 4, commandLine.size() - o - 5));
        if (duringRun) duringRun();
        // The encoder's lines as the 100 ms timer would see them.
        for (const std::wstring& line : script) {
            if (line == L"<throw>") throw std::runtime_error("job failed");
            if (line == L"<stop>") {  // the stop button pressed while the job runs
                driver->RequestStop();
                continue;
            }
            lastLine = line;
            timer->Fire();
        }
        running = false;
        return TStart::Started;
    }
    std::wstring LastLine() override { return lastLine; }
    bool Running() override { return running; }
    void Stop() override { running = false; }
    void TrimWorkingSet() override { calls.push_back(L"trim"); }
    void ProcessMessages() override { calls.push_back(L"messages"); }
    void OfferShutdown() override {
        ++shutdownOffers;
        convertingAtOffer = driver->Converting();
    }

    TBatchDriver* driver = nullptr;
    FakeTimer* timer = nullptr;
    TControlStates controls, controlsAtFirstRound;
    bool timerRanDuringRun = false;
    std::function<void()> duringRun;
    std::set<std::wstring> files, folders;
    bool canCreateFolders = true;
    bool unattended = false;
    bool convertingAtOffer = false, convertingAtWarning = false;
    int runnerMessages = 0;
    std::vector<std::wstring> calls;
    bool confirmAnswer = true;
    std::vector<std::wstring> warnings, questions, commands;
    std::map<std::wstring, std::vector<std::wstring>> logs;
    std::map<size_t, std::vector<std::wstring>> scripts;
    std::wstring lastLine = kNoLog, hint;
    bool running = false;
    int bar = -1, focusCalls = 0, createDirCalls = 0, buttonUpdates = 0, shutdownOffers = 0;
    static constexpr wchar_t kNoLog[] = L"Video: no log currently avalible. Working...";
};

const std::vector<std::wstring> kConverts = {L"MEncoder", L"Pos: 1.0s 25f (50%) x", L"Pos: 2.0s 50f (99%) x",
                                             L"Video stream: 1200 kbit/s"};

class BatchDriverTest : public ::testing::Test {
protected:
    BatchDriverTest()
        : catalogue_(ini_),
          timer_(new FakeTimer),
          driver_(queue_, catalogue_, host_, std::unique_ptr<TBatchTimer>(timer_), host_, host_) {
        host_.driver = &driver_;
        host_.timer = timer_;
        ini_.Set(L"Fast", L"AVI", L"\"<SourceFile>\" -o \"<OutputFile>\"");
        settings_.EncoderPath = L"C:\\App\\codecs\\mencoder.exe";
        settings_.OutputFolder = L"D:\\Out\\";
        settings_.OutputExt = L".mp4";
        settings_.TypeName = L"Fast";
        host_.files = {settings_.EncoderPath};
        host_.folders = {L"D:\\Out\\"};
    }
    void Queue(const std::wstring& path, bool exists = true) {
        queue_.AddFile(path);
        if (exists) host_.files.insert(path);
    }

    test::FakeIniStore ini_;
    TProfileCatalogue catalogue_;
    TFileQueue queue_;
    FakeHost host_;
    FakeTimer* timer_;  // owned by the driver
    TBatchDriver driver_;
    TBatchSettings settings_;
};

TEST_F(BatchDriverTest, ConvertsWaitingRowsAndSkipsConvertedOnes) {
    Queue(L"C:\\In\\done.avi");
    queue_.SetState(0, TRowState::Converted);
    Queue(L"C:\\In\\clip.avi");
    host_.scripts[0] = kConverts;
    driver_.Start(settings_);
    ASSERT_EQ(host_.commands.size(), 1u);
    EXPECT_EQ(host_.commands[0],
              L"\"C:\\App\\codecs\\mencoder.exe\" \"C:\\In\\clip.avi\" -o \"D:\\Out\\clip-[VXE].mp4\"");
    EXPECT_EQ(host_.hint, L"正在转换: “clip-[VXE].mp4”");
    EXPECT_EQ(queue_.Row(1).Status(), L"已完成");
    EXPECT_EQ(queue_.Row(1).Progress, L"100%");
    EXPECT_EQ(queue_.Row(1).ImageIndex(), 2);
    EXPECT_EQ(host_.bar, 100);
    EXPECT_EQ(driver_.CurrentRow(), 1);
    EXPECT_EQ(host_.shutdownOffers, 0);  // not unattended
}

TEST_F(BatchDriverTest, EncoderEndingWithoutCompletionLineStopsTheRowWithItsLastProgress) {
    Queue(L"C:\\In\\a.avi");
    host_.scripts[0] = {L"x", L"y", L"Pos: 1.0s 25f (37%) x"};
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(0).Status(), L"已终止");
    EXPECT_EQ(queue_.Row(0).Progress, L"25帧  37%");
    EXPECT_EQ(queue_.Row(0).ImageIndex(), 3);
}

TEST_F(BatchDriverTest, ExistingOutputIsOverwrittenOnlyAfterConsent) {
    Queue(L"C:\\In\\a.avi");
    Queue(L"C:\\In\\b.avi");
    host_.files.insert(L"D:\\Out\\a-[VXE].mp4");
    host_.confirmAnswer = false;
    host_.scripts[0] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(host_.questions, (std::vector<std::wstring>{L"“D:\\Out\\a-[VXE].mp4”文件已存在，是否要覆盖？"}));
    EXPECT_EQ(queue_.Row(0).Status(), L"准备转换");  // left as it was
    EXPECT_EQ(queue_.Row(1).Status(), L"已完成");
    ASSERT_EQ(host_.commands.size(), 1u);

    // Unattended: overwritten without a question.
    host_.unattended = true;
    host_.scripts[1] = kConverts;
    host_.questions.clear();
    driver_.Start(settings_);
    EXPECT_TRUE(host_.questions.empty());
    EXPECT_EQ(queue_.Row(0).Status(), L"已完成");
}

TEST_F(BatchDriverTest, MissingSourceIsReportedOrLogged) {
    Queue(L"C:\\In\\gone.avi", false);
    driver_.Start(settings_);
    EXPECT_EQ(host_.warnings, (std::vector<std::wstring>{L"“C:\\In\\gone.avi”源文件不存在！"}));
    EXPECT_EQ(queue_.Row(0).Status(), L"转换失败");
    EXPECT_EQ(queue_.Row(0).ImageIndex(), 3);
    EXPECT_EQ(host_.bar, 0);

    host_.warnings.clear();
    host_.unattended = true;
    driver_.Start(settings_);
    EXPECT_TRUE(host_.warnings.empty());
    EXPECT_EQ(host_.logs[L"D:\\Out\\gone-[VXE].mp4.txt"],
              (std::vector<std::wstring>{L"“C:\\In\\gone.avi”文件转换失败，原因：源文件不存在！"}));
    EXPECT_TRUE(host_.commands.empty());
}

TEST_F(BatchDriverTest, OutputEqualToSourceFailsTheRow) {
    // A catalogue extension holding a separator can map a queued path onto itself.
    settings_.OutputExt = L"\\x";
    Queue(L"D:\\Out\\x-[VXE]\\x");
    Queue(L"C:\\In\\b.avi");
    host_.scripts[0] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(0).Status(), L"转换失败");
    EXPECT_EQ(host_.warnings,
              (std::vector<std::wstring>{L"“D:\\Out\\x-[VXE]\\x”源文件名和输出的文件名不能相同，请重新选择输出目录!"}));
    EXPECT_EQ(host_.focusCalls, 1);
    EXPECT_EQ(queue_.Row(1).Status(), L"已完成");  // the batch goes on

    host_.unattended = true;
    host_.warnings.clear();
    driver_.Start(settings_);
    EXPECT_TRUE(host_.warnings.empty());
    EXPECT_EQ(host_.logs[L"D:\\Out\\x-[VXE]\\x.txt"],
              (std::vector<std::wstring>{L"“D:\\Out\\x-[VXE]\\x”文件转换失败，原因：源文件名和输出的文件名相同!"}));
}

TEST_F(BatchDriverTest, OutputFolderThatCannotBeMadeEndsEverything) {
    settings_.OutputFolder = L"D:\\New\\";
    host_.unattended = true;
    host_.canCreateFolders = false;
    Queue(L"C:\\In\\a.avi");
    Queue(L"C:\\In\\b.avi");
    driver_.Start(settings_);
    EXPECT_EQ(host_.warnings, (std::vector<std::wstring>{L"“D:\\New\\”输出目录创建失败，请重新选择输出目录!"}));
    EXPECT_EQ(host_.createDirCalls, 1);
    EXPECT_EQ(queue_.Row(1).Status(), L"准备转换");
    EXPECT_EQ(host_.shutdownOffers, 0);

    // A folder that can be made is made once and used.
    host_.canCreateFolders = true;
    host_.warnings.clear();
    host_.scripts[0] = kConverts;
    host_.scripts[1] = kConverts;
    driver_.Start(settings_);
    EXPECT_TRUE(host_.warnings.empty());
    EXPECT_EQ(host_.createDirCalls, 2);
    EXPECT_EQ(host_.shutdownOffers, 1);  // unattended and the last row converted
}

TEST_F(BatchDriverTest, StopDuringTheSecondFileLeavesTheThirdAlone) {
    host_.unattended = true;
    for (const wchar_t* p : {L"C:\\In\\1.avi", L"C:\\In\\2.avi", L"C:\\In\\3.avi"}) Queue(p);
    host_.scripts[0] = kConverts;
    host_.scripts[1] = {L"a", L"b", L"Pos: 1.0s 25f (40%) x", L"<stop>"};
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(0).Status(), L"已完成");
    EXPECT_EQ(queue_.Row(1).Status(), L"已终止");
    EXPECT_EQ(queue_.Row(2).Status(), L"准备转换");
    EXPECT_EQ(host_.commands.size(), 2u);
    EXPECT_TRUE(driver_.StopRequested());
    EXPECT_EQ(host_.bar, 40);  // the final update shows the stopped file's percentage again
    EXPECT_EQ(host_.shutdownOffers, 0);  // the last row is not converted
}

TEST_F(BatchDriverTest, AFailingRunMarksTheRowAndEndsTheBatch) {
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\2.avi");
    host_.scripts[0] = {L"<throw>"};
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(0).Status(), L"转换失败");
    EXPECT_EQ(queue_.Row(1).Status(), L"准备转换");
}

TEST_F(BatchDriverTest, MissingEncoderSkipsEverySilently) {
    host_.files.erase(settings_.EncoderPath);
    Queue(L"C:\\In\\1.avi");
    driver_.Start(settings_);
    EXPECT_TRUE(host_.commands.empty());
    EXPECT_TRUE(host_.warnings.empty());
    EXPECT_EQ(queue_.Row(0).Status(), L"准备转换");
}

TEST_F(BatchDriverTest, RowsAddedDuringABatchWaitForTheNext) {
    Queue(L"C:\\In\\1.avi");
    host_.scripts[0] = kConverts;
    host_.duringRun = [this] { Queue(L"C:\\In\\late.avi"); };  // dropped while the first converts
    driver_.Start(settings_);
    ASSERT_EQ(queue_.Count(), 2);
    EXPECT_EQ(queue_.Row(1).Status(), L"准备转换");
    EXPECT_EQ(host_.commands.size(), 1u);
}

TEST_F(BatchDriverTest, ShutdownBoxIsReadAtEveryUse) {
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\gone.avi", false);
    Queue(L"C:\\In\\3.avi");
    host_.scripts[0] = kConverts;
    host_.scripts[1] = kConverts;
    host_.duringRun = [this] { host_.unattended = true; };  // ticked while the first file converts
    driver_.Start(settings_);
    EXPECT_TRUE(host_.warnings.empty());
    EXPECT_EQ(host_.logs[L"D:\\Out\\gone-[VXE].mp4.txt"],
              (std::vector<std::wstring>{L"“C:\\In\\gone.avi”文件转换失败，原因：源文件不存在！"}));
    EXPECT_EQ(host_.shutdownOffers, 1);

    // Cleared during a run: no offer, though the last row is converted.
    Queue(L"C:\\In\\4.avi");
    host_.scripts[2] = kConverts;
    host_.duringRun = [this] { host_.unattended = false; };
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(3).Status(), L"已完成");
    EXPECT_EQ(host_.shutdownOffers, 1);
}

TEST_F(BatchDriverTest, AnOutputWrittenEarlierInTheBatchIsNotOverwrittenUnattended) {
    ini_.Set(L"Fast", L"MPG", L"\"<SourceFile>\" -o \"<OutputFile>\"");
    host_.unattended = true;
    Queue(L"C:\\In\\clip.avi");
    Queue(L"C:\\Disc\\CLIP.mpg");  // the same output, letters in another case
    Queue(L"C:\\In\\other.avi");
    host_.files.insert(L"D:\\Out\\other-[VXE].mp4");  // from before this batch
    host_.scripts[0] = kConverts;
    host_.scripts[1] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(0).Status(), L"已完成");
    EXPECT_EQ(queue_.Row(1).Status(), L"转换失败");
    EXPECT_EQ(queue_.Row(1).ImageIndex(), 3);
    EXPECT_EQ(host_.logs[L"D:\\Out\\CLIP-[VXE].mp4.txt"],
              (std::vector<std::wstring>{
                  L"“C:\\Disc\\CLIP.mpg”文件转换失败，原因：输出的文件已由本次转换中前面的文件写入!"}));
    ASSERT_EQ(host_.commands.size(), 2u);
    EXPECT_NE(host_.commands[1].find(L"other.avi"), std::wstring::npos) << "an older output is overwritten";
    EXPECT_EQ(queue_.Row(2).Status(), L"已完成");
    EXPECT_TRUE(host_.questions.empty());
    EXPECT_TRUE(host_.warnings.empty());

    // A new batch starts afresh: the row is converted over the earlier batch's output.
    host_.scripts[2] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(1).Status(), L"已完成");
    EXPECT_EQ(host_.commands.size(), 3u);
}

TEST_F(BatchDriverTest, AttendedTheOverwriteQuestionStandsForAnOutputOfTheSameBatch) {
    Queue(L"C:\\A\\VTS_01_1.VOB");
    Queue(L"C:\\B\\VTS_01_1.VOB");
    ini_.Set(L"Fast", L"VOB", L"\"<SourceFile>\" -o \"<OutputFile>\"");
    host_.scripts[0] = kConverts;
    host_.confirmAnswer = false;
    driver_.Start(settings_);
    EXPECT_EQ(host_.questions, (std::vector<std::wstring>{L"“D:\\Out\\VTS_01_1-[VXE].mp4”文件已存在，是否要覆盖？"}));
    EXPECT_EQ(queue_.Row(1).Status(), L"准备转换");
    EXPECT_TRUE(host_.logs.empty());
}

TEST_F(BatchDriverTest, NoShutdownOfferAfterAStopWhenTheLastRowWasConvertedBefore) {
    host_.unattended = true;
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\done.avi");
    queue_.SetState(1, TRowState::Converted);
    host_.scripts[0] = {L"a", L"b", L"Pos: 1.0s 25f (40%) x", L"<stop>"};
    driver_.Start(settings_);
    EXPECT_EQ(queue_.Row(0).Status(), L"已终止");
    EXPECT_EQ(host_.shutdownOffers, 0);

    // Not stopped: the converted last row brings the offer, after the rows are done.
    host_.scripts[1] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(host_.shutdownOffers, 1);
    EXPECT_FALSE(host_.convertingAtOffer);
}

TEST_F(BatchDriverTest, ConvertingCoversTheGapBetweenFiles) {
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\gone.avi", false);
    host_.scripts[0] = kConverts;
    bool duringRun = false;
    host_.duringRun = [&] { duringRun = driver_.Converting(); };
    EXPECT_FALSE(driver_.Converting());
    driver_.Start(settings_);
    EXPECT_TRUE(duringRun);
    ASSERT_EQ(host_.warnings.size(), 1u);  // the missing source, between files
    EXPECT_TRUE(host_.convertingAtWarning);
    EXPECT_FALSE(driver_.Converting());
}

TEST_F(BatchDriverTest, EncoderThatCannotBeStartedIsLoggedUnattended) {
    host_.unattended = true;
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\2.avi");
    host_.scripts[0] = {L"<cannot start>"};
    host_.scripts[1] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(host_.runnerMessages, 0);
    EXPECT_TRUE(host_.warnings.empty());
    EXPECT_EQ(queue_.Row(0).Status(), L"转换失败");
    EXPECT_EQ(queue_.Row(0).ImageIndex(), 3);
    EXPECT_EQ(host_.logs[L"D:\\Out\\1-[VXE].mp4.txt"],
              (std::vector<std::wstring>{L"“C:\\In\\1.avi”文件转换失败，原因：转换程序无法启动！"}));
    EXPECT_EQ(queue_.Row(1).Status(), L"已完成") << "the batch goes on";

    // Attended: the runner's message was shown; the row ends as stopped, nothing logged.
    host_.unattended = false;
    queue_.SetState(1, TRowState::Waiting);
    host_.logs.clear();
    host_.scripts[2] = {L"<cannot start>"};
    host_.scripts[3] = kConverts;
    driver_.Start(settings_);
    EXPECT_EQ(host_.runnerMessages, 1);
    EXPECT_EQ(queue_.Row(0).Status(), L"已终止");
    EXPECT_TRUE(host_.logs.empty());
    EXPECT_EQ(queue_.Row(1).Status(), L"已完成");
}

// A progress look runs inside the job's round of messages (a tick) or right after the
// run; it handles no messages itself. The batch lets messages through once after each
// row, before it looks at the next.
TEST_F(BatchDriverTest, EveryProgressLookTrimsTheWorkingSetAndOnlyTheRowEndHandlesMessages) {
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\2.avi");
    host_.scripts[0] = kConverts;
    host_.scripts[1] = {L"a", L"b"};
    driver_.Start(settings_);
    // Four ticks and the final judgement of the first row, one round of messages; two
    // ticks and the final judgement of the second, one round.
    std::vector<std::wstring> expected(5, L"trim");
    expected.push_back(L"messages");
    expected.insert(expected.end(), 3, L"trim");
    expected.push_back(L"messages");
    EXPECT_EQ(host_.calls, expected);
}

TEST_F(BatchDriverTest, TheProgressTimerTicksOnlyWhileTheJobRuns) {
    Queue(L"C:\\In\\1.avi");
    Queue(L"C:\\In\\2.avi");
    host_.scripts[0] = {L"a", L"b", L"Pos: 1.0s 25f (30%) x", L"Video stream: 1"};
    host_.scripts[1] = {L"<throw>"};
    driver_.Start(settings_);
    EXPECT_EQ(timer_->starts, 2);
    EXPECT_EQ(timer_->interval, kProgressInterval);
    EXPECT_TRUE(host_.timerRanDuringRun);
    EXPECT_FALSE(timer_->Running()) << "a run that threw left its timer going";
    EXPECT_EQ(queue_.Row(0).Status(), L"已完成");
    EXPECT_EQ(queue_.Row(1).Status(), L"转换失败");
}

TEST_F(BatchDriverTest, TheControlsShowTheRunFromItsFirstRoundAndIdleAfterTheBatch) {
    Queue(L"C:\\In\\1.avi");
    host_.scripts[0] = {L"a"};
    driver_.Start(settings_);
    EXPECT_TRUE(host_.controlsAtFirstRound.Stop);
    EXPECT_FALSE(host_.controlsAtFirstRound.Start);
    EXPECT_FALSE(host_.controlsAtFirstRound.DeleteAll);
    EXPECT_FALSE(host_.controlsAtFirstRound.AddFile);
    // The final judgement shows the job idle again.
    EXPECT_TRUE(host_.controls.Start);
    EXPECT_FALSE(host_.controls.Stop);
    EXPECT_TRUE(host_.controls.DeleteAll);
}

}  // namespace
}  // namespace vx
