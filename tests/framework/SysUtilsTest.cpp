#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

namespace vx {
namespace {

TEST(SysUtils, CaseRulesTouchAsciiLettersOnly) {
    EXPECT_EQ(UpperCase(L"abc-Zz 视频ä"), L"ABC-ZZ 视频ä");
    EXPECT_EQ(LowerCase(L"ABC-zZ 视频Ä"), L"abc-zz 视频Ä");
    EXPECT_TRUE(SameText(L"EncoderType", L"ENCODERTYPE"));
    EXPECT_FALSE(SameText(L"ä", L"Ä"));
    EXPECT_FALSE(SameText(L"abc", L"abcd"));
    EXPECT_EQ(CompareText(L"abc", L"ABD"), CompareText(L"ABC", L"abd"));
    EXPECT_LT(CompareText(L"abc", L"ABD"), 0);
    EXPECT_GT(CompareText(L"abcd", L"ABC"), 0);
    EXPECT_EQ(CompareText(L"_", L"a") < 0, L'_' < L'a');  // compared after lowering
    EXPECT_LT(CompareStr(L"B", L"a"), 0);
}

TEST(SysUtils, TrimRemovesControlCodesAndSpacesOnly) {
    EXPECT_EQ(Trim(std::wstring(L"\x01\t *.avi;*.mpg \r\n\0", 17)), L"*.avi;*.mpg");
    EXPECT_EQ(TrimLeft(L"  a b  "), L"a b  ");
    EXPECT_EQ(TrimRight(L"  a b  "), L"  a b");
    EXPECT_EQ(Trim(L" \x3000中 "), L"\x3000中");  // the ideographic space stays
    EXPECT_EQ(Trim(L"   "), L"");
}

TEST(SysUtils, StrToIntAcceptsSignedDecimalAndDollarHex) {
    int v = 0;
    EXPECT_TRUE(TryStrToInt(L"-123", v));
    EXPECT_EQ(v, -123);
    EXPECT_TRUE(TryStrToInt(L"+7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(TryStrToInt(L"$1F", v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(TryStrToInt(L"-$10", v));
    EXPECT_EQ(v, -16);
    EXPECT_TRUE(TryStrToInt(L"2147483647", v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_TRUE(TryStrToInt(L"-2147483648", v));
    EXPECT_EQ(v, -2147483647 - 1);
    EXPECT_TRUE(TryStrToInt(L"$7FFFFFFF", v));
    for (const wchar_t* bad : {L"", L"-", L"$", L" 1", L"1 ", L"0x10", L"1.5", L"12a", L"2147483648",
                               L"-2147483649", L"$80000000", L"99999999999999999999"}) {
        v = 55;
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
        EXPECT_EQ(v, 55) << "left unchanged on failure: " << bad;
    }
    EXPECT_EQ(StrToIntDef(L"abc", -1), -1);
    EXPECT_EQ(StrToIntDef(L"42", -1), 42);
    EXPECT_THROW(StrToInt(L"x"), EConvertError);
    std::int64_t w = 0;
    EXPECT_TRUE(TryStrToInt64(L"-9223372036854775808", w));
    EXPECT_EQ(w, INT64_MIN);
    EXPECT_FALSE(TryStrToInt64(L"9223372036854775808", w));
    EXPECT_EQ(IntToStr(-45), L"-45");
    EXPECT_EQ(IntToHex(0xAB, 4), L"00AB");
}

TEST(SysUtils, PathPartsUseBackslashAndColon) {
    EXPECT_EQ(ExtractFilePath(L"C:\\VX Vedio\\a.b.avi"), L"C:\\VX Vedio\\");
    EXPECT_EQ(ExtractFileName(L"C:\\VX Vedio\\a.b.avi"), L"a.b.avi");
    EXPECT_EQ(ExtractFileExt(L"C:\\VX Vedio\\a.b.AVI"), L".AVI");
    EXPECT_EQ(ExtractFileExt(L"C:\\dir.x\\noext"), L"");
    EXPECT_EQ(ExtractFilePath(L"C:a.txt"), L"C:");
    EXPECT_EQ(ExtractFileName(L"C:a.txt"), L"a.txt");
    EXPECT_EQ(ExtractFileName(L"dir/a.txt"), L"dir/a.txt");  // "/" is not a separator
    EXPECT_EQ(ExtractFilePath(L"视频.mp4"), L"");
    EXPECT_EQ(ChangeFileExt(L"C:\\d.x\\movie.avi", L".mp4"), L"C:\\d.x\\movie.mp4");
    EXPECT_EQ(ChangeFileExt(L"C:\\d.x\\movie", L".mp4"), L"C:\\d.x\\movie.mp4");
    EXPECT_EQ(ChangeFileExt(L"movie.avi", L""), L"movie");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\out"), L"C:\\out\\");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\out\\"), L"C:\\out\\");
    EXPECT_EQ(IncludeTrailingBackslash(L""), L"");
    EXPECT_EQ(ExcludeTrailingBackslash(L"C:\\out\\"), L"C:\\out");
}

TEST(SysUtils, Utf8ConversionRoundTripsAndReplacesBadInput) {
    const std::wstring text = L"Vexlo视频转换器 \U0001F600";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(L"视"), "\xE8\xA7\x86");
    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(Utf8ToWide("\xE8\xA7"), L"\uFFFD");          // cut short
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD\uFFFD");    // overlong
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\uFFFD");      // a surrogate
}

TEST(SysUtils, ExceptionCarriesWideMessageAndUtf8What) {
    try {
        throw EConvertError(L"“x”不是有效的整数");
    } catch (const std::exception& e) {
        EXPECT_EQ(ExceptionMessage(e), L"“x”不是有效的整数");
        EXPECT_EQ(std::string(e.what()), WideToUtf8(L"“x”不是有效的整数"));
    }
    EXPECT_EQ(ExceptionMessage(std::runtime_error("plain")), L"plain");
}

}  // namespace
}  // namespace vx
