#pragma once

#include <cstdint>
#include <string_view>

namespace tamvek {

// The float nearest to a decimal number, ties to even, computed directly from
// the decimal digits (never through a wider binary type). The number is
// ±(whole.fraction) × 10^exponent, where `whole` and `fraction` hold decimal
// digits only, either may be empty, and leading or trailing zeros are allowed.
// Magnitudes beyond the float range give infinity; those at or below half the
// smallest denormal give zero (with the sign kept).
float decimal_to_float(bool negative, std::string_view whole, std::string_view fraction,
                       std::int64_t exponent);

// ±digits × 10^exponent.
inline float decimal_to_float(bool negative, std::string_view digits, std::int64_t exponent) {
  return decimal_to_float(negative, digits, {}, exponent);
}

}  // namespace tamvek
