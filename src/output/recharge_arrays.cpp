#include "output/recharge_arrays.hpp"

#include <cstdint>
#include <span>

#include "output/check_report_texts.hpp"
#include "output/irrigation_months.hpp"
#include "text/f61_write.hpp"
#include "runtime/io.hpp"
#include "text/list_write.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int announce_statement = 298;
constexpr int month_name_statement = 303;
constexpr int factor_statement = 312;
constexpr int month_row_statement = 318;
constexpr int month_close_statement = 320;
constexpr int month_total_statement = 321;
constexpr int acreage_row_statement = 331;
constexpr int acreage_close_statement = 333;
constexpr int summary_label_statement = 334;
constexpr int summary_statement = 335;
constexpr int outflow_label_statement = 336;
constexpr int outflow_statement = 337;

// Cells whose county grid holds 0 take the factors of county 1.
constexpr std::int32_t unset_county = 0;
constexpr std::int32_t default_county = 1;

// Fills `work` with one month's recharge per cell and writes each row to the
// month's array on `unit` as soon as it is computed; returns the month's
// total. Every float product and sum is rounded as it is formed, and the total
// runs over rows from the top and columns from the left, which fixes its last
// bits.
float write_month(Run& run, std::int32_t month, int unit) {
  const Grid& grid = run.grid;
  float msum = 0;
  for (std::int32_t irow = 1; irow <= grid.ny; ++irow) {
    const std::span<float> work = run.work.row(month_row_statement, grid.nx, irow);
    const std::span<const float> swret = run.swret.row(month_row_statement, grid.nx, irow);
    const std::span<const std::int32_t> icty = run.icty.row(month_row_statement, grid.nx, irow);
    for (std::size_t c = 0; c < work.size(); ++c) {
      work[c] = 0;
      // Zero, negative and NaN returns give no recharge and need no county.
      if (!(swret[c] > 0)) continue;
      const std::int32_t county = icty[c] == unset_county ? default_county : icty[c];
      const float factor = run.xmonfactors.at(factor_statement, county, month);
      work[c] = swret[c] * factor;
      msum = msum + work[c];
    }
    write_f61(run.io, unit, month_row_statement, work);
  }
  return msum;
}

// Writes the acreage grid as one array and returns the sum of every cell of
// the grid, whatever its value.
float write_acreage(Run& run, int unit) {
  const Grid& grid = run.grid;
  float suma = 0;
  for (std::int32_t irow = 1; irow <= grid.ny; ++irow) {
    const std::span<const float> acres = run.acres.row(acreage_row_statement, grid.nx, irow);
    for (const float value : acres) suma = suma + value;
    write_f61(run.io, unit, acreage_row_statement, acres);
  }
  return suma;
}

}  // namespace

void write_recharge_arrays(Run& run) {
  write_list(run.io, Io::console_unit, announce_statement,
             {"..writing monthly rcs files and asw file"});
  const int report = check_report_file(run.cyear).unit;

  float sumtr = 0;
  for (std::int32_t month = first_irrigation_month; month <= last_irrigation_month; ++month) {
    // The name goes to the report first, so a stop inside the month shows
    // which array was being written.
    write_list(run.io, report, month_name_statement, {monthly_array_leaf(run.cyear, month)});
    const RunFile array = monthly_array_file(run.cyear, month);
    open_run_file(run.io, array);
    const float msum = write_month(run, month, array.unit);
    run.io.close(month_close_statement, array.unit);
    write_list(run.io, report, month_total_statement, {month, msum});
    sumtr = sumtr + msum;
  }

  const RunFile acreage = acreage_array_file(run.cyear);
  open_run_file(run.io, acreage);
  const float suma = write_acreage(run, acreage.unit);
  run.io.close(acreage_close_statement, acreage.unit);

  write_list(run.io, report, summary_label_statement, {check_report_sums_label});
  write_list(run.io, report, summary_statement,
             {sumtr, suma, run.sumretout, run.sumacreageout, run.sumdiversion});
  write_list(run.io, report, outflow_label_statement, {check_report_outflow_label});
  write_list(run.io, report, outflow_statement, {run.sumretout, run.sumacresout});
}

}  // namespace tamvek
