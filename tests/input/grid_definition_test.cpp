#include "input/grid_definition.hpp"

#include <bit>
#include <gtest/gtest.h>

#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;
using testing::stop_of;

TEST(GridDefinition, ReadsTheGridTheTopEdgeAndTheFactors) {
  RunFixture fixture;
  fixture.static_file("tamvek.par", "2 3\n5280 5280.0\n100 -50\n3\n0.35\n0.2\n0.1\n9.9\n");
  read_grid_definition(*fixture.run);
  const Grid& grid = fixture.run->grid;
  EXPECT_EQ(grid.ny, 2);
  EXPECT_EQ(grid.nx, 3);
  EXPECT_EQ(grid.gdx, 5280.0f);
  EXPECT_EQ(grid.xg0, 100.0f);
  EXPECT_EQ(grid.yg0, -50.0f);
  EXPECT_EQ(grid.ytop, 10510.0f);
  EXPECT_EQ(fixture.run->nfactors, 3);
  EXPECT_EQ(fixture.run->swretfactor.at(0, 3), 0.1f);
  EXPECT_EQ(fixture.run->swretfactor.at(0, 4), 0.0f);  // never filled, stays zero
  EXPECT_EQ(fixture.console(), "");
}

TEST(GridDefinition, TheTopEdgeIsRoundedOnce) {
  RunFixture fixture;
  // gdy is 1 + 2^-23: the product 3 * gdy rounded alone would be 3 + 2^-21,
  // and the top edge 2^-21 instead of the exact 1.5 * 2^-22.
  fixture.static_file("tamvek.par", "3 1\n1 1.0000001\n0 -3\n0\n");
  read_grid_definition(*fixture.run);
  EXPECT_EQ(fixture.run->grid.gdy, std::bit_cast<float>(0x3F800001u));
  EXPECT_EQ(fixture.run->grid.ytop, 1.5f * 0x1p-22f);
}

TEST(GridDefinition, ValuesRunOnIntoTheNextRecord) {
  RunFixture fixture;
  fixture.static_file("tamvek.par", "2 3\n10\n20\n1 2\n0\n");
  read_grid_definition(*fixture.run);
  EXPECT_EQ(fixture.run->grid.gdy, 20.0f);
  EXPECT_EQ(fixture.run->grid.xg0, 1.0f);
  EXPECT_EQ(fixture.run->grid.yg0, 2.0f);
}

TEST(GridDefinition, Stops) {
  RunFixture empty;
  empty.static_file("tamvek.par", "");
  RunEnd end = stop_of([&] { read_grid_definition(*empty.run); });
  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.message,
            "At line 73 of file tamvekv3.f90 (unit = 12, file = '\\BAVO\\QZ\\static\\tamvek.par')\n"
            "Fortran runtime error: End of file\n");

  RunFixture eleven;
  std::string text = "1 1\n1 1\n0 0\n11\n";
  for (int i = 0; i < 11; ++i) text += "0.5\n";
  eleven.static_file("tamvek.par", text);
  end = stop_of([&] { read_grid_definition(*eleven.run); });
  EXPECT_EQ(end.message,
            "At line 80 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '11' of dimension 1 of array 'swretfactor' above upper "
            "bound of 10\n");
  EXPECT_EQ(eleven.run->swretfactor.at(0, 10), 0.5f);

  RunFixture bad;
  bad.static_file("tamvek.par", "2 x\n");
  end = stop_of([&] { read_grid_definition(*bad.run); });
  EXPECT_EQ(end.message,
            "At line 73 of file tamvekv3.f90 (unit = 12, file = '\\BAVO\\QZ\\static\\tamvek.par')\n"
            "Fortran runtime error: Bad integer for item 2 in list input\n");
}

}  // namespace
}  // namespace tamvek
