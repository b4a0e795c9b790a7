#include "tools/skingen/Glyphs.h"

namespace vx::skingen {

Shape glyphClose(double cx, double cy, double s, double pen) {
  const double h = s / 2;
  return unite(segment(cx - h, cy - h, cx + h, cy + h, pen), segment(cx - h, cy + h, cx + h, cy - h, pen));
}

Shape glyphMaximize(double cx, double cy, double s, double pen) {
  const double h = s / 2;
  // A window outline with a heavier top edge (its title bar).
  return difference(roundRect(cx - h, cy - h, cx + h, cy + h, 0.5),
                    roundRect(cx - h + pen, cy - h + 2 * pen, cx + h - pen, cy + h - pen, 0));
}

Shape glyphRestore(double cx, double cy, double s, double pen) {
  const double h = s / 2;
  const double d = double(long(s * 0.3 + 0.5));  // offset of the back window, whole pixels
  Shape front = glyphMaximize(cx - d / 2, cy + d / 2, s - d, pen);
  Shape backOutline = difference(roundRect(cx - h + d, cy - h, cx + h, cy + h - d, 0.5),
                                 roundRect(cx - h + d + pen, cy - h + 2 * pen, cx + h - pen, cy + h - d - pen, 0));
  // The back window is hidden where the front one lies.
  Shape frontArea = roundRect(cx - h, cy - h + d, cx + h - d, cy + h, 0);
  return unite(front, difference(backOutline, frontArea));
}

Shape glyphMinimize(double cx, double cy, double s, double pen) {
  const double h = s / 2;
  return roundRect(cx - h, cy + h - pen, cx + h, cy + h, 0);
}

Shape glyphHelp(double cx, double cy, double s, double pen) {
  const double k = s / 10.0;
  Shape hook = polyline({{cx - 3 * k, cy - 2.2 * k}, {cx - 2.4 * k, cy - 4 * k}, {cx, cy - 4.8 * k},
                         {cx + 2.4 * k, cy - 4 * k}, {cx + 3 * k, cy - 2.2 * k}, {cx + 2 * k, cy - 0.6 * k},
                         {cx, cy + 0.6 * k}, {cx, cy + 2 * k}},
                        pen);
  return unite(hook, ellipse(cx, cy + 4.3 * k, pen * 0.75, pen * 0.75));
}

Shape glyphPin(double cx, double cy, double s, double pen) {
  const double k = s / 10.0;
  // A push pin seen from the side: head, collar and needle.
  Shape head = roundRect(cx - 2.2 * k, cy - 5 * k, cx + 2.2 * k, cy - 3.6 * k, 0.4);
  Shape body = polygon({{cx - 1.5 * k, cy - 3.6 * k}, {cx + 1.5 * k, cy - 3.6 * k}, {cx + 1.9 * k, cy + 0.4 * k},
                        {cx - 1.9 * k, cy + 0.4 * k}});
  Shape collar = roundRect(cx - 3.6 * k, cy + 0.4 * k, cx + 3.6 * k, cy + 0.4 * k + pen, 0.3);
  Shape needle = segment(cx, cy + 0.4 * k, cx, cy + 5 * k, pen * 0.8);
  return unite(unite(head, body), unite(collar, needle));
}

Shape arrowDown(double cx, double cy, double w, double h) {
  return polygon({{cx - w / 2, cy - h / 2}, {cx + w / 2, cy - h / 2}, {cx, cy + h / 2}});
}
Shape arrowUp(double cx, double cy, double w, double h) {
  return polygon({{cx - w / 2, cy + h / 2}, {cx + w / 2, cy + h / 2}, {cx, cy - h / 2}});
}
Shape arrowLeft(double cx, double cy, double w, double h) {
  return polygon({{cx + w / 2, cy - h / 2}, {cx + w / 2, cy + h / 2}, {cx - w / 2, cy}});
}
Shape arrowRight(double cx, double cy, double w, double h) {
  return polygon({{cx - w / 2, cy - h / 2}, {cx - w / 2, cy + h / 2}, {cx + w / 2, cy}});
}

Shape glyphTick(double cx, double cy, double s, double pen) {
  const double k = s / 10.0;
  return polyline({{cx - 3.6 * k, cy + 0.2 * k}, {cx - 1.2 * k, cy + 2.8 * k}, {cx + 3.8 * k, cy - 3 * k}}, pen);
}

}  // namespace vx::skingen
