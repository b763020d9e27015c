#include "modflow/polygon_clip.hpp"

#include <cmath>

namespace tamvek::modflow {
namespace {

// Twice the signed area, about the origin of the coordinates given: callers
// pass outlines near the origin so that the products stay small.
double twice_signed_area(std::span<const Point> polygon) {
  double twice = 0;
  for (std::size_t i = 0, n = polygon.size(); i < n; ++i) {
    const Point a = polygon[i];
    const Point b = polygon[(i + 1) % n];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice;
}

// Keeps the part of `from` on the inner side of one side of the rectangle.
// `inside` tells whether a point is on the inner side; `crossing` where the
// segment from an inner to an outer point (or back) meets the side.
template <class Inside, class Crossing>
void clip_side(const std::vector<Point>& from, std::vector<Point>& to, Inside inside, Crossing crossing) {
  to.clear();
  if (from.empty()) return;
  Point previous = from.back();
  bool previous_inside = inside(previous);
  for (const Point& point : from) {
    const bool point_inside = inside(point);
    if (point_inside != previous_inside) to.push_back(crossing(previous, point));
    if (point_inside) to.push_back(point);
    previous = point;
    previous_inside = point_inside;
  }
}

// Where the segment a-b meets the vertical line x = at (a and b on either side).
Point on_vertical(Point a, Point b, double at) {
  const double t = (at - a.x) / (b.x - a.x);
  return {at, a.y + t * (b.y - a.y)};
}

Point on_horizontal(Point a, Point b, double at) {
  const double t = (at - a.y) / (b.y - a.y);
  return {a.x + t * (b.x - a.x), at};
}

}  // namespace

double RectangleClipper::clipped_area(std::span<const Point> polygon, const Rectangle& box) {
  // Work about the rectangle's lower-left corner: the rectangle is then
  // [0, width] x [0, height] and the outline's coordinates are small.
  const double width = box.xmax - box.xmin;
  const double height = box.ymax - box.ymin;
  from_.clear();
  bool within = true;
  for (const Point& p : polygon) {
    const Point local{p.x - box.xmin, p.y - box.ymin};
    within = within && local.x >= 0 && local.x <= width && local.y >= 0 && local.y <= height;
    from_.push_back(local);
  }
  if (!within) {
    clip_side(from_, to_, [](Point p) { return p.x >= 0; }, [](Point a, Point b) { return on_vertical(a, b, 0); });
    clip_side(to_, from_, [width](Point p) { return p.x <= width; },
              [width](Point a, Point b) { return on_vertical(a, b, width); });
    clip_side(from_, to_, [](Point p) { return p.y >= 0; }, [](Point a, Point b) { return on_horizontal(a, b, 0); });
    clip_side(to_, from_, [height](Point p) { return p.y <= height; },
              [height](Point a, Point b) { return on_horizontal(a, b, height); });
  }
  return std::abs(twice_signed_area(from_)) / 2;
}

}  // namespace tamvek::modflow
