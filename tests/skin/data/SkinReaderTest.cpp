// The archive reader: archives of every version, name-list rules, lookups, and the
// rejection of damaged archives.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "framework/Classes.h"
#include "skin/data/SkinRead.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPacker.h"

namespace vx {
namespace {

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }
std::string Text(const TBytes& b) { return std::string(b.begin(), b.end()); }

void PutInt32(TBytes& out, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

// An archive written field by field, so damaged variants are easy to make.
TBytes RawArchive(std::int32_t version, int extra, const std::string& names,
                  const std::vector<std::int32_t>& sizes, const std::string& data,
                  std::optional<std::int32_t> nameLength = std::nullopt) {
    TBytes a;
    PutInt32(a, version);
    PutInt32(a, nameLength ? *nameLength : static_cast<std::int32_t>(names.size()));
    PutInt32(a, 0x11111111);
    PutInt32(a, 0x22222222);
    a.insert(a.end(), static_cast<std::size_t>(extra), 0xEE);
    a.insert(a.end(), names.begin(), names.end());
    for (std::int32_t s : sizes)
        PutInt32(a, s);
    a.insert(a.end(), data.begin(), data.end());
    return a;
}

class SkinReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        reader.OnMessage = [this](const std::wstring& m) { messages.push_back(m); };
    }
    TSkinReader reader;
    std::vector<std::wstring> messages;
};

