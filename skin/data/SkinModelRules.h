#pragma once
// Rules of the skin definition that need no bitmaps or windows: the colour table and
// its defaults, the colour sections, the custom colours, which sections are system
// buttons, and the frame-count rules for system buttons and check/radio strips. The
// skin model applies them while it loads a definition.

#include <array>
#include <string>
#include <vector>

#include "skin/data/SkinIni.h"
#include "skin/data/imgutil.h"

namespace vx {

// The colours of section "Colours", each read with the colour text rule.
struct TSkinColours {
    TColour WindowTextColour = SystemColourRef(8);
    TColour ButtonFaceColour = SystemColourRef(15);
    TColour ScrollbarColour = SystemColourRef(0);
    TColour HilightTextColour = SystemColourRef(14);
    TColour HilightColour = SystemColourRef(13);
    TColour MenubarColour = SystemColourRef(15);
    TColour MenuColour = SystemColourRef(4);
    TColour MenuTextColour = SystemColourRef(7);
    TColour ButtonTextColour = SystemColourRef(18);
    TColour ButtonHilightColour = SystemColourRef(20);
    TColour ButtonlightColour = SystemColourRef(20);
    TColour ButtonShadowColour = SystemColourRef(16);
    TColour ButtonDkShadowColour = SystemColourRef(21);
    TColour MenuBarTextColour = SystemColourRef(7);
    TColour TitleTextActiveColour = SystemColourRef(9);
    TColour TitleTextNoActiveColour = SystemColourRef(19);
    // One per section named COLOUR... (not COLOURS), in file order: its key "color".
    std::vector<TColour> ColourSections;
    // Section "Customcolors", keys Color0 to Color9, white by default.
    std::array<TColour, 10> CustomColours{};
};

// Reads every colour; a missing or empty key gives its default ("Menubar" defaults to
// the button face colour just read). `sections` are the section names in file order.
TSkinColours LoadSkinColours(const TQuickIni& ini, const std::vector<std::string>& sections);

// The sections that become system buttons, in file order: upper-cased names starting
// with "BUTTON", other than BUTTON, BUTTONS, BUTTON.RADIO and BUTTON.CHECKBOX, and not
// hidden command buttons ("Action" -1 with a "Visibility" other than 0).
std::vector<std::string> SystemButtonSections(const TQuickIni& ini, const std::vector<std::string>& sections);

// Frame count of a system button whose "frame" key gave `frameKey`: a 0 becomes 3 for
// a bitmap no wider than 3.8 times its height and 6 otherwise (6 without a bitmap or
// with a negative action). `clearBitmap` is set for a button that had no frame count
// and whose action is 3 or 11.
int SystemButtonFrameCount(int frameKey, int bitmapWidth, int bitmapHeight, int action, bool& clearBitmap);

// Frames of a check or radio strip when its key gave 0: frames are 13 pixels wide for
// strips lower than 16 pixels, else 16; at least 4.
int CheckStripFrameCount(int frameKey, int bitmapWidth, int bitmapHeight);

}  // namespace vx
