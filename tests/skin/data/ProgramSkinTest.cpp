// The skin the build packs for the main window, read the way a skin load reads it:
// from a memory stream, every bitmap through the framework's BMP reader, the
// definition through the INI reader.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinRead.h"

namespace vx {
namespace {

TEST(ProgramSkinBlob, EveryBitmapLoadsAndTheDefinitionParses) {
    std::ifstream file(VX_TEST_SKIN_BLOB, std::ios::binary);
    ASSERT_TRUE(file) << VX_TEST_SKIN_BLOB;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    TMemoryStream blob;
    blob.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));

    TSkinReader reader;
    reader.OnMessage = [](const std::wstring& m) { ADD_FAILURE() << "unexpected message"; };
    ASSERT_TRUE(reader.LoadArchive(blob));
    if (reader.Count() == 0)
        GTEST_SKIP() << "the skin folder was empty when the blob was packed";

    int bitmaps = 0;
    TMemoryStream entry;
    for (const std::string& name : reader.Names()) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bmp") != 0)
            continue;
        reader.ExtractFile(name, entry);
        TBitmap bitmap;
        EXPECT_NO_THROW(bitmap.LoadFromStream(entry)) << name;
        EXPECT_FALSE(bitmap.GetEmpty()) << name;
        ++bitmaps;
    }
    EXPECT_EQ(bitmaps, reader.Count() - 1);

    std::string iniName;
    ASSERT_TRUE(reader.ExtractFirstMatching(".ini", entry, iniName));
    EXPECT_EQ(iniName, reader.Names().back());
    TQuickIni ini;
    ini.LoadFromStream(&entry);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    EXPECT_GT(sections.size(), 10u);
    EXPECT_GE(ini.SectionIndex("Personality"), 0);
}

}  // namespace
}  // namespace vx
