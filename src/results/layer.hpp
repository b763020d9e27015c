#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamvek::results {

// One array of a finished year, or a sum of them: a month's recharge, the
// season's or the acreage.
// Cells in cell order: row by row from the top left, as the arrays hold them.
struct Layer {
  std::string id;                   // "05" .. "10", "season", "acres"
  std::string title;
  std::optional<std::string> file;  // the array it was read from, as formed
  std::vector<std::int32_t> tenths; // each cell's value in tenths, or no_value
  // The arrays' six-character fields, cell after cell, so that the grids give
  // each value exactly as written; empty for the season, made from the months.
  std::string fields;
};

// The text of a cell's value as a grid gives it: the field as written,
// trimmed, or the tenths with one decimal. Not for cells without a value.
std::string value_text(const Layer& layer, std::size_t cell);

// The May-to-October total: the months' tenths added exactly, without a value
// where any month has none.
Layer season_of(const std::vector<Layer>& months);

}  // namespace tamvek::results
