#include "run/driver.hpp"

#include <cfenv>
#include <cstddef>
#include <memory>
#include <new>

#include "distribute/distribute_to_cells.hpp"
#include "input/authorized_acreage.hpp"
#include "input/diversions.hpp"
#include "input/grid_arrays.hpp"
#include "input/grid_definition.hpp"
#include "input/monthly_factors.hpp"
#include "input/tract_coordinates.hpp"
#include "output/plot_files.hpp"
#include "output/recharge_arrays.hpp"
#include "text/list_write.hpp"
#include "runtime/platform.hpp"
#include "runtime/run_stop.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int usage_statement = 68;
constexpr int banner_statements[] = {85, 86, 87};

void write_banner(Run& run) {
  const Grid& grid = run.grid;
  write_list(run.io, Io::console_unit, banner_statements[0], {"..Processing year ", run.cyear});
  write_list(run.io, Io::console_unit, banner_statements[1], {"ny,nx,gdx,gdy,xg0,yg0: "});
  write_list(run.io, Io::console_unit, banner_statements[2],
             {grid.ny, grid.nx, grid.gdx, grid.gdy, grid.xg0, grid.yg0});
}

// A year is the one argument; an argument that begins with a minus sign asks
// for help (or is a mistake) and names no year, so the run touches no file.
bool names_a_year(std::span<const std::string_view> arguments) {
  return arguments.size() == 1 && !arguments[0].starts_with('-');
}

// The run's tables in memory for large tables (platform::allocate_large).
struct DeleteRun {
  void operator()(Run* run) const {
    run->~Run();
    platform::free_large(run);
  }
};

std::unique_ptr<Run, DeleteRun> new_run(Io& io) {
  static_assert(alignof(Run) <= alignof(std::max_align_t));
  void* const block = platform::allocate_large(sizeof(Run));
  if (block == nullptr) throw std::bad_alloc();
  return std::unique_ptr<Run, DeleteRun>(::new (block) Run(io));
}

[[noreturn]] void run_job(Io& io, std::span<const std::string_view> arguments) {
  if (!names_a_year(arguments)) {
    write_list(io, Io::console_unit, usage_statement,
               {"rerun with year as argument, e.g. tamvek 2010"});
    stop_normally();
  }
  const auto run = new_run(io);
  run->cyear = year_of_argument(arguments[0]);

  read_grid_definition(*run);
  write_banner(*run);
  read_active_cells(*run);
  read_county_grid(*run);
  read_monthly_factors(*run);
  TractCoordinatesAhead tracts_ahead(*run);
  read_authorized_acreage(*run);
  read_tract_coordinates(*run, tracts_ahead);
  read_diversions(*run);
  distribute_to_cells(*run);
  write_plot_files(*run);
  write_recharge_arrays(*run);
  stop_normally();
}

}  // namespace

int run_to_end(Io& io, std::span<const std::string_view> arguments) {
  // Reals are computed with the processor's defaults: round to nearest, every
  // floating-point exception masked.
  std::fesetenv(FE_DFL_ENV);
  RunEnd end{0, {}};
  try {
    run_job(io, arguments);
  } catch (const RunEnd& stop) {
    end = stop;
  }
  // A write made behind the run that failed stopped it there, before anything later.
  try {
    io.settle();
  } catch (const RunEnd& failed_write) {
    end = failed_write;
  }
  int status = end.status;
  platform::write_all(io.stderr_fd(), end.message);
  // A record that could not reach its file at the end is a failed run, not a
  // success. A run that stopped already has said why and ends with its status.
  const std::string close_failure = io.close_all();
  if (!close_failure.empty() && status == 0) {
    platform::write_all(io.stderr_fd(), close_failure);
    status = 2;
  }
  return status;
}

}  // namespace tamvek
