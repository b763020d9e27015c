#include "results/layer.hpp"

#include "results/array_field.hpp"
#include "results/number_text.hpp"
#include "text/f61_write.hpp"

namespace tamvek::results {

std::string value_text(const Layer& layer, std::size_t cell) {
  if (!layer.fields.empty()) {
    std::string_view field(layer.fields.data() + cell * f61_field_width, f61_field_width);
    field.remove_prefix(field.find_first_not_of(' '));
    return std::string(field);
  }
  return tenths_text(layer.tenths[cell]);
}

Layer season_of(const std::vector<Layer>& months) {
  Layer season(std::string(season_id), std::nullopt);
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
