#include "text/value_conversion.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace tamvek::list_input {
namespace {

// Beyond these powers of ten for its leading digit a number is infinite or
// zero as a float (10^39 > the largest float; 10^-46 < half the smallest
// denormal).
constexpr std::int64_t largest_leading_power = 38;
constexpr std::int64_t smallest_leading_power = -46;

float signed_value(bool negative, float magnitude) { return negative ? -magnitude : magnitude; }

}  // namespace

float decimal_to_float(bool negative, std::string_view whole, std::string_view fraction, std::int64_t exponent) {
  exponent = std::clamp(exponent, -decimal_exponent_limit, decimal_exponent_limit);
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.empty()) {
    const std::size_t fraction_zeros = std::min(fraction.find_first_not_of('0'), fraction.size());
    fraction.remove_prefix(fraction_zeros);
    if (fraction.empty()) return signed_value(negative, 0.0f);
    exponent -= static_cast<std::int64_t>(fraction_zeros);  // 0.00ddd is 0.ddd × 10^-2
  }
  // The power of ten of the leading nonzero digit.
  const std::int64_t leading = whole.empty() ? exponent - 1 : exponent + static_cast<std::int64_t>(whole.size()) - 1;
  const float infinity = std::numeric_limits<float>::infinity();
  if (leading > largest_leading_power) return signed_value(negative, infinity);
  if (leading < smallest_leading_power) return signed_value(negative, 0.0f);

  std::string text;
  text.reserve(whole.size() + fraction.size() + 24);
  text.append(whole).append(".").append(fraction).append("e").append(std::to_string(exponent));
  float magnitude = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  // Out of range: too large for a float when the leading digit stands at 10^0
  // or above, else too small for one.
  if (error == std::errc::result_out_of_range) magnitude = leading >= 0 ? infinity : 0.0f;
  return signed_value(negative, magnitude);
}

Conversion parse_integer(const char* p, const char* end, std::int32_t& out) {
  bool negative = false;
  if (p != end && is_sign(*p)) negative = *p++ == '-';
  if (p == end) return Conversion::bad_integer;
  std::uint64_t magnitude = 0;
  for (; p != end; ++p) {
    const unsigned digit = digit_of(*p);
    if (digit > 9) return Conversion::bad_integer;
    // Past the range only the syntax of the rest matters; the magnitude stays put.
    if (magnitude <= std::uint64_t{1} << 31) magnitude = magnitude * 10 + digit;
  }
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  if (magnitude > limit) return Conversion::integer_overflow;
  const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  out = static_cast<std::int32_t>(value);
  return Conversion::ok;
}

Conversion split_real(const char* p, const char* end, RealText& text) {
  text = RealText{};
  if (p != end && is_sign(*p)) text.negative = *p++ == '-';
  if (p != end && !is_digit(*p) && *p != '.') {
    text.word = {p, static_cast<std::size_t>(end - p)};
    return Conversion::ok;
  }
  const char* const number = p;
  while (p != end && is_digit(*p)) ++p;
  text.whole_digits = {number, static_cast<std::size_t>(p - number)};
  if (p != end && *p == '.') {
    const char* fraction = ++p;
    while (p != end && is_digit(*p)) ++p;
    text.fraction_digits = {fraction, static_cast<std::size_t>(p - fraction)};
  }
  text.mantissa = {number, static_cast<std::size_t>(p - number)};
  if (text.whole_digits.empty() && text.fraction_digits.empty())
    return p == end ? Conversion::no_digit : Conversion::bad_real;
  if (p == end) return Conversion::ok;
  // An exponent letter with an optional sign, or a sign alone.
  switch (*p | 0x20) {
    case 'e': ++p; break;
    case 'd': case 'q': ++p, text.exponent_by_e = false; break;
    default:
      if (!is_sign(*p)) return Conversion::bad_real;
      text.exponent_by_e = false;
  }
  bool exponent_negative = false;
  if (p != end && is_sign(*p)) exponent_negative = *p++ == '-';
  if (p == end) return Conversion::bad_real;
  std::int64_t exponent = 0;
  for (; p != end; ++p) {
    const unsigned digit = digit_of(*p);
    if (digit > 9) return Conversion::bad_real;
    if (exponent < decimal_exponent_limit) exponent = exponent * 10 + digit;
  }
  text.exponent = exponent_negative ? -exponent : exponent;
  return Conversion::ok;
}

Conversion parse_real(const char* p, const char* end, float& out) {
  RealText text;
  if (const Conversion split = split_real(p, end, text); split != Conversion::ok) return split;
  if (!text.word.empty()) return parse_real_word(text.word, text.negative, out);
  // Digits with a point, and an exponent written with E, are read as they
  // stand; the other exponent forms, and values beyond the float range, go
  // through decimal_to_float.
  if (text.exponent_by_e) {
    float magnitude = 0;
    const auto [stop, error] = std::from_chars(text.mantissa.data(), end, magnitude);
    if (error == std::errc{} && stop == end) {
      out = text.negative ? -magnitude : magnitude;
      return Conversion::ok;
    }
  }
  out = decimal_to_float(text.negative, text.whole_digits, text.fraction_digits, text.exponent);
  return Conversion::ok;
}

}  // namespace tamvek::list_input
