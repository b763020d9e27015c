#include "results/number_text.hpp"

#include <charconv>
#include <cstdio>

namespace tamvek::results {

std::string shortest_decimal(float value) {
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
  return std::string(digits, result.ptr);
}

std::string decimal_text(double value, int decimals) {
  // Room for the widest double written in full, 309 digits before the point.
  char digits[400];
  const auto result = decimals < 0
      ? std::to_chars(digits, digits + sizeof digits, value)
      : std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  return std::string(digits, result.ptr);
}

std::string tenths_text(std::int64_t tenths) {
  // The magnitude as unsigned, so that the most negative value has one too.
  const std::uint64_t magnitude = tenths < 0 ? 0 - static_cast<std::uint64_t>(tenths)
                                             : static_cast<std::uint64_t>(tenths);
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

std::string ten_digits(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace tamvek::results
