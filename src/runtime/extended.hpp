#pragma once

#include <limits>

namespace tamvek {

// Intermediate results that the run keeps with a 64-bit significand before they
// are rounded to float where stored (cell sums, grid edges, cell centres).
using extended = long double;
static_assert(std::numeric_limits<extended>::digits == 64, "extended must carry a 64-bit significand");

// A stored total plus the product of two floats: the product is exact at
// extended precision and only the sum is rounded to float, once, as stored.
inline float add_exact_product(float total, float factor, float amount) {
  return static_cast<float>(static_cast<extended>(factor) * amount + total);
}

}  // namespace tamvek
