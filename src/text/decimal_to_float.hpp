#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace tamvek {

// Beyond this exponent any digit string that fits in memory is infinite or
// zero as a float; exponents are clamped to it, so that arithmetic on them
// cannot overflow.
inline constexpr std::int64_t decimal_exponent_limit = 1'000'000'000'000'000;

// The float nearest to a decimal number, ties to even, converted directly from
// the decimal digits (never through a wider binary type). The number is
// ±(whole.fraction) × 10^exponent, where `whole` and `fraction` hold decimal
// digits only, either may be empty, and leading or trailing zeros are allowed.
// Magnitudes beyond the float range give infinity; those at or below half the
// smallest denormal give zero (with the sign kept).
float decimal_to_float(bool negative, std::string_view whole, std::string_view fraction,
                       std::int64_t exponent);

// The float nearest to number / 10^fraction_digits for the commonest reals,
// those of up to 15 digits: false, with `out` untouched, for the others. The
// double quotient of two exact doubles is the nearest double q to the exact
// value x. A point halfway between two floats has 25 significant bits, so it
// is a double itself, and rounding to the nearest double keeps x and q on the
// same side of it unless q is that point; q's nearest float is then x's.
// When q lies on such a point (the 29 bits below a float's last one hold
// exactly their half), x may lie on either side, and the general conversion
// settles it.
inline bool short_decimal_to_float(std::uint64_t number, int fraction_digits, float& out) {
  static constexpr std::array<double, 16> powers_of_ten = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (number >= std::uint64_t{1'000'000'000'000'000} || fraction_digits < 0 || fraction_digits > 15) return false;
  const double quotient = static_cast<double>(number) / powers_of_ten[static_cast<std::size_t>(fraction_digits)];
  constexpr std::uint64_t dropped_bits = (std::uint64_t{1} << 29) - 1;
  constexpr std::uint64_t half = std::uint64_t{1} << 28;
  if ((std::bit_cast<std::uint64_t>(quotient) & dropped_bits) == half) return false;
  out = static_cast<float>(quotient);
  return true;
}

// The float nearest to the digits of `text`, an unsigned decimal number that
// std::from_chars reads whole (digits with at most one point, an optional
// exponent written with E); false when it does not read it whole or the value
// lies outside the float range, where decimal_to_float settles it.
bool plain_decimal_to_float(std::string_view text, float& out);

}  // namespace tamvek
