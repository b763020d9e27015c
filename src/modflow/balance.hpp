#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "modflow/model_checks.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/options.hpp"
#include "modflow/package_writer.hpp"
#include "modflow/plan.hpp"
#include "modflow/regrid_model.hpp"
#include "modflow/year_arrays.hpp"

namespace tamvek::modflow {

// A year's volumes in tamvek's volume unit: in its arrays, applied by the
// package's periods, and outside the model's time.
struct YearBalance {
  int year = 0;
  double arrays = 0;
  double applied = 0;
  double outside = 0;
};

struct Balance {
  std::vector<YearBalance> years;
  double applied_as_written = 0;  // from the rates written, all periods
  bool holds = true;
  std::string fault;              // where it does not hold
};

// Balances each year (arrays = applied + outside, the part outside found from
// the model's first and last moment alone) and each period (the rates as
// written carry the volume of the months' shares), to rounding.
Balance balance_of(const TimePlan& plan, const std::vector<YearArrays>& years,
                   const WrittenPackage& written);

// With --regrid: both grids' extents in the model's length unit, and each
// year's volume within the model's time by where it went.
void print_regrid_summary(const RegridSetup& setup, const ModelFrame& frame, const Options& options,
                          const WrittenPackage& written, const Balance& balance);

void print_summary(const ModelFacts& facts, const ModelFrame& frame, const Options& options,
                   const TimePlan& plan, const WrittenPackage& written, const Balance& balance,
                   const std::filesystem::path& package);

}  // namespace tamvek::modflow
