#include "modflow/array_text.hpp"

#include <charconv>

namespace tamvek::modflow {

std::string_view array_text(std::span<const double> values, std::size_t values_per_row,
                            std::string& buffer) {
  constexpr std::size_t per_line = 10;
  constexpr std::size_t longest = 25;  // "-2.2250738585072014e-308" and its separator
  if (buffer.size() < values.size() * longest) buffer.resize(values.size() * longest);
  char* out = buffer.data();
  char* const end = buffer.data() + buffer.size();
  std::size_t column = 0;
  for (const double value : values) {
    if (value == 0) {
      *out++ = '0';  // also -0.0, which MODFLOW reads as 0 alike
    } else {
      out = std::to_chars(out, end, value).ptr;
    }
    ++column;
    const bool row_ends = column == values_per_row;
    *out++ = row_ends || column % per_line == 0 ? '\n' : ' ';
    if (row_ends) column = 0;
  }
  if (out != buffer.data()) out[-1] = '\n';  // a last row cut short ends its line too
  return {buffer.data(), static_cast<std::size_t>(out - buffer.data())};
}

}  // namespace tamvek::modflow
