#include "modflow/balance.hpp"

#include <cmath>
#include <cstdio>

#include "modflow/model_text.hpp"

namespace tamvek::modflow {
namespace {

// Sums in double precision of at most some millions of terms agree far closer
// than this; a share counted twice or lost is far larger.
constexpr double relative_tolerance = 1e-9;
constexpr double absolute_tolerance = 1e-9;

bool balances(double left, double right, double scale) {
  return std::fabs(left - right) <= relative_tolerance * scale + absolute_tolerance;
}

}  // namespace

Balance balance_of(const TimePlan& plan, const std::vector<YearArrays>& years,
                   const WrittenPackage& written) {
  Balance balance;
  const int first_year = years.empty() ? 0 : years.front().year;
  for (const YearArrays& year : years) balance.years.push_back({year.year, 0, 0, 0});

  for (std::size_t p = 0; p < plan.periods.size(); ++p) {
    balance.applied_as_written += written.applied[p];
    for (const Share& share : plan.periods[p].shares) {
      const YearArrays& year = years[static_cast<std::size_t>(share.year - first_year)];
      const MonthArray& month = year.months[irrigation_month_index(share.month)];
      balance.years[static_cast<std::size_t>(share.year - first_year)].applied +=
          share.fraction * static_cast<double>(month.tenths) / 10;
    }
    if (balance.holds && !balances(written.applied[p], written.expected[p], written.magnitude[p])) {
      char text[200];
      std::snprintf(text, sizeof text, "period %zu applies %.6f where its months give %.6f",
                    p + 1, written.applied[p], written.expected[p]);
      balance.holds = false;
      balance.fault = text;
    }
  }
  for (std::size_t i = 0; i < years.size(); ++i) {
    YearBalance& entry = balance.years[i];
    double magnitude = 0;
    for (const MonthArray& month : years[i].months) {
      const double volume = static_cast<double>(month.tenths) / 10;
      entry.arrays += volume;
      magnitude += static_cast<double>(month.absolute_tenths) / 10;
      entry.outside +=
          (1 - fraction_within(entry.year, month.month, plan.begin, plan.end)) * volume;
    }
    if (!written.regridded.empty()) {
      const RegriddedYear& carried = written.regridded[i];
      const double accounted = carried.placed + carried.off_grid + carried.inactive + entry.outside;
      if (balance.holds && !balances(entry.arrays, accounted, magnitude)) {
        char text[300];
        std::snprintf(text, sizeof text,
                      "the year %d's arrays hold %.6f, and %.6f is placed, %.6f outside the model's "
                      "grid, %.6f on inactive columns and %.6f outside the model's time",
                      entry.year, entry.arrays, carried.placed, carried.off_grid, carried.inactive,
                      entry.outside);
        balance.holds = false;
        balance.fault = text;
      }
    }
    if (balance.holds && !balances(entry.arrays, entry.applied + entry.outside, magnitude)) {
      char text[200];
      std::snprintf(text, sizeof text,
                    "the year %d's arrays hold %.6f, the periods apply %.6f and %.6f falls "
                    "outside the model's time",
                    entry.year, entry.arrays, entry.applied, entry.outside);
      balance.holds = false;
      balance.fault = text;
    }
  }
  return balance;
}

void print_summary(const ModelFacts& facts, const ModelFrame& frame, const Options& options,
                   const TimePlan& plan, const WrittenPackage& written, const Balance& balance,
                   const std::filesystem::path& package) {
  const std::string volume = name_of(*options.volume_unit);
  std::printf("tamvek-modflow: %s (%s), %zu stress periods from %s to %s, %s and %s\n",
              facts.name_file.c_str(),
              facts.generation == Generation::mf6 ? "MODFLOW 6" : "MODFLOW-2005",
              plan.periods.size(), date_text(plan.begin).c_str(), date_text(plan.end).c_str(),
              name_of(frame.length_unit).c_str(), name_of(frame.time_unit).c_str());
  // Regridded, a year's volume within the periods is not all applied: the
  // table after this one says how much the model's cells take.
  const bool regridded = !written.regridded.empty();
  std::printf("%-6s %18s %18s %18s   (%s)\n", "year", "in the arrays", regridded ? "in the periods" : "applied",
              "outside the model", volume.c_str());
  double arrays = 0, applied = 0, outside = 0;
  for (const YearBalance& year : balance.years) {
    std::printf("%-6d %18.3f %18.3f %18.3f\n", year.year, year.arrays, year.applied, year.outside);
    arrays += year.arrays, applied += year.applied, outside += year.outside;
  }
  std::printf("%-6s %18.3f %18.3f %18.3f\n", "total", arrays, applied, outside);
  std::printf("the rates as written apply %.3f %s: the volumes balance\n",
              balance.applied_as_written, volume.c_str());
  std::printf("written %s: %zu periods from %s with a factor, %zu with an array of "
              "their own, %zu without recharge; %zu free-format copies\n",
              shown(package).c_str(), written.from_arrays,
              regridded ? "the months carried onto the model's grid" : "tamvek's arrays", written.own_arrays,
              written.zero, written.copies);
  if (written.grid_file)
    std::printf("written %s: each model cell's volume (%s) of the first month carried onto the "
                "model's grid, %zu months carried\n",
                shown(*written.grid_file).c_str(), volume.c_str(), written.regridded_months);
  if (options.copy_arrays)
    std::printf("copied %zu of tamvek's arrays, %llu bytes, into %s in the model's folder\n",
                written.copied, static_cast<unsigned long long>(written.copied_bytes),
                shown(*options.copy_arrays).c_str());
}

void print_regrid_summary(const RegridSetup& setup, const ModelFrame& frame, const Options& options,
                          const WrittenPackage& written, const Balance& balance) {
  const Extent tamvek = extent_of(setup.tamvek);
  const Extent model = extent_of(setup.model);
  const std::string length = name_of(frame.length_unit);
  std::printf("tamvek's grid lies within x %.3f to %.3f, y %.3f to %.3f %s; the model's grid (%zu "
              "cells a layer, placed by %s) within x %.3f to %.3f, y %.3f to %.3f %s\n",
              tamvek.xmin, tamvek.xmax, tamvek.ymin, tamvek.ymax, length.c_str(), setup.model.cell_count(),
              setup.placed_from.c_str(), model.xmin, model.xmax, model.ymin, model.ymax, length.c_str());
  std::printf("%-6s %18s %18s %18s %18s   (%s, within the model's time)\n", "year", "in the arrays",
              "placed", "outside the grid", "inactive columns", name_of(*options.volume_unit).c_str());
  RegriddedYear total;
  double arrays = 0;
  for (std::size_t i = 0; i < written.regridded.size(); ++i) {
    const RegriddedYear& year = written.regridded[i];
    const double within = balance.years[i].arrays - balance.years[i].outside;
    std::printf("%-6d %18.3f %18.3f %18.3f %18.3f\n", balance.years[i].year, within, year.placed,
                year.off_grid, year.inactive);
    arrays += within, total.placed += year.placed, total.off_grid += year.off_grid,
        total.inactive += year.inactive;
  }
  std::printf("%-6s %18.3f %18.3f %18.3f %18.3f\n", "total", arrays, total.placed, total.off_grid,
              total.inactive);
}

}  // namespace tamvek::modflow
