#pragma once

#include <limits>

namespace tamvek {

// Intermediate results that the run keeps with a 64-bit significand before they
// are rounded to float where stored (cell sums, grid edges, cell centres).
using extended = long double;
static_assert(std::numeric_limits<extended>::digits == 64,
              "extended must carry a 64-bit significand");

}  // namespace tamvek
