#include "results/layer.hpp"

#include <cstdlib>

#include "results/array_field.hpp"

namespace tamvek::results {

std::string value_text(const Layer& layer, std::size_t cell) {
  if (!layer.fields.empty()) {
    std::string_view field(layer.fields.data() + cell * 6, 6);
    field.remove_prefix(field.find_first_not_of(' '));
    return std::string(field);
  }
  const std::int32_t tenths = layer.tenths[cell];
  const std::int32_t magnitude = std::abs(tenths);
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

Layer season_of(const std::vector<Layer>& months) {
  Layer season{"season", "May to October recharge", std::nullopt, {}, {}};
  season.tenths.assign(months.front().tenths.size(), 0);
  for (const Layer& month : months)
    for (std::size_t cell = 0; cell < season.tenths.size(); ++cell) {
      std::int32_t& sum = season.tenths[cell];
      sum = sum == no_value || month.tenths[cell] == no_value ? no_value
                                                              : sum + month.tenths[cell];
    }
  return season;
}

}  // namespace tamvek::results
