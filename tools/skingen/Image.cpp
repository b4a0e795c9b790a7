#include "tools/skingen/Image.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vx::skingen {

namespace {

int clampByte(double v) {
  const long r = std::lround(v);
  return int(std::clamp(r, 0L, 255L));
}

// Distance squared from (px, py) to the segment (ax, ay)-(bx, by).
double segmentDistance2(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double qx = ax + t * dx - px, qy = ay + t * dy - py;
  return qx * qx + qy * qy;
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return rgb(clampByte(red(a) + (red(b) - red(a)) * t), clampByte(green(a) + (green(b) - green(a)) * t),
             clampByte(blue(a) + (blue(b) - blue(a)) * t));
}

Shape roundRect(double x0, double y0, double x1, double y1, double radius) {
  return roundRect4(x0, y0, x1, y1, radius, radius, radius, radius);
}

Shape roundRect4(double x0, double y0, double x1, double y1, double tl, double tr, double br,
                 double bl) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    auto outsideCorner = [&](double cx, double cy, double r, bool left, bool top) {
      if (r <= 0) return false;
      const bool inCornerBox = (left ? x < cx : x >= cx) && (top ? y < cy : y >= cy);
      if (!inCornerBox) return false;
      const double dx = x - cx, dy = y - cy;
      return dx * dx + dy * dy > r * r;
    };
    return !(outsideCorner(x0 + tl, y0 + tl, tl, true, true) ||
             outsideCorner(x1 - tr, y0 + tr, tr, false, true) ||
             outsideCorner(x1 - br, y1 - br, br, false, false) ||
             outsideCorner(x0 + bl, y1 - bl, bl, true, false));
  };
}

Shape ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

Shape polygon(std::vector<std::pair<double, double>> points) {
  return [pts = std::move(points)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}

Shape segment(double x0, double y0, double x1, double y1, double width) {
  const double r2 = width * width / 4.0;
  return [=](double x, double y) { return segmentDistance2(x, y, x0, y0, x1, y1) <= r2; };
}

Shape polyline(const std::vector<std::pair<double, double>>& points, double width) {
  const double r2 = width * width / 4.0;
  return [pts = points, r2](double x, double y) {
    for (std::size_t i = 1; i < pts.size(); ++i) {
      if (segmentDistance2(x, y, pts[i - 1].first, pts[i - 1].second, pts[i].first,
                           pts[i].second) <= r2)
        return true;
    }
    return false;
  };
}

Shape difference(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape unite(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Paint solid(Rgb c) {
  return [c](double, double) { return c; };
}

Paint vertical(double y0, double y1, Rgb a, Rgb b) {
  return [=](double, double y) {
    const double t = y1 > y0 ? std::clamp((y - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
    return mix(a, b, t);
  };
}

Paint horizontal(double x0, double x1, Rgb a, Rgb b) {
  return [=](double x, double) {
    const double t = x1 > x0 ? std::clamp((x - x0) / (x1 - x0), 0.0, 1.0) : 0.0;
    return mix(a, b, t);
  };
}

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(std::size_t(std::max(0, width)) * std::max(0, height)) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative image size");
}

Image Image::filled(int width, int height, Rgb c) {
  Image img(width, height);
  img.fillAll(c);
  return img;
}

void Image::set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  at(x, y) = Pixel{c, 255};
}

void Image::blend(int x, int y, Rgb c, double opacity) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || opacity <= 0) return;
  opacity = std::min(opacity, 1.0);
  Pixel& p = at(x, y);
  const double da = p.alpha / 255.0;
  const double outA = opacity + da * (1.0 - opacity);
  auto channel = [&](int s, int d) { return clampByte((s * opacity + d * da * (1.0 - opacity)) / outA); };
  p.colour = rgb(channel(red(c), red(p.colour)), channel(green(c), green(p.colour)),
                 channel(blue(c), blue(p.colour)));
  p.alpha = std::uint8_t(clampByte(outA * 255.0));
}

void Image::fillRect(int x0, int y0, int x1, int y1, Rgb c) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) at(x, y) = Pixel{c, 255};
}

