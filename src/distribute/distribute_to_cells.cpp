#include "distribute/distribute_to_cells.hpp"

#include <string_view>

#include "distribute/cell_index.hpp"
#include "records/extended.hpp"
#include "records/list_write.hpp"
#include "records/plain_record.hpp"
#include "run/file_names.hpp"
#include "run/run_state.hpp"

namespace tamvek {
namespace {

constexpr int read_statement = 217;
constexpr int locate_statement = 230;
constexpr int share_statement = 234;
constexpr int cell_test_statement = 253;
constexpr int place_return_statement = 257;
constexpr int place_acres_statement = 258;
constexpr int close_statement = 261;

// Why a tract cannot be placed, in the problem log's words.
struct Condition {
  int statement;
  std::string_view text;
};
constexpr Condition column_outside{240, " (i,row,col) condition 1 (column outside model grid):"};
constexpr Condition row_outside{247, " (i,row,col) condition 2 (row outside model grid):"};
constexpr Condition inactive_cell{254, " (i,row,col) condition 3 (inactive grid cell, ibound=0):"};

// A cell's or a sum's share of a group's return or acreage.
void add_share(float& sum, float amount, float frac) { sum = add_exact_product(sum, amount, frac); }

const Condition* unplaced_because(Run& run, std::int32_t icol, std::int32_t irow) {
  if (icol < 1 || icol > run.grid.nx) return &column_outside;
  if (irow < 1 || irow > run.grid.ny) return &row_outside;
  if (run.ibound.at(cell_test_statement, icol, irow) == 0) return &inactive_cell;
  return nullptr;
}

}  // namespace

void distribute_to_cells(Run& run) {
  const RunFile log_file = problem_log_file(run.cyear);
  const RunFile report_file = check_report_file(run.cyear);
  open_run_file(run.io, log_file);
  open_run_file(run.io, report_file);
  std::int32_t nbad = 0;
  // What reaches no cell: the diversion reader's sums for groups without
  // authorized acres, and below the shares of tracts that cannot be placed.
  run.sumacresout = run.sumacreageout;

  const RunFile acreage = authorized_acreage_file(run.cyear);
  Stream& stream = run.io.stream(acreage.unit);
  const Grid& grid = run.grid;
  const CellAxis columns(grid.gdx);
  const CellAxis rows(grid.gdy);
  while (read_list_until_end(stream, read_statement, run.grp, run.twp, run.rng, run.sec, run.tract,
                             run.tacres)) {
    const TractCoordinates::Point& tract =
        run.tracts.point(locate_statement, run.twp, run.rng, run.sec, run.tract);
    const float dx = tract.x - grid.xg0;
    const float dy = grid.ytop - tract.y;
    const std::int32_t icol = columns.index(dx);
    const std::int32_t irow = rows.index(dy);
    const float authorized = run.authtot.at(share_statement, run.grp);
    const float frac = run.tacres / authorized;
    // A group without positive authorized acres places nothing: its return and
    // acreage were counted as reaching no cell when its diversions were read.
    const bool shares = authorized > 0;

    if (const Condition* condition = unplaced_because(run, icol, irow)) {
      ++nbad;
      write_list(run.io, log_file.unit, condition->statement,
                 {nbad, irow, icol, condition->text, run.tacres, "acres"});
      if (shares) {
        add_share(run.sumretout, run.swretloc.at(share_statement, run.grp), frac);
        add_share(run.sumacresout, run.acresloc.at(share_statement, run.grp), frac);
      }
    } else if (shares) {
      add_share(run.swret.at(place_return_statement, icol, irow),
                run.swretloc.at(place_return_statement, run.grp), frac);
      add_share(run.acres.at(place_acres_statement, icol, irow),
                run.acresloc.at(place_acres_statement, run.grp), frac);
    }
  }
  run.io.close(close_statement, acreage.unit);
}

}  // namespace tamvek
