#include "distribute/distribute_to_cells.hpp"

#include <bit>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

#include "distribute/cell_index.hpp"
#include "input/authorized_acreage.hpp"
#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;
using testing::stop_of;

// A grid of 3 columns and 2 rows of 500 ft from x = 1000, y = 0 (top edge
// 1000); cell (2, 2) inactive, cell (3, 1) active with a negative flag.
struct DistributionFixture : RunFixture {
  explicit DistributionFixture(std::string_view records) {
    Run& r = *run;
    r.grid = Grid{2, 3, 500, 500, 1000, 0, 1000};
    for (int irow = 1; irow <= 2; ++irow)
      for (int icol = 1; icol <= 3; ++icol) r.ibound.at(0, icol, irow) = 1;
    r.ibound.at(0, 2, 2) = 0;
    r.ibound.at(0, 3, 1) = -1;
    r.authtot.at(0, 1) = 80;
    r.swretloc.at(0, 1) = 100;
    r.acresloc.at(0, 1) = 60;
    r.sumretout = 7;  // from the diversion reader
    r.sumacreageout = 3;
    scratch.dir.write("out/.keep", "");
    work_file("authacres2010.txt", records);
    scratch.io().open(130, 20, "authacres2010.txt");
  }
  void tract(int tract_number, float x, float y) {
    run->tracts.xcoord(0, 1, 1, 1, tract_number) = x;
    run->tracts.ycoord(0, 1, 1, 1, tract_number) = y;
  }
  std::string problem_log() {
    EXPECT_EQ(scratch.io().close_all(), "");
    return scratch.dir.read("out/output2010.dat");
  }
};

