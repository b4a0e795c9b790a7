// Paths, command lines, the queue's identity rule and the control-enabling rule.
#include <gtest/gtest.h>

#include "app/BatchRules.h"
#include "app/FileQueue.h"
#include "app/ProgressParser.h"
#include "app/Settings.h"
#include "app/vxeUtils.h"
#include "framework/SysUtils.h"

namespace vx {
namespace {

TEST(VxeUtils, AddTrailingBackslashLooksAtTheLastCharacterOnly) {
    EXPECT_EQ(AddTrailingBackslash(L"D:\\Out"), L"D:\\Out\\");
    EXPECT_EQ(AddTrailingBackslash(L"D:\\Out\\"), L"D:\\Out\\");
    EXPECT_EQ(AddTrailingBackslash(L""), L"");
    EXPECT_EQ(AddTrailingBackslash(L"D:"), L"D:\\");
    EXPECT_EQ(AddTrailingBackslash(L"D:\\Out/"), L"D:\\Out/\\");
}

TEST(VxeUtils, OutputPathKeepsTheFolderAndCutsTheLastExtension) {
    EXPECT_EQ(OutputPathFor(L"D:\\Out\\", L"C:\\In\\clip.part1.mpg", L".avi"), L"D:\\Out\\clip.part1-[VXE].avi");
    EXPECT_EQ(OutputPathFor(L"D:\\Out\\", L"C:\\In\\noext", L".mp4"), L"D:\\Out\\noext-[VXE].mp4");
    // The folder text is used as it stands; no separator is added.
    EXPECT_EQ(OutputPathFor(L"D:\\Out", L"C:\\In\\a.avi", L".avi"), L"D:\\Outa-[VXE].avi");
    // A dot in a folder name is not an extension; ":" ends the folder part too.
    EXPECT_EQ(OutputPathFor(L"E:\\", L"C:\\In.v2\\movie", L".avi"), L"E:\\movie-[VXE].avi");
    EXPECT_EQ(OutputPathFor(L"E:\\", L"C:film.rm", L""), L"E:\\film-[VXE]");
    EXPECT_EQ(OutputPathFor(L"E:\\", L"C:\\视频\\电影.AVI", L".avi"), L"E:\\电影-[VXE].avi");
}

TEST(VxeUtils, SourceExtensionIsUpperCasedAsciiOnly) {
    EXPECT_EQ(SourceExtUpper(L"C:\\In\\a.mpg"), L".MPG");
    EXPECT_EQ(SourceExtUpper(L"C:\\In.dir\\noext"), L"");
    EXPECT_EQ(SourceExtUpper(L"C:\\In\\a.b.rmvb"), L".RMVB");
    EXPECT_EQ(SourceExtUpper(L"C:\\In\\a.ävi"), L".äVI");
}

TEST(CommandTemplate, KeyDropsTheFirstDotOnly) {
    EXPECT_EQ(TemplateKeyFor(L".AVI"), L"AVI");
    EXPECT_EQ(TemplateKeyFor(L""), L"");
    EXPECT_EQ(TemplateKeyFor(L"..X"), L".X");
}

TEST(CommandTemplate, FirstOccurrenceOfEachPlaceholderIsFilledCaseSensitively) {
    EXPECT_EQ(ExpandCommandTemplate(L"\"<SourceFile>\" -o \"<OutputFile>\"", L"C:\\In\\a.avi", L"D:\\Out\\a-[VXE].avi"),
              L"\"C:\\In\\a.avi\" -o \"D:\\Out\\a-[VXE].avi\"");
    EXPECT_EQ(ExpandCommandTemplate(L"<sourcefile> -o <OutputFile> <OutputFile>", L"S", L"O"),
              L"<sourcefile> -o O <OutputFile>");
    EXPECT_EQ(ExpandCommandTemplate(L"<SourceFile><SourceFile>", L"S", L"O"), L"S<SourceFile>");
    EXPECT_EQ(ExpandCommandTemplate(L"-ovc copy", L"S", L"O"), L"-ovc copy");
}

TEST(CommandTemplate, EncoderPathIsQuotedAndTheTemplateIsNot) {
    EXPECT_EQ(BuildCommandLine(L"C:\\Program Files\\x\\codecs\\mencoder.exe", L"\"<SourceFile>\" -o \"<OutputFile>\"",
                               L"C:\\In\\a.avi", L"D:\\Out\\a-[VXE].avi"),
              L"\"C:\\Program Files\\x\\codecs\\mencoder.exe\" \"C:\\In\\a.avi\" -o \"D:\\Out\\a-[VXE].avi\"");
    // An empty template leaves the encoder path and one blank.
    EXPECT_EQ(BuildCommandLine(L"C:\\App\\codecs\\mencoder.exe", L"", L"S", L"O"), L"\"C:\\App\\codecs\\mencoder.exe\" ");
}

TEST(FileQueue, PathsEqualAfterAsciiUpperCasingAreOneRow) {
    TFileQueue q;
    EXPECT_TRUE(q.AddFile(L"C:\\A\\FILM.AVI"));
    EXPECT_FALSE(q.AddFile(L"C:\\a\\Film.avi"));
    // Non-ASCII letters are compared unchanged.
    EXPECT_TRUE(q.AddFile(L"C:\\A\\Ä.avi"));
    EXPECT_TRUE(q.AddFile(L"C:\\A\\ä.avi"));
    ASSERT_EQ(q.Count(), 3);
    EXPECT_EQ(q.Row(0).Path, L"C:\\A\\FILM.AVI");
    EXPECT_EQ(q.Row(0).State, TRowState::Waiting);
    EXPECT_EQ(q.Row(0).Status(), L"准备转换");
    EXPECT_EQ(q.Row(0).Progress, L"0%");
    EXPECT_EQ(q.Row(0).ImageIndex(), 0);
}

TEST(FileQueue, LongPathsAreKeptWhole) {
    TFileQueue q;
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L".avi";
    ASSERT_TRUE(q.AddFile(longPath));
    EXPECT_EQ(q.Row(0).Path, longPath);
    // A path that shares the first 255 characters is a different file.
    EXPECT_TRUE(q.AddFile(longPath.substr(0, 255)));
}

TEST(FileQueue, DeletedPathsCanBeQueuedAgainAndOrderIsKept) {
    TFileQueue q;
    for (const wchar_t* p : {L"a", L"b", L"c", L"d"}) q.AddFile(p);
    q.SetState(2, TRowState::Converted);
    q.Delete({3, 1, 1, 7, -1});
    ASSERT_EQ(q.Count(), 2);
    EXPECT_EQ(q.Row(0).Path, L"a");
    EXPECT_EQ(q.Row(1).Path, L"c");
    EXPECT_EQ(q.Row(1).State, TRowState::Converted);
    EXPECT_TRUE(q.AddFile(L"B"));
    EXPECT_FALSE(q.AddFile(L"C"));
    q.Clear();
    EXPECT_EQ(q.Count(), 0);
    EXPECT_TRUE(q.AddFile(L"a"));
}

TEST(FileQueue, ProgressJudgementIsAppliedToTheRow) {
    TFileQueue q;
    q.AddFile(L"x.avi");
    q.SetState(0, TRowState::Converting);
    ApplyProgress(q, 0, JudgeProgress(L"Pos: 3.0s 75f (40%) x", true));
    EXPECT_EQ(q.Row(0).Progress, L"75帧  40%");
    EXPECT_EQ(q.Row(0).Status(), L"正在转换...");
    ApplyProgress(q, 0, JudgeProgress(L"Pos: 3.0s 75f (40%) x", false));
    EXPECT_EQ(q.Row(0).Status(), L"已终止");
    EXPECT_EQ(q.Row(0).ImageIndex(), 3);
    EXPECT_EQ(q.Row(0).Progress, L"75帧  40%");
    EXPECT_THROW(ApplyProgress(q, 1, TProgressUpdate{}), std::out_of_range);
}

// The status column's texts and the row images, one pair per state.
TEST(FileQueue, EachStateHasItsTextAndImage) {
    const struct {
        TRowState state;
        const wchar_t* text;
        int image;
    } expected[] = {{TRowState::Waiting, L"准备转换", 0},
                    {TRowState::Converting, L"正在转换...", 1},
                    {TRowState::Converted, L"已完成", 2},
                    {TRowState::Stopped, L"已终止", 3},
                    {TRowState::Failed, L"转换失败", 3}};
    for (const auto& e : expected) {
        EXPECT_STREQ(StatusText(e.state), e.text);
        EXPECT_EQ(ImageIndexOf(e.state), e.image) << WideToUtf8(e.text);
    }
}

TEST(ControlStates, RunningJobLeavesOnlyStop) {
    TControlStates s = ComputeControlStates(true, 5);
    EXPECT_TRUE(s.Stop);
    EXPECT_FALSE(s.Start || s.OutputFolder || s.Browse || s.AddFile || s.Type || s.Delete || s.DeleteAll || s.Add);

    s = ComputeControlStates(false, 0);
    EXPECT_FALSE(s.Start || s.Stop || s.Delete || s.DeleteAll);
    EXPECT_TRUE(s.OutputFolder && s.Browse && s.AddFile && s.Type && s.Add);

    s = ComputeControlStates(false, 1);
    EXPECT_TRUE(s.Start && s.Delete && s.DeleteAll);
    EXPECT_FALSE(s.Stop);
}

}  // namespace
}  // namespace vx
