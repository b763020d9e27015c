#pragma once

#include <cstdint>

#include "runtime/extended.hpp"

namespace tamvek {

// The column or row (counted from 1) of a point `offset` from the grid's left
// or top edge, in cells of `size`: the quotient plus 1, kept at extended
// precision and truncated toward zero. A value that does not fit in a 32-bit
// integer, or is not a number, gives the most negative integer, which lies
// outside every grid.
[[gnu::noinline]] inline std::int32_t cell_index(float offset, float size) {
  const extended place = static_cast<extended>(offset) / size + 1;
  if (!(place > -2147483649.0L && place < 2147483648.0L)) return INT32_MIN;
  return static_cast<std::int32_t>(place);
}

// The cells along one axis of the grid, indexed as cell_index does but
// mostly in double precision, with the reciprocal of the cell size, which is
// quicker. No float quotient, reciprocal or product overflows or underflows a
// double, so the double value of the quotient q plus 1 is off the exact
// r = q + 1 by little more than 2^-52 of |q| plus 2^-53 of |r|, the extended
// one by at most 2^-64 of each; below 2^31 that is less than 2^-20 and 2^-32.
// When the double value lies more than 2^-18 from every whole number, r lies
// more than 2^-19 from every one, and the extended value, truncated, gives
// the same whole number. The rest (points on or next to a cell's edge, out of
// range, not a number) take the extended way.
class CellAxis {
 public:
  explicit CellAxis(float size) : size_(size), reciprocal_(1.0 / size) {}

  std::int32_t index(float offset) const {
    constexpr double margin = 0x1p-18;
    const double place = offset * reciprocal_ + 1;
    if (place > -2147483648.0 && place < 2147483648.0) [[likely]] {
      const auto whole = static_cast<std::int32_t>(place);
      const double fraction = place - whole;  // exact: both lie on the grid of place's last bit
      if (fraction > margin ? fraction < 1 - margin : fraction < -margin && fraction > margin - 1)
        [[likely]] return whole;
    }
    return cell_index(offset, size_);
  }

 private:
  float size_;
  double reciprocal_;
};

}  // namespace tamvek
