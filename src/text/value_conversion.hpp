#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace tamvek::list_input {

// The characters that shape list-directed input.
inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_sign(char c) { return c == '+' || c == '-'; }
inline unsigned digit_of(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }
inline bool is_digit(char c) { return digit_of(c) <= 9; }

// How the text of one value converts for its variable.
enum class Conversion { ok, bad_integer, integer_overflow, bad_real, no_digit };

// The value [p, end) as an integer: an optional sign and decimal digits, from
// -2147483648 to 2147483647.
Conversion parse_integer(const char* p, const char* end, std::int32_t& out);

// A real's text as the grammar of list input splits it: sign, digits with at
// most one decimal point, and an exponent given by E, D or Q with an optional
// sign or by a sign alone (1.5+3 is 1500); or, after the sign, a word that
// begins with neither a digit nor a point (INF, NAN).
struct RealText {
  bool negative = false;
  std::string_view word;             // the word, or empty
  std::string_view mantissa;         // the digits and the point, as written
  std::string_view whole_digits, fraction_digits;  // before and after the point
  std::int64_t exponent = 0;         // at most decimal_exponent_limit in size
  bool exponent_by_e = true;         // no exponent, or one written with E
};

// Splits [p, end). A text of nothing but a sign and a point holds no digit,
// which is a failure of its own; any other text without digits before the
// exponent (".e5") is a bad real.
Conversion split_real(const char* p, const char* end, RealText& text);

// INF, INFINITY, NAN and NAN(text), in any case; nothing may follow them.
template <class Real>
Conversion parse_real_word(std::string_view word, bool negative, Real& out) {
  const auto is_word = [](std::string_view text, std::string_view lower_word) {
    return std::ranges::equal(text, lower_word, [](char c, char lower) { return (c | 0x20) == lower; });
  };
  if (is_word(word, "inf") || is_word(word, "infinity")) {
    const Real infinity = std::numeric_limits<Real>::infinity();
    out = negative ? -infinity : infinity;
    return Conversion::ok;
  }
  if (word.size() < 3 || !is_word(word.substr(0, 3), "nan")) return Conversion::bad_real;
  const std::string_view tail = word.substr(3);
  if (!tail.empty() && (tail.size() < 2 || tail.front() != '(' || tail.back() != ')' ||
                        tail.substr(1, tail.size() - 2).find(')') != std::string_view::npos))
    return Conversion::bad_real;
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  out = negative ? -nan : nan;
  return Conversion::ok;
}

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
float decimal_to_float(bool negative, std::string_view whole, std::string_view fraction, std::int64_t exponent);

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

// The value [p, end) as a real, converted to the nearest float.
Conversion parse_real(const char* p, const char* end, float& out);

}  // namespace tamvek::list_input
