// The few parameters every picture of the program's skin is drawn from: a palette and
// the frame metrics. Changing a value here and regenerating restyles the whole skin.
#pragma once

#include "tools/skingen/Image.h"

namespace vx::skingen {

struct Palette {
  // Title bar and window frame, active and inactive.
  Rgb titleTop = 0x4C8DCD;
  Rgb titleBottom = 0x3570AD;
  Rgb titleOutline = 0x26568A;
  Rgb titleHighlight = 0x7DB1E2;
  Rgb titleText = 0xFFFFFF;
  Rgb inactiveTop = 0xC6CFD9;
  Rgb inactiveBottom = 0xB2BECB;
  Rgb inactiveOutline = 0x8D9BAA;
  Rgb inactiveHighlight = 0xDCE3EA;
  Rgb inactiveText = 0xF3F6F9;
  Rgb closeHot = 0xD64848;
  Rgb closePressed = 0xAE3030;

  // Surfaces and text.
  Rgb face = 0xEEF1F5;
  Rgb faceLight = 0xF8FAFC;
  Rgb window = 0xFFFFFF;
  Rgb text = 0x1E2935;
  Rgb glyph = 0x44525F;
  Rgb disabledText = 0xA3ADB8;
  Rgb shadow = 0x9AA7B5;
  Rgb darkShadow = 0x5B6877;

  // Controls.
  Rgb accent = 0x3B7CC0;
  Rgb accentLight = 0x6FA5DA;
  Rgb accentDark = 0x2C6299;
  Rgb border = 0x98A6B6;
  Rgb borderHot = 0x5C95CF;
  Rgb borderDisabled = 0xC8D0D8;
  Rgb hotFill = 0xE4EEF9;
  Rgb pressedFill = 0xCADCF0;
  Rgb disabledFill = 0xF2F4F6;
  Rgb track = 0xE4E9EE;
  Rgb thumb = 0xC0CAD5;
  Rgb thumbHot = 0x9DB9D6;
  Rgb thumbPressed = 0x6F9BC8;

  // Menus.
  Rgb menu = 0xFBFCFD;
  Rgb menuBorder = 0x9AAABB;
  Rgb menuBarTop = 0xF8FAFC;
  Rgb menuBarBottom = 0xE8EDF2;
  Rgb separator = 0xD3DAE2;
};

struct Metrics {
  int border = 4;          // left, right and bottom frame width
  int titleHeight = 30;    // top frame height (title bar)
  int cornerRadius = 7;    // rounded top corners of the window
  int bottomRadius = 3;    // rounded bottom corners
  int sysButtonWidth = 26;
  int sysButtonHeight = 20;
  int helpButtonWidth = 24;  // six cells, no frame key: 144 x 20 is counted as six frames
  int menuBarHeight = 20;
  int controlRadius = 3;
  int scrollSize = 17;     // scroll bar thickness and arrow length
  int checkSize = 13;      // check box and radio cell
};

struct Theme {
  Palette palette;
  Metrics metrics;
};

}  // namespace vx::skingen
