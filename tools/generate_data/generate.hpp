#pragma once

// A synthetic, reproducible data set for one run: the five static files under
// <root>/BAVO/QZ/static/, the two yearly files in <work>/, and an empty
// <work>/out/ for the run's output.

#include <filesystem>
#include <string>

#include "layout.hpp"
#include "options.hpp"
#include "random.hpp"
#include "static_files.hpp"
#include "yearly_files.hpp"

namespace tamvek::generate {

struct Summary {
  std::filesystem::path static_dir;
  Layout layout;
  int active_cells = 0;
  int counties = 0;
  long coordinate_records = 0;
  long auth_records = 0;
  long diversion_records = 0;
  long stray_records = 0;
  int authorized_groups = 0;         // in the authorized-acreage file
  int groups_without_diversion = 0;  // authorized and planned without a diversion
  int diversion_only_groups = 0;     // diverting without authorized acres
};

inline std::filesystem::path static_directory(const std::filesystem::path& root) {
  return root / "BAVO" / "QZ" / "static";
}

// The random stream of each part of the data set (see Random).
namespace stream {
inline constexpr std::uint64_t layout = 1, cells = 2, factors = 3, coordinates = 4, groups = 5,
                               acreage = 6, diversions = 7;
}  // namespace stream

inline Summary generate_data_set(const Options& options) {
  check(options);
  namespace fs = std::filesystem;
  Summary summary;
  summary.static_dir = static_directory(options.root);
  fs::create_directories(summary.static_dir);
  fs::create_directories(options.work / "out");

  Random layout_random(options.seed, stream::layout);
  summary.layout = place_grid(options, layout_random);
  Random cell_random(options.seed, stream::cells);
  const CellGrids grids = draw_cell_grids(options, cell_random);
  for (const int flag : grids.ibound) summary.active_cells += flag != 0 ? 1 : 0;
  summary.counties = grids.counties;

  write_parameter_file(summary.static_dir / "tamvek.par", options, summary.layout);
  write_grid_file(summary.static_dir / "02.ibound", options, grids, grids.ibound, "");
  write_grid_file(summary.static_dir / "cty.flg", options, grids, grids.icty,
                  "county flags by model cell, " + std::to_string(options.ny) + " rows of " +
                      std::to_string(options.nx) + " columns, row 1 north");
  Random factor_random(options.seed, stream::factors);
  write_monthly_factors(summary.static_dir / "monthlyfactorsbycounty.txt", options, factor_random);
  Random coordinate_random(options.seed, stream::coordinates);
  summary.coordinate_records = write_tract_coordinates(summary.static_dir / "40coords.dat", options,
                                                       summary.layout, coordinate_random);

  Random group_random(options.seed, stream::groups);
  GroupPlan plan = plan_groups(options, group_random);
  Random acreage_random(options.seed, stream::acreage);
  summary.auth_records =
      write_authorized_acreage(options.work / ("authacres" + options.year + ".txt"), options,
                               summary.layout, grids, plan, acreage_random);
  Random diversion_random(options.seed, stream::diversions);
  summary.diversion_records = write_diversions(options.work / ("tamvek" + options.year + ".txt"),
                                               options, plan, diversion_random);

  summary.stray_records = plan.stray_records;
  summary.authorized_groups =
      plan.count(Role::authorized) + plan.count(Role::authorized_without_diversion);
  summary.groups_without_diversion = plan.count(Role::authorized_without_diversion);
  summary.diversion_only_groups = plan.count(Role::diversion_only);
  return summary;
}

}  // namespace tamvek::generate
