// Line-art glyphs shared by the title-bar buttons, the MDI buttons, the menu glyphs and
// the program's pictures. Each is a shape centred on (cx, cy) within a square of side s.
#pragma once

#include "tools/skingen/Image.h"

namespace vx::skingen {

Shape glyphClose(double cx, double cy, double s, double pen);
Shape glyphMaximize(double cx, double cy, double s, double pen);
Shape glyphRestore(double cx, double cy, double s, double pen);
Shape glyphMinimize(double cx, double cy, double s, double pen);
Shape glyphHelp(double cx, double cy, double s, double pen);
Shape glyphPin(double cx, double cy, double s, double pen);
// Filled triangles pointing in a direction, fitting a w x h box centred on (cx, cy).
Shape arrowDown(double cx, double cy, double w, double h);
Shape arrowUp(double cx, double cy, double w, double h);
Shape arrowLeft(double cx, double cy, double w, double h);
Shape arrowRight(double cx, double cy, double w, double h);
// A tick for check boxes, within a square of side s.
Shape glyphTick(double cx, double cy, double s, double pen);

}  // namespace vx::skingen
