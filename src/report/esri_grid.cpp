#include "report/esri_grid.hpp"

#include "results/array_field.hpp"
#include "results/number_text.hpp"

namespace tamvek::report {

using results::Layer;
using results::no_value;
using results::value_text;
using results::shortest_decimal;

std::string esri_grid(const Grid& grid, const std::vector<bool>& active, const Layer& layer) {
  // Lines end with LF alone: GDAL and the GIS built on it read LF and CR LF alike.
  std::string text = "ncols " + std::to_string(grid.nx) + "\nnrows " + std::to_string(grid.ny) +
                     "\nxllcorner " + shortest_decimal(grid.xg0) + "\nyllcorner " +
                     shortest_decimal(grid.yg0) + "\n";
  if (grid.gdx == grid.gdy)
    text += "cellsize " + shortest_decimal(grid.gdx) + "\n";
  else
    text += "dx " + shortest_decimal(grid.gdx) + "\ndy " + shortest_decimal(grid.gdy) + "\n";
  text += "NODATA_value " + std::string(grid_no_data) + "\n";

  text.reserve(text.size() + layer.tenths.size() * 5);
  const auto nx = static_cast<std::size_t>(grid.nx);
  for (std::size_t cell = 0; cell < layer.tenths.size(); ++cell) {
    if (!active[cell] || layer.tenths[cell] == no_value)
      text += grid_no_data;
    else
      text += value_text(layer, cell);
    text += (cell + 1) % nx == 0 ? '\n' : ' ';
  }
  return text;
}

}  // namespace tamvek::report
