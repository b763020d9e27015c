#include "output/plot_files.hpp"

#include <cstdint>
#include <span>

#include "runtime/extended.hpp"
#include "runtime/io.hpp"
#include "text/list_write.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int announce_statement = 265;
constexpr int heading_statement = 267;
constexpr int return_point_statement = 276;
constexpr int return_close_statement = 280;
constexpr int acreage_point_statement = 290;
constexpr int acreage_close_statement = 294;

// Centre of the cell numbered `index` (from 1) along an axis of cells of width
// `size` starting at `origin`. The product and the sum stay in extended
// precision and are rounded to float once, so the product is exact and the
// centre is the float nearest to the true one.
float cell_centre(std::int32_t index, float size, float origin) {
  const extended centre =
      (static_cast<extended>(static_cast<float>(index)) - extended{0.5L}) * size + origin;
  return static_cast<float>(centre);
}

// One point per active cell (any nonzero ibound, negative included) whose value
// is greater than zero, which leaves out zero, negative and NaN values. Points
// go row by row from the top, so the cell number rises from record to record.
void write_points(Run& run, const RunFile& file, CellGrid<float>& values, int point_statement,
                  int close_statement) {
  const Grid& grid = run.grid;
  for (std::int32_t irow = 1; irow <= grid.ny; ++irow) {
    const std::span<const std::int32_t> active = run.ibound.row(point_statement, grid.nx, irow);
    const std::span<const float> row = values.row(point_statement, grid.nx, irow);
    const std::int32_t from_bottom = grid.ny - irow + 1;
    for (std::int32_t icol = 1; icol <= grid.nx; ++icol) {
      const auto c = static_cast<std::size_t>(icol - 1);
      if (active[c] == 0 || !(row[c] > 0)) continue;
      const float x = cell_centre(icol, grid.gdx, grid.xg0);
      const float y = cell_centre(from_bottom, grid.gdy, grid.yg0);
      const std::int32_t node = (irow - 1) * grid.nx + icol;
      write_list(run.io, file.unit, point_statement, {x, y, row[c], irow, icol, node});
    }
  }
  run.io.close(close_statement, file.unit);
}

}  // namespace

void write_plot_files(Run& run) {
  write_list(run.io, Io::console_unit, announce_statement,
             {"..writing plot files for returns and acreage"});

  const RunFile returns = return_plot_file(run.cyear);
  open_run_file(run.io, returns);
  // The column headings go to the console only; the point files have no header.
  write_list(run.io, Io::console_unit, heading_statement,
             {"x_ft", "y_ft", "swret", "row", "col", "node"});
  write_points(run, returns, run.swret, return_point_statement, return_close_statement);

  const RunFile acreage = acreage_plot_file(run.cyear);
  open_run_file(run.io, acreage);
  write_points(run, acreage, run.acres, acreage_point_statement, acreage_close_statement);
}

}  // namespace tamvek
