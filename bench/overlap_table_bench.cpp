#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "modflow/overlap_table.hpp"
#include "modflow/regrid.hpp"

namespace {

using namespace tamvek;
using namespace tamvek::modflow;

// tamvek's 400 x 400 grid of quarter-mile cells, and a model in metres of
// N x N cells 100 to 250 m wide, turned by 20 degrees, over most of it.
struct Grids {
  explicit Grids(std::size_t n) {
    std::mt19937_64 random(21);
    std::uniform_real_distribution<double> width(100, 250);
    std::vector<double> delr(n), delc(n);
    for (double& w : delr) w = width(random);
    for (double& w : delc) w = width(random);
    grid.nx = grid.ny = 400;
    grid.gdx = grid.gdy = 1320;
    grid.xg0 = 1500000;
    grid.yg0 = 700000;
    model = structured_grid(delr, delc, {1500000 * metre + 20000, 700000 * metre - 30000, 20});
  }
  static constexpr double metre = 0.3048;
  Grid grid;
  ModelGrid model;
};

void BM_OverlapTableBuild(benchmark::State& state) {
  const Grids grids(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(build_overlap_table(tamvek_frame(grids.grid, Grids::metre), grids.model));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grids.model.cell_count()));
}
BENCHMARK(BM_OverlapTableBuild)->Arg(1000)->Unit(benchmark::kMillisecond);

// One month carried over by the table: what each of a series' months costs.
void BM_RegridMonth(benchmark::State& state) {
  const Grids grids(static_cast<std::size_t>(state.range(0)));
  const OverlapTable table = build_overlap_table(tamvek_frame(grids.grid, Grids::metre), grids.model);
  const std::vector<double> volumes(table.tamvek_cells(), 12.5);
  const std::vector<std::uint8_t> active(table.model_cells(), 1);
  RegriddedMonth month;
  for (auto _ : state) {
    regrid_month(table, volumes, active, month);
    benchmark::DoNotOptimize(month.placed);
  }
}
BENCHMARK(BM_RegridMonth)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
