#pragma once

#include <array>
#include <bit>
#include <cstddef>
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

// The float nearest to ±(m + f) × 2^scale, where m has its top bit set and
// 0 <= f < 2^z, with f nonzero exactly when `inexact`, for an m whose lowest
// z bits are 0 (z up to 39: an m that was shifted up to have its top bit set).
// Below the 24 bits kept, such an m and f fall short of, reach or pass half of
// the last bit kept exactly when the unshifted value does. The value must be
// at least the smallest normal float; beyond the largest it gives infinity.
inline float round_to_float(bool negative, std::uint64_t m, std::int64_t scale, bool inexact) {
  constexpr int dropped_bits = 64 - 24;
  constexpr std::uint64_t half = std::uint64_t{1} << (dropped_bits - 1);
  constexpr std::uint64_t infinity_bits = 0x7F80'0000;
  std::uint64_t q = m >> dropped_bits;
  const std::uint64_t rest = m & ((std::uint64_t{1} << dropped_bits) - 1);
  // Without branches: whether to round up is as good as random.
  q += static_cast<std::uint64_t>((rest > half) | ((rest == half) & (inexact | ((q & 1) != 0))));
  // The value is now q × 2^(scale + 40), whose biased exponent is
  // scale + 40 + 150; q carries the hidden bit, which adds one to the field.
  std::uint64_t bits = q + (static_cast<std::uint64_t>(scale + dropped_bits + 149) << 23);
  bits = bits > infinity_bits ? infinity_bits : bits;
  return std::bit_cast<float>(static_cast<std::uint32_t>(bits) | (negative ? 0x8000'0000u : 0u));
}

// The float nearest to ±significand / 10^k, ties to even, for a nonzero
// significand below 2^64 and k from 0 to 15: significand / 5^k × 2^-k, where
// 5^k is below 2^35, so that the significand with its top bit set, divided by
// 5^k, leaves a quotient of at least 29 bits, and the remainder tells whether
// anything is left below it.
//
// The quotient is the top half of the normalized significand n times
// r = ceil(2^128 / 5^k): n × r / 2^128 exceeds n / 5^k by less than 2^-64,
// while the fraction of n / 5^k is at most 1 - 5^-k, short of the next whole
// number by far more; so its floor is the exact quotient, without a division.
inline float quotient_to_float(bool negative, std::uint64_t significand, int k) {
  __extension__ typedef unsigned __int128 Wide;
  struct Reciprocal {
    std::uint64_t power_of_five;
    std::uint64_t high;
    std::uint64_t low;
  };
  static constexpr std::array<Reciprocal, 16> reciprocals = [] {
    std::array<Reciprocal, 16> table{};
    std::uint64_t power = 1;
    for (Reciprocal& entry : table) {
      // For 5^0 the entry is unused: the quotient is the significand itself.
      const Wide reciprocal = power == 1 ? 0 : ~Wide{0} / power + 1;
      entry = {power, static_cast<std::uint64_t>(reciprocal >> 64), static_cast<std::uint64_t>(reciprocal)};
      power *= 5;
    }
    return table;
  }();
  const int zeros = std::countl_zero(significand);
  const std::uint64_t normalized = significand << zeros;
  std::uint64_t quotient = normalized;
  bool inexact = false;
  if (k != 0) {
    const Reciprocal& divisor = reciprocals[static_cast<std::size_t>(k)];
    const Wide low = Wide{normalized} * divisor.low;
    quotient = static_cast<std::uint64_t>((Wide{normalized} * divisor.high + (low >> 64)) >> 64);
    inexact = normalized - quotient * divisor.power_of_five != 0;
  }
  const int quotient_zeros = std::countl_zero(quotient);
  return round_to_float(negative, quotient << quotient_zeros, -zeros - k - quotient_zeros, inexact);
}

// The float nearest to n / 10^k for n below 2^53 and k from 0 to 22, taken
// from one double product when that settles it; false, with `out` untouched,
// for the others. The product d of n and the double nearest to 10^-k is off
// the exact quotient x by less than 2 units of d's last bit (two roundings of
// at most 2^-53 each, and x below twice d's power of two). The float nearest
// to x is that nearest to d unless a point halfway between two floats lies
// between them or on one of them; such a point, a float with one bit more,
// is where the 29 bits that a float drops from a double hold exactly their
// half. So when those bits of d are more than 2 units from their half, d
// rounded to float is the answer.
inline bool product_to_float(std::uint64_t n, int k, float& out) {
  static constexpr std::array<double, 23> reciprocals = {
      1e0,   1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,  1e-9,  1e-10, 1e-11,
      1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21, 1e-22};
  if (n >= std::uint64_t{1} << 53 || k < 0 || k > 22) return false;
  const double d = static_cast<double>(static_cast<std::int64_t>(n)) * reciprocals[static_cast<std::size_t>(k)];
  constexpr std::uint64_t dropped = (std::uint64_t{1} << 29) - 1;
  constexpr std::uint64_t half = std::uint64_t{1} << 28;
  if ((std::bit_cast<std::uint64_t>(d) & dropped) - (half - 2) <= 4) return false;
  out = static_cast<float>(d);
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
