// The encoder's status and closing lines as the queue row and the progress bar see them.
#include "app/ProgressParser.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

struct Parsed {
    std::wstring percent, frames;
};
Parsed Parse(const std::wstring& line) {
    Parsed p{L"stale", L"stale"};
    ParseProgressLine(line, p.percent, p.frames);
    return p;
}

TEST(ProgressParser, ReadsFramesAndPercentFromTheStatusLine) {
    Parsed p = Parse(L"Pos: 12.3s 308f (12%) 48fps Trem: 1min 12mb");
    EXPECT_EQ(p.percent, L"12%");
    EXPECT_EQ(p.frames, L"308帧");

    // Right-aligned percentage and lower-case prefix.
    p = Parse(L"pos: 1.0s 25f ( 5%) 30fps");
    EXPECT_EQ(p.percent, L"5%");
    EXPECT_EQ(p.frames, L"25帧");
}

TEST(ProgressParser, TheLastCharacterOfTheLineIsNotRead) {
    // The closing parenthesis is the line's last character: the rest still holds "%".
    Parsed p = Parse(L"Pos: 0.0s 1f ( 0%)");
    EXPECT_EQ(p.percent, L"0%");
    EXPECT_EQ(p.frames, L"1帧");
    // Here the "%" itself is the last character and is cut off.
    p = Parse(L"Pos: 0.0s 1f (7%");
    EXPECT_EQ(p.percent, L"");
}

TEST(ProgressParser, LinesWithoutThePosPrefixGiveNothing) {
    for (const wchar_t* line : {L"", L"Po", L"Video: no log currently avalible. Working...",
                                L" Pos: 1.0s 25f (5%) x", L"Video stream: 1200 kbit/s"}) {
        Parsed p = Parse(line);
        EXPECT_EQ(p.percent, L"") << line;
        EXPECT_EQ(p.frames, L"") << line;
    }
    Parsed p = Parse(L"POS");  // prefix alone: no rest to read
    EXPECT_EQ(p.percent, L"");
    EXPECT_EQ(p.frames, L"");
}

TEST(ProgressParser, MalformedPercentagesBecomeZero) {
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f 12% x").percent, L"0%");       // no "(": text before "%" from the start
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f (12 %) x").percent, L"0%");    // trailing blank
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f (%) x").percent, L"0%");       // nothing between
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f 5%) (x").percent, L"0%");      // "(" after "%"
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f (99999999999%) x").percent, L"0%");  // beyond 32 bits
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f (-3%) x").percent, L"-3%");
    EXPECT_EQ(Parse(L"Pos: 1.0s 25f (+07%) x").percent, L"7%");
}

TEST(ProgressParser, FrameTextNeedsAnFAfterTheSeconds) {
    EXPECT_EQ(Parse(L"Pos: 1.0s (5%) x").frames, L"");          // no "f" at all
    EXPECT_EQ(Parse(L"Pos: 1.0f 2s (5%) x").frames, L"帧");      // "f" before "s"
    EXPECT_EQ(Parse(L"Pos: 12f (5%) x").frames, L": 12帧");  // no "s": from the start of the rest
}

TEST(ProgressParser, CompletionLineIsJudgedOnTwelveCharactersWithoutCase) {
    EXPECT_TRUE(IsCompletionLine(L"Video stream: 1200 kbit/s"));
    EXPECT_TRUE(IsCompletionLine(L"audio STREAM"));
    EXPECT_FALSE(IsCompletionLine(L"Video strea"));
    EXPECT_FALSE(IsCompletionLine(L" Video stream: 1200"));
    EXPECT_FALSE(IsCompletionLine(L"Video: no log currently avalible. Working..."));
}

TEST(ProgressJudgement, StatusLineWhileRunningUpdatesBarAndProgressOnly) {
    TProgressUpdate u = JudgeProgress(L"Pos: 12.3s 308f (12%) 48fps Trem: 1min 12mb", true);
    EXPECT_EQ(u.BarPosition, 12);
    EXPECT_EQ(u.ProgressText, L"308帧  12%");
    EXPECT_FALSE(u.State);

    // Zero percent: frames alone, bar set to 0.
    u = JudgeProgress(L"Pos: 0.0s 1f ( 0%)", true);
    EXPECT_EQ(u.BarPosition, 0);
    EXPECT_EQ(u.ProgressText, L"1帧");
}

TEST(ProgressJudgement, OtherLinesChangeNothingUntilTheJobStops) {
    EXPECT_TRUE(JudgeProgress(L"Video: no log currently avalible. Working...", true).ChangesNothing());
    EXPECT_TRUE(JudgeProgress(L"Pos: 1.0s 25f", true).ChangesNothing());  // no "%": nothing to show

    TProgressUpdate u = JudgeProgress(L"Video: no log currently avalible. Working...", false);
    EXPECT_EQ(u.State, TRowState::Stopped);
    EXPECT_FALSE(u.ProgressText);  // keeps the last shown progress
    EXPECT_FALSE(u.BarPosition);
}

TEST(ProgressJudgement, CompletionAfterTheJobStoppedMarksTheRowConverted) {
    for (const wchar_t* line : {L"Video stream: 1200 kbit/s (150 kB/s) size: 5 kbytes", L"video stream: x"}) {
        TProgressUpdate u = JudgeProgress(line, false);
        EXPECT_EQ(u.State, TRowState::Converted);
        EXPECT_EQ(u.ProgressText, L"100%");
        EXPECT_EQ(u.BarPosition, 100);
    }
    // While the job still runs a completion line is not judged yet.
    EXPECT_TRUE(JudgeProgress(L"Video stream: 1200 kbit/s", true).ChangesNothing());
}

TEST(ProgressJudgement, StatusLineAsLastLineOfAStoppedJobIsStoppedWithItsProgress) {
    TProgressUpdate u = JudgeProgress(L"Pos: 3.0s 75f (40%) x", false);
    EXPECT_EQ(u.State, TRowState::Stopped);
    EXPECT_EQ(u.ProgressText, L"75帧  40%");
    EXPECT_EQ(u.BarPosition, 40);
}

}  // namespace
}  // namespace vx
