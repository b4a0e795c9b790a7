// A small RGBA raster with the drawing the skin generator needs: anti-aliased shapes
// (by 4 x 4 supersampling), gradients, copies and the flattening of soft edges onto a
// known background with magenta as the cut-out key. Only integer and IEEE arithmetic
// (no library trigonometry) is used, so the output is the same on every run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vx::skingen {

// 0xRRGGBB colour.
using Rgb = std::uint32_t;

constexpr Rgb kMagenta = 0xFF00FF;

constexpr int red(Rgb c) { return (c >> 16) & 0xFF; }
constexpr int green(Rgb c) { return (c >> 8) & 0xFF; }
constexpr int blue(Rgb c) { return c & 0xFF; }
constexpr Rgb rgb(int r, int g, int b) {
  return (Rgb(r & 0xFF) << 16) | (Rgb(g & 0xFF) << 8) | Rgb(b & 0xFF);
}

// Linear mix: t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, double t);

struct Pixel {
  Rgb colour = 0;
  std::uint8_t alpha = 0;  // 0 = nothing drawn here, 255 = fully covered
};

// Inside test in pixel coordinates (pixel x covers [x, x + 1)).
using Shape = std::function<bool(double x, double y)>;
// Colour for a sample point; lets a shape be filled with a gradient.
using Paint = std::function<Rgb(double x, double y)>;

Shape roundRect(double x0, double y0, double x1, double y1, double radius);
// Per-corner radii: top-left, top-right, bottom-right, bottom-left.
Shape roundRect4(double x0, double y0, double x1, double y1, double tl, double tr, double br,
                 double bl);
Shape ellipse(double cx, double cy, double rx, double ry);
Shape polygon(std::vector<std::pair<double, double>> points);
// A stroke of the given width along the segment, with round ends.
Shape segment(double x0, double y0, double x1, double y1, double width);
// A polyline stroke (round joins).
Shape polyline(const std::vector<std::pair<double, double>>& points, double width);
// Inside a but not inside b.
Shape difference(Shape a, Shape b);
Shape unite(Shape a, Shape b);

Paint solid(Rgb c);
// Vertical gradient from colour a at y0 to colour b at y1 (clamped outside).
Paint vertical(double y0, double y1, Rgb a, Rgb b);
Paint horizontal(double x0, double x1, Rgb a, Rgb b);

class Image {
 public:
  Image() = default;
  Image(int width, int height);
  // A fully covered image of one colour.
  static Image filled(int width, int height, Rgb c);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }

  const Pixel& at(int x, int y) const { return pixels_[index(x, y)]; }
  Pixel& at(int x, int y) { return pixels_[index(x, y)]; }
  Rgb colour(int x, int y) const { return at(x, y).colour; }

  // Sets a pixel fully covered (no blending); ignores points outside.
  void set(int x, int y, Rgb c);
  // Composites colour c with the given opacity (0..1) over the pixel.
  void blend(int x, int y, Rgb c, double opacity);
  void fillRect(int x0, int y0, int x1, int y1, Rgb c);  // [x0, x1) x [y0, y1), opaque
  void fillAll(Rgb c) { fillRect(0, 0, width_, height_, c); }
  // Anti-aliased fill of a shape with a paint, opacity scaling the coverage.
  void fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  void fill(const Shape& shape, Rgb c, double opacity = 1.0) { fill(shape, solid(c), opacity); }
  // Hard-edged 1-pixel lines and frames, opaque.
  void hline(int x0, int x1, int y, Rgb c);
  void vline(int x, int y0, int y1, Rgb c);
  void frameRect(int x0, int y0, int x1, int y1, Rgb c);

  // Copies a block, replacing what is below (coverage included).
  void copyFrom(const Image& src, int sx, int sy, int w, int h, int dx, int dy);
  // Composites a block over this image, honouring the source's coverage.
  void drawOver(const Image& src, int sx, int sy, int w, int h, int dx, int dy);
  Image crop(int x, int y, int w, int h) const;
  Image mirroredH() const;
  Image transposed() const;

  // Puts every pixel on the background colour: uncovered pixels become the background,
  // soft edges are mixed with it.
  Image flattened(Rgb background) const;
  // As flattened, but pixels covered less than half become the magenta key, so a
  // transparent draw or a window region cuts them away.
  Image keyed(Rgb background) const;
  // Like keyed, with the background given per pixel (for art that sits on a gradient).
  Image keyedOn(const std::function<Rgb(int x, int y)>& background) const;

  bool operator==(const Image& other) const;

 private:
  std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(width_) + x; }

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Places frames side by side (all the same size) into one strip.
Image stripH(const std::vector<Image>& frames);
// Places frames one below the other.
Image stripV(const std::vector<Image>& frames);

}  // namespace vx::skingen
