// The in-memory INI reader's rules.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "skin/data/SkinIni.h"

namespace vx {
namespace {

TQuickIni Load(std::string_view text) {
    TQuickIni ini;
    ini.LoadFromText(text);
    return ini;
}

TEST(SkinIni, SectionNamesIgnoreCaseButNotInnerBlanks) {
    const TQuickIni lower = Load("[colours]\nMenu=1\n");
    const TQuickIni upper = Load("[COLOURS]\nMenu=2\n");
    const TQuickIni blanks = Load("[ Colours ]\nMenu=3\n");
    EXPECT_EQ(lower.ReadString("Colours", "Menu", "d"), "1");
    EXPECT_EQ(upper.ReadString("Colours", "Menu", "d"), "2");
    EXPECT_EQ(blanks.ReadString("Colours", "Menu", "d"), "d");
    EXPECT_EQ(blanks.SectionIndex(" Colours "), 0);
    EXPECT_EQ(lower.SectionIndex("Colour"), -1);
}

TEST(SkinIni, KeysAndValuesAreTrimmedAndOnlyTheFirstEqualsSplits) {
    const TQuickIni ini = Load("[Fonts]\n  Fontheight =  14 \t\nFormula=a=b\n\tOdd line without equals\n");
    EXPECT_EQ(ini.ReadString("fonts", "FontHeight", ""), "14");
    EXPECT_EQ(ini.ReadInteger("Fonts", "FONTHEIGHT", 0), 14);
    EXPECT_EQ(ini.ReadString("Fonts", "formula", ""), "a=b");
    EXPECT_EQ(ini.ReadString("Fonts", "Odd line without equals", "none"), "none");
    EXPECT_EQ(ini.ReadString("Fonts", "", "none"), "none");
}

TEST(SkinIni, FirstLineWinsAndAnEmptyValueIsMissing) {
    const TQuickIni ini = Load("[A]\nTrans=\nTrans=1\nTile=2\nTile=3\n");
    EXPECT_EQ(ini.ReadInteger("A", "Trans", 7), 7);
    EXPECT_EQ(ini.ReadString("A", "Trans", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("A", "Tile", 0), 2);
}

TEST(SkinIni, LookupsStayInsideTheFirstSectionOfThatName) {
    const TQuickIni ini = Load("Stray=0\n[A]\nx=1\n[B]\ny=2\n[a]\nx=9\ny=8\n");
    EXPECT_EQ(ini.ReadInteger("A", "x", -1), 1);
    // y belongs to B and to the second A, which is never searched.
    EXPECT_EQ(ini.ReadInteger("A", "y", -1), -1);
    EXPECT_EQ(ini.ReadInteger("B", "y", -1), 2);
    // Text before the first header belongs to no section.
    EXPECT_EQ(ini.ReadInteger("", "Stray", -1), -1);
}

TEST(SkinIni, CommentsOnlyAtLineStart) {
    const TQuickIni ini = Load("; note\n[S]\n;Key=5\n  ;Key=6\nKey=1 ; one\nOther=1\n");
    EXPECT_EQ(ini.ReadString("S", "Key", "d"), "1 ; one");
    EXPECT_EQ(ini.ReadInteger("S", "Key", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Other", 42), 1);
    EXPECT_THAT(ini.Lines(), ::testing::ElementsAre("[S]", "Key=1 ; one", "Other=1"));
}

TEST(SkinIni, IntegerForms) {
    const TQuickIni ini = Load("[N]\nhex=0x10\ndollar=$10\nupper=0X1f\nneg=-1\nplus=+12\n"
                               "short=0x\nbad=12a\nspace=1 2\nbig=2147483648\nmin=-2147483648\n"
                               "pattern=$FF000008\nlong=$123456789\nsignhex=-$10\nlist=248, 248, 248\n");
    EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("N", "dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("N", "upper", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 12);
    EXPECT_EQ(ini.ReadInteger("N", "short", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "bad", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "space", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "min", 5), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("N", "pattern", 5), static_cast<std::int32_t>(0xFF000008u));
    EXPECT_EQ(ini.ReadInteger("N", "long", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "signhex", 5), -16);
    EXPECT_EQ(ini.ReadInteger("N", "list", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "absent", 5), 5);
}

TEST(SkinIni, LineEndsAndNul) {
    const std::vector<std::string> expected = {"[S]", "a=1", "b=2"};
    EXPECT_EQ(Load("[S]\ra=1\rb=2").Lines(), expected);
    EXPECT_EQ(Load("[S]\na=1\n\nb=2\n").Lines(), expected);
    EXPECT_EQ(Load("[S]\r\na=1\r\n\r\nb=2\r\n").Lines(), expected);
    EXPECT_EQ(Load(std::string_view("[S]\na=1\nb=2\0c=3\n", 18)).Lines(), expected);
}

TEST(SkinIni, HeadersNeedBothBrackets) {
    const TQuickIni ini = Load("[Open\nx=1\n[Closed]\nx=2\n");
    EXPECT_EQ(ini.SectionIndex("Open"), -1);
    EXPECT_EQ(ini.SectionIndex("Closed"), 2);
    std::vector<std::string> names = {"stale"};
    Load("[ Personality ]\n[Buttons]\n[]\n[Buttons]\n").ReadSections(names);
    EXPECT_THAT(names, ::testing::ElementsAre("Personality", "Buttons", "", "Buttons"));
}

TEST(SkinIni, LoadReplacesAndNullKeepsContent) {
    TQuickIni ini;
    EXPECT_EQ(ini.ReadString("S", "a", "empty"), "empty");
    ini.LoadFromText("[S]\na=1\n");
    ini.LoadFromText(static_cast<const std::string*>(nullptr));
    EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
    ini.LoadFromText("[T]\nb=2\n");
    EXPECT_EQ(ini.ReadString("S", "a", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("T", "b", ""), "2");
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST(SkinIni, LoadsFromTheStreamPosition) {
    TMemoryStream stream;
    const std::string text = "[Skip]\nx=0\n[S]\nx=1\n";
    stream.WriteBuffer(text.data(), static_cast<std::int32_t>(text.size()));
    stream.SetPosition(11);
    TQuickIni ini;
    ini.LoadFromStream(&stream);
    EXPECT_EQ(ini.SectionIndex("Skip"), -1);
    EXPECT_EQ(ini.ReadInteger("S", "x", -1), 1);
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadInteger("S", "x", -1), 1);
}

}  // namespace
}  // namespace vx
