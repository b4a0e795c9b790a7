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

// The composite combo-box strip the skin engine derives from SunkEdge, ComboButton and
// ExtraImages: n cells of 50 x 21, each the sunken box with the button in its right B
// pixels and the arrow centred there, the text area cut out in magenta.
struct ComboParts {
  const Image* sunk = nullptr;
  Margins sunkMargins;
  bool sunkTrans = true;
  const Image* button = nullptr;  // four cells
  Margins buttonMargins;
  const Image* arrows = nullptr;  // five cells, or none
  int frames = 4;                 // SunkEdge's frame count
};
Image deriveComboStrip(const ComboParts& parts, int buttonWidth);
// The 17 x 17 arrow cells cut from the right end of each composite cell.
Image deriveComboArrow(const Image& comboStrip, int frames);

// Copies src onto dst at (x, y), skipping magenta pixels when keyed.
void blitKeyed(Image& dst, const Image& src, int x, int y, bool keyed);

// Upper-case 5 x 7 pixel text (letters, digits and a little punctuation).
void drawText(Image& dst, int x, int y, const std::string& text, Rgb colour);
int textWidth(const std::string& text);

Image drawPreview(const Theme& theme);

}  // namespace vx::skingen
