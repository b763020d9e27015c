#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::results {

// One array of a finished year, or a sum of them: a month's recharge, the
// season's or the acreage.
// Cells in cell order: row by row from the top left, as the arrays hold them.
struct Layer {
  Layer() = default;
  Layer(std::string its_id, std::optional<std::string> its_file)
      : id(std::move(its_id)), file(std::move(its_file)) {}

  std::string id;                   // "05" .. "10", "season", "acres"
  std::optional<std::string> file;  // the array it was read from, as formed
  std::vector<std::int32_t> tenths; // each cell's value in tenths, or no_value
  // The arrays' six-character fields, cell after cell, so that the grids give
  // each value exactly as written; empty for the season, made from the months.
  std::string fields;
};

// The ids of the layers besides the months, whose ids are their numbers ("05").
inline constexpr std::string_view season_id = "season";
inline constexpr std::string_view acreage_id = "acres";

// The text of a cell's value as a grid gives it: the field as written,
// trimmed, or the tenths with one decimal. Not for cells without a value.
std::string value_text(const Layer& layer, std::size_t cell);

// The May-to-October total: the months' tenths added exactly, without a value
// where any month has none.
Layer season_of(const std::vector<Layer>& months);

}  // namespace tamvek::results
