// The skin definition's colour table, system-button sections and frame-count rules.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "skin/data/SkinModelRules.h"

namespace vx {
namespace {

TQuickIni Load(std::string_view text, std::vector<std::string>& sections) {
    TQuickIni ini;
    ini.LoadFromText(text);
    ini.ReadSections(sections);
    return ini;
}

TEST(SkinColours, SpellingsAndDefaults) {
    std::vector<std::string> sections;
    const TQuickIni ini = Load("[Colours]\nMenu=248, 248, 248\nButtonHilight=255 255 255\nScrollbar=\n"
                               "ButtonFace=200 200 200\nTitleTextActive=1 2\n",
                               sections);
    const TSkinColours c = LoadSkinColours(ini, sections);
    EXPECT_EQ(c.MenuColour, 0x00F8F8F8u);
    EXPECT_EQ(c.ButtonHilightColour, 0x00FFFFFFu);
    EXPECT_EQ(c.ScrollbarColour, 0xFF000000u);  // empty: the system scroll bar colour
    EXPECT_EQ(c.MenubarColour, 0x00C8C8C8u);    // follows the button face read above
    EXPECT_EQ(c.TitleTextActiveColour, 0x00000001u);
    EXPECT_EQ(c.ButtonlightColour, 0xFF000014u);
    EXPECT_EQ(c.TitleTextNoActiveColour, 0xFF000013u);
    EXPECT_EQ(c.ButtonDkShadowColour, 0xFF000015u);
    EXPECT_TRUE(c.ColourSections.empty());
    EXPECT_EQ(c.CustomColours[0], 0x00FFFFFFu);
}

TEST(SkinColours, ColourSectionsAndCustomColours) {
    std::vector<std::string> sections;
    const TQuickIni ini = Load("[Colours]\n[colour1]\ncolor=1 2 3\n[COLOURS2]\n[Colourless]\nColor=9 9 9\n"
                               "[Customcolors]\nColor0=10 20 30\nColor9=0 0 0\nColor10=5 5 5\n",
                               sections);
    const TSkinColours c = LoadSkinColours(ini, sections);
    // "COLOURS" itself is not one; "COLOURS2" is (with the default colour).
    EXPECT_THAT(c.ColourSections, ::testing::ElementsAre(MakeColour(1, 2, 3), 0xFF000008u, MakeColour(9, 9, 9)));
    EXPECT_EQ(c.CustomColours[0], MakeColour(10, 20, 30));
    EXPECT_EQ(c.CustomColours[9], 0u);
    EXPECT_EQ(c.CustomColours[5], 0x00FFFFFFu);
}

TEST(SystemButtons, WhichSectionsQualify) {
    std::vector<std::string> sections;
    const TQuickIni ini = Load("[Buttons]\n[Button.CheckBox]\n[BUTTON.RADIO]\n[Button]\n[Button7]\nAction=1\n"
                               "[Button20]\nAction=-1\nVisibility=10\n[Button21]\nAction=3\nVisibility=0\n"
                               "[Button22]\nAction=-1\n[Button23]\nAction=-1\nVisibility=0\n[MyButton]\n",
                               sections);
    // Button22 has no Visibility: the default -1 is not 0, so it is hidden too.
    EXPECT_THAT(SystemButtonSections(ini, sections), ::testing::ElementsAre("Button7", "Button21", "Button23"));
}

TEST(SystemButtons, FrameCounts) {
    bool clear = true;
    EXPECT_EQ(SystemButtonFrameCount(0, 58, 21, 1, clear), 3);  // 2.76 <= 3.8
    EXPECT_FALSE(clear);
    EXPECT_EQ(SystemButtonFrameCount(0, 120, 21, 1, clear), 6);
    EXPECT_EQ(SystemButtonFrameCount(0, 38, 10, 1, clear), 3);  // exactly 3.8
    EXPECT_EQ(SystemButtonFrameCount(0, 39, 10, 1, clear), 6);
    EXPECT_EQ(SystemButtonFrameCount(0, 0, 0, 1, clear), 6);    // no bitmap
    EXPECT_EQ(SystemButtonFrameCount(0, 58, 21, -1, clear), 6);
    EXPECT_EQ(SystemButtonFrameCount(0, 58, 21, 3, clear), 3);
    EXPECT_TRUE(clear);
    EXPECT_EQ(SystemButtonFrameCount(0, 58, 21, 11, clear), 3);
    EXPECT_TRUE(clear);
    EXPECT_EQ(SystemButtonFrameCount(4, 58, 21, 3, clear), 4);  // given frames: kept
    EXPECT_FALSE(clear);
}

TEST(CheckStrips, FrameCounts) {
    EXPECT_EQ(CheckStripFrameCount(0, 65, 13), 5);
    EXPECT_EQ(CheckStripFrameCount(0, 40, 13), 4);  // 3, raised to the minimum
    EXPECT_EQ(CheckStripFrameCount(0, 96, 16), 6);  // 16-pixel frames from 16 high
    EXPECT_EQ(CheckStripFrameCount(0, 96, 15), 7);
    EXPECT_EQ(CheckStripFrameCount(8, 65, 13), 8);
}

}  // namespace
}  // namespace vx
