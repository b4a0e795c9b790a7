// The program's own pictures: its icon, the banner's graphic, the queue state images,
// the small button and link pictures, the shutdown dialog's picture, and the bitmap
// resources the skin engine loads from the executable (TRACK, TRACKVERT,
// SKINMENUGLYPHS).
#pragma once

#include "tools/skingen/Image.h"
#include "tools/skingen/Theme.h"

namespace vx::skingen {

// The program's mark: a rounded tile with a "play and forward" sign; soft edges kept
// as coverage (use keyed() or the icon encoder).
Image drawAppMark(const Palette& p, int size);

Image drawBannerBase(const Palette& p);      // 484 x 64, opaque; the name is added as text later
Image drawQueueStates(const Palette& p);     // 64 x 16: waiting, converting, converted, failed or stopped
Image drawAboutGlyph(const Palette& p);      // 16 x 16, magenta background
Image drawDonateGlyph(const Palette& p);     // 16 x 16, magenta background
Image drawShutdownPicture(const Palette& p); // 48 x 48, magenta background

Image drawTrackResource(const Palette& p);      // 16 x 4
Image drawTrackVertResource(const Palette& p);  // 4 x 16
Image drawMenuGlyphs();                         // 64 x 16, black glyphs on white

}  // namespace vx::skingen
