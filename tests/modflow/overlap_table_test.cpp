#include "modflow/overlap_table.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tamvek::modflow {
namespace {

Grid tamvek_grid(std::int32_t nx, std::int32_t ny, float gdx, float gdy) {
  Grid grid;
  grid.nx = nx;
  grid.ny = ny;
  grid.gdx = gdx;
  grid.gdy = gdy;
  grid.xg0 = 1312000.5f;
  grid.yg0 = 604000.25f;
  return grid;
}

void expect_one_to_one(const OverlapTable& table) {
  ASSERT_EQ(table.model_cells(), table.tamvek_cells());
  for (std::size_t m = 0; m < table.model_cells(); ++m) {
    ASSERT_EQ(table.start[m] + 1, table.start[m + 1]) << "model cell " << m;
    EXPECT_EQ(static_cast<std::int32_t>(m), table.tamvek_cell[m]);
    EXPECT_EQ(1.0, table.share[m]);
    EXPECT_EQ(0.0, table.outside[m]);
  }
}

// tamvek's own grid as a model in metres: the grid lines of both, made by
// different sums and products, differ by rounding, which must leave neither
// slivers nor anything outside.
TEST(OverlapTable, TamveksOwnGridInMetresMapsEachCellWhole) {
  const Grid grid = tamvek_grid(37, 23, 660.5f, 1320.25f);
  const double metre = 0.3048;
  const std::vector<double> delr(37, 660.5 * metre);
  const std::vector<double> delc(23, 1320.25 * metre);
  const Placement placement{1312000.5 * metre, 604000.25 * metre, 0};
  expect_one_to_one(build_overlap_table(tamvek_frame(grid, metre), structured_grid(delr, delc, placement)));
}

// Turned by a quarter turn about its lower-left corner, a model of 23 columns
// and 37 rows covers tamvek's 37 x 23 grid; its rows run west to east.
TEST(OverlapTable, QuarterTurnIsExact) {
  const Grid grid = tamvek_grid(37, 23, 500, 250);
  const std::vector<double> delr(23, 250);
  const std::vector<double> delc(37, 500);
  const Placement placement{1312000.5 + 37 * 500, 604000.25, 90};
  const ModelGrid model = structured_grid(delr, delc, placement);
  const Extent covered = extent_of(model), tamveks = extent_of(tamvek_frame(grid, 1));
  EXPECT_EQ((std::vector<double>{tamveks.xmin, tamveks.ymin, tamveks.xmax, tamveks.ymax}),
            (std::vector<double>{covered.xmin, covered.ymin, covered.xmax, covered.ymax}));
  const OverlapTable table = build_overlap_table(tamvek_frame(grid, 1), model);
  for (std::size_t m = 0; m < table.model_cells(); ++m) {
    ASSERT_EQ(table.start[m] + 1, table.start[m + 1]);
    const std::size_t row = m / 23, column = m % 23;  // the model's
    EXPECT_EQ(static_cast<std::int32_t>((22 - column) * 37 + row), table.tamvek_cell[m]) << m;
    EXPECT_EQ(1.0, table.share[m]);
  }
}

TEST(OverlapTable, OverlappingModelCellsAreRefusedByTamvekCell) {
  const Grid grid = tamvek_grid(3, 2, 100, 100);
  const std::vector<Point> vertices = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {50, 0}, {150, 0}, {150, 100}, {50, 100}};
  const std::vector<VertexCell> cells = {{{50, 50}, {0, 3, 2, 1}}, {{100, 50}, {4, 7, 6, 5}}};
  const Placement placement{1312000.5, 604000.25, 0};
  try {
    build_overlap_table(tamvek_frame(grid, 1), vertex_grid(vertices, cells, placement));
    FAIL() << "overlapping cells were taken";
  } catch (const GridError& error) {
    EXPECT_STREQ("the model's cells overlap one another on tamvek's cell in row 2, column 1: they cover 1.500000 "
                 "times its area", error.what());
  }
}

}  // namespace
}  // namespace tamvek::modflow
