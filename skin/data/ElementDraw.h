#pragma once
// The skin element drawing routines: an element frame scaled to any size with its
// margins kept, three-part horizontal draws, single frames, tiling, the transparent
// copy with magenta as the key colour, and window regions from bitmaps. Everything is
// drawn into an off-screen bitmap first and copied in one operation. The geometry
// comes from ElementLayout.

#include <memory>

#include <windows.h>

#include "skin/data/imgutil.h"

namespace vx {

class TBitmap;
class TCanvas;
class TControl;

// Margins as (left, top, right, bottom) widths.
using TMargins = RECT;

// A new 24-bit bitmap of `dest`'s size holding frame `frame` of `bitmap` scaled with
// unscaled margins; the middle stretched or, with `tileMiddle`, repeated. Null for a
// destination with right < left or bottom < top.
std::unique_ptr<TBitmap> StretchElement(const RECT& dest, TBitmap& bitmap, const TMargins& margins,
                                        bool stacked, bool tileMiddle, int frameCount, int frame);

// StretchElement drawn at `dest`, magenta transparent when `transparent`.
void DrawElement(HDC dc, const RECT& dest, TBitmap& bitmap, bool stacked, bool tileMiddle, bool transparent,
                 int frameCount, int frame, const TMargins& margins);

// Three parts from the left and right margins, the middle repeated at its own width.
void DrawElementH3(TCanvas& canvas, const RECT& dest, TBitmap& bitmap, bool stacked, bool transparent,
                   int frameCount, int frame, const TMargins& margins);

// Three parts with the middle stretched, straight onto the device context; a
// destination narrower than the frame gets the whole frame stretched.
void DrawElementH3Stretch(HDC dc, const RECT& dest, TBitmap& bitmap, bool stacked, int frameCount, int frame,
                          const TMargins& margins);

// Frame `frame` of a side-by-side strip stretched over `dest`.
void DrawFrame(HDC dc, const RECT& dest, TBitmap& bitmap, bool transparent, int frameCount, int frame);

// Frame `frame` of a side-by-side strip at its own size, centred in `dest`.
void DrawFrameCentered(HDC dc, const RECT& dest, TBitmap& bitmap, bool transparent, int frameCount, int frame);

// `source` rectangle of `bitmap` repeated over `dest` from its top-left corner. The
// copies are clipped to `dest` so nothing beside it is painted.
void TileBitmap(TCanvas& canvas, const RECT& dest, TBitmap& bitmap, const RECT& source);

// Copies `bitmap` to `dest` (at its own size, limited to the rectangle), leaving the
// destination unchanged where the bitmap has the key colour.
void TransparentBlit(HDC dc, const RECT& dest, TBitmap& bitmap, TColour key);

// The region of the pixels that are not key-coloured (within the tolerances), offset
// by (x, y); null when there is none. The caller owns the region.
HRGN RegionFromBitmap(TBitmap& bitmap, int x, int y, int tolRed, int tolGreen, int tolBlue, TColour key);

// Paints the control's parent into `dc` behind the control (a control that wants to
// look transparent draws this first): the DC's origin is moved to the control's place
// in the parent and clipped to its bounds, and the parent gets WM_ERASEBKGND, then
// WM_PAINT, with the DC. Nothing when the control has no parent.
void PaintParentInto(TControl& control, HDC dc);

}  // namespace vx
