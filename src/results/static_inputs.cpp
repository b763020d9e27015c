#include "results/static_inputs.hpp"

#include <cmath>
#include <filesystem>
#include <memory>

#include "input/grid_arrays.hpp"
#include "input/grid_definition.hpp"
#include "results/number_text.hpp"
#include "results/result_error.hpp"
#include "runtime/platform.hpp"
#include "state/file_names.hpp"

namespace tamvek::results {
namespace {

void require_file(const Io& io, const RunFile& file) {
  const std::string path = io.path_of(file.name);
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::status(path, error)))
    throw ResultError{file.name, "missing (no file " + path + ")"};
}

void require_mappable(const Grid& grid) {
  std::string what;
  if (grid.ny < 1 || grid.nx < 1)
    what = "the grid has no cells (" + std::to_string(grid.ny) + " rows, " +
           std::to_string(grid.nx) + " columns)";
  else if (!(grid.gdx > 0 && grid.gdy > 0 && std::isfinite(grid.gdx) && std::isfinite(grid.gdy)))
    what = "the cell size " + shortest_decimal(grid.gdx) + " by " + shortest_decimal(grid.gdy) +
           " is not positive";
  else if (!std::isfinite(grid.xg0) || !std::isfinite(grid.yg0) || !std::isfinite(grid.ytop))
    what = "the grid's origin is not a finite number";
  if (!what.empty()) throw ResultError{parameter_file().name, what + ": there is no map to draw"};
}

// The null device, open while tamvek's readers run: they announce each file on
// tamvek's console (" ..reading ibound array"), and a companion program's
// console is its own.
class Sink {
 public:
  Sink() : fd_(platform::open_file(platform::null_device, platform::OpenMode::write_only).fd) {}
  ~Sink() {
    if (fd_ >= 0) platform::close_file(fd_);
  }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::vector<bool> read_static_inputs(Run& run) {
  require_file(run.io, parameter_file());
  const Sink sink;
  IoSetup setup = run.io.setup();
  if (sink.fd() >= 0) setup.stdout_fd = sink.fd();
  {
    Io quiet(setup);
    const auto reading = std::make_unique<Run>(quiet);
    read_grid_definition(*reading);
    require_mappable(reading->grid);
    require_file(run.io, active_cell_file());
    read_active_cells(*reading);
    run.grid = reading->grid;
    run.nfactors = reading->nfactors;
    run.swretfactor = reading->swretfactor;
    run.ibound = reading->ibound;
    quiet.close_all();
  }

  const Grid& grid = run.grid;
  std::vector<bool> active;
  active.reserve(static_cast<std::size_t>(grid.ny) * static_cast<std::size_t>(grid.nx));
  for (std::int32_t irow = 1; irow <= grid.ny; ++irow)
    for (std::int32_t icol = 1; icol <= grid.nx; ++icol)
      active.push_back(run.ibound.at(0, icol, irow) != 0);
  return active;
}

}  // namespace tamvek::results
