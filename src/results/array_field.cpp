#include "results/array_field.hpp"

#include "text/f61_write.hpp"

namespace tamvek::results {

std::optional<std::int32_t> field_tenths(std::string_view field) {
  if (field.size() != f61_field_width) return std::nullopt;
  if (field == "******" || field == "   Inf" || field == "  -Inf" || field == "   NaN")
    return no_value;

  // Right-justified: blanks, an optional minus, digits, the point, one digit.
  std::size_t at = field.find_first_not_of(' ');
  if (at == std::string_view::npos) return std::nullopt;
  const bool negative = field[at] == '-';
  if (negative) ++at;
  const std::size_t point = field.size() - 2;
  if (field[point] != '.' || at >= point) return std::nullopt;
  std::int32_t tenths = 0;
  for (std::size_t i = at; i < field.size(); ++i) {
    if (i == point) continue;
    if (field[i] < '0' || field[i] > '9') return std::nullopt;
    tenths = tenths * 10 + (field[i] - '0');
  }
  return negative ? -tenths : tenths;
}

}  // namespace tamvek::results
