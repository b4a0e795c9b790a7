// Packing a skin folder and reading it back with the archive reader.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "skin/data/SkinRead.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPacker.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

class SkinFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("skinpack-test-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    fs::path dir;
};

TEST_F(SkinFolderTest, BitmapsByNameThenTheIni) {
    Write("b.bmp", "BM-b");
    Write("A.BMP", "BM-A");
    Write("skin.ini", "[Personality]\r\n");
    Write("notes.txt", "ignored");
    fs::create_directory(dir / "sub.bmp");
    const auto files = CollectSkinFolder(dir, false);
    std::vector<std::string> names;
    for (const auto& f : files)
        names.push_back(f.Name);
    EXPECT_THAT(names, ::testing::ElementsAre("A.BMP", "b.bmp", "skin.ini"));

    TSkinReader reader;
    ASSERT_TRUE(reader.LoadArchive(LzhEncodeStored(BuildSkinArchive(files))));
    EXPECT_THAT(reader.Names(), ::testing::ElementsAre("a.bmp", "b.bmp", "skin.ini"));
    TBytes out;
    reader.ExtractFile("A.bmp", out);
    EXPECT_EQ(std::string(out.begin(), out.end()), "BM-A");
    std::string ini;
    ASSERT_TRUE(reader.ExtractFirstMatching(".ini", out, ini));
    EXPECT_EQ(std::string(out.begin(), out.end()), "[Personality]\r\n");
}

TEST_F(SkinFolderTest, FolderProblemsAreReported) {
    EXPECT_THROW(CollectSkinFolder(dir, false), ESkinPackError);  // empty
    EXPECT_TRUE(CollectSkinFolder(dir, true).empty());
    EXPECT_TRUE(CollectSkinFolder(dir / "missing", true).empty());
    EXPECT_THROW(CollectSkinFolder(dir / "missing", false), ESkinPackError);
    Write("a.bmp", "x");
    EXPECT_THROW(CollectSkinFolder(dir, true), ESkinPackError);  // bitmaps without an INI
    Write("one.ini", "");
    Write("two.INI", "");
    EXPECT_THROW(CollectSkinFolder(dir, true), ESkinPackError);
    fs::remove(dir / "two.INI");
    Write("caf\xC3\xA9.bmp", "x");
    EXPECT_THROW(CollectSkinFolder(dir, true), ESkinPackError);
}

TEST(SkinArchiveBuild, LayoutAndLimits) {
    const TBytes a = BuildSkinArchive({{"x.bmp", {1, 2}}, {"y.ini", {3}}}, 40000);
    // version, name list length, two zero words, 80 zero bytes, "x.bmp\r\ny.ini\r\n",
    // sizes 2 and 1, data.
    ASSERT_EQ(a.size(), 16u + 80 + 14 + 8 + 3);
    EXPECT_EQ(a[0] | (a[1] << 8), 40000);
    EXPECT_EQ(a[4], 14);
    EXPECT_EQ(std::string(a.begin() + 96, a.begin() + 110), "x.bmp\r\ny.ini\r\n");
    EXPECT_EQ(a[110], 2);
    EXPECT_EQ(a[114], 1);
    EXPECT_EQ(a.back(), 3);

    EXPECT_THROW(BuildSkinArchive({}, 10000), ESkinPackError);
    EXPECT_THROW(BuildSkinArchive({{"bad\nname", {}}}), ESkinPackError);
    EXPECT_THROW(BuildSkinArchive(std::vector<TSkinFile>(1002, TSkinFile{"f", {}})), ESkinPackError);
    EXPECT_NO_THROW(BuildSkinArchive(std::vector<TSkinFile>(1001, TSkinFile{"f", {}})));

    TSkinReader reader;
    EXPECT_TRUE(reader.LoadArchive(LzhEncodeStored(BuildSkinArchive({}))));
    EXPECT_EQ(reader.Count(), 0);
}

}  // namespace
}  // namespace vx

#include "skin/data/SkinIni.h"

namespace vx {
namespace {

// The program's own skin survives packing byte for byte, and its definition parses.
TEST(ProgramSkin, PacksAndReadsBack) {
    const auto files = CollectSkinFolder(fs::path(VX_TEST_SOURCE_DIR) / "assets" / "skin", true);
    if (files.empty())
        GTEST_SKIP() << "assets/skin is empty";
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadArchive(LzhEncodeStored(BuildSkinArchive(files))));
    ASSERT_EQ(reader.Count(), static_cast<int>(files.size()));
    TBytes out;
    for (const TSkinFile& f : files) {
        reader.ExtractFile(f.Name, out);
        EXPECT_EQ(out, f.Data) << f.Name;
    }
    std::string name;
    ASSERT_TRUE(reader.ExtractFirstMatching(".ini", out, name));
    EXPECT_EQ(name, TSkinReader::LowerCaseAscii(files.back().Name));
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(out.data()), out.size()));
    EXPECT_GE(ini.SectionIndex("Personality"), 0);
}

}  // namespace
}  // namespace vx
