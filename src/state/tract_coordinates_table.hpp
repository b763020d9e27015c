#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/run_stop.hpp"

namespace tamvek {

// The coordinate tables xcoord and ycoord, addressed by the Tract key (twp,
// rng, sec, tract), 20 x 45 x 36 x 16 tracts. They are kept as one table of
// (x, y) points with the tract varying fastest: the records of a group list the
// tracts of a section together, and so find them in the same cache lines,
// where two tables with the township varying fastest would put every tract of
// a section 130 kB from the next. Keys are tested as for any table, the last
// dimension (tract) first.
class TractCoordinates {
 public:
  struct Point {
    float x = 0;
    float y = 0;
  };

  float& xcoord(int statement, std::int32_t twp, std::int32_t rng, std::int32_t sec,
                std::int32_t tract) {
    return point(statement, "xcoord", twp, rng, sec, tract).x;
  }
  float& ycoord(int statement, std::int32_t twp, std::int32_t rng, std::int32_t sec,
                std::int32_t tract) {
    return point(statement, "ycoord", twp, rng, sec, tract).y;
  }
  // Both coordinates of a tract, its key tested as xcoord's.
  const Point& point(int statement, std::int32_t twp, std::int32_t rng, std::int32_t sec,
                     std::int32_t tract) {
    return point(statement, "xcoord", twp, rng, sec, tract);
  }

  // Every coordinate back to 0.
  void clear() { points_.fill({}); }

 private:
  static constexpr int townships = 20, ranges = 45, sections = 36, tracts = 16;

  Point& point(int statement, std::string_view table, std::int32_t twp, std::int32_t rng,
               std::int32_t sec, std::int32_t tract) {
    check_index(statement, tract, 1, tracts, table, 4);
    check_index(statement, sec, 1, sections, table, 3);
    check_index(statement, rng, 1, ranges, table, 2);
    check_index(statement, twp, 1, townships, table, 1);
    const auto place = ((static_cast<std::size_t>(twp - 1) * ranges + static_cast<std::size_t>(rng - 1)) *
                            sections + static_cast<std::size_t>(sec - 1)) * tracts +
                       static_cast<std::size_t>(tract - 1);
    return points_[place];
  }

  std::array<Point, static_cast<std::size_t>(townships) * ranges * sections * tracts> points_{};
};

}  // namespace tamvek