TEST(CellIndex, TruncatesTheQuotientPlusOneAtExtendedPrecision) {
  EXPECT_EQ(cell_index(0.0f, 500.0f), 1);
  EXPECT_EQ(cell_index(499.9f, 500.0f), 1);
  EXPECT_EQ(cell_index(500.0f, 500.0f), 2);
  EXPECT_EQ(cell_index(-1.0f, 500.0f), 0);     // between -1 and 1: column 0
  EXPECT_EQ(cell_index(-999.0f, 500.0f), 0);
  EXPECT_EQ(cell_index(-1000.0f, 500.0f), -1);
  EXPECT_EQ(cell_index(2147483648.0f, 1.0f), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(cell_index(2147483520.0f, 1.0f), 2147483521);
  EXPECT_EQ(cell_index(2147483392.0f, 1.0f), 2147483393);
  EXPECT_EQ(cell_index(5.0f, 0.0f), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(cell_index(0.0f, 0.0f), std::numeric_limits<std::int32_t>::min());
  // 1 - 2^-24 plus 1 rounded to float would be 2; kept extended it truncates to 1.
  EXPECT_EQ(cell_index(std::nextafter(500.0f, 0.0f), 500.0f), 1);
}

// On, just before and just after the edges of cells: the index is the cell
// whose edges hold the offset, (index - 1) × size <= offset < index × size,
// checked with products that a long double holds exactly. With 501-foot cells
// the double reciprocal puts an offset of three cells at 2.9999999999999996
// cells, which a shortcut through it would truncate into the cell before.
TEST(CellIndex, EveryOffsetLiesInTheCellItIsGiven) {
  EXPECT_EQ(cell_index(1503.0f, 501.0f), 4);
  const float sizes[] = {500.0f, 501.0f, 1320.0f, 0.1f, 3.0f, 7e-30f, 1e-45f, 6.5e30f, 1e-3f, 333.3f};
  for (const float size : sizes) {
    for (int k = 0; k <= 3000; ++k) {
      float offset = static_cast<float>(k) * size;
      for (int step = 0; step < 3 && offset > 0; ++step) offset = std::nextafter(offset, 0.0f);
      for (int step = 0; step < 7; ++step, offset = std::nextafter(offset, INFINITY)) {
        const std::int32_t index = cell_index(offset, size);
        ASSERT_LE(static_cast<extended>(index - 1) * size, static_cast<extended>(offset)) << offset << " / " << size;
        ASSERT_GT(static_cast<extended>(index) * size, static_cast<extended>(offset)) << offset << " / " << size;
      }
    }
  }
  // Offsets far smaller than a cell: the quotient plus 1 lies a hair from 1,
  // below it for a negative offset unless the hair is below extended precision.
  for (const float tiny : {1e-30f, -1e-30f, -1e-45f, 1e-45f}) EXPECT_EQ(cell_index(tiny, 500.0f), 1) << tiny;
  for (const float tiny : {-1e-7f, -1e-15f, -3e-16f}) EXPECT_EQ(cell_index(tiny, 500.0f), 0) << tiny;
}

TEST(DistributeToCells, PlacesTractsAndLogsTheRestInFileOrder) {
  DistributionFixture fixture(
      "1 1 1 1 1 40\n"   // x 1000: column 1, row 1
      "1 1 1 1 2 20\n"   // x 1500 on the line: column 2; y 500 on the line: row 2, inactive
      "1 1 1 1 3 10\n"   // x 999: column 0
      "1 1 1 1 4 10\n"   // above the top: row 0
      "1 1 1 1 5 10\n"   // west and north: condition 1 only
      "1 1 1 1 6 20\n");  // ibound -1 is active
  fixture.tract(1, 1000, 999.9f);
  fixture.tract(2, 1500, 500);
  fixture.tract(3, 999, 800);
  fixture.tract(4, 1200, 1001);
  fixture.tract(5, 0, 5000);
  fixture.tract(6, 2499.9f, 1000);
  distribute_to_cells(*fixture.run);
  tamvek::Run& run = *fixture.run;
  EXPECT_EQ(run.swret.at(0, 1, 1), 50.0f);
  EXPECT_EQ(run.acres.at(0, 1, 1), 30.0f);
  EXPECT_EQ(run.swret.at(0, 3, 1), 25.0f);
  EXPECT_EQ(run.swret.at(0, 2, 2), 0.0f);
  // Unplaced: 20 + 10 + 10 + 10 of 80 authorized acres.
  EXPECT_EQ(run.sumretout, 7.0f + 62.5f);
  EXPECT_EQ(run.sumacresout, 3.0f + 37.5f);
  EXPECT_EQ(fixture.console(), "");
  EXPECT_EQ(fixture.problem_log(),
            "           1           2           2  (i,row,col) condition 3 (inactive grid cell, "
            "ibound=0):   20.0000000     acres\r\n"
            "           2           1           0  (i,row,col) condition 1 (column outside model "
            "grid):   10.0000000     acres\r\n"
            "           3           0           1  (i,row,col) condition 2 (row outside model "
            "grid):   10.0000000     acres\r\n"
            "           4          -7          -1  (i,row,col) condition 1 (column outside model "
            "grid):   10.0000000     acres\r\n");
  EXPECT_TRUE(fixture.scratch.dir.exists("out/check2010.out"));
}

TEST(DistributeToCells, SumsAreExactProductsAddedAtExtendedPrecision) {
  DistributionFixture fixture("1 1 1 1 1 30\n1 1 1 1 1 50\n");
  fixture.tract(1, 1000, 999);
  fixture.run->swretloc.at(0, 1) = 0.3f;
  distribute_to_cells(*fixture.run);
  // frac 0.375 then 0.625: 0.3f * 0.375 = 0.1125000044703483581543 exactly,
  // 0.3f * 0.625 = 0.1875000074505805969238 exactly; each sum rounded once.
  const float first = 0.112500004470348358f;
  EXPECT_EQ(fixture.run->swret.at(0, 1, 1),
            static_cast<float>(static_cast<long double>(first) + 0.1875000074505805969238L));
}

TEST(DistributeToCells, AGroupWithoutPositiveAcresPlacesNothing) {
  DistributionFixture fixture("2 1 1 1 1 40\n2 1 1 1 3 40\n");
  fixture.run->swretloc.at(0, 2) = 100;  // counted by the diversion reader already
  fixture.tract(1, 1000, 999);
  fixture.tract(3, 0, 0);
  distribute_to_cells(*fixture.run);
  EXPECT_EQ(fixture.run->swret.at(0, 1, 1), 0.0f);
  EXPECT_EQ(fixture.run->sumretout, 7.0f);
  EXPECT_EQ(fixture.run->sumacresout, 3.0f);
  EXPECT_EQ(fixture.problem_log(),
            "           1           3          -1  (i,row,col) condition 1 (column outside model "
            "grid):   40.0000000     acres\r\n");
}

TEST(DistributeToCells, StopsOnABadKeyOrGroupKeepingTheLog) {
  DistributionFixture key("1 1 1 1 3 10\n1 1 1 1 17 10\n");
  key.tract(3, 0, 0);
  EXPECT_EQ(stop_of([&] { distribute_to_cells(*key.run); }).message,
            "At line 230 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '17' of dimension 4 of array 'xcoord' above upper bound "
            "of 16\n");
  EXPECT_NE(key.problem_log(), "");

  DistributionFixture group("3001 1 1 1 1 10\n");
  EXPECT_EQ(stop_of([&] { distribute_to_cells(*group.run); }).message,
            "At line 234 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '3001' of dimension 1 of array 'authtot' above upper "
            "bound of 3000\n");

  DistributionFixture cut("1 1 1 1 1 10\n1 1 1");
  EXPECT_EQ(stop_of([&] { distribute_to_cells(*cut.run); }).message,
            "At line 217 of file tamvekv3.f90 (unit = 20, file = 'authacres2010.txt')\n"
            "Fortran runtime error: End of file\n");
}

// The number of the problem log's last record.
std::string last_number(const std::string& log) {
  const std::size_t start = log.rfind("\r\n", log.size() - 3) + 2;
  const std::size_t first = log.find_first_not_of(' ', start);
  return log.substr(first, log.find(' ', first) - first);
}

// Records far into a file: every one placed or logged in file order, and a
// stop at one of them comes before what a later record would have caused.
TEST(DistributeToCells, LongFilesArePlacedInOrderAndStopWhereTheFirstFaultIs) {
  std::string records;
  for (int k = 0; k < 40'000; ++k) records += k % 2 == 0 ? "1 1 1 1 1 1\n" : "1 1 1 1 3 1\n";
  {
    DistributionFixture fixture(records);
    fixture.tract(1, 1000, 999.9f);  // placed
    fixture.tract(3, 0, 0);          // logged
    distribute_to_cells(*fixture.run);
    EXPECT_EQ(fixture.run->acres.at(0, 1, 1), 20000 * 60.0f / 80);
    EXPECT_EQ(last_number(fixture.problem_log()), "20000");
    EXPECT_EQ(fixture.run->tract, 3);  // the shared fields as the last record left them
  }
  {
    // A bad key at record 30001, and a record that cannot be read further on.
    DistributionFixture fixture(records.substr(0, 30'000 * 12) + "1 1 1 1 17 1\n" +
                                records.substr(0, 5000 * 12) + "1 1 x 1 1 1\n" + records);
    fixture.tract(1, 1000, 999.9f);
    fixture.tract(3, 0, 0);
    EXPECT_EQ(stop_of([&] { distribute_to_cells(*fixture.run); }).message,
              "At line 230 of file tamvekv3.f90\n"
              "Fortran runtime error: Index '17' of dimension 4 of array 'xcoord' above upper bound "
              "of 16\n");
    EXPECT_EQ(fixture.run->acres.at(0, 1, 1), 15000 * 60.0f / 80);
    EXPECT_EQ(last_number(fixture.problem_log()), "15000");
  }
  {
    // The record that cannot be read stops the run after everything before it.
    DistributionFixture fixture(records.substr(0, 25'000 * 12) + "1 1 x 1 1 1\n" + records);
    fixture.tract(1, 1000, 999.9f);
    fixture.tract(3, 0, 0);
    EXPECT_EQ(stop_of([&] { distribute_to_cells(*fixture.run); }).message,
              "At line 217 of file tamvekv3.f90 (unit = 20, file = 'authacres2010.txt')\n"
              "Fortran runtime error: Bad integer for item 3 in list input\n");
    EXPECT_EQ(fixture.run->acres.at(0, 1, 1), 12500 * 60.0f / 80);
    EXPECT_EQ(last_number(fixture.problem_log()), "12500");
  }
}

// The second pass after a first pass over the same file: the first pass's
// records stand for a second read while the file is unchanged, fields its
// reads left unset included, and the file is read again once it changed.
TEST(DistributeToCells, TheFirstPassRecordsStandForASecondReadOfTheUnchangedFile) {
  const std::string records = "1,,,,,40\n1 1 1 1 3 10\n1 1 1 1 1 30\n";
  const auto first_pass = [](DistributionFixture& fixture) {
    tamvek::Run& run = *fixture.run;
    read_authorized_acreage(run);
    EXPECT_EQ(run.twp, 1);
    // As the tract coordinate and diversion reads would leave them.
    run.twp = run.rng = run.sec = run.tract = 1;
    run.swretloc.at(0, 1) = 100;
    run.acresloc.at(0, 1) = 60;
  };
  {
    DistributionFixture fixture(records);
    fixture.tract(1, 1000, 999.9f);
    fixture.tract(3, 999, 800);
    first_pass(fixture);
    distribute_to_cells(*fixture.run);
    // The first record's key is the one the fields held before the second pass.
    EXPECT_EQ(fixture.run->swret.at(0, 1, 1), 50.0f + 37.5f);
    EXPECT_EQ(fixture.run->acres.at(0, 1, 1), 30.0f + 22.5f);
    EXPECT_EQ(fixture.run->tacres, 30.0f);
    EXPECT_EQ(fixture.problem_log(),
              "           1           1           0  (i,row,col) condition 1 (column outside model "
              "grid):   10.0000000     acres\r\n");
  }
  for (const bool same_size_and_time : {true, false}) {
    DistributionFixture fixture(records);
    fixture.tract(1, 1000, 999.9f);
    fixture.tract(3, 999, 800);
    first_pass(fixture);
    const std::string path = fixture.scratch.dir.file("authacres2010.txt");
    const auto written = std::filesystem::last_write_time(path);
    // Read again, the first would place 100 on cell (1, 1) and the second 0.
    fixture.work_file("authacres2010.txt", same_size_and_time ? "1,,,,,80\n1 1 1 1 3 10\n1 1 1 1 3 30\n"
                                                              : "1 1 1 1 3 80\n");
    if (same_size_and_time) std::filesystem::last_write_time(path, written);
    distribute_to_cells(*fixture.run);
    // A file of the same size and time is taken as unchanged; any other is read.
    EXPECT_EQ(fixture.run->swret.at(0, 1, 1), same_size_and_time ? 87.5f : 0.0f) << same_size_and_time;
    EXPECT_EQ(fixture.run->tacres, same_size_and_time ? 30.0f : 80.0f);
  }
}

TEST(DistributeToCells, AMissingOutputDirectoryStopsAtTheProblemLog) {
  RunFixture fixture;
  EXPECT_EQ(stop_of([&] { distribute_to_cells(*fixture.run); }).message,
            "At line 213 of file tamvekv3.f90 (unit = 14)\n"
            "Fortran runtime error: File 'out\\output2010.dat' does not exist\n");
}

}  // namespace
}  // namespace tamvek
