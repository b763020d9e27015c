#include "text/value_conversion.hpp"

#include <limits>
#include <string_view>

#include "text/decimal_to_float.hpp"

namespace tamvek::list_input {

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
  // stand; the other exponent forms go through decimal_to_float.
  float magnitude = 0;
  const std::string_view number(text.mantissa.data(), static_cast<std::size_t>(end - text.mantissa.data()));
  if (text.exponent_by_e && plain_decimal_to_float(number, magnitude)) {
    out = text.negative ? -magnitude : magnitude;
  } else {
    out = decimal_to_float(text.negative, text.whole_digits, text.fraction_digits, text.exponent);
  }
  return Conversion::ok;
}

std::string item_text(std::size_t index) { return std::to_string(index + 1); }

std::string conversion_message(Conversion conversion, std::size_t index) {
  switch (conversion) {
    case Conversion::bad_integer: return "Bad integer for item " + item_text(index) + " in list input";
    case Conversion::integer_overflow: return "Integer overflow while reading item " + item_text(index);
    case Conversion::bad_real: return "Bad real number in item " + item_text(index) + " of list input";
    case Conversion::no_digit: return "Error during floating point read";
    case Conversion::ok: break;
  }
  return {};
}

}  // namespace tamvek::list_input
