#include "skin/data/SkinModelRules.h"

namespace vx {

namespace {

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

TColour ReadColour(const TQuickIni& ini, const char* section, const std::string& key, TColour def) {
    return ColourFromText(ini.ReadString(section, key, ""), def);
}

}  // namespace

TSkinColours LoadSkinColours(const TQuickIni& ini, const std::vector<std::string>& sections) {
    TSkinColours c;
    struct Entry { const char* key; TColour TSkinColours::*member; };
    static const Entry entries[] = {
        {"WindowText", &TSkinColours::WindowTextColour},   {"ButtonFace", &TSkinColours::ButtonFaceColour},
        {"Scrollbar", &TSkinColours::ScrollbarColour},     {"HilightText", &TSkinColours::HilightTextColour},
        {"Hilight", &TSkinColours::HilightColour},         {"Menubar", &TSkinColours::MenubarColour},
        {"Menu", &TSkinColours::MenuColour},               {"MenuText", &TSkinColours::MenuTextColour},
        {"ButtonText", &TSkinColours::ButtonTextColour},   {"ButtonHilight", &TSkinColours::ButtonHilightColour},
        {"Buttonlight", &TSkinColours::ButtonlightColour}, {"ButtonShadow", &TSkinColours::ButtonShadowColour},
        {"ButtonDkShadow", &TSkinColours::ButtonDkShadowColour},
        {"MenuBarText", &TSkinColours::MenuBarTextColour},
        {"TitleTextActive", &TSkinColours::TitleTextActiveColour},
        {"TitleTextNoActive", &TSkinColours::TitleTextNoActiveColour},
    };
    for (const Entry& e : entries) {
        // The menu bar follows the button face unless it has its own colour.
        const TColour def = e.member == &TSkinColours::MenubarColour ? c.ButtonFaceColour : c.*e.member;
        c.*e.member = ReadColour(ini, "Colours", e.key, def);
    }
    for (const std::string& s : sections) {
        const std::string upper = UpperAscii(s);
        if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
            c.ColourSections.push_back(ColourFromText(ini.ReadString(s, "color", ""), SystemColourRef(8)));
    }
    for (int i = 0; i < 10; ++i)
        c.CustomColours[static_cast<std::size_t>(i)] =
            ReadColour(ini, "Customcolors", "Color" + std::to_string(i), clSkinWhite);
    return c;
}

std::vector<std::string> SystemButtonSections(const TQuickIni& ini, const std::vector<std::string>& sections) {
    std::vector<std::string> kept;
    for (const std::string& s : sections) {
        const std::string n = UpperAscii(s);
        if (n.rfind("BUTTON", 0) != 0 || n == "BUTTON" || n == "BUTTONS" || n == "BUTTON.RADIO" ||
            n == "BUTTON.CHECKBOX")
            continue;
        if (ini.ReadInteger(s, "Action", 0) == -1 && ini.ReadInteger(s, "Visibility", -1) != 0)
            continue;  // a hidden command button
        kept.push_back(s);
    }
    return kept;
}

int SystemButtonFrameCount(int frameKey, int w, int h, int action, bool& clearBitmap) {
    clearBitmap = false;
    if (frameKey != 0)
        return frameKey;
    int frames = 6;
    // width / height <= 3.8, compared exactly in integers.
    if (w > 0 && h > 0 && 10 * static_cast<long long>(w) <= 38 * static_cast<long long>(h))
        frames = 3;
    if (action < 0)
        frames = 6;
    clearBitmap = action == 3 || action == 11;
    return frames;
}

int CheckStripFrameCount(int frameKey, int w, int h) {
    if (frameKey != 0)
        return frameKey;
    const int frameSize = h < 16 ? 13 : 16;
    const int frames = w / frameSize;
    return frames < 4 ? 4 : frames;
}

}  // namespace vx
