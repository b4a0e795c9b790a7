// The Windows file helpers of SysUtils and the file stream.
#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/SysUtils.h"

namespace vx {
namespace {

std::wstring TempName(const wchar_t* stem) {
    return L"files_test_" + IntToStr(GetCurrentProcessId()) + L"_" + stem;
}

TEST(FileHelpers, ExistsCreateDeleteAndProgramFolder) {
    const std::wstring dir = TempName(L"目录");
    const std::wstring file = dir + L"\\日志.txt";
    EXPECT_FALSE(DirectoryExists(dir));
    EXPECT_TRUE(CreateDir(dir));
    EXPECT_FALSE(CreateDir(dir));  // exists already
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(FileExists(dir));  // a folder is not a file
    EXPECT_FALSE(CreateDir(dir + L"\\a\\b"));  // one level only
    { TFileStream f(file, fmCreate); }
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    RemoveDirectoryW(dir.c_str());

    const std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(folder + ExtractFileName(exe), exe);
}

TEST(FileHelpers, CodePageConversions) {
    EXPECT_EQ(WideToAnsi(L"视频", 936), std::string("\xCA\xD3\xC6\xB5"));
    EXPECT_EQ(AnsiToWide("\xCA\xD3\xC6\xB5", 936), L"视频");
    EXPECT_EQ(AnsiToWide("abc"), L"abc");
    EXPECT_EQ(WideToAnsi(L""), "");
    EXPECT_FALSE(SysErrorMessage(ERROR_FILE_NOT_FOUND).empty());
}

TEST(FileStream, ReadWriteSeekSizeAndShareModes) {
    const std::wstring path = TempName(L"stream.bin");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("0123456789", 10);
        EXPECT_EQ(f.GetSize(), 10);
        f.SetSize(4);
        EXPECT_EQ(f.GetPosition(), 4);  // pulled back to the new end
        f.Seek(0, soEnd);
        f.WriteBuffer("XY", 2);
    }
    {
        TFileStream reader(path, fmOpenRead | fmShareDenyNone);
        char buf[8] = {};
        EXPECT_EQ(reader.Read(buf, 8), 6);
        EXPECT_EQ(std::string(buf, 6), "0123XY");
        EXPECT_THROW(reader.ReadBuffer(buf, 1), EReadError);
        // A second, writing opener is allowed by fmShareDenyNone...
        TFileStream writer(path, fmOpenWrite | fmShareDenyNone);
        writer.Seek(0, soEnd);
        writer.WriteBuffer("!", 1);
        EXPECT_EQ(reader.GetSize(), 7);
    }
    {
        // ...but not by an exclusive opener.
        TFileStream exclusive(path, fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream recreated(path, fmCreate);  // empties the file
        EXPECT_EQ(recreated.GetSize(), 0);
    }
    DeleteFileW(path.c_str());
    try {
        TFileStream missing(TempName(L"missing.bin"), fmOpenRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(L"missing.bin"), std::wstring::npos);
    }
}

TEST(FileStream, StringListAndMemoryStreamFiles) {
    const std::wstring path = TempName(L"列表.txt");
    TStringList l;
    l.SetText(L"第一\r\nsecond");
    l.SaveToFile(path);
    TStringList back;
    back.LoadFromFile(path);
    EXPECT_TRUE(back.Equals(l));
    TMemoryStream m;
    m.LoadFromFile(path);
    EXPECT_EQ(m.GetSize(), 2 + 2 * 12);  // BOM and 12 UTF-16 units ("第一\r\nsecond\r\n")
    m.SaveToFile(path + L".copy");
    back.LoadFromFile(path + L".copy");
    EXPECT_TRUE(back.Equals(l));
    DeleteFileW(path.c_str());
    DeleteFileW((path + L".copy").c_str());
}

}  // namespace
}  // namespace vx
