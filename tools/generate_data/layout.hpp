#pragma once

// Where the model grid lies on the survey, and the active-cell and county
// grids drawn over it.
//
// Coordinates are feet in a plane whose survey corner (the south-west corner of
// township 1, range 1) lies at (1,000,000, 200,000). The surveyed block, the
// townships that have tract coordinates, is either the whole survey or the
// smallest set of townships that holds the grid with about a mile to spare on
// each side; the grid is centred on the block, so tracts lie outside it to the
// west, east, north and south. Its edges are 437.5 ft (x) and 212.5 ft (y) off
// the tract lines, so no tract centre falls on a cell edge.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "options.hpp"
#include "random.hpp"
#include "survey.hpp"

namespace tamvek::generate {

inline constexpr std::int64_t survey_west_feet = 1'000'000;
inline constexpr std::int64_t survey_south_feet = 200'000;

struct Layout {
  // The surveyed block.
  int rng_first = 1, rng_count = range_count;
  int twp_first = 1, twp_count = township_count;
  // The grid's left and bottom edges, in hundredths of a foot.
  std::int64_t xg0_hundredths = 0, yg0_hundredths = 0;
  // The grid's edges as tract positions (tract widths from the survey corner).
  double grid_west = 0, grid_east = 0, grid_south = 0, grid_north = 0;

  int block_west() const { return (rng_first - 1) * tracts_across_township; }
  int block_east() const { return (rng_first - 1 + rng_count) * tracts_across_township; }
  int block_south() const { return (twp_first - 1) * tracts_across_township; }
  int block_north() const { return (twp_first - 1 + twp_count) * tracts_across_township; }
  long coordinate_records() const {
    return long{rng_count} * twp_count * sections_per_township * tracts_per_section;
  }
};

namespace detail {

inline std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

inline int townships_to_hold(std::int64_t extent_feet, int limit) {
  const std::int64_t with_margin = extent_feet + 2 * section_feet;
  const auto needed = static_cast<int>((with_margin + township_feet - 1) / township_feet);
  return std::clamp(needed, 1, limit);
}

// Left (or bottom) edge of the grid in feet: centred on the block, moved onto
// a tract line, then `offset_hundredths` off it.
inline std::int64_t grid_edge(std::int64_t block_edge_feet, int block_townships,
                              std::int64_t grid_extent_feet, std::int64_t offset_hundredths) {
  const std::int64_t margin =
      (block_townships * std::int64_t{township_feet} - grid_extent_feet) / 2;
  const std::int64_t on_tract_line = floor_div(margin, tract_feet) * tract_feet;
  return (block_edge_feet + on_tract_line) * 100 + offset_hundredths;
}

}  // namespace detail

inline Layout place_grid(const Options& options, Random& random) {
  Layout layout;
  const std::int64_t width = std::int64_t{options.nx} * options.cell_feet;
  const std::int64_t height = std::int64_t{options.ny} * options.cell_feet;
  if (!options.full_survey) {
    layout.rng_count = detail::townships_to_hold(width, range_count);
    layout.twp_count = detail::townships_to_hold(height, township_count);
    layout.rng_first = 1 + static_cast<int>(random.below(static_cast<std::uint64_t>(range_count - layout.rng_count + 1)));
    layout.twp_first = 1 + static_cast<int>(random.below(static_cast<std::uint64_t>(township_count - layout.twp_count + 1)));
  }
  const std::int64_t block_west_feet =
      survey_west_feet + std::int64_t{layout.rng_first - 1} * township_feet;
  const std::int64_t block_south_feet =
      survey_south_feet + std::int64_t{layout.twp_first - 1} * township_feet;
  layout.xg0_hundredths = detail::grid_edge(block_west_feet, layout.rng_count, width, 43750);
  layout.yg0_hundredths = detail::grid_edge(block_south_feet, layout.twp_count, height, 21250);

  const auto in_tracts = [](double feet) { return feet / tract_feet; };
  layout.grid_west = in_tracts(static_cast<double>(layout.xg0_hundredths) / 100 -
                               static_cast<double>(survey_west_feet));
  layout.grid_south = in_tracts(static_cast<double>(layout.yg0_hundredths) / 100 -
                                static_cast<double>(survey_south_feet));
  layout.grid_east = layout.grid_west + in_tracts(static_cast<double>(width));
  layout.grid_north = layout.grid_south + in_tracts(static_cast<double>(height));
  return layout;
}

// The two integer grids, row 1 (north) first, column 1 (west) first.
struct CellGrids {
  int nx = 0, ny = 0;
  std::vector<int> ibound, icty;
  int counties = 0;  // icty values in use are 1..counties (and 0)

  std::size_t index(int icol, int irow) const {
    return static_cast<std::size_t>(irow - 1) * static_cast<std::size_t>(nx) +
           static_cast<std::size_t>(icol - 1);
  }

