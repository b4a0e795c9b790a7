// Draws every bitmap of the program's skin from a theme and writes the skin's
// definition INI that names them, with the margins, frame counts and title-bar button
// settings the painters expect.
#pragma once

#include <string>
#include <vector>

#include "tools/skingen/Image.h"
#include "tools/skingen/Theme.h"

namespace vx::skingen {

struct SkinBitmap {
  std::string file;  // bare lower-case name ending in ".bmp"
  Image image;       // opaque; magenta marks the cut-out parts
};

struct Skin {
  std::vector<SkinBitmap> bitmaps;
  std::string iniName;  // "vexlo.ini"
  std::string iniText;  // CR LF line ends
};

Skin buildSkin(const Theme& theme);

// The window frame at any size, as one picture (the border bitmaps are cut from it).
Image renderWindowFrame(const Theme& theme, int width, int height, bool active);

}  // namespace vx::skingen
