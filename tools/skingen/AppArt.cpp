#include "tools/skingen/AppArt.h"

#include "tools/skingen/Glyphs.h"

namespace vx::skingen {

namespace {

constexpr Rgb kGreen = 0x3C9A5F;
constexpr Rgb kRed = 0xD64848;
constexpr Rgb kRose = 0xEE6A7C;
constexpr Rgb kRoseDark = 0xD2435A;

// A round badge of the queue state images.
void badge(Image& img, double cx, Rgb top, Rgb bottom) {
  img.fill(ellipse(cx, 8, 7.2, 7.2), vertical(1, 15, top, bottom));
}

}  // namespace

Image drawAppMark(const Palette& p, int size) {
  const double s = size;
  Image img(size, size);
  img.fill(roundRect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.22), vertical(0, s, mix(p.accentLight, p.accent, 0.3),
                                                                      p.accentDark));
  // Gloss over the upper half.
  img.fill(roundRect4(1, 1, s - 1, s * 0.5, s * 0.2, s * 0.2, 0, 0), p.window, 0.10);
  // Play sign and a second, fainter one: a file moving forward (being converted).
  img.fill(polygon({{s * 0.27, s * 0.25}, {s * 0.27, s * 0.75}, {s * 0.60, s * 0.50}}), p.window);
  img.fill(polygon({{s * 0.53, s * 0.29}, {s * 0.53, s * 0.71}, {s * 0.80, s * 0.50}}), p.window, 0.55);
  return img;
}

Image drawBannerBase(const Palette& p) {
  const int w = 484, h = 64;
  Image img(w, h);
  img.fill(roundRect(0, 0, w, h, 0), vertical(0, h, p.window, 0xE6EDF5));
  // Soft circles rising from the right: calm motion behind the name.
  struct Circle {
    double x, y, r, opacity;
  };
  const Circle circles[] = {{470, 70, 70, 0.10}, {420, 86, 62, 0.08}, {360, 100, 56, 0.06}, {478, -8, 26, 0.07}};
  for (const Circle& c : circles) img.fill(ellipse(c.x, c.y, c.r, c.r), p.accent, c.opacity);
  // A strip of film frames along the right, fading towards the text.
  for (int i = 0; i < 6; ++i) {
    const double x = 300 + i * 30;
    img.fill(roundRect(x, 40, x + 22, 54, 2.5), p.accent, 0.05 + 0.03 * i);
  }
  // Speed lines.
  for (int i = 0; i < 3; ++i) {
    const double y = 16 + i * 8;
    img.fill(segment(250 + i * 14, y, 330 + i * 14, y, 2), p.accentLight, 0.22 - 0.05 * i);
  }
  // Accent rule along the bottom edge.
  img.fill(roundRect(0, h - 2, w, h, 0), horizontal(0, w, p.accentDark, p.accentLight));
  Image mark = drawAppMark(p, 44);
  img.drawOver(mark, 0, 0, 44, 44, 14, 9);
  return img.flattened(p.window);
}

Image drawQueueStates(const Palette& p) {
  Image img(64, 16);
  // Waiting: a clock.
  img.fill(ellipse(8, 8, 7.2, 7.2), 0x8795A5);
  img.fill(ellipse(8, 8, 6, 6), p.window);
  img.fill(unite(segment(8, 8, 8, 4, 1.4), segment(8, 8, 11, 9.5, 1.4)), p.glyph);
  // Converting: a blue badge with the play sign.
  badge(img, 24, p.accentLight, p.accentDark);
  img.fill(polygon({{21.5, 4.6}, {21.5, 11.4}, {27.2, 8}}), p.window);
  // Converted: a green badge with a tick.
  badge(img, 40, mix(kGreen, p.window, 0.2), mix(kGreen, 0x000000, 0.15));
  img.fill(glyphTick(40, 8.3, 10, 1.8), p.window);
  // Failed or stopped: a red badge with a cross.
  badge(img, 56, mix(kRed, p.window, 0.15), mix(kRed, 0x000000, 0.15));
  img.fill(glyphClose(56, 8, 6, 1.8), p.window);
  // The queue list is white; soft edges are mixed with it.
  return img.keyed(p.window);
}

Image drawAboutGlyph(const Palette& p) {
  Image img(16, 16);
  img.fill(ellipse(8, 8, 6.8, 6.8), vertical(1, 15, p.accentLight, p.accentDark));
  img.fill(ellipse(8, 4.9, 1.15, 1.15), p.window);
  img.fill(roundRect(7.05, 6.9, 8.95, 12.2, 0.6), p.window);
  return img.keyed(p.face);
}

Image drawDonateGlyph(const Palette& p) {
  Image img(16, 16);
  Shape heart = unite(unite(ellipse(5.4, 6, 3.3, 3.3), ellipse(10.6, 6, 3.3, 3.3)),
                      polygon({{2.25, 7.2}, {13.75, 7.2}, {8, 14}}));
  img.fill(heart, vertical(2.5, 14, kRose, kRoseDark));
  img.fill(ellipse(5, 5, 1.3, 1), p.window, 0.55);
  return img.keyed(p.face);
}

Image drawShutdownPicture(const Palette& p) {
  Image img(48, 48);
  img.fill(ellipse(24, 24, 21, 21), vertical(3, 45, 0xE2705F, 0xB23A2E));
  img.fill(roundRect4(8, 5, 40, 24, 16, 16, 0, 0), p.window, 0.10);
  // Power sign: an open ring with a bar through its gap.
  Shape ring = difference(ellipse(24, 25.5, 11, 11), ellipse(24, 25.5, 8, 8));
  Shape gap = polygon({{24, 25.5}, {15, 9}, {33, 9}});
  img.fill(difference(ring, gap), p.window);
  img.fill(roundRect(22.4, 10, 25.6, 25, 1.6), p.window);
  return img.keyed(p.face);
}

Image drawTrackResource(const Palette& p) {
  Image img(16, 4);
  img.fill(roundRect(0, 0, 16, 4, 1.5), mix(p.border, p.shadow, 0.5));
  img.fill(roundRect(1, 1, 15, 3, 0.5), 0xD3DAE2);
  return img.flattened(p.face);
}

Image drawTrackVertResource(const Palette& p) { return drawTrackResource(p).transposed(); }

Image drawMenuGlyphs() {
  // Drawn pixel by pixel: at this size a crisp two-level glyph reads better than a
  // thresholded smooth one. '#' is ink; each glyph is centred in its 16 x 16 cell.
  static const char* const glyphs[4][9] = {
      {"...######", "...######", "...#....#", "######..#", "######..#", "#....####", "#....#...", "#....#...",
       "######..."},                                                                               // restore
      {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
       "#########"},                                                                               // maximize
      {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".#######.",
       ".#######."},                                                                               // minimize
      {".........", ".##...##.", "..##.##..", "...###...", "....#....", "...###...", "..##.##..", ".##...##.",
       "........."}};                                                                              // close
  Image out = Image::filled(64, 16, 0xFFFFFF);
  for (int g = 0; g < 4; ++g)
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 9; ++x)
        if (glyphs[g][y][x] == '#') out.set(g * 16 + 4 + x, 4 + y, 0x000000);
  return out;
}

}  // namespace vx::skingen
