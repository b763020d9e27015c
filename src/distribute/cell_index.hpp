#pragma once

#include <cstdint>

#include "records/extended.hpp"

namespace tamvek {

// The column or row (counted from 1) of a point `offset` from the grid's left
// or top edge, in cells of `size`: the quotient plus 1, kept at extended
// precision and truncated toward zero. A value that does not fit in a 32-bit
// integer, or is not a number, gives the most negative integer, which lies
// outside every grid.
[[gnu::noinline]] inline std::int32_t extended_cell_index(float offset, float size) {
  const extended place = static_cast<extended>(offset) / size + 1;
  if (!(place > -2147483649.0L && place < 2147483648.0L)) return INT32_MIN;
  return static_cast<std::int32_t>(place);
}

// The same index, mostly found in double precision, which is quicker: the
// quotient of two floats never overflows or underflows a double, so the double
// quotient plus 1 and the extended one each lie within 2^-53 (2^-64) of
// |q| + |q + 1| of the exact value r = q + 1; below 2^31 that is within
// 2^-21 of r for both. When the double value lies more than 2^-20 from every
// whole number, r lies more than 2^-21 from every one, and the extended value,
// closer to r still, truncates to the same whole number. The rest (values on
// or near a cell's edge, out of range, not a number) take the extended way.
inline std::int32_t cell_index(float offset, float size) {
  constexpr double margin = 0x1p-20;
  const double place = static_cast<double>(offset) / size + 1;
  if (place > -2147483648.0 && place < 2147483648.0) [[likely]] {
    const auto whole = static_cast<std::int32_t>(place);
    const double fraction = place - whole;  // exact: both lie on the grid of place's last bit
    if (fraction > margin ? fraction < 1 - margin : fraction < -margin && fraction > margin - 1)
      [[likely]] return whole;
  }
  return extended_cell_index(offset, size);
}

}  // namespace tamvek
