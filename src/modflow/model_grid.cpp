#include "modflow/model_grid.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace tamvek::modflow {
namespace {

// The sine and cosine of a quarter turn k (k mod 4) exactly.
constexpr double quarter_cos[4] = {1, 0, -1, 0};
constexpr double quarter_sin[4] = {0, 1, 0, -1};

std::string shortest(double value) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

// The grid's lines from its first edge: running sums of the spacing. Each
// line is made once and shared by the cells on both sides of it, so that
// neighbouring cells meet exactly, without gap or overlap.
std::vector<double> grid_lines(std::span<const double> spacing, const char* name) {
  std::vector<double> lines(spacing.size() + 1, 0.0);
  for (std::size_t i = 0; i < spacing.size(); ++i) {
    const double width = spacing[i];
    if (!(width > 0) || !std::isfinite(width)) {
      throw GridError(std::string(name) + " " + std::to_string(i + 1) + " is " + shortest(width) +
                      ": a cell's width must be positive");
    }
    lines[i + 1] = lines[i] + width;
  }
  return lines;
}

}  // namespace

MapTransform::MapTransform(const Placement& placement) : placement_(placement) {
  if (!std::isfinite(placement.xorigin) || !std::isfinite(placement.yorigin) || !std::isfinite(placement.angrot)) {
    throw GridError("the grid's origin and rotation must be finite numbers");
  }
  const double turns = placement.angrot / 90;
  if (turns == std::floor(turns) && std::abs(turns) < 1e15) {
    const auto quarter = static_cast<long long>(turns) % 4;
    const auto index = static_cast<std::size_t>(quarter < 0 ? quarter + 4 : quarter);
    cos_ = quarter_cos[index];
    sin_ = quarter_sin[index];
  } else {
    const double radians = placement.angrot * std::numbers::pi / 180;
    cos_ = std::cos(radians);
    sin_ = std::sin(radians);
  }
}

Point MapTransform::operator()(Point local) const {
  return {placement_.xorigin + (local.x * cos_ - local.y * sin_),
          placement_.yorigin + (local.x * sin_ + local.y * cos_)};
}

ModelGrid structured_grid(std::span<const double> delr, std::span<const double> delc,
                          const Placement& placement) {
  if (delr.empty() || delc.empty()) throw GridError("the grid has no cells");
  const std::vector<double> columns = grid_lines(delr, "DELR");
  const std::vector<double> rows = grid_lines(delc, "DELC");  // from the top edge down
  const std::size_t ncol = delr.size();
  const std::size_t nrow = delc.size();
  if ((nrow + 1) * (ncol + 1) > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw GridError("the grid has more corners than this program can hold");
  }
  const double height = rows.back();
  const MapTransform to_map(placement);

  ModelGrid grid;
  grid.nrow = static_cast<std::int64_t>(nrow);
  grid.ncol = static_cast<std::int64_t>(ncol);
  grid.delr.assign(delr.begin(), delr.end());
  grid.delc.assign(delc.begin(), delc.end());
  grid.placement = placement;
  // Corner (i, j) lies on the i-th row line from the top and the j-th column line.
  grid.vertices.reserve((nrow + 1) * (ncol + 1));
  for (std::size_t i = 0; i <= nrow; ++i) {
    for (std::size_t j = 0; j <= ncol; ++j) grid.vertices.push_back(to_map({columns[j], height - rows[i]}));
  }
  const auto corner = [ncol](std::size_t i, std::size_t j) {
    return static_cast<std::int32_t>(i * (ncol + 1) + j);
  };
  grid.corner_start.reserve(nrow * ncol + 1);
  grid.corner_ids.reserve(4 * nrow * ncol);
  grid.centres.reserve(nrow * ncol);
  grid.corner_start.push_back(0);
  for (std::size_t i = 0; i < nrow; ++i) {
    const double centre_y = height - (rows[i] + rows[i + 1]) / 2;
    for (std::size_t j = 0; j < ncol; ++j) {
      // Counter-clockwise from the lower-left corner.
      for (const std::int32_t id : {corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1), corner(i, j)}) {
        grid.corner_ids.push_back(id);
      }
      grid.corner_start.push_back(static_cast<std::int64_t>(grid.corner_ids.size()));
      grid.centres.push_back(to_map({(columns[j] + columns[j + 1]) / 2, centre_y}));
    }
  }
  return grid;
}

