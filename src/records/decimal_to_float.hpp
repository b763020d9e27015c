#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tamvek {

// The common short case, done in float arithmetic: a significand below 2^24
// and a power of ten up to 10^10 are both exact floats, so one multiplication
// or division rounds the exact value once, to nearest with ties to even.
// False, with `out` untouched, for numbers outside that case.
inline bool short_decimal_to_float(bool negative, std::uint64_t significand, std::int64_t exponent,
                                   float& out) {
  static constexpr std::array<float, 11> powers = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                   1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  if (significand >= (std::uint64_t{1} << 24) || exponent < -10 || exponent > 10) return false;
  const float base = static_cast<float>(significand);
  const float power = powers[static_cast<std::size_t>(exponent < 0 ? -exponent : exponent)];
  const float magnitude = exponent < 0 ? base / power : base * power;
  out = negative ? -magnitude : magnitude;
  return true;
}

// The float nearest to ±significand × 10^exponent, ties to even, for any
// significand below 2^64 (zero included) and exponents from -27 to 27: the
// cases that exact integer arithmetic of 128 bits settles, since 5^27 < 2^64.
// False, with `out` untouched, for exponents outside that range.
bool word_decimal_to_float(bool negative, std::uint64_t significand, std::int64_t exponent, float& out);

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
