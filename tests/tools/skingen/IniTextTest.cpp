#include "tools/skingen/IniText.h"

#include <gtest/gtest.h>

namespace vx::skingen {
namespace {

TEST(SkinGenIni, SectionsAndKeysMatchWithoutRegardToCase) {
  const IniText ini("; comment\r\n[Personality]\r\nTopFrame=2\r\nmenuBar = bar.bmp \r\n\r\n[BUTTON1]\r\nAction=-1\r\n"
                    "Action=5\r\n[Empty]\r\nKey=\r\n");
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Personality", "BUTTON1", "Empty"}));
  EXPECT_TRUE(ini.hasSection("personality"));
  EXPECT_FALSE(ini.hasSection("Fonts"));
  EXPECT_EQ(ini.text("PERSONALITY", "MenuBar"), "bar.bmp");
  EXPECT_EQ(ini.integer("personality", "topframe", 1), 2);
  EXPECT_EQ(ini.integer("Button1", "Action", 0), -1);  // first occurrence wins
  EXPECT_EQ(ini.integer("Empty", "Key", 7), 7);
  EXPECT_FALSE(ini.value("Empty", "Missing"));
  EXPECT_EQ(ini.text("Nowhere", "Key"), "");
}

TEST(SkinGenIni, IntegersFallBackWhenNotANumber) {
  const IniText ini("[S]\nA=12x\nB=-\nC=+4\nD=99999999999\nE= 8 \n");
  EXPECT_EQ(ini.integer("S", "A", -5), -5);
  EXPECT_EQ(ini.integer("S", "B", -5), -5);
  EXPECT_EQ(ini.integer("S", "C", -5), 4);
  EXPECT_EQ(ini.integer("S", "D", -5), -5);
  EXPECT_EQ(ini.integer("S", "E", -5), 8);
}

}  // namespace
}  // namespace vx::skingen
