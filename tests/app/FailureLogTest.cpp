// The unattended failure log on a real file system.
#include "app/FailureLog.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace vx {
namespace {

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FailureLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = L"failure-log-" + std::to_wstring(GetCurrentProcessId()) + L".avi.txt";
        DeleteFileW(path_.c_str());
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }
    std::wstring path_;
};

TEST_F(FailureLogTest, LinesAreAppendedWithCrLf) {
    AppendLog(path_, L"“C:\\In\\a.avi”文件转换失败，原因：源文件不存在！");
    AppendLog(path_, L"second");
    EXPECT_EQ(ReadAll(path_), "“C:\\In\\a.avi”文件转换失败，原因：源文件不存在！\r\nsecond\r\n");
}

TEST_F(FailureLogTest, ALogAboveOneMebibyteIsEmptiedFirst) {
    {
        std::ofstream out(path_.c_str(), std::ios::binary);
        out << std::string(1048577, 'x');
    }
    AppendLog(path_, L"fresh");
    EXPECT_EQ(ReadAll(path_), "fresh\r\n");
}

TEST_F(FailureLogTest, ALogOfExactlyOneMebibyteIsKept) {
    {
        std::ofstream out(path_.c_str(), std::ios::binary);
        out << std::string(1048576, 'x');
    }
    AppendLog(path_, L"more");
    const std::string content = ReadAll(path_);
    ASSERT_EQ(content.size(), 1048576u + 6u);
    EXPECT_EQ(content.substr(1048576), "more\r\n");
}

TEST_F(FailureLogTest, FailuresAreSilent) {
    // A folder that does not exist: nothing is written and nothing is thrown.
    EXPECT_NO_THROW(AppendLog(L"no-such-folder-xyz\\log.txt", L"x"));
    EXPECT_EQ(GetFileAttributesW(L"no-such-folder-xyz\\log.txt"), INVALID_FILE_ATTRIBUTES);
    // The path names a folder.
    CreateDirectoryW(L"log-folder-xyz", nullptr);
    EXPECT_NO_THROW(AppendLog(L"log-folder-xyz", L"x"));
    EXPECT_TRUE(GetFileAttributesW(L"log-folder-xyz") & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryW(L"log-folder-xyz");
}

}  // namespace
}  // namespace vx
