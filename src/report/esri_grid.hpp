#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "results/layer.hpp"
#include "state/run_state.hpp"

namespace tamvek::report {

// The value GIS software takes for "no value": inactive cells and fields
// written without a value. No one-decimal field can be -9999.
inline constexpr std::string_view grid_no_data = "-9999";

// A layer as an ESRI ASCII grid: the header (lower-left corner at xg0, yg0;
// one cell size, or dx and dy when the cells are not square), then the rows
// top row first. `active` holds one flag a cell, in cell order.
std::string esri_grid(const Grid& grid, const std::vector<bool>& active, const results::Layer& layer);

}  // namespace tamvek::report