void Image::fill(const Shape& shape, const Paint& paint, double opacity) {
  constexpr int kSamples = 4;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      int hits = 0;
      for (int j = 0; j < kSamples; ++j)
        for (int i = 0; i < kSamples; ++i)
          if (shape(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples)) ++hits;
      if (hits == 0) continue;
      blend(x, y, paint(x + 0.5, y + 0.5), opacity * hits / double(kSamples * kSamples));
    }
  }
}

void Image::hline(int x0, int x1, int y, Rgb c) { fillRect(x0, y, x1, y + 1, c); }
void Image::vline(int x, int y0, int y1, Rgb c) { fillRect(x, y0, x + 1, y1, c); }

void Image::frameRect(int x0, int y0, int x1, int y1, Rgb c) {
  hline(x0, x1, y0, c);
  hline(x0, x1, y1 - 1, c);
  vline(x0, y0, y1, c);
  vline(x1 - 1, y0, y1, c);
}

void Image::copyFrom(const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      if (fx < 0 || fy < 0 || fx >= src.width_ || fy >= src.height_) continue;
      at(tx, ty) = src.at(fx, fy);
    }
}

void Image::drawOver(const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int fx = sx + x, fy = sy + y;
      if (fx < 0 || fy < 0 || fx >= src.width_ || fy >= src.height_) continue;
      const Pixel& p = src.at(fx, fy);
      blend(dx + x, dy + y, p.colour, p.alpha / 255.0);
    }
}

Image Image::crop(int x, int y, int w, int h) const {
  Image out(w, h);
  out.copyFrom(*this, x, y, w, h, 0, 0);
  return out;
}

Image Image::mirroredH() const {
  Image out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.at(width_ - 1 - x, y) = at(x, y);
  return out;
}

Image Image::transposed() const {
  Image out(height_, width_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.at(y, x) = at(x, y);
  return out;
}

Image Image::flattened(Rgb background) const {
  Image out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Pixel& p = at(x, y);
      out.at(x, y) = Pixel{mix(background, p.colour, p.alpha / 255.0), 255};
    }
  return out;
}

Image Image::keyed(Rgb background) const {
  return keyedOn([background](int, int) { return background; });
}

Image Image::keyedOn(const std::function<Rgb(int x, int y)>& background) const {
  Image out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Pixel& p = at(x, y);
      Rgb c = p.alpha < 128 ? kMagenta : mix(background(x, y), p.colour, p.alpha / 255.0);
      // A soft edge must never come out as the key colour by accident.
      if (p.alpha >= 128 && c == kMagenta) c = 0xFE00FE;
      out.at(x, y) = Pixel{c, 255};
    }
  return out;
}

bool Image::operator==(const Image& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (std::size_t i = 0; i < pixels_.size(); ++i)
    if (pixels_[i].colour != other.pixels_[i].colour || pixels_[i].alpha != other.pixels_[i].alpha)
      return false;
  return true;
}

Image stripH(const std::vector<Image>& frames) {
  if (frames.empty()) return {};
  const int w = frames[0].width(), h = frames[0].height();
  Image out(w * int(frames.size()), h);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].width() != w || frames[i].height() != h)
      throw std::invalid_argument("strip frames differ in size");
    out.copyFrom(frames[i], 0, 0, w, h, int(i) * w, 0);
  }
  return out;
}

Image stripV(const std::vector<Image>& frames) {
  if (frames.empty()) return {};
  const int w = frames[0].width(), h = frames[0].height();
  Image out(w, h * int(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].width() != w || frames[i].height() != h)
      throw std::invalid_argument("strip frames differ in size");
    out.copyFrom(frames[i], 0, 0, w, h, 0, int(i) * h);
  }
  return out;
}

}  // namespace vx::skingen
