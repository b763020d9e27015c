#include "modflow/double_conversion.hpp"

#include <charconv>
#include <limits>
#include <string>

namespace tamvek::list_input {

Conversion parse_double(const char* p, const char* end, double& out) {
  RealText text;
  if (const Conversion split = split_real(p, end, text); split != Conversion::ok) return split;
  if (!text.word.empty()) return parse_real_word(text.word, text.negative, out);
  // from_chars reads the digits with the exponent in E form, whichever form
  // the text gave it.
  std::string number(text.mantissa);
  number += 'e';
  number += std::to_string(text.exponent);
  double magnitude = 0;
  const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), magnitude);
  if (error == std::errc::result_out_of_range) {
    const bool zero_digits = text.mantissa.find_first_not_of("0.") == std::string_view::npos;
    magnitude = text.exponent > 0 && !zero_digits ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || stop != number.data() + number.size()) {
    return Conversion::bad_real;
  }
  out = text.negative ? -magnitude : magnitude;
  return Conversion::ok;
}

}  // namespace tamvek::list_input
