#pragma once

#include <span>
#include <vector>

#include "modflow/model_grid.hpp"

namespace tamvek::modflow {

// An axis-aligned rectangle: a tamvek cell in tamvek's frame.
struct Rectangle {
  double xmin = 0;
  double ymin = 0;
  double xmax = 0;
  double ymax = 0;
};

// The area of a polygon's part within a rectangle, by clipping the polygon
// against the rectangle's four sides in turn (Sutherland-Hodgman). The clipped
// outline of a polygon that is not convex may run back along a side of the
// rectangle, but such stretches enclose nothing, so its area is the overlap's
// exactly for any simple polygon, convex or not, in either orientation. That
// is all a model cell needs, since tamvek's cells are rectangles; no general
// polygon library is needed.
//
// Keeps its working outlines between calls: clipping allocates only while
// they grow to the largest polygon seen.
class RectangleClipper {
 public:
  double clipped_area(std::span<const Point> polygon, const Rectangle& box);

 private:
  std::vector<Point> from_;
  std::vector<Point> to_;
};

}  // namespace tamvek::modflow
