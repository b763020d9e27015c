#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "modflow/model_grid.hpp"

namespace tamvek::modflow {

// Which part of each tamvek cell lies on which model cell, computed once for
// a pair of grids and applied to every month. Kept by model cell, in the
// model's cell order: model cell m receives share[k] of the volume of tamvek
// cell tamvek_cell[k] for k in [start[m], start[m + 1]). A share is the part
// of the tamvek cell's area that the model cell covers. Kept this way the
// table is filled in one walk over the model's cells, and a month is carried
// over by summing each model cell's own entries (no scattered writes).
//
// tamvek cells are numbered in the arrays' order: (irow - 1) * nx + icol - 1,
// row 1 at the top.
struct OverlapTable {
  std::int32_t nx = 0;
  std::int32_t ny = 0;
  std::vector<std::int64_t> start;        // model cells + 1
  std::vector<std::int32_t> tamvek_cell;
  std::vector<double> share;
  std::vector<double> outside;            // per tamvek cell: the share on no model cell

  std::size_t model_cells() const { return start.empty() ? 0 : start.size() - 1; }
  std::size_t tamvek_cells() const { return outside.size(); }
};

// How closely the model's cells must cover a tamvek cell for nothing of it to
// be outside them: their shares sum to 1 but for rounding. Where they fall
// short by more, the rest is outside the model's grid.
inline constexpr double covered_to = 1e-10;
// Model cells that cover some of a tamvek cell twice, by more than this share
// of its area, overlap one another: the grid is refused, since their volume
// would be counted twice.
inline constexpr double overlap_allowed = 1e-6;
// An overlap smaller than this share of a tamvek cell is a sliver of rounding
// where the edges of both grids coincide: it is not kept as an entry, and its
// share goes to the tamvek cell's other entries or, where the cell is not
// covered, outside.
inline constexpr double sliver = 1e-11;

// The table for tamvek's grid and a model's grid on the same map and in the
// same length unit. Each model cell is clipped by each tamvek cell that its
// bounding box meets, in tamvek's frame (the origin at tamvek's lower-left
// corner, so that coordinates stay small), which takes time in proportion to
// the cells of both grids. Model cells that overlap one another are a GridError.
OverlapTable build_overlap_table(const TamvekFrame& tamvek, const ModelGrid& model);

}  // namespace tamvek::modflow
