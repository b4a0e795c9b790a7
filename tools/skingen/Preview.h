// The proof sheet of the skin: every element drawn at three sizes in each of its
// states with a plain nine-part stretch, and a mock window assembled from the frame,
// title-bar buttons, menu bar and control pictures.
#pragma once

#include <string>

#include "tools/skingen/Image.h"
#include "tools/skingen/Theme.h"

namespace vx::skingen {

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Frame `frame` (from 1) of a strip of `frames` cells (side by side, or stacked),
// stretched to w x h with the margins kept unscaled; the middle is stretched, or tiled
// when tileMiddle is set. A size smaller than two margins drops those margins.
Image stretchElement(const Image& strip, int frames, int frame, bool stacked, Margins m, int w, int h,
                     bool tileMiddle);

// Copies src onto dst at (x, y), skipping magenta pixels when keyed.
void blitKeyed(Image& dst, const Image& src, int x, int y, bool keyed);

// Upper-case 5 x 7 pixel text (letters, digits and a little punctuation).
void drawText(Image& dst, int x, int y, const std::string& text, Rgb colour);
int textWidth(const std::string& text);

Image drawPreview(const Theme& theme);

}  // namespace vx::skingen
