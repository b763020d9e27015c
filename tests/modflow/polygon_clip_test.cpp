#include "modflow/polygon_clip.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tamvek::modflow {
namespace {

TEST(RectangleClip, AreasOfConvexAndNonConvexPolygonsInEitherOrientation) {
  // A U: the square [0,30] x [0,30] without [10,20] x [10,30]; area 700.
  const std::vector<Point> u = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  const std::vector<Point> u_clockwise(u.rbegin(), u.rend());
  const std::vector<Point> triangle = {{0, 0}, {4, 0}, {0, 4}};
  struct Case {
    const char* what;
    const std::vector<Point>& polygon;
    Rectangle box;
    double area;
  };
  const Case cases[] = {
      {"U within", u, {-1, -1, 31, 31}, 700},
      {"U's two arms: one outline in two pieces", u, {0, 15, 30, 30}, 300},
      {"U's arms, clockwise", u_clockwise, {0, 15, 30, 30}, 300},
      {"U's notch alone", u, {10, 12, 20, 30}, 0},
      {"U's base and arm stubs", u, {5, 5, 25, 15}, 150},
      {"U's corner, edges on the box's sides", u, {0, 0, 10, 10}, 100},
      {"triangle cut by its hypotenuse", triangle, {1, 1, 5, 5}, 2},
      {"triangle outside", triangle, {4, 4, 9, 9}, 0},
      {"triangle's corner, the box past two of its sides", triangle, {-3, -3, 2, 1}, 2},
      {"triangle's apex", triangle, {-1, 3, 1, 5}, 0.5},
  };
  RectangleClipper clipper;
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(c.area, clipper.clipped_area(c.polygon, c.box)) << c.what;
}

}  // namespace
}  // namespace tamvek::modflow
