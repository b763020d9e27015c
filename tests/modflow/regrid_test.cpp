#include "modflow/regrid.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tamvek::modflow {
namespace {

// tamvek's two cells of 100 feet, and a model of two such cells shifted east
// by half a cell: the model's first cell takes half of each tamvek cell, its
// second the east half of the second, and the west half of the first is outside.
OverlapTable half_cell_shift() {
  Grid grid;
  grid.nx = 2;
  grid.ny = 1;
  grid.gdx = 100;
  grid.gdy = 100;
  const std::vector<double> spacing = {100, 100};
  return build_overlap_table(tamvek_frame(grid, 1), structured_grid(spacing, {spacing.data(), 1}, {50, 0, 0}));
}

TEST(Regrid, EveryPartOfTheMonthIsPlacedOutsideOrOnAnInactiveColumn) {
  const OverlapTable table = half_cell_shift();
  const std::vector<double> volumes = {10, 30};
  RegriddedMonth month;

  regrid_month(table, volumes, std::vector<std::uint8_t>{1, 1}, month);
  EXPECT_EQ((std::vector<double>{20, 15}), month.volume);
  EXPECT_EQ(40, month.total);
  EXPECT_EQ(35, month.placed);
  EXPECT_EQ(5, month.outside);
  EXPECT_EQ(0, month.inactive);
  EXPECT_TRUE(balances(month));

  // The same month object again, the second column without an active cell.
  regrid_month(table, volumes, std::vector<std::uint8_t>{1, 0}, month);
  EXPECT_EQ((std::vector<double>{20, 0}), month.volume);
  EXPECT_EQ(20, month.placed);
  EXPECT_EQ(15, month.inactive);
  EXPECT_EQ(5, month.outside);
  EXPECT_TRUE(balances(month));

  month.placed += 1e-6;  // what a faulty table would leave
  EXPECT_FALSE(balances(month));
}

TEST(Regrid, ArraysOfAnotherShapeAreRefused) {
  const OverlapTable table = half_cell_shift();
  RegriddedMonth month;
  EXPECT_THROW(regrid_month(table, std::vector<double>{1, 2, 3}, std::vector<std::uint8_t>{1, 1}, month),
               std::invalid_argument);
  EXPECT_THROW(regrid_month(table, std::vector<double>{1, 2}, std::vector<std::uint8_t>{1}, month),
               std::invalid_argument);
}

// Three columns of two layers. Read as IDOMAIN, -1 is a cell that does not
// exist; read as IBOUND, a constant head, which is active.
TEST(Regrid, ColumnsWithoutAnExistingCellTakeNoRecharge) {
  const std::vector<double> codes = {1, -1, 0, 0, 0, -1};
  EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0}), active_columns(codes, 3, ActiveCode::idomain));
  EXPECT_EQ((std::vector<std::uint8_t>{1, 1, 1}), active_columns(codes, 3, ActiveCode::ibound));
  EXPECT_THROW(active_columns(codes, 4, ActiveCode::ibound), std::invalid_argument);
}

}  // namespace
}  // namespace tamvek::modflow
