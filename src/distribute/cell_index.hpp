#pragma once

#include <cstdint>

#include "runtime/extended.hpp"

namespace tamvek {

// The column or row (counted from 1) of a point `offset` from the grid's left
// or top edge, in cells of `size`: the quotient plus 1, kept at extended
// precision and truncated toward zero. A value that does not fit in a 32-bit
// integer, or is not a number, gives the most negative integer, which lies
// outside every grid.
inline std::int32_t cell_index(float offset, float size) {
  const extended place = static_cast<extended>(offset) / size + 1;
  if (!(place > -2147483649.0L && place < 2147483648.0L)) return INT32_MIN;
  return static_cast<std::int32_t>(place);
}

}  // namespace tamvek
