#include "framework/IniFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace vx {
namespace {

// A fresh file name in the test's working folder, removed afterwards.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ExpandName(L"ini_test_" + IntToStr(GetCurrentProcessId()) + L"_" +
                           Utf8ToWide(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L".ini");
        ::DeleteFileW(path_.c_str());
    }
    void TearDown() override { ::DeleteFileW(path_.c_str()); }

    static std::wstring ExpandName(const std::wstring& name) {
        wchar_t buffer[MAX_PATH];
        GetFullPathNameW(name.c_str(), MAX_PATH, buffer, nullptr);
        return buffer;
    }
    // Writes raw bytes as the file's contents.
    void WriteBytes(const std::string& bytes) {
        TFileStream f(path_, fmCreate);
        f.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    }
    void WriteUtf16(const std::wstring& text) {
        std::string bytes = "\xFF\xFE";
        for (wchar_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>((c >> 8) & 0xFF);
        }
        WriteBytes(bytes);
    }
    std::wstring path_;
};

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutCaseAndKeepFileOrder) {
    WriteBytes("[EncoderType]\r\nZune=.mp4\r\nPSP=.mp4\r\nAVI (xvid)=.avi\r\n[Extension]\r\nAll=*.avi\r\n");
    TIniFile ini(path_);
    EXPECT_EQ(ini.ReadString(L"encodertype", L"psp", L"?"), L".mp4");
    EXPECT_EQ(ini.ReadString(L"ENCODERTYPE", L"missing", L"def"), L"def");
    TStringList keys;
    keys.Add(L"stale");
    ini.ReadSection(L"EncoderType", keys);
    ASSERT_EQ(keys.GetCount(), 3);
    EXPECT_EQ(keys[0], L"Zune");
    EXPECT_EQ(keys[1], L"PSP");
    EXPECT_EQ(keys[2], L"AVI (xvid)");
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.GetText(), L"EncoderType\r\nExtension\r\n");
    EXPECT_TRUE(ini.ValueExists(L"extension", L"ALL"));
    EXPECT_FALSE(ini.ValueExists(L"extension", L"None"));
    EXPECT_TRUE(ini.SectionExists(L"EXTENSION"));
    EXPECT_FALSE(ini.SectionExists(L"Configure"));
    TStringList values;
    ini.ReadSectionValues(L"Extension", values);
    EXPECT_EQ(values.GetValue(L"All"), L"*.avi");
}

TEST_F(IniFileTest, ValuesAreCutAt2047Characters) {
    TIniFile ini(path_);
    const std::wstring longValue(3000, L'x');
    ini.WriteString(L"S", L"Long", longValue);
    EXPECT_EQ(ini.ReadString(L"S", L"Long", L""), std::wstring(2047, L'x'));
    const std::wstring exact(2047, L'y');
    ini.WriteString(L"S", L"Exact", exact);
    EXPECT_EQ(ini.ReadString(L"S", L"Exact", L""), exact);
}

TEST_F(IniFileTest, IntegersAndBooleans) {
    WriteBytes("[Configure]\nEncoderType=3\nNeg=-1\nText=abc\nHex=0x10\nDollar=$10\nHuge=99999999999\nEmpty=\nOn=7\n");
    TIniFile ini(path_);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"EncoderType", 0), 3);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Neg", 0), -1);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Text", -5), -5);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Hex", -5), -5);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Dollar", -5), -5);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Huge", -5), -5);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Empty", -5), -5);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"Missing", 9), 9);
    EXPECT_TRUE(ini.ReadBool(L"Configure", L"On", false));
    EXPECT_TRUE(ini.ReadBool(L"Configure", L"Missing", true));
    ini.WriteInteger(L"Configure", L"EncoderType", -1);
    ini.WriteBool(L"Configure", L"Shutdown", false);
    EXPECT_EQ(ini.ReadInteger(L"Configure", L"EncoderType", 0), -1);
    EXPECT_EQ(ini.ReadString(L"Configure", L"Shutdown", L""), L"0");
    EXPECT_FALSE(ini.ReadBool(L"Configure", L"Shutdown", true));
}

TEST_F(IniFileTest, WritingCreatesFileAndSectionAndKeepsChineseText) {
    ASSERT_FALSE(FileExists(path_));
    TIniFile ini(path_);
    ini.WriteString(L"Configure", L"OutputFolder", L"D:\\视频输出\\");
    EXPECT_TRUE(FileExists(path_));
    // A second object (the file is opened afresh) sees the value.
    TIniFile again(path_);
    EXPECT_EQ(again.ReadString(L"configure", L"outputfolder", L""), L"D:\\视频输出\\");
    again.WriteString(L"New", L"Key", L"v");
    EXPECT_TRUE(ini.SectionExists(L"New"));
    ini.DeleteKey(L"New", L"Key");
    EXPECT_FALSE(ini.ValueExists(L"New", L"Key"));
    ini.EraseSection(L"Configure");
    EXPECT_FALSE(ini.SectionExists(L"Configure"));
    EXPECT_EQ(ini.ReadString(L"Configure", L"OutputFolder", L"gone"), L"gone");
}

TEST_F(IniFileTest, ReadsUtf16FileWithChineseKeysAndValues) {
    WriteUtf16(L"[转换类型]\r\n手机 MP4=.mp4\r\n苹果=.m4v\r\n");
    TIniFile ini(path_);
    TStringList keys;
    ini.ReadSection(L"转换类型", keys);
    ASSERT_EQ(keys.GetCount(), 2);
    EXPECT_EQ(keys[0], L"手机 MP4");
    EXPECT_EQ(keys[1], L"苹果");
    EXPECT_EQ(ini.ReadString(L"转换类型", L"苹果", L""), L".m4v");
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndDeletingIsHarmless) {
    TIniFile ini(path_);
    EXPECT_EQ(ini.ReadString(L"A", L"B", L"d"), L"d");
    TStringList keys;
    ini.ReadSections(keys);
    EXPECT_EQ(keys.GetCount(), 0);
    ini.EraseSection(L"A");
    ini.DeleteKey(L"A", L"B");
    EXPECT_FALSE(FileExists(path_));
}

}  // namespace
}  // namespace vx
