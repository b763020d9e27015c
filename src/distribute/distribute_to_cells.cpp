#include "distribute/distribute_to_cells.hpp"

#include <string_view>

#include "distribute/cell_index.hpp"
#include "distribute/problem_log_texts.hpp"
#include "runtime/extended.hpp"
#include "text/list_write.hpp"
#include "text/plain_record.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

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
constexpr Condition column_outside{240, problem_log_conditions[0]};
constexpr Condition row_outside{247, problem_log_conditions[1]};
constexpr Condition inactive_cell{254, problem_log_conditions[2]};

// A cell's or a sum's share of a group's return or acreage.
void add_share(float& sum, float amount, float frac) { sum = add_exact_product(sum, amount, frac); }

const Condition* unplaced_because(Run& run, std::int32_t icol, std::int32_t irow) {
  if (icol < 1 || icol > run.grid.nx) return &column_outside;
  if (irow < 1 || irow > run.grid.ny) return &row_outside;
  if (run.ibound.at(cell_test_statement, icol, irow) == 0) return &inactive_cell;
  return nullptr;
}

// Places the tracts of the second pass on their cells, record by record, and
// logs those that cannot be placed.
class TractPlacer {
 public:
  TractPlacer(Run& run, int log_unit) : run_(run), log_unit_(log_unit) {}

  void place(const AcreageFields& record) {
    const TractCoordinates::Point& tract =
        run_.tracts.point(locate_statement, record.twp, record.rng, record.sec, record.tract);
    const std::int32_t icol = cell_index(tract.x - run_.grid.xg0, run_.grid.gdx);
    const std::int32_t irow = cell_index(run_.grid.ytop - tract.y, run_.grid.gdy);
    const float authorized = run_.authtot.at(share_statement, record.grp);
    const float frac = record.tacres / authorized;
    // A group without positive authorized acres places nothing: its return and
    // acreage were counted as reaching no cell when its diversions were read.
    const bool shares = authorized > 0;

    if (const Condition* condition = unplaced_because(run_, icol, irow)) {
      ++nbad_;
      write_list(run_.io, log_unit_, condition->statement,
                 {nbad_, irow, icol, condition->text, record.tacres, problem_log_acres_unit});
      if (shares) {
        add_share(run_.sumretout, run_.swretloc.at(share_statement, record.grp), frac);
        add_share(run_.sumacresout, run_.acresloc.at(share_statement, record.grp), frac);
      }
    } else if (shares) {
      add_share(run_.swret.at(place_return_statement, icol, irow),
                run_.swretloc.at(place_return_statement, record.grp), frac);
      add_share(run_.acres.at(place_acres_statement, icol, irow),
                run_.acresloc.at(place_acres_statement, record.grp), frac);
    }
  }

 private:
  Run& run_;
  int log_unit_;
  std::int32_t nbad_ = 0;
};

}  // namespace

void distribute_to_cells(Run& run) {
  const RunFile log_file = problem_log_file(run.cyear);
  const RunFile report_file = check_report_file(run.cyear);
  open_run_file(run.io, log_file);
  open_run_file(run.io, report_file);
  // What reaches no cell: the diversion reader's sums for groups without
  // authorized acres, and below the shares of tracts that cannot be placed.
  run.sumacresout = run.sumacreageout;

  const RunFile acreage = authorized_acreage_file(run.cyear);
  Stream& stream = run.io.stream(acreage.unit);
  TractPlacer placer(run, log_file.unit);
  AcreageFields fields = run.acreage_fields();
  const KeptAcreage& kept = run.kept_acreage;
  if (FileVersion version; stream.version(version) && kept.stand_for(version)) {
    // The records as the first pass read them, in place of a second read of
    // the unchanged file.
    for (std::size_t index = 0; index < kept.size(); ++index) {
      fields = kept.read_again(index, fields);
      placer.place(fields);
    }
  } else {
    while (read_list_until_end(stream, read_statement, fields.grp, fields.twp, fields.rng, fields.sec,
                               fields.tract, fields.tacres))
      placer.place(fields);
  }
  run.kept_acreage.release();
  run.set_acreage_fields(fields);
  run.io.close(close_statement, acreage.unit);
}

}  // namespace tamvek
