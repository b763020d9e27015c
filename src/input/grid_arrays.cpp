#include "input/grid_arrays.hpp"

#include "text/i2_read.hpp"
#include "text/list_read.hpp"
#include "text/list_write.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int active_progress_statement = 91;
constexpr int active_rows_statement = 94;
constexpr int active_close_statement = 96;
constexpr int county_progress_statement = 98;
constexpr int county_heading_statement = 100;
constexpr int county_rows_statement = 102;
constexpr int county_close_statement = 104;

// Reads ny rows of nx two-character fields, top row first, one "(326i2)" read
// a row. Each cell's indexes are tested before its field is taken, so a grid
// wider or taller than the table stops at its first cell outside.
void read_grid_rows(Run& run, Stream& stream, CellGrid<std::int32_t>& cells, int statement) {
  for (std::int32_t irow = 1; irow <= run.grid.ny; ++irow) {
    I2Read row(stream, statement);
    for (std::int32_t icol = 1; icol <= run.grid.nx; ++icol) {
      std::int32_t& cell = cells.at(statement, icol, irow);
      cell = row.next();
    }
    row.finish();
  }
}

}  // namespace

void read_active_cells(Run& run) {
  write_list(run.io, Io::console_unit, active_progress_statement, {"..reading ibound array"});
  const RunFile file = active_cell_file();
  open_run_file(run.io, file);
  read_grid_rows(run, run.io.stream(file.unit), run.ibound, active_rows_statement);
  run.io.close(active_close_statement, file.unit);
}

void read_county_grid(Run& run) {
  write_list(run.io, Io::console_unit, county_progress_statement, {"..reading county flags"});
  const RunFile file = county_grid_file();
  open_run_file(run.io, file);
  Stream& stream = run.io.stream(file.unit);
  read_list(stream, county_heading_statement, {});  // the heading record, never examined
  read_grid_rows(run, stream, run.icty, county_rows_statement);
  run.io.close(county_close_statement, file.unit);
}

}  // namespace tamvek
