#pragma once
// Colour and bitmap helpers of the skin engine. This header holds the platform-free
// part: colour values, blending, the saturation index, the gradient table cache and the
// two ways a skin definition spells a colour.
//
// Colour values are 32-bit: 0x00BBGGRR is a plain colour, 0xFF0000nn the current
// system colour with index nn, 0x1FFFFFFF no colour (the same values as the
// framework's TColor).
//
// The Win32 part (imgutilWin.cpp, library vx_skin_data) draws gradients and turns,
// mirrors and recolours 24-bit bitmaps. The ANSI-to-wide conversion of the bitmap
// utilities is the framework's AnsiToWide (framework/SysUtils.h).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vx {

using TColour = std::uint32_t;

constexpr TColour clSkinNone = 0x1FFFFFFF;
constexpr TColour clSkinMagenta = 0x00FF00FF;  // the transparent key colour
constexpr TColour clSkinWhite = 0x00FFFFFF;

// 0xFF0000nn for system colour index nn.
constexpr TColour SystemColourRef(int index) { return 0xFF000000u | static_cast<TColour>(index & 0xFF); }
// A system colour reference is negative as a signed value.
constexpr bool IsSystemColourRef(TColour c) { return static_cast<std::int32_t>(c) < 0; }

constexpr int RedOf(TColour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColour c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColour MakeColour(int r, int g, int b) {
    return static_cast<TColour>(r & 0xFF) | (static_cast<TColour>(g & 0xFF) << 8) |
           (static_cast<TColour>(b & 0xFF) << 16);
}

// Gives the plain colour of system colour index (0..255).
using TSysColourResolver = TColour (*)(int index);
// The resolver Blend and DrawGradient use. On Windows it starts as the platform's
// current system colours; natively as a fixed table of the classic Windows scheme.
// Returns the previous one.
TSysColourResolver SetSysColourResolver(TSysColourResolver resolver);
// A system colour reference becomes its plain colour; other values pass unchanged.
TColour ResolveColour(TColour c);

// Mixes c1 and c2 with weight w for c1: a percentage below 100 and per mille from 100
// on (so 100 is 10 %). System colours are resolved first.
TColour Blend(TColour c1, TColour c2, int w);

// 200 when every channel is below 160, else round((max - min) / max * 255) with halves
// to even. The colour is taken as a plain colour.
int SaturationIndex(TColour v);

// Cache of gradient colour tables: 16 slots filled in ring order.
constexpr int GradientCacheSlots = 16;
// The slot holding the table of n colours running from c1 to c2 (computed or found in
// the cache). n < 1 is a programming error (throws std::logic_error).
int GradientTable(int n, TColour c1, TColour c2);
// The table in a slot (valid until the slot is refilled).
const std::vector<TColour>& GradientSlot(int slot);
// Empties the cache and puts the ring position back to 0 (for tests).
void ResetGradientCache();

// A colour written as numbers, such as "38 71 138" or "248, 248, 248": digits form
// numbers, any other byte ends one. A number still open at the end counts only when
// exactly two came before it. Red, green, blue are the first three (missing ones 0),
// each taken modulo 256. An empty text gives the default.
TColour ColourFromText(std::string_view text, TColour defaultValue);
// Three separate components: only when all are >= 0 does `target` become the colour
// (each modulo 256); otherwise it keeps its value.
void ColourFromTriple(int r, int g, int b, TColour& target);

#ifdef _WIN32
class TBitmap;

// Fills `rect` with a gradient from c1 to c2, one solid line per pixel row (vertical)
// or column; only the lines inside the clip box are drawn. System colours resolved.
void DrawGradient(HDC dc, const RECT& rect, TColour c1, bool vertical, TColour c2);

// The 24-bit operations convert the bitmap to 24 bits per pixel first.
// Every magenta pixel (255, 0, 255) becomes c, taken as a plain colour.
void ReplaceMagenta(TBitmap& bitmap, TColour c);
// Each pixel's channels become (red + green + blue) / 3.
void Grayscale(TBitmap& bitmap);
// Left and right swapped.
void MirrorHorizontal(TBitmap& bitmap);
// Top and bottom swapped.
void FlipVertical(TBitmap& bitmap);
// A quarter turn counter-clockwise / clockwise; width and height swap.
void RotateLeft(TBitmap& bitmap);
void RotateRight(TBitmap& bitmap);

// DrawTextW with the text's length; returns what it returns.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
#endif

}  // namespace vx
