#include "input/grid_arrays.hpp"

#include <gtest/gtest.h>

#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;
using testing::stop_of;

std::string row_of(int count, int value) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (value >= 0) text += ' ';
    text += std::to_string(value);
  }
  return text;
}

TEST(GridArrays, ReadsRowsTopFirstWithTheirProgressLines) {
  RunFixture fixture;
  fixture.run->grid.ny = 2;
  fixture.run->grid.nx = 3;
  fixture.static_file("02.ibound", " 1 0-1 9\n 2 3\n");
  fixture.static_file("cty.flg", "any heading 1 2 3\n 4 5 6\n 7 8 9\n");
  read_active_cells(*fixture.run);
  read_county_grid(*fixture.run);
  tamvek::Run& run = *fixture.run;
  EXPECT_EQ(run.ibound.at(0, 1, 1), 1);
  EXPECT_EQ(run.ibound.at(0, 2, 1), 0);
  EXPECT_EQ(run.ibound.at(0, 3, 1), -1);
  EXPECT_EQ(run.ibound.at(0, 4, 1), 0);  // beyond nx: the rest of the record is passed over
  EXPECT_EQ(run.ibound.at(0, 3, 2), 0);  // a short record reads as zeros
  EXPECT_EQ(run.icty.at(0, 1, 1), 4);
  EXPECT_EQ(run.icty.at(0, 3, 2), 9);
  EXPECT_EQ(fixture.console(), " ..reading ibound array\r\n ..reading county flags\r\n");
}

TEST(GridArrays, RowsLongerThan326FieldsTakeTwoRecords) {
  RunFixture fixture;
  fixture.run->grid.ny = 2;
  fixture.run->grid.nx = 327;
  fixture.static_file("02.ibound", row_of(326, 1) + "\n 2\n" + row_of(326, 3) + "\n 4 9 9\n");
  read_active_cells(*fixture.run);
  EXPECT_EQ(fixture.run->ibound.at(0, 326, 1), 1);
  EXPECT_EQ(fixture.run->ibound.at(0, 327, 1), 2);
  EXPECT_EQ(fixture.run->ibound.at(0, 1, 2), 3);
  EXPECT_EQ(fixture.run->ibound.at(0, 327, 2), 4);
}

TEST(GridArrays, NoRowsMeansNoReadButTheCountyHeadingIsStillRead) {
  RunFixture fixture;
  fixture.static_file("02.ibound", "");
  fixture.static_file("cty.flg", "");
  read_active_cells(*fixture.run);
  EXPECT_EQ(stop_of([&] { read_county_grid(*fixture.run); }).message,
            "At line 100 of file tamvekv3.f90 (unit = 11, file = '\\BAVO\\QZ\\static\\cty.flg')\n"
            "Fortran runtime error: End of file\n");
}

TEST(GridArrays, AGridBeyondTheTablesStopsAtItsFirstCellOutside) {
  RunFixture wide;
  wide.run->grid.ny = 1;
  wide.run->grid.nx = 401;
  wide.static_file("02.ibound", row_of(326, 1) + "\n" + row_of(75, 1) + "\n");
  EXPECT_EQ(stop_of([&] { read_active_cells(*wide.run); }).message,
            "At line 94 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '401' of dimension 1 of array 'ibound' above upper bound "
            "of 400\n");
  EXPECT_EQ(wide.run->ibound.at(0, 400, 1), 1);

  // The file has exactly 400 rows: the cell test comes before the missing record.
  RunFixture tall;
  tall.run->grid.ny = 401;
  tall.run->grid.nx = 1;
  std::string rows;
  for (int i = 0; i < 400; ++i) rows += " 1\n";
  tall.static_file("02.ibound", rows);
  EXPECT_EQ(stop_of([&] { read_active_cells(*tall.run); }).message,
            "At line 94 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '401' of dimension 2 of array 'ibound' above upper bound "
            "of 400\n");
}

TEST(GridArrays, ShortFilesAndBadFieldsStop) {
  RunFixture short_file;
  short_file.run->grid.ny = 3;
  short_file.run->grid.nx = 2;
  short_file.static_file("02.ibound", " 1 1\n 1 1\n");
  EXPECT_EQ(stop_of([&] { read_active_cells(*short_file.run); }).message,
            "At line 94 of file tamvekv3.f90 (unit = 11, file = '\\BAVO\\QZ\\static\\02.ibound')\n"
            "Fortran runtime error: End of file\n");

  RunFixture bad;
  bad.run->grid.ny = 1;
  bad.run->grid.nx = 2;
  bad.static_file("cty.flg", "heading\n 1 x\n");
  EXPECT_EQ(stop_of([&] { read_county_grid(*bad.run); }).message,
            "At line 102 of file tamvekv3.f90 (unit = 11, file = '\\BAVO\\QZ\\static\\cty.flg')\n"
            "Fortran runtime error: Bad value during integer read\n");
}

}  // namespace
}  // namespace tamvek
