#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "state/run_state.hpp"

namespace tamvek::modflow {

struct Point {
  double x = 0;
  double y = 0;
};

// A grid that cannot be laid on the map: what is wrong, and for a grid read
// from a block's lines the line (from 0, within the block) that says it, so
// that the caller can name the file and its line.
struct GridError : std::runtime_error {
  explicit GridError(const std::string& what, std::ptrdiff_t block_line = -1)
      : std::runtime_error(what), line(block_line) {}
  std::ptrdiff_t line;
};

// Where a model's own coordinates lie on the map: XORIGIN, YORIGIN and ANGROT
// (degrees, counter-clockwise about the origin), in the model's length unit.
struct Placement {
  double xorigin = 0;
  double yorigin = 0;
  double angrot = 0;
};

// A model's cells as polygons on the map, in the model's length unit. Cell c
// (from 0, in the model's cell order) has the corners
// vertices[corner_ids[corner_start[c]]] .. vertices[corner_ids[corner_start[c + 1] - 1]].
struct ModelGrid {
  std::vector<Point> vertices;
  std::vector<std::int64_t> corner_start;  // cells + 1 entries
  std::vector<std::int32_t> corner_ids;
  std::vector<Point> centres;              // one a cell: where the model says its centre is

  // A structured grid keeps its rows and columns (both 0 for DISV) and their
  // spacing, which a grid file needs; rows from the top.
  std::int64_t nrow = 0;
  std::int64_t ncol = 0;
  std::vector<double> delr;
  std::vector<double> delc;
  Placement placement;

  std::size_t cell_count() const { return centres.size(); }
  std::span<const std::int32_t> corners_of(std::size_t cell) const {
    const auto begin = static_cast<std::size_t>(corner_start[cell]);
    const auto end = static_cast<std::size_t>(corner_start[cell + 1]);
    return std::span<const std::int32_t>(corner_ids).subspan(begin, end - begin);
  }
};

// A point of the model's own coordinates on the map. Rotations by whole
// quarter turns use exact sines and cosines, so that a grid turned by 90
// degrees has its corners exactly where its spacing puts them.
class MapTransform {
 public:
  explicit MapTransform(const Placement& placement);
  Point operator()(Point local) const;

 private:
  Placement placement_;
  double cos_ = 1;
  double sin_ = 0;
};

// A structured grid (MODFLOW 6 DIS, or MODFLOW-2005 DIS with the origin and
// rotation the user gives): DELR the widths of the columns from the west,
// DELC the heights of the rows from the north; the lower-left corner of the
// grid is the origin. Cells are numbered row by row from the top left.
// Widths and heights must be positive and finite.
ModelGrid structured_grid(std::span<const double> delr, std::span<const double> delc,
                          const Placement& placement);

// A cell of a DISV grid: its centre and its vertex ids (from 0) in the order
// the model lists them (MODFLOW 6 asks for clockwise; either way serves).
struct VertexCell {
  Point centre;
  std::vector<std::int32_t> vertex_ids;
};

// A grid of polygons (MODFLOW 6 DISV) from its vertices and cells in the
// model's own coordinates. A cell must name at least three vertices, each
// one of the grid's; a cell that repeats its first vertex at the end (as
// some writers close a polygon) is taken without the repeat.
ModelGrid vertex_grid(std::span<const Point> vertices, std::span<const VertexCell> cells,
                      const Placement& placement);

// The area of a closed polygon, corners in order, either orientation.
double polygon_area(std::span<const Point> polygon);

// The area of each cell, in the model's length unit squared: what a volume
// is divided by to make a rate. A structured grid's is DELR times DELC.
std::vector<double> cell_areas(const ModelGrid& grid);

// The rectangle on the map that holds a grid, for the summary, which shows
// both grids in the model's length unit so that a misplaced grid is seen.
struct Extent {
  double xmin = 0;
  double ymin = 0;
  double xmax = 0;
  double ymax = 0;
};
Extent extent_of(const ModelGrid& grid);

// tamvek's grid on the map in the model's length unit: lower-left corner,
// cell width and height, row 1 at the top.
struct TamvekFrame {
  std::int32_t nx = 0;
  std::int32_t ny = 0;
  double x0 = 0;
  double y0 = 0;
  double dx = 0;
  double dy = 0;
};

// tamvek's grid, whose lengths are feet, in a model whose length unit is
// `model_units_per_foot` of a foot's length (1 for feet, 0.3048 for metres).
TamvekFrame tamvek_frame(const Grid& grid, double model_units_per_foot);
Extent extent_of(const TamvekFrame& tamvek);

}  // namespace tamvek::modflow
