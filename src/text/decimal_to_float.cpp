#include "text/decimal_to_float.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace tamvek {
namespace {

// Beyond these powers of ten for its leading digit a number is infinite or
// zero as a float (10^39 > the largest float; 10^-46 < half the smallest
// denormal).
constexpr std::int64_t largest_leading_power = 38;
constexpr std::int64_t smallest_leading_power = -46;

float signed_value(bool negative, float magnitude) { return negative ? -magnitude : magnitude; }

}  // namespace

bool plain_decimal_to_float(std::string_view text, float& out) {
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, out);
  return error == std::errc{} && stop == end;
}

float decimal_to_float(bool negative, std::string_view whole, std::string_view fraction,
                       std::int64_t exponent) {
  exponent = std::clamp(exponent, -decimal_exponent_limit, decimal_exponent_limit);
  const std::size_t whole_zeros = std::min(whole.find_first_not_of('0'), whole.size());
  whole.remove_prefix(whole_zeros);
  std::size_t fraction_zeros = 0;
  if (whole.empty()) {
    fraction_zeros = std::min(fraction.find_first_not_of('0'), fraction.size());
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

}  // namespace tamvek
