#include "input/grid_definition.hpp"

#include "runtime/extended.hpp"
#include "text/list_read.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int read_size_statement = 73;
constexpr int read_cell_size_statement = 74;
constexpr int read_origin_statement = 75;
constexpr int read_count_statement = 78;
constexpr int read_factor_statement = 80;
constexpr int close_statement = 83;

}  // namespace

void read_grid_definition(Run& run) {
  const RunFile file = parameter_file();
  open_run_file(run.io, file);
  Stream& stream = run.io.stream(file.unit);
  Grid& grid = run.grid;

  read_list(stream, read_size_statement, {grid.ny, grid.nx});
  read_list(stream, read_cell_size_statement, {grid.gdx, grid.gdy});
  read_list(stream, read_origin_statement, {grid.xg0, grid.yg0});
  // The top edge is rounded once: the product ny * gdy alone would lose bits.
  grid.ytop = static_cast<float>(static_cast<extended>(grid.ny) * grid.gdy + grid.yg0);

  read_list(stream, read_count_statement, {run.nfactors});
  for (std::int32_t i = 1; i <= run.nfactors; ++i)
    read_list(stream, read_factor_statement, {run.swretfactor.at(read_factor_statement, i)});
  run.io.close(close_statement, file.unit);
}

}  // namespace tamvek
