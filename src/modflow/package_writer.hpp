#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "modflow/model_checks.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/options.hpp"
#include "modflow/plan.hpp"
#include "modflow/regrid_model.hpp"
#include "modflow/year_arrays.hpp"
#include "results/output_set.hpp"
#include "runtime/io.hpp"
#include "state/run_state.hpp"

namespace tamvek::modflow {

// Everything the package is made from.
struct PackageInputs {
  const Io& io;
  const Grid& grid;
  const ModelFacts& facts;
  const ModelFrame& frame;
  const Options& options;
  const TimePlan& plan;
  const std::vector<YearArrays>& years;  // FIRST..LAST in order
  std::filesystem::path package;         // absolute
  std::filesystem::path workdir;         // absolute: tamvek's working directory
  std::optional<std::filesystem::path> copy_folder;  // absolute: --copy-arrays
  const RegridSetup* regrid = nullptr;               // --regrid: the model's own grid
};

// With --regrid, a year's volume within the model's periods by where it went
// (in tamvek's volume unit).
struct RegriddedYear {
  double placed = 0;    // on model columns that take it
  double off_grid = 0;  // outside the model's grid
  double inactive = 0;  // on model columns without an active cell
};

// An array that the package names, as its header records it.
struct NamedArray {
  std::string name;    // as the package writes it
  std::string sha256;  // lowercase hexadecimal
  std::uint64_t size = 0;
};

// What was written, for the balance and the summary. Volumes are in tamvek's
// volume unit: `applied` from the rates as written (what the model takes in),
// `expected` from the arrays' sums and the months' shares.
struct WrittenPackage {
  std::vector<double> applied;   // per period
  std::vector<double> expected;  // per period
  std::vector<double> magnitude; // per period: the volumes' absolute sum, the scale of rounding
  std::size_t from_arrays = 0;   // periods that read a tamvek array with a factor
  std::size_t copies = 0;        // free-format copies of arrays whose fields touch
  std::size_t own_arrays = 0;    // periods that span months, with an array of their own
  std::size_t zero = 0;          // periods without recharge
  std::vector<std::filesystem::path> files;  // every file written, the package last
  std::vector<NamedArray> arrays;  // every array the package names, once each
  std::size_t copied = 0;          // tamvek's arrays copied (--copy-arrays)
  std::uint64_t copied_bytes = 0;
  // --regrid: per year FIRST..LAST (empty without it), the months written once
  // each on the model's cells, and the file that shows the first of them.
  std::vector<RegriddedYear> regridded;
  std::size_t regridded_months = 0;
  std::optional<std::filesystem::path> grid_file;
};

// The volume unit in the model's length unit cubed.
double model_volume_of(const ModelFrame& frame, VolumeUnit unit);

// Writes the package and its arrays into `outputs` (not yet in place). Files
// that are there and are not this program's are refused first.
WrittenPackage write_package(const PackageInputs& in, const std::set<std::filesystem::path>& own,
                             results::OutputSet& outputs);

}  // namespace tamvek::modflow
