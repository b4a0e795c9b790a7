// The profile catalogue and the user's settings read through an INI store.
#include "app/Settings.h"

#include <gtest/gtest.h>

#include "tests/app/FakeIniStore.h"

namespace vx {
namespace {

using test::FakeIniStore;

TEST(ProfileCatalogue, TypesAreTheKeyNamesInFileOrder) {
    FakeIniStore ini;
    ini.Set(L"EncoderType", L"Pixoro 高速度", L".avi");
    ini.Set(L"EncoderType", L"Pixoro 高质量", L".mp4");
    ini.Set(L"EncoderType", L"Audio only", L"");
    TProfileCatalogue catalogue(ini);
    EXPECT_EQ(catalogue.EncoderTypes(), (std::vector<std::wstring>{L"Pixoro 高速度", L"Pixoro 高质量", L"Audio only"}));

    FakeIniStore empty;
    EXPECT_TRUE(TProfileCatalogue(empty).EncoderTypes().empty());
}

TEST(ProfileCatalogue, FilterSkipsEntriesWithoutPatterns) {
    FakeIniStore ini;
    ini.Set(L"Extension", L"Video", L"  *.avi;*.mpg\t");
    ini.Set(L"Extension", L"Other", L"");
    ini.Set(L"Extension", L"Blank", L"   ");
    ini.Set(L"Extension", L"All", L"*.*");
    EXPECT_EQ(TProfileCatalogue(ini).OpenDialogFilter(), L"Video|*.avi;*.mpg|All|*.*|");

    FakeIniStore none;
    none.Set(L"Extension", L"Other", L"");
    EXPECT_EQ(TProfileCatalogue(none).OpenDialogFilter(), L"");
}

TEST(ProfileCatalogue, OutputExtensionIsStoredValueOrAviWhenMissing) {
    FakeIniStore ini;
    ini.Set(L"EncoderType", L"Fast", L".mp4");
    ini.Set(L"EncoderType", L"Bare", L"");
    ini.Set(L"EncoderType", L"NoDot", L"avi");
    TProfileCatalogue catalogue(ini);
    EXPECT_EQ(catalogue.OutputExtFor(L"Fast"), L".mp4");
    EXPECT_EQ(catalogue.OutputExtFor(L"fast"), L".mp4");
    EXPECT_EQ(catalogue.OutputExtFor(L"Bare"), L"");
    EXPECT_EQ(catalogue.OutputExtFor(L"NoDot"), L"avi");
    EXPECT_EQ(catalogue.OutputExtFor(L"Unknown"), L".avi");
}

TEST(ProfileCatalogue, TemplateIsLookedUpByTypeAndExtensionWithoutDot) {
    FakeIniStore ini;
    ini.Set(L"Pixoro 高速度", L"MPG", L"\"<SourceFile>\" -o \"<OutputFile>\"");
    ini.Set(L"Pixoro 高速度", L"avi", L"avi template");
    TProfileCatalogue catalogue(ini);
    EXPECT_EQ(catalogue.TemplateFor(L"Pixoro 高速度", L".MPG"), L"\"<SourceFile>\" -o \"<OutputFile>\"");
    EXPECT_EQ(catalogue.TemplateFor(L"Pixoro 高速度", L".AVI"), L"avi template");
    EXPECT_EQ(catalogue.TemplateFor(L"Pixoro 高速度", L""), L"");
    EXPECT_EQ(catalogue.TemplateFor(L"Pixoro 高质量", L".MPG"), L"");
}

TEST(ProfileCatalogue, EveryLookupReadsTheStoreAfresh) {
    FakeIniStore ini;
    ini.Set(L"EncoderType", L"A", L".avi");
    TProfileCatalogue catalogue(ini);
    EXPECT_EQ(catalogue.OutputExtFor(L"A"), L".avi");
    ini.Set(L"EncoderType", L"A", L".mkv");  // edited while the program runs
    EXPECT_EQ(catalogue.OutputExtFor(L"A"), L".mkv");
}

TEST(UserSettings, OutputFolderDefaultsAndGetsItsBackslash) {
    FakeIniStore missing;
    EXPECT_EQ(TUserSettings(missing).OutputFolder(), L"C:\\VX Vedio\\");

    FakeIniStore ini;
    ini.Set(L"Configure", L"OutputFolder", L"D:\\Out");
    EXPECT_EQ(TUserSettings(ini).OutputFolder(), L"D:\\Out\\");
    ini.Set(L"Configure", L"OutputFolder", L"");
    EXPECT_EQ(TUserSettings(ini).OutputFolder(), L"");
}

TEST(UserSettings, StoredTypeIndexOutOfRangeSelectsTheFirstType) {
    FakeIniStore ini;
    TUserSettings settings(ini);
    EXPECT_EQ(settings.EncoderTypeIndex(3), 0);  // missing
    for (auto [stored, expected] : {std::pair{L"2", 2}, {L"5", 0}, {L"3", 0}, {L"-1", 0}, {L"x", 0}, {L"1", 1}}) {
        ini.Set(L"Configure", L"EncoderType", stored);
        EXPECT_EQ(settings.EncoderTypeIndex(3), expected) << stored;
    }
    EXPECT_EQ(settings.EncoderTypeIndex(0), -1);  // nothing to select
}

TEST(UserSettings, SaveWritesFolderAndIndexThatLoadReadsBack) {
    FakeIniStore ini;
    TUserSettings settings(ini);
    settings.Save(L"E:\\视频\\", 2);
    EXPECT_EQ(ini.ReadString(L"configure", L"outputfolder", L""), L"E:\\视频\\");
    EXPECT_EQ(settings.OutputFolder(), L"E:\\视频\\");
    EXPECT_EQ(settings.EncoderTypeIndex(3), 2);
    settings.Save(L"E:\\视频\\", -1);
    EXPECT_EQ(ini.ReadString(L"Configure", L"EncoderType", L""), L"-1");
}

}  // namespace
}  // namespace vx
