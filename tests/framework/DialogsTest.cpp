#include <gtest/gtest.h>

#include "framework/Dialogs.h"

#include <commdlg.h>

namespace {

using namespace vx;

TEST(DialogsTest, FiltersBecomeNullSeparatedPairs) {
    std::wstring native = TOpenDialog::NativeFilter(L"视频文件|*.avi;*.rmvb|所有文件|*.*");
    EXPECT_EQ(native, std::wstring(L"视频文件\0*.avi;*.rmvb\0所有文件\0*.*\0\0", 28));
}

TEST(DialogsTest, MultiSelectionResultsAreFolderPlusNames) {
    const wchar_t multi[] = L"C:\\视频\0a.avi\0b.mp4\0";
    EXPECT_EQ(TOpenDialog::ParseResult(multi, true),
              (std::vector<std::wstring>{L"C:\\视频\\a.avi", L"C:\\视频\\b.mp4"}));
    // One chosen file comes back as a whole path, also with multi-selection on.
    const wchar_t single[] = L"C:\\视频\\a.avi\0";
    EXPECT_EQ(TOpenDialog::ParseResult(single, true), (std::vector<std::wstring>{L"C:\\视频\\a.avi"}));
    // A drive root already ends in a backslash.
    const wchar_t root[] = L"D:\\\0x.avi\0y.avi\0";
    EXPECT_EQ(TOpenDialog::ParseResult(root, true), (std::vector<std::wstring>{L"D:\\x.avi", L"D:\\y.avi"}));
    EXPECT_TRUE(TOpenDialog::ParseResult(L"", true).empty());
}

TEST(DialogsTest, OptionsMapToTheDialogFlags) {
    DWORD f = TOpenDialog::OptionFlags(ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);
    EXPECT_TRUE(f & OFN_ALLOWMULTISELECT);
    EXPECT_TRUE(f & OFN_HIDEREADONLY);
    EXPECT_TRUE(f & OFN_ENABLESIZING);
    EXPECT_TRUE(f & OFN_EXPLORER);
    EXPECT_FALSE(f & OFN_FILEMUSTEXIST);
}

}  // namespace