  // Whether the centre of the tract at `position` lies on an active cell.
  bool active_at(const Layout& layout, TractPosition position) const {
    const double column =
        (position.column + 0.5 - layout.grid_west) / (layout.grid_east - layout.grid_west);
    const double row =
        (layout.grid_north - position.row - 0.5) / (layout.grid_north - layout.grid_south);
    if (column < 0 || column >= 1 || row < 0 || row >= 1) return false;
    const int icol = static_cast<int>(column * nx) + 1, irow = static_cast<int>(row * ny) + 1;
    return ibound[index(icol, irow)] != 0;
  }
};

// The active area is an irregular blob inside the grid (an aquifer outline) with
// an inactive hole (an outcrop); corners and edges stay inactive. Inside it:
// 1 for ordinary cells, 2 for a band along its edge, 3 for a valley patch, and
// -1 for a river that crosses it west to east. Counties are blocks laid in rows
// whose boundaries are staggered from row to row; a corner of the grid lies
// across the state line (county 0), active cells included.
inline CellGrids draw_cell_grids(const Options& options, Random& random) {
  CellGrids grids;
  grids.nx = options.nx;
  grids.ny = options.ny;
  const auto cells = static_cast<std::size_t>(options.nx) * static_cast<std::size_t>(options.ny);
  grids.ibound.assign(cells, 0);
  grids.icty.assign(cells, 0);

  const auto amplitude = [&](double most) { return (2 * random.unit() - 1) * most; };
  const double a2 = amplitude(0.05), b2 = amplitude(0.05);
  const double a3 = amplitude(0.035), b3 = amplitude(0.035);
  const double a5 = amplitude(0.02), b5 = amplitude(0.02);
  const double hole_u = amplitude(0.35), hole_v = amplitude(0.35);
  const double hole_radius = 0.07 + 0.05 * random.unit();
  const double valley_u = -0.6 + 0.9 * random.unit(), valley_v = -0.6 + 0.9 * random.unit();
  const double river_level = amplitude(0.25), river_phase = random.unit();
  const double river_bends = 0.6 + 0.8 * random.unit();

  // (u, v) is a cell centre scaled to the square -1..1, v growing northward.
  const auto u_of = [&](int icol) { return (icol - 0.5) / options.nx * 2 - 1; };
  const auto v_of = [&](int irow) { return 1 - (irow - 0.5) / options.ny * 2; };
  const auto blob_ratio = [&](double u, double v) {
    const double rho = std::sqrt(u * u + v * v);
    const double c = rho > 0 ? u / rho : 1, s = rho > 0 ? v / rho : 0;
    const double outline = 0.86 + a2 * (c * c - s * s) + b2 * (2 * c * s) +
                           a3 * (4 * c * c * c - 3 * c) + b3 * (3 * s - 4 * s * s * s) +
                           a5 * (16 * c * c * c * c * c - 20 * c * c * c + 5 * c) +
                           b5 * (16 * s * s * s * s * s - 20 * s * s * s + 5 * s);
    return rho / outline;
  };

  for (int irow = 1; irow <= options.ny; ++irow) {
    for (int icol = 1; icol <= options.nx; ++icol) {
      const double u = u_of(icol), v = v_of(irow);
      const double ratio = blob_ratio(u, v);
      const double hu = (u - hole_u) / hole_radius, hv = (v - hole_v) / hole_radius;
      int flag = 0;
      if (ratio < 1 && hu * hu + hv * hv >= 1) {
        flag = 1;
        if (ratio > 0.9) flag = 2;
        if (u >= valley_u && u < valley_u + 0.3 && v >= valley_v && v < valley_v + 0.25) flag = 3;
      }
      grids.ibound[grids.index(icol, irow)] = flag;
    }
  }
  // The river runs from column to column without a gap.
  int river_row = 0;
  for (int icol = 1; icol <= options.nx; ++icol) {
    const double river_v = river_level + 0.15 * wave(river_bends * u_of(icol) + river_phase);
    const int irow =
        std::clamp(static_cast<int>((1 - river_v) / 2 * options.ny) + 1, 1, options.ny);
    if (river_row == 0) river_row = irow;
    for (int row = std::min(irow, river_row); row <= std::max(irow, river_row); ++row) {
      int& flag = grids.ibound[grids.index(icol, row)];
      if (flag != 0) flag = -1;
    }
    river_row = irow;
  }

  // Counties, numbered in the order met from the north-west.
  const int county_width = (options.nx + options.county_columns - 1) / options.county_columns;
  const int county_height = (options.ny + options.county_rows - 1) / options.county_rows;
  std::vector<int> number_of_block(
      static_cast<std::size_t>((options.county_columns + 1) * options.county_rows), 0);
  for (int irow = 1; irow <= options.ny; ++irow) {
    const int county_row = (irow - 1) / county_height;
    const int shift = county_row % 2 == 1 ? county_width / 2 : 0;
    for (int icol = 1; icol <= options.nx; ++icol) {
      const double u = u_of(icol), v = v_of(irow);
      if (0.6 * u + 0.8 * v > 0.95) continue;  // across the state line
      const int county_column = (icol - 1 + shift) / county_width;
      int& number = number_of_block[static_cast<std::size_t>(
          county_row * (options.county_columns + 1) + county_column)];
      if (number == 0) number = ++grids.counties;
      grids.icty[grids.index(icol, irow)] = number;
    }
  }
  return grids;
}

}  // namespace tamvek::generate
