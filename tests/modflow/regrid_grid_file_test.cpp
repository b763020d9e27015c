#include "modflow/regrid_grid_file.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tamvek::modflow {
namespace {

TEST(RegridGridFile, AnEsriGridOnlyWhereItLiesWhereTheCellsLie) {
  const std::vector<double> even = {50, 50, 50}, uneven = {50, 60, 50};
  const std::vector<VertexCell> triangle = {{{1, 1}, {0, 1, 2}}};
  const std::vector<Point> corners = {{0, 0}, {3, 0}, {0, 3}};
  EXPECT_EQ(GridFileForm::csv, grid_file_form(structured_grid(even, uneven, {0, 0, 0})));
  EXPECT_EQ(GridFileForm::esri_ascii, grid_file_form(structured_grid(even, {even.data(), 2}, {10, 20, 360})));
  EXPECT_EQ(GridFileForm::csv, grid_file_form(structured_grid(uneven, even, {0, 0, 0})));
  EXPECT_EQ(GridFileForm::csv, grid_file_form(structured_grid(even, even, {0, 0, 30})));
  EXPECT_EQ(GridFileForm::csv, grid_file_form(vertex_grid(corners, triangle, {0, 0, 0})));
}

TEST(RegridGridFile, EsriGridRowsFromTheTopWithNoDataOnInactiveColumns) {
  const std::vector<double> delr = {30, 30}, delc = {20, 20};
  const ModelGrid grid = structured_grid(delr, delc, {1000.5, 2000, 0});
  EXPECT_EQ("ncols 2\nnrows 2\nxllcorner 1000.5\nyllcorner 2000\ndx 30\ndy 20\nNODATA_value -9999\n"
            "0.1 -9999\n2.5 1e+20\n",
            esri_ascii_grid(grid, std::vector<double>{0.1, 7, 2.5, 1e20}, std::vector<std::uint8_t>{1, 0, 1, 1}));
}

TEST(RegridGridFile, CsvGivesEachCellsCentreOnTheMap) {
  const std::vector<double> delr = {20, 40}, delc = {10};
  const ModelGrid grid = structured_grid(delr, delc, {100, 200, 90});
  EXPECT_EQ("cell,x,y,value\n1,95,210,1.25\n2,95,240,-9999\n",
            cell_csv(grid, std::vector<double>{1.25, 3}, std::vector<std::uint8_t>{1, 0}));
}

}  // namespace
}  // namespace tamvek::modflow
