#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "modflow/model_grid.hpp"

namespace tamvek::modflow {

// The form of the file that shows a regridded month over tamvek's grid in a
// GIS. An ESRI ASCII grid has no rotation and one cell width and height, so
// it lies where the model's cells lie only for a structured grid whose rows
// and columns each have one spacing and whose ANGROT is a whole turn. Any
// other grid (varying DELR or DELC, rotated, DISV) is written as a CSV of its
// cells' centres on the map, which a GIS places exactly.
enum class GridFileForm { esri_ascii, csv };
GridFileForm grid_file_form(const ModelGrid& grid);

// The value a GIS takes for "no value": the columns without an active cell.
inline constexpr std::string_view no_data = "-9999";

// The ESRI ASCII grid of one value per model cell (cell order, rows from the
// top): lower-left corner at XORIGIN, YORIGIN; `cellsize`, or `dx` and `dy`
// when the cells are not square. Only for a grid of that form.
std::string esri_ascii_grid(const ModelGrid& grid, std::span<const double> values,
                            std::span<const std::uint8_t> active);

// A CSV with a header line, then per model cell: its number from 1 (DIS: row
// by row from the top left), the x and y of its centre on the map, its value.
std::string cell_csv(const ModelGrid& grid, std::span<const double> values,
                     std::span<const std::uint8_t> active);

}  // namespace tamvek::modflow
