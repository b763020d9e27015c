#include "modflow/overlap_table.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "modflow/polygon_clip.hpp"

namespace tamvek::modflow {
namespace {

// The cells [first, last] of a row or a column of `count` cells of width
// `width` from 0 that the interval [low, high] meets; first > last for none.
struct Span {
  std::int64_t first = 0;
  std::int64_t last = -1;
};

Span cells_met(double low, double high, double width, std::int32_t count) {
  const double first = std::max(0.0, std::floor(low / width));
  const double last = std::min(static_cast<double>(count) - 1, std::ceil(high / width) - 1);
  if (!(first <= last)) return {};
  return {static_cast<std::int64_t>(first), static_cast<std::int64_t>(last)};
}

// Settles each tamvek cell's shares once every model cell is walked: a cell
// covered but for rounding is covered whole (its entries divided by their sum,
// which also gives them the slivers' shares); otherwise what its entries do
// not cover is outside.
void settle_shares(OverlapTable& table, const std::vector<double>& covered, const std::vector<double>& kept) {
  const auto ncells = covered.size();
  std::vector<double> divisor(ncells, 1.0);
  table.outside.assign(ncells, 0.0);
  for (std::size_t t = 0; t < ncells; ++t) {
    if (covered[t] > 1 + overlap_allowed) {
      const auto irow = t / static_cast<std::size_t>(table.nx) + 1;
      const auto icol = t % static_cast<std::size_t>(table.nx) + 1;
      throw GridError("the model's cells overlap one another on tamvek's cell in row " + std::to_string(irow) +
                      ", column " + std::to_string(icol) + ": they cover " + std::to_string(covered[t]) +
                      " times its area");
    }
    if (kept[t] > 0 && covered[t] >= 1 - covered_to) {
      divisor[t] = kept[t];
    } else {
      table.outside[t] = 1 - kept[t];
    }
  }
  for (std::size_t k = 0; k < table.share.size(); ++k) {
    const auto t = static_cast<std::size_t>(table.tamvek_cell[k]);
    if (divisor[t] != 1.0) table.share[k] = table.share[k] / divisor[t];
  }
}

}  // namespace

OverlapTable build_overlap_table(const TamvekFrame& tamvek, const ModelGrid& model) {
  if (tamvek.nx <= 0 || tamvek.ny <= 0 || !(tamvek.dx > 0) || !(tamvek.dy > 0) || !std::isfinite(tamvek.x0) ||
      !std::isfinite(tamvek.y0) || !std::isfinite(tamvek.dx * tamvek.nx) || !std::isfinite(tamvek.dy * tamvek.ny)) {
    throw GridError("tamvek's grid has no cells, or does not lie on the map");
  }
  const auto tamvek_cells = static_cast<std::size_t>(tamvek.nx) * static_cast<std::size_t>(tamvek.ny);
  const double cell_area = tamvek.dx * tamvek.dy;
  OverlapTable table;
  table.nx = tamvek.nx;
  table.ny = tamvek.ny;
  table.start.reserve(model.cell_count() + 1);
  table.start.push_back(0);
  std::vector<double> covered(tamvek_cells, 0.0);
  std::vector<double> kept(tamvek_cells, 0.0);

  RectangleClipper clipper;
  std::vector<Point> outline;
  for (std::size_t m = 0; m < model.cell_count(); ++m) {
    outline.clear();
    constexpr double far = std::numeric_limits<double>::infinity();
    double xmin = far, xmax = -far, ymin = far, ymax = -far;
    for (const std::int32_t id : model.corners_of(m)) {
      const Point p = model.vertices[static_cast<std::size_t>(id)];
      const Point local{p.x - tamvek.x0, p.y - tamvek.y0};
      outline.push_back(local);
      xmin = std::min(xmin, local.x);
      xmax = std::max(xmax, local.x);
      ymin = std::min(ymin, local.y);
      ymax = std::max(ymax, local.y);
    }
    const Span columns = cells_met(xmin, xmax, tamvek.dx, tamvek.nx);
    const Span rows_up = cells_met(ymin, ymax, tamvek.dy, tamvek.ny);  // counted from the bottom
    for (std::int64_t b = rows_up.first; b <= rows_up.last; ++b) {
      const auto row_from_top = static_cast<std::int64_t>(tamvek.ny) - 1 - b;
      for (std::int64_t c = columns.first; c <= columns.last; ++c) {
        const Rectangle cell{static_cast<double>(c) * tamvek.dx, static_cast<double>(b) * tamvek.dy,
                             static_cast<double>(c + 1) * tamvek.dx, static_cast<double>(b + 1) * tamvek.dy};
        const double share = clipper.clipped_area(outline, cell) / cell_area;
        if (share <= 0) continue;
        const auto t = static_cast<std::size_t>(row_from_top * tamvek.nx + c);
        covered[t] += share;
        if (share < sliver) continue;
        kept[t] += share;
        table.tamvek_cell.push_back(static_cast<std::int32_t>(t));
        table.share.push_back(share);
      }
    }
    table.start.push_back(static_cast<std::int64_t>(table.share.size()));
  }
  settle_shares(table, covered, kept);
  table.tamvek_cell.shrink_to_fit();
  table.share.shrink_to_fit();
  return table;
}

}  // namespace tamvek::modflow
