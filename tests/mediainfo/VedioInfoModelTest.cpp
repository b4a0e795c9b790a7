// The name table and the report-to-tree model of the media information window.
#include "mediainfo/VedioInfoModel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using namespace vx;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::wstring> Titles(const TVedioInfoModel& m) {
    std::vector<std::wstring> titles;
    for (const auto& s : m.Sections()) titles.push_back(s.Title);
    return titles;
}

}  // namespace

TEST(TranslateFieldName, MatchesKeysWithoutRegardToAsciiCase) {
    EXPECT_EQ(TranslateFieldName(L"Frame rate"), L"帧率");
    EXPECT_EQ(TranslateFieldName(L"FRAME RATE"), L"帧率");
    EXPECT_EQ(TranslateFieldName(L"fRaMe RaTe"), L"帧率");
    EXPECT_EQ(TranslateFieldName(L"General"), L"概要");
    EXPECT_EQ(TranslateFieldName(L"Video"), L"视频");
    EXPECT_EQ(TranslateFieldName(L"Audio"), L"音频");
    EXPECT_EQ(TranslateFieldName(L"Channel(s)"), L"声道");
    EXPECT_EQ(TranslateFieldName(L"Codec ID/Hint"), L"编码设置ID/提示信息");
    EXPECT_EQ(TranslateFieldName(L"Alignment"), L"对齐方式");
}

TEST(TranslateFieldName, ComparesWholeNamesNotPrefixes) {
    // "Format", "Format/Info", "Format profile" and "Format version" are four keys;
    // "Bit rate" and "Bit rate mode" two.
    EXPECT_EQ(TranslateFieldName(L"Format"), L"文件格式");
    EXPECT_EQ(TranslateFieldName(L"Format/Info"), L"格式信息");
    EXPECT_EQ(TranslateFieldName(L"Format profile"), L"格式简介");
    EXPECT_EQ(TranslateFieldName(L"Format version"), L"格式版本");
    EXPECT_EQ(TranslateFieldName(L"Bit rate"), L"码率");
    EXPECT_EQ(TranslateFieldName(L"Bit rate mode"), L"码率模式");
    EXPECT_EQ(TranslateFieldName(L"Format settings"), L"Format settings");
    // No trimming inside the lookup: the report reader trims before it asks.
    EXPECT_EQ(TranslateFieldName(L"Width "), L"Width ");
}

TEST(TranslateFieldName, UnknownAndUnlabelledNamesStayAsWritten) {
    EXPECT_EQ(TranslateFieldName(L"Bits/(Pixel*Frame)"), L"Bits/(Pixel*Frame)");
    EXPECT_EQ(TranslateFieldName(L"bits/(pixel*frame)"), L"bits/(pixel*frame)");
    EXPECT_EQ(TranslateFieldName(L"Color space"), L"Color space");  // not upper-cased
    EXPECT_EQ(TranslateFieldName(L"Audio #2"), L"Audio #2");
    EXPECT_EQ(TranslateFieldName(L""), L"");
    EXPECT_EQ(TranslateFieldName(L"视频"), L"视频");
    // Only a to z change case: an accented or full-width letter never matches a key.
    EXPECT_EQ(TranslateFieldName(L"vidéo"), L"vidéo");
    EXPECT_EQ(TranslateFieldName(L"ｖｉｄｅｏ"), L"ｖｉｄｅｏ");
}

TEST(TranslateFieldName, TableKeysAreUpperCaseAndUniqueWithOneUnlabelledKey) {
    std::set<std::wstring> keys;
    int unlabelled = 0;
    for (const TFieldName& f : FieldNameTable) {
        const std::wstring key = f.Key;
        for (wchar_t c : key) EXPECT_FALSE(c >= L'a' && c <= L'z') << "lower-case letter in key";
        EXPECT_TRUE(keys.insert(key).second) << "key listed twice";
        if (!f.Label) ++unlabelled;
    }
    EXPECT_EQ(unlabelled, 1);
    EXPECT_EQ(FieldNameTable[17].Label, nullptr);
}