ModelGrid vertex_grid(std::span<const Point> vertices, std::span<const VertexCell> cells,
                      const Placement& placement) {
  if (cells.empty()) throw GridError("the grid has no cells");
  if (vertices.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw GridError("the grid has more vertices than this program can hold");
  }
  const MapTransform to_map(placement);
  ModelGrid grid;
  grid.placement = placement;
  grid.vertices.reserve(vertices.size());
  for (const Point& vertex : vertices) {
    if (!std::isfinite(vertex.x) || !std::isfinite(vertex.y)) throw GridError("a vertex is not a finite point");
    grid.vertices.push_back(to_map(vertex));
  }
  grid.corner_start.reserve(cells.size() + 1);
  grid.centres.reserve(cells.size());
  grid.corner_start.push_back(0);
  for (std::size_t c = 0; c < cells.size(); ++c) {
    std::span<const std::int32_t> ids = cells[c].vertex_ids;
    if (ids.size() > 1 && ids.front() == ids.back()) ids = ids.first(ids.size() - 1);
    if (ids.size() < 3) {
      throw GridError("cell " + std::to_string(c + 1) + " has " + std::to_string(ids.size()) +
                      " vertices: a cell needs at least three");
    }
    for (const std::int32_t id : ids) {
      if (id < 0 || static_cast<std::size_t>(id) >= vertices.size()) {
        throw GridError("cell " + std::to_string(c + 1) + " names vertex " + std::to_string(id + 1) +
                        ", which the grid does not have");
      }
      grid.corner_ids.push_back(id);
    }
    grid.corner_start.push_back(static_cast<std::int64_t>(grid.corner_ids.size()));
    grid.centres.push_back(to_map(cells[c].centre));
  }
  return grid;
}

// About the first corner, to keep the products small where the map's
// coordinates are large.
double polygon_area(std::span<const Point> polygon) {
  if (polygon.size() < 3) return 0;
  const Point first = polygon.front();
  double twice = 0;
  for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
    const Point a{polygon[i].x - first.x, polygon[i].y - first.y};
    const Point b{polygon[i + 1].x - first.x, polygon[i + 1].y - first.y};
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

std::vector<double> cell_areas(const ModelGrid& grid) {
  std::vector<double> areas(grid.cell_count());
  if (grid.nrow > 0) {
    // DELR times DELC, as the rates of a model on tamvek's own grid have
    // always been made, so that carrying a volume over changes no rate.
    for (std::size_t c = 0; c < areas.size(); ++c) {
      areas[c] = grid.delr[c % grid.delr.size()] * grid.delc[c / grid.delr.size()];
    }
    return areas;
  }
  std::vector<Point> corners;
  for (std::size_t c = 0; c < areas.size(); ++c) {
    corners.clear();
    for (const std::int32_t id : grid.corners_of(c)) corners.push_back(grid.vertices[static_cast<std::size_t>(id)]);
    areas[c] = polygon_area(corners);
  }
  return areas;
}

Extent extent_of(const ModelGrid& grid) {
  constexpr double far = std::numeric_limits<double>::infinity();
  Extent extent{far, far, -far, -far};
  for (const Point& p : grid.vertices) {
    extent = {std::min(extent.xmin, p.x), std::min(extent.ymin, p.y), std::max(extent.xmax, p.x),
              std::max(extent.ymax, p.y)};
  }
  return extent;
}

Extent extent_of(const TamvekFrame& tamvek) {
  return {tamvek.x0, tamvek.y0, tamvek.x0 + tamvek.nx * tamvek.dx, tamvek.y0 + tamvek.ny * tamvek.dy};
}

TamvekFrame tamvek_frame(const Grid& grid, double model_units_per_foot) {
  return {grid.nx,
          grid.ny,
          static_cast<double>(grid.xg0) * model_units_per_foot,
          static_cast<double>(grid.yg0) * model_units_per_foot,
          static_cast<double>(grid.gdx) * model_units_per_foot,
          static_cast<double>(grid.gdy) * model_units_per_foot};
}

}  // namespace tamvek::modflow
