#include "input/tract_coordinates.hpp"

#include <array>
#include <gtest/gtest.h>

#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;
using testing::stop_of;

constexpr std::string_view file_locus =
    "At line 166 of file tamvekv3.f90 (unit = 21, file = '\\BAVO\\QZ\\static\\40coords.dat')\n";

TEST(TractCoordinates, StoresEachKeyTheLastRecordWins) {
  RunFixture fixture;
  fixture.static_file("40coords.dat",
                      "1 2 3 4 100.5 200.25\n"
                      "20 45 36 16 -1e3 5e3\n"
                      "1 2 3 4 111 222\n"
                      "5 5 5 5 /\n");  // a slash keeps the previous record's x and y
  read_tract_coordinates(*fixture.run);
  tamvek::Run& run = *fixture.run;
  EXPECT_EQ(run.tracts.xcoord(0, 1, 2, 3, 4), 111.0f);
  EXPECT_EQ(run.tracts.ycoord(0, 1, 2, 3, 4), 222.0f);
  EXPECT_EQ(run.tracts.xcoord(0, 20, 45, 36, 16), -1000.0f);
  EXPECT_EQ(run.tracts.xcoord(0, 5, 5, 5, 5), 111.0f);
  EXPECT_EQ(run.tracts.ycoord(0, 5, 5, 5, 5), 222.0f);
  EXPECT_EQ(run.tracts.xcoord(0, 2, 2, 3, 4), 0.0f);
  EXPECT_EQ(fixture.console(), " ..reading coordinates of 40-acre tracts\r\n");
}

TEST(TractCoordinates, AKeyOutsideItsRangesStopsAfterTheRecordsBefore) {
  RunFixture fixture;
  fixture.static_file("40coords.dat", "1 1 1 1 5 6\n21 1 1 17 0 0\n");
  EXPECT_EQ(stop_of([&] { read_tract_coordinates(*fixture.run); }).message,
            "At line 173 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '17' of dimension 4 of array 'xcoord' above upper bound "
            "of 16\n");
  EXPECT_EQ(fixture.run->tracts.xcoord(0, 1, 1, 1, 1), 5.0f);

  RunFixture zero;
  zero.static_file("40coords.dat", "0 1 1 1 5 6\n");
  EXPECT_EQ(stop_of([&] { read_tract_coordinates(*zero.run); }).message,
            "At line 173 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '0' of dimension 1 of array 'xcoord' below lower bound "
            "of 1\n");
}

TEST(TractCoordinates, AnUnreadableOrCutShortRecordStopsTheRun) {
  RunFixture bad;
  bad.static_file("40coords.dat", "1 1 1 1 5 6\n1 1 1 2 5.0.0 6\n");
  RunEnd end = stop_of([&] { read_tract_coordinates(*bad.run); });
  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.message, std::string(file_locus) +
                             "Fortran runtime error: Bad real number in item 5 of list input\n");
  EXPECT_EQ(bad.run->tracts.xcoord(0, 1, 1, 1, 2), 0.0f);  // not stored with stale values

  RunFixture cut;
  cut.static_file("40coords.dat", "1 1 1 1 5 6\n1 1 1 2 5\n");
  end = stop_of([&] { read_tract_coordinates(*cut.run); });
  EXPECT_EQ(end.message, std::string(file_locus) + "Fortran runtime error: End of file\n");
}

// Read ahead on a second thread, the phase leaves the tables, the run's fields,
// the console and any stop exactly as its own reads would, whatever the file.
TEST(TractCoordinates, ReadAheadTheFileGivesWhatThePhaseReads) {
  const std::string_view files[] = {
      "1 2 3 4 100.5 200.25\n20 45 36 16 -1e3 5e3\n1 2 3 4 111 222\n",
      "1 2 3 4 100.5 200.25\n5 5 5 5 /\n7 7 7 7 1 2\n",  // a record that sets four fields
      "1 1 1 1 5 6\n21 1 1 17 0 0\n1 1 1 2 5 6\n",      // a key outside the tables
      "1 1 1 1 5 6\n1 1 1 2 5.0.0 6\n",                  // a value that cannot be read
      "1 1 1 1 5 6\n1 1 1 2 5",                            // cut short
      ""};
  for (const std::string_view file : files) {
    RunFixture read;
    RunFixture ahead;
    read.static_file("40coords.dat", file);
    ahead.static_file("40coords.dat", file);
    const RunEnd read_end = stop_of([&] { read_tract_coordinates(*read.run); });
    TractCoordinatesAhead reading(*ahead.run);
    const RunEnd ahead_end = stop_of([&] { read_tract_coordinates(*ahead.run, reading); });
    EXPECT_EQ(ahead_end.message, read_end.message) << file;
    EXPECT_EQ(ahead.console(), read.console());
    for (const auto& [twp, rng, sec, tract] :
         {std::array{1, 2, 3, 4}, {20, 45, 36, 16}, {5, 5, 5, 5}, {7, 7, 7, 7}, {1, 1, 1, 1}, {1, 1, 1, 2}}) {
      EXPECT_EQ(ahead.run->tracts.xcoord(0, twp, rng, sec, tract), read.run->tracts.xcoord(0, twp, rng, sec, tract));
      EXPECT_EQ(ahead.run->tracts.ycoord(0, twp, rng, sec, tract), read.run->tracts.ycoord(0, twp, rng, sec, tract));
    }
    EXPECT_EQ((std::array{ahead.run->twp, ahead.run->rng, ahead.run->sec, ahead.run->tract}),
              (std::array{read.run->twp, read.run->rng, read.run->sec, read.run->tract}));
  }
}

// A file that changed after it was read ahead is read again, and nothing of
// what was read ahead stays in the tables.
TEST(TractCoordinates, AFileChangedAfterReadingAheadIsReadAgain) {
  RunFixture fixture;
  fixture.static_file("40coords.dat", "1 2 3 4 100.5 200.25\n");
  TractCoordinatesAhead ahead(*fixture.run);
  EXPECT_TRUE(ahead.finish());
  fixture.static_file("40coords.dat", "2 2 3 4 1 2\n2 2 3 5 1 2\n");
  read_tract_coordinates(*fixture.run, ahead);
  EXPECT_EQ(fixture.run->tracts.xcoord(0, 1, 2, 3, 4), 0.0f);
  EXPECT_EQ(fixture.run->tracts.xcoord(0, 2, 2, 3, 4), 1.0f);
  EXPECT_EQ(fixture.run->tract, 5);
}

TEST(TractCoordinates, AnEmptyFileLeavesEveryTractAtTheOrigin) {
  RunFixture fixture;
  fixture.static_file("40coords.dat", "");
  read_tract_coordinates(*fixture.run);
  EXPECT_EQ(fixture.run->tracts.xcoord(0, 1, 1, 1, 1), 0.0f);
}

}  // namespace
}  // namespace tamvek
