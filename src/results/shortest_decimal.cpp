#include "results/shortest_decimal.hpp"

#include <charconv>

namespace tamvek::results {

std::string shortest_decimal(float value) {
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
  return std::string(digits, result.ptr);
}

}  // namespace tamvek::results
