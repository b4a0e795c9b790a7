#pragma once
// Where the pieces of a skin element go: the geometry behind the element drawing
// routines, kept free of the platform so it can be checked exactly. The Win32 routines
// (StretchElement, DrawElementH3, ...) perform these copies with StretchBlt; the
// region builder turns the opaque runs into a window region.
//
// Rectangles are half-open: Left and Top inclusive, Right and Bottom exclusive. A
// destination whose right is left of its left, or bottom above its top, gets no
// pieces.

#include <cstdint>
#include <vector>

namespace vx {

struct TLayoutRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TLayoutRect&) const = default;
};

// One copy: Source (in the element's bitmap) scaled onto Dest (in the result).
struct TPiece {
    TLayoutRect Source;
    TLayoutRect Dest;
    bool operator==(const TPiece&) const = default;
};

// The cell of frame `frame` (numbered from 1) in a bitmap of w x h pixels holding
// `frameCount` frames side by side or stacked. A frame count below 1 counts as 1 (a
// skin may give 0; painters never divide by it); integer divisions.
TLayoutRect FrameCell(int w, int h, bool stacked, int frameCount, int frame);

// Nine-part scaling of `cell` onto a result of width x height with unscaled margins
// (Left, Top, Right, Bottom of `margins` are the four widths). A result narrower than
// left + right margins loses both horizontal margins; likewise vertically. Order:
// top-left, bottom-left, top-right corners, left edge, top edge, centre, bottom-right
// corner, right edge, bottom edge; a piece without area (a zero margin, an empty
// centre) is left out. With `tile`
// the centre is repeated at its own size from the centre's top-left, left to right
// and top to bottom (later pieces overwrite the overflow); a centre without area is
// left out rather than repeated forever.
std::vector<TPiece> StretchElementPieces(int width, int height, const TLayoutRect& cell,
                                         TLayoutRect margins, bool tile);

// Three-part horizontal layout with the middle repeated at its own width (scaled to
// the height): the left end, the copies of the middle while they start before
// width - right, the right end.
std::vector<TPiece> ElementH3Pieces(int width, int height, const TLayoutRect& cell, int left, int right);

// Three-part horizontal layout with the middle stretched; a destination narrower than
// the cell gets the whole cell stretched.
std::vector<TPiece> ElementH3StretchPieces(const TLayoutRect& dest, const TLayoutRect& cell, int left,
                                           int right);

// Top-left corner of a cellWidth x cellHeight picture centred in `rect` (signed halves
// truncate towards zero).
void CentredOrigin(const TLayoutRect& rect, int cellWidth, int cellHeight, int& x, int& y);

// The origins of the copies that tile `dest` with a sourceWidth x sourceHeight
// picture; none when the source has no area.
std::vector<TLayoutRect> TilePositions(const TLayoutRect& dest, int sourceWidth, int sourceHeight);

// Maximal runs of pixels that are not of the key colour, one rectangle per run, rows
// top to bottom, offset by (dx, dy). `pixels` holds rows of 32-bit values (blue in the
// low byte, then green, red), `stride` values apart. A pixel is key-coloured when each
// of red, green and blue lies between the key's component and that component plus its
// tolerance (at most 255), inclusive. `key` is 0x00BBGGRR.
std::vector<TLayoutRect> OpaqueRuns(const std::uint32_t* pixels, int width, int height, int stride, int dx,
                                    int dy, int tolRed, int tolGreen, int tolBlue, std::uint32_t key);

}  // namespace vx
