#include "text/value_conversion.hpp"

#include <limits>
#include <string_view>

#include "text/decimal_to_float.hpp"

namespace tamvek::list_input {
namespace {

bool equals_ignoring_case(std::string_view text, std::string_view lower_word) {
  if (text.size() != lower_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((text[i] | 0x20) != lower_word[i]) return false;
  return true;
}

// INF, INFINITY, NAN and NAN(text), in any case; nothing may follow them.
Conversion parse_word(std::string_view word, bool negative, float& out) {
  if (equals_ignoring_case(word, "inf") || equals_ignoring_case(word, "infinity")) {
    const float infinity = std::numeric_limits<float>::infinity();
    out = negative ? -infinity : infinity;
    return Conversion::ok;
  }
  if (word.size() < 3 || !equals_ignoring_case(word.substr(0, 3), "nan")) return Conversion::bad_real;
  const std::string_view tail = word.substr(3);
  if (!tail.empty() && (tail.size() < 2 || tail.front() != '(' || tail.back() != ')' ||
                        tail.substr(1, tail.size() - 2).find(')') != std::string_view::npos))
    return Conversion::bad_real;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  out = negative ? -nan : nan;
  return Conversion::ok;
}

}  // namespace

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

// A real: sign, digits with at most one decimal point, and an exponent given by
// E, D or Q with an optional sign or by a sign alone (1.5+3 is 1500). A text of
// nothing but a sign and a point holds no digit, which is a failure of its own;
// any other text without digits before the exponent (".e5") is a bad real.
Conversion parse_real(const char* p, const char* end, float& out) {
  bool negative = false;
  if (p != end && is_sign(*p)) negative = *p++ == '-';
  if (p != end && !is_digit(*p) && *p != '.')
    return parse_word({p, static_cast<std::size_t>(end - p)}, negative, out);

  const char* const number = p;
  while (p != end && is_digit(*p)) ++p;
  const std::string_view whole_digits(number, static_cast<std::size_t>(p - number));
  std::string_view fraction_digits;
  if (p != end && *p == '.') {
    const char* fraction = ++p;
    while (p != end && is_digit(*p)) ++p;
    fraction_digits = {fraction, static_cast<std::size_t>(p - fraction)};
  }
  if (whole_digits.empty() && fraction_digits.empty())
    return p == end ? Conversion::no_digit : Conversion::bad_real;

  std::int64_t exponent = 0;
  // Digits with a point, and an exponent written with E, are read as they
  // stand; the other exponent forms go through decimal_to_float.
  bool as_written = true;
  if (p != end) {
    // An exponent letter with an optional sign, or a sign alone.
    switch (*p | 0x20) {
      case 'e': ++p; break;
      case 'd': case 'q': ++p, as_written = false; break;
      default:
        if (!is_sign(*p)) return Conversion::bad_real;
        as_written = false;
    }
    bool exponent_negative = false;
    if (p != end && is_sign(*p)) exponent_negative = *p++ == '-';
    if (p == end) return Conversion::bad_real;
    for (; p != end; ++p) {
      const unsigned digit = digit_of(*p);
      if (digit > 9) return Conversion::bad_real;
      if (exponent < decimal_exponent_limit) exponent = exponent * 10 + digit;
    }
    if (exponent_negative) exponent = -exponent;
  }
  float magnitude = 0;
  if (as_written && plain_decimal_to_float({number, static_cast<std::size_t>(end - number)}, magnitude)) {
    out = negative ? -magnitude : magnitude;
  } else {
    out = decimal_to_float(negative, whole_digits, fraction_digits, exponent);
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
