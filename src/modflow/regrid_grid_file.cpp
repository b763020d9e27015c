#include "modflow/regrid_grid_file.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tamvek::modflow {
namespace {

// The shortest decimal that reads back as the same double.
void append_number(std::string& text, double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, result.ptr);
}

bool uniform(const std::vector<double>& spacing) {
  return std::all_of(spacing.begin(), spacing.end(), [&](double width) { return width == spacing.front(); });
}

void require_one_a_cell(const ModelGrid& grid, std::span<const double> values, std::span<const std::uint8_t> active) {
  if (values.size() != grid.cell_count() || active.size() != grid.cell_count()) {
    throw std::invalid_argument("a grid file needs one value and one flag for each model cell");
  }
}

}  // namespace

GridFileForm grid_file_form(const ModelGrid& grid) {
  const bool unturned = std::fmod(grid.placement.angrot, 360.0) == 0;
  if (grid.nrow > 0 && unturned && uniform(grid.delr) && uniform(grid.delc)) return GridFileForm::esri_ascii;
  return GridFileForm::csv;
}

std::string esri_ascii_grid(const ModelGrid& grid, std::span<const double> values,
                            std::span<const std::uint8_t> active) {
  if (grid_file_form(grid) != GridFileForm::esri_ascii) {
    throw std::invalid_argument("an ESRI ASCII grid cannot show this model's grid where it lies");
  }
  require_one_a_cell(grid, values, active);
  // Lines end with LF alone: GDAL and the GIS built on it read LF and CR LF alike.
  std::string text = "ncols " + std::to_string(grid.ncol) + "\nnrows " + std::to_string(grid.nrow) + "\nxllcorner ";
  append_number(text, grid.placement.xorigin);
  text += "\nyllcorner ";
  append_number(text, grid.placement.yorigin);
  if (grid.delr.front() == grid.delc.front()) {
    text += "\ncellsize ";
    append_number(text, grid.delr.front());
  } else {
    text += "\ndx ";
    append_number(text, grid.delr.front());
    text += "\ndy ";
    append_number(text, grid.delc.front());
  }
  text += "\nNODATA_value ";
  text += no_data;
  text += '\n';
  const auto ncol = static_cast<std::size_t>(grid.ncol);
  for (std::size_t cell = 0; cell < values.size(); ++cell) {
    if (active[cell] != 0) {
      append_number(text, values[cell]);
    } else {
      text += no_data;
    }
    text += (cell + 1) % ncol == 0 ? '\n' : ' ';
  }
  return text;
}

std::string cell_csv(const ModelGrid& grid, std::span<const double> values, std::span<const std::uint8_t> active) {
  require_one_a_cell(grid, values, active);
  std::string text = "cell,x,y,value\n";
  for (std::size_t cell = 0; cell < values.size(); ++cell) {
    text += std::to_string(cell + 1);
    text += ',';
    append_number(text, grid.centres[cell].x);
    text += ',';
    append_number(text, grid.centres[cell].y);
    text += ',';
    if (active[cell] != 0) {
      append_number(text, values[cell]);
    } else {
      text += no_data;
    }
    text += '\n';
  }
  return text;
}

}  // namespace tamvek::modflow
