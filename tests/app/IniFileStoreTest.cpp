// The catalogue and settings rules over real INI files.
#include "app/IniFileStore.h"

#include <windows.h>

#include <fstream>

#include <gtest/gtest.h>

namespace vx {
namespace {

class IniFileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"\\catalogue-" + std::to_wstring(GetCurrentProcessId()) + L".ini";
        DeleteFileW(path_.c_str());
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }
    void WriteUtf16(const std::wstring& text) {
        std::ofstream out(path_.c_str(), std::ios::binary);
        out.write("\xFF\xFE", 2);
        out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    }
    std::wstring path_;
};

TEST_F(IniFileStoreTest, CatalogueIsReadInFileOrderWithoutCase) {
    WriteUtf16(
        L"[EncoderType]\r\nPixoro 高速度=.avi\r\nPixoro 高质量=.mp4\r\n"
        L"[Extension]\r\nVideo=*.avi;*.mpg\r\nOther=\r\n"
        L"[Pixoro 高速度]\r\nmpg=\"<SourceFile>\" -o \"<OutputFile>\"\r\n");
    TIniFileStore store(path_);
    TProfileCatalogue catalogue(store);
    EXPECT_EQ(catalogue.EncoderTypes(), (std::vector<std::wstring>{L"Pixoro 高速度", L"Pixoro 高质量"}));
    EXPECT_EQ(catalogue.OpenDialogFilter(), L"Video|*.avi;*.mpg|");
    EXPECT_EQ(catalogue.OutputExtFor(L"Pixoro 高质量"), L".mp4");
    EXPECT_EQ(catalogue.OutputExtFor(L"Missing"), L".avi");
    EXPECT_NE(catalogue.TemplateFor(L"pixoro 高速度", L".MPG").find(L"<OutputFile>"), std::wstring::npos);
}

TEST_F(IniFileStoreTest, MissingFileGivesDefaultsAndSavingCreatesIt) {
    TIniFileStore store(path_);
    TUserSettings settings(store);
    EXPECT_TRUE(TProfileCatalogue(store).EncoderTypes().empty());
    EXPECT_EQ(settings.OutputFolder(), L"C:\\VX Vedio\\");
    EXPECT_EQ(settings.EncoderTypeIndex(2), 0);
    settings.Save(L"D:\\视频输出\\", 1);
    EXPECT_EQ(settings.OutputFolder(), L"D:\\视频输出\\");
    EXPECT_EQ(settings.EncoderTypeIndex(2), 1);
}

}  // namespace
}  // namespace vx