TEST(VedioInfoModel, BuildsSectionsWithTranslatedLabelAndFullWidthColon) {
    TVedioInfoModel m(
        L"General\r\n"
        L"Complete name                            : D:\\Movies\\clip.avi\r\n"
        L"Duration                                 : 1 min 2 s\r\n"
        L"\r\n"
        L"Video\r\n"
        L"Width                                    : 352 pixels\r\n"
        L"Bits/(Pixel*Frame)                       : 0.120\r\n"
        L"Color space                              : YUV\r\n"
        L"\r\n"
        L"Audio #2\r\n"
        L"Sampling rate                            : 44.1 kHz\r\n");
    EXPECT_FALSE(m.Empty());
    ASSERT_THAT(Titles(m), ElementsAre(L"概要", L"视频", L"Audio #2"));
    EXPECT_THAT(m.Sections()[0].Lines,
                ElementsAre(L"完整名称：D:\\Movies\\clip.avi", L"长度：1 min 2 s"));
    EXPECT_THAT(m.Sections()[1].Lines,
                ElementsAre(L"画面宽度：352 pixels", L"Bits/(Pixel*Frame)：0.120",
                            L"Color space：YUV"));
    EXPECT_THAT(m.Sections()[2].Lines, ElementsAre(L"采样率：44.1 kHz"));
}

TEST(VedioInfoModel, OnlyTheFirstAsciiColonSplits) {
    TVedioInfoModel m(
        L"General\n"
        L"Encoded date : UTC 2009-03-30 19:57:50\n"
        L"Title:a:b: c\n"
        L"Comment ：full-width colon : ascii\n");
    ASSERT_EQ(m.Sections().size(), 1u);
    EXPECT_THAT(m.Sections()[0].Lines,
                ElementsAre(L"编码日期：UTC 2009-03-30 19:57:50", L"Title：a:b: c",
                            L"Comment ：full-width colon：ascii"));
}

TEST(VedioInfoModel, FieldsWithEmptyNameOrValueKeepTheirLine) {
    TVedioInfoModel m(L"Video\n   Title   :   \n : value\n");
    ASSERT_EQ(m.Sections().size(), 1u);
    EXPECT_THAT(m.Sections()[0].Lines, ElementsAre(L"Title：", L"：value"));
}

TEST(VedioInfoModel, SplitsAtCrLfCrAndLfAndSkipsBlankLines) {
    // CR LF is one break; CR CR and LF LF hold an empty line between them.
    TVedioInfoModel m(L"Video\rWidth : 1\nHeight : 2\r\n\r\rFormat : A\n\nAudio\t \x01\r\n"
                      L"  \t  \r\n \x1f \nChannel(s) : 2");
    ASSERT_THAT(Titles(m), ElementsAre(L"视频", L"音频"));
    EXPECT_THAT(m.Sections()[0].Lines,
                ElementsAre(L"画面宽度：1", L"画面高度：2", L"文件格式：A"));
    EXPECT_THAT(m.Sections()[1].Lines, ElementsAre(L"声道：2"));
}

TEST(VedioInfoModel, TitlesAreTrimmedAndSectionsMayBeEmpty) {
    TVedioInfoModel m(L"  general  \r\nVideo\r\n\tText #1\t\r\n");
    EXPECT_THAT(Titles(m), ElementsAre(L"概要", L"视频", L"Text #1"));
    for (const auto& s : m.Sections()) EXPECT_THAT(s.Lines, IsEmpty());
}

TEST(VedioInfoModel, FieldsBeforeAnyTitleGetASectionOfTheirOwn) {
    TVedioInfoModel m(L"Format : AVI\nFile size : 2 MiB\nVideo\nWidth : 8\n");
    ASSERT_THAT(Titles(m), ElementsAre(InfoUntitledSectionText, L"视频"));
    EXPECT_THAT(m.Sections()[0].Lines, ElementsAre(L"文件格式：AVI", L"文件大小：2 MiB"));
    EXPECT_THAT(m.Sections()[1].Lines, ElementsAre(L"画面宽度：8"));
}

TEST(VedioInfoModel, NothingToShowGivesOneExplainingNode) {
    for (const wchar_t* report : {L"", L"\r\n", L"   \n\t\r\n  "}) {
        TVedioInfoModel m(report);
        EXPECT_TRUE(m.Empty());
        ASSERT_EQ(m.Sections().size(), 1u);
        EXPECT_EQ(m.Sections()[0].Title, std::wstring(L"无法读取该文件的媒体信息"));
        EXPECT_THAT(m.Sections()[0].Lines, IsEmpty());
    }
}

TEST(VedioInfoModel, LoadingAgainReplacesTheContent) {
    TVedioInfoModel m(L"Video\nWidth : 1\n");
    m.Load(L"Audio\nChannel(s) : 2\n");
    ASSERT_THAT(Titles(m), ElementsAre(L"音频"));
    EXPECT_THAT(m.Sections()[0].Lines, ElementsAre(L"声道：2"));
    m.Load(L"");
    EXPECT_TRUE(m.Empty());
    EXPECT_EQ(m.Sections().size(), 1u);
    m.Load(L"General\n");
    EXPECT_FALSE(m.Empty());
}