TEST_F(SkinReaderTest, ReadsEveryVersionThroughTheCompressedForm) {
    const std::vector<TSkinFile> files = {{"Frame.BMP", Bytes("BMframe-bytes")},
                                          {"button.bmp", Bytes(std::string(5000, 'x'))},
                                          {"Skin.ini", Bytes("[Personality]\r\nTop=frame.bmp\r\n")}};
    for (std::int32_t version : {20000, 30000, 40000, 50000}) {
        SCOPED_TRACE(version);
        const TBytes archive = BuildSkinArchive(files, version);
        ASSERT_TRUE(reader.LoadArchive(LzhEncodeStored(archive)));
        EXPECT_EQ(reader.Header().Version, version);
        EXPECT_EQ(reader.Header().Reserved1, 0);
        EXPECT_THAT(reader.Names(), ::testing::ElementsAre("frame.bmp", "button.bmp", "skin.ini"));
        EXPECT_EQ(reader.Size(1), 5000);
        TBytes out;
        reader.ExtractFile("button.bmp", out);
        EXPECT_EQ(Text(out), std::string(5000, 'x'));
        std::string name = "unchanged";
        ASSERT_TRUE(reader.ExtractFirstMatching(".ini", out, name));
        EXPECT_EQ(name, "skin.ini");
        EXPECT_EQ(Text(out), "[Personality]\r\nTop=frame.bmp\r\n");
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinReaderTest, ExtraBlockIsSkippedByVersion) {
    for (auto [version, extra] : {std::pair{20000, 0}, {30000, 256}, {40000, 80}, {50000, 48}}) {
        ASSERT_TRUE(reader.IndexArchive(RawArchive(version, extra, "a.bmp\r\n", {3}, "abc")));
        EXPECT_THAT(reader.Names(), ::testing::ElementsAre("a.bmp"));
        EXPECT_EQ(Text(reader.Data()), "abc");
        EXPECT_EQ(reader.Header().Reserved2, 0x22222222);
    }
}

TEST_F(SkinReaderTest, UnknownVersionTellsTheUserAndIndexesNothing) {
    ASSERT_TRUE(reader.IndexArchive(RawArchive(20000, 0, "a.bmp", {1}, "z")));
    EXPECT_FALSE(reader.IndexArchive(RawArchive(10000, 0, "a.bmp", {1}, "z")));
    EXPECT_EQ(reader.Count(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"This is Older Skin File\rPlease update to new version !");
}

TEST_F(SkinReaderTest, EmptyBlobFailsWithTheVersionMessage) {
    // U = 0: nothing is decoded, so no header can be read.
    EXPECT_FALSE(reader.LoadArchive(TBytes{0, 0, 0, 0}));
    EXPECT_EQ(messages.size(), 1u);
    // A negative length decodes nothing as well.
    EXPECT_FALSE(reader.LoadArchive(TBytes{0xFF, 0xFF, 0xFF, 0xFF, 0x12}));
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(SkinReaderTest, NameListLineEndings) {
    const std::vector<std::int32_t> four = {1, 1, 1, 1};
    for (const std::string& list : {std::string("A\r\nb\r\n\r\nD"), std::string("A\nb\n\nD\r\n"),
                                    std::string("A\rb\r\rD\r"), std::string("A\r\nb\n\rD\n")}) {
        SCOPED_TRACE(list);
        ASSERT_TRUE(reader.IndexArchive(RawArchive(20000, 0, list, four, "1234")));
        // The empty line in the middle is an entry; the final break adds none.
        EXPECT_THAT(reader.Names(), ::testing::ElementsAre("a", "b", "", "d"));
    }
    // A NUL ends the text; the bytes after it are not names.
    ASSERT_TRUE(reader.IndexArchive(RawArchive(20000, 0, std::string("x.bmp\r\n\0junk\r\n", 14), {2}, "ok")));
    EXPECT_THAT(reader.Names(), ::testing::ElementsAre("x.bmp"));
    // Lower-casing touches ASCII letters only.
    ASSERT_TRUE(reader.IndexArchive(RawArchive(20000, 0, "\xC4Z\xE9.BMP", {0}, "")));
    EXPECT_THAT(reader.Names(), ::testing::ElementsAre("\xC4z\xE9.bmp"));
}

TEST_F(SkinReaderTest, LookupsTakeTheFirstMatchAndIgnoreCase) {
    ASSERT_TRUE(reader.IndexArchive(RawArchive(20000, 0,
        "windowframeendcap.bmp\r\nother.bmp\r\nWindowFrameEndCap.bmp\r\nmain.ini\r\nsecond.ini",
        {3, 2, 4, 1, 2}, "one22two_Iin")));
    TBytes out = Bytes("stale");
    reader.ExtractFile("WINDOWFRAMEENDCAP.BMP", out);
    EXPECT_EQ(Text(out), "one");
    reader.ExtractFile("missing.bmp", out);
    EXPECT_TRUE(out.empty());

    std::string name = "keep";
    ASSERT_TRUE(reader.ExtractFirstMatching(".ini", out, name));
    EXPECT_EQ(name, "main.ini");
    EXPECT_EQ(Text(out), "I");
    // The text is compared as given against the lower-cased names.
    out = Bytes("stale");
    EXPECT_FALSE(reader.ExtractFirstMatching(".INI", out, name));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(name, "main.ini");
    ASSERT_TRUE(reader.ExtractFirstMatching("frame", out, name));
    EXPECT_EQ(name, "windowframeendcap.bmp");
}

TEST_F(SkinReaderTest, IniListedLastIsFound) {
    std::vector<TSkinFile> files;
    for (int i = 0; i < 63; ++i)
        files.push_back({"pic" + std::to_string(i) + ".bmp", Bytes(std::string(static_cast<std::size_t>(i), 'p'))});
    files.push_back({"Skin.INI", Bytes("[x]")});
    ASSERT_TRUE(reader.LoadArchive(LzhEncodeStored(BuildSkinArchive(files))));
    EXPECT_EQ(reader.Count(), 64);
    TBytes out;
    std::string name;
    ASSERT_TRUE(reader.ExtractFirstMatching(".ini", out, name));
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(Text(out), "[x]");
    reader.ExtractFile("PIC62.bmp", out);
    EXPECT_EQ(out.size(), 62u);
}

TEST_F(SkinReaderTest, DamagedArchivesAreRejected) {
    struct Case { const char* what; TBytes archive; };
    std::string manyNames;
    for (int i = 0; i < 1002; ++i)
        manyNames += "f\r\n";
    const Case cases[] = {
        {"header cut short", TBytes{0x20, 0x4E, 0, 0, 5, 0, 0}},
        {"negative name list length", RawArchive(20000, 0, "a", {1}, "x", -1 - 0x7FFFFFFF)},
        {"name list longer than the archive", RawArchive(20000, 0, "a", {1}, "x", 1000)},
        {"extra block missing", RawArchive(30000, 0, "", {}, "")},
        {"size table cut short", RawArchive(20000, 0, "a\r\nb", {1}, "")},
        {"negative size", RawArchive(20000, 0, "a\r\nb", {-1, 2}, "xyz")},
        {"files past the data area", RawArchive(20000, 0, "a\r\nb", {2, 2}, "xyz")},
        {"sizes whose sum overflows", RawArchive(20000, 0, "a\r\nb", {0x7FFFFFFF, 0x7FFFFFFF}, "xyz")},
        {"more than 1001 names", RawArchive(20000, 0, manyNames, std::vector<std::int32_t>(1002, 0), "")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(reader.IndexArchive(RawArchive(20000, 0, "ok", {2}, "ok")));
        EXPECT_FALSE(reader.IndexArchive(c.archive));
        EXPECT_EQ(reader.Count(), 0);
        EXPECT_TRUE(reader.Data().empty());
    }
    // Exactly 1001 names is the most a table holds.
    std::string names1001;
    for (int i = 0; i < 1001; ++i)
        names1001 += "f\r\n";
    EXPECT_TRUE(reader.IndexArchive(RawArchive(20000, 0, names1001, std::vector<std::int32_t>(1001, 0), "")));
    // Trailing bytes after the last file are kept in the data area and harmless.
    EXPECT_TRUE(reader.IndexArchive(RawArchive(20000, 0, "a", {1}, "xtrailing")));
}

TEST_F(SkinReaderTest, HugeAnnouncedLengthIsRefusedWithoutDecoding) {
    TBytes blob;
    PutInt32(blob, TSkinReader::MaxArchiveSize + 1);
    blob.push_back(0);
    EXPECT_FALSE(reader.LoadArchive(blob));
    EXPECT_TRUE(messages.empty());
    // Shorter than the length field itself.
    EXPECT_FALSE(reader.LoadArchive(TBytes{1, 0}));
}

TEST_F(SkinReaderTest, TruncatedBitStreamStillEndsAtTheAnnouncedLength) {
    const TBytes archive = BuildSkinArchive({{"a.bmp", Bytes(std::string(3000, 'q'))}, {"s.ini", Bytes("[s]")}});
    TBytes blob = LzhEncodeStored(archive);
    blob.resize(blob.size() / 2);
    TBytes out;
    TLZH lzh(TByteSpan(blob).subspan(4), out);
    lzh.Decode(static_cast<std::int32_t>(archive.size()));
    EXPECT_GE(out.size(), archive.size());
    EXPECT_LT(out.size(), archive.size() + 60);
    // The first half still decodes to the right bytes.
    EXPECT_TRUE(std::equal(archive.begin(), archive.begin() + 16, out.begin()));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST_F(SkinReaderTest, StreamsInAndOut) {
    const TBytes blob = LzhEncodeStored(BuildSkinArchive({{"a.bmp", Bytes("AAAA")}, {"s.ini", Bytes("[s]")}}));
    TMemoryStream stored;
    stored.WriteBuffer(blob.data(), static_cast<std::int32_t>(blob.size()));
    // The blob is read from its beginning whatever the stream's position.
    ASSERT_TRUE(reader.LoadArchive(stored));
    TMemoryStream out;
    out.WriteBuffer("stale bytes", 11);
    reader.ExtractFile("A.BMP", out);
    EXPECT_EQ(out.GetSize(), 4);
    EXPECT_EQ(out.GetPosition(), 0);
    std::string name;
    ASSERT_TRUE(reader.ExtractFirstMatching(".ini", out, name));
    EXPECT_EQ(out.GetSize(), 3);
    EXPECT_EQ(out.GetPosition(), 0);
    EXPECT_FALSE(reader.ExtractFirstMatching(".tga", out, name));
    EXPECT_EQ(out.GetSize(), 0);
}

}  // namespace
}  // namespace vx
