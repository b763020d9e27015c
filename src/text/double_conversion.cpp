#include "text/double_conversion.hpp"

#include <charconv>
#include <limits>
#include <string_view>

namespace tamvek::list_input {
namespace {

bool equals_ignoring_case(std::string_view text, std::string_view lower_word) {
  if (text.size() != lower_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((text[i] | 0x20) != lower_word[i]) return false;
  return true;
}

Conversion double_word(std::string_view word, bool negative, double& out) {
  if (equals_ignoring_case(word, "inf") || equals_ignoring_case(word, "infinity")) {
    out = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return Conversion::ok;
  }
  if (word.size() < 3 || !equals_ignoring_case(word.substr(0, 3), "nan")) return Conversion::bad_real;
  const std::string_view tail = word.substr(3);
  if (!tail.empty() && (tail.size() < 2 || tail.front() != '(' || tail.back() != ')' ||
                        tail.substr(1, tail.size() - 2).find(')') != std::string_view::npos))
    return Conversion::bad_real;
  out = negative ? -std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::quiet_NaN();
  return Conversion::ok;
}

// Beyond this the value is infinite or zero whatever the digits, as long as
// there are fewer digits than fit in memory many times over.
constexpr std::int64_t exponent_bound = 100'000;

}  // namespace

Conversion parse_double(const char* p, const char* end, double& out) {
  bool negative = false;
  if (p != end && is_sign(*p)) negative = *p++ == '-';
  if (p != end && !is_digit(*p) && *p != '.')
    return double_word({p, static_cast<std::size_t>(end - p)}, negative, out);

  const char* const number = p;
  while (p != end && is_digit(*p)) ++p;
  const char* const mantissa_end_whole = p;
  bool fraction_digits = false;
  if (p != end && *p == '.') {
    ++p;
    while (p != end && is_digit(*p)) ++p, fraction_digits = true;
  }
  const char* const mantissa_end = p;
  if (mantissa_end_whole == number && !fraction_digits)
    return p == end ? Conversion::no_digit : Conversion::bad_real;

  std::int64_t exponent = 0;
  if (p != end) {
    const char letter = static_cast<char>(*p | 0x20);
    if (letter == 'e' || letter == 'd' || letter == 'q') {
      ++p;
    } else if (!is_sign(*p)) {
      return Conversion::bad_real;
    }
    bool exponent_negative = false;
    if (p != end && is_sign(*p)) exponent_negative = *p++ == '-';
    if (p == end) return Conversion::bad_real;
    for (; p != end; ++p) {
      const unsigned digit = digit_of(*p);
      if (digit > 9) return Conversion::bad_real;
      if (exponent < exponent_bound) exponent = exponent * 10 + digit;
    }
    if (exponent_negative) exponent = -exponent;
  }

  // from_chars reads the mantissa with an exponent in E form; the exponent is
  // given to it as a number of at most six digits.
  std::string text(number, mantissa_end);
  text += 'e';
  text += std::to_string(exponent);
  double magnitude = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error == std::errc::result_out_of_range) {
    bool zero_digits = true;
    for (const char* q = number; q != mantissa_end; ++q) zero_digits = zero_digits && (*q == '0' || *q == '.');
    magnitude = exponent > 0 && !zero_digits ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || stop != text.data() + text.size()) {
    return Conversion::bad_real;
  }
  out = negative ? -magnitude : magnitude;
  return Conversion::ok;
}

}  // namespace tamvek::list_input
