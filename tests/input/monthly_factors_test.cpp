#include "input/monthly_factors.hpp"

#include <gtest/gtest.h>

#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;

TEST(MonthlyFactors, TheRowIsTheRecordsPlaceNotItsNumber) {
  RunFixture fixture;
  std::string text;
  for (int k = 1; k <= 45; ++k) {
    const std::string f = std::to_string(k);
    // County 2's record is cut after three factors: the rest comes from the
    // next record, which is then used up, so county 3 reads the record after.
    if (k == 2) {
      text += "43 0.1 0.2 0.3\n0.4 0.5 0.6 99 99\n";
      continue;
    }
    text += std::to_string(45 - k) + " " + f + ".5 " + f + ".6 0 0 0 " + f + ".10 7 7\n";
  }
  fixture.static_file("monthlyfactorsbycounty.txt", text);
  read_monthly_factors(*fixture.run);
  tamvek::Run& run = *fixture.run;
  EXPECT_EQ(run.xmonfactors.at(0, 1, 5), 1.5f);
  EXPECT_EQ(run.xmonfactors.at(0, 1, 10), 1.10f);
  EXPECT_EQ(run.xmonfactors.at(0, 2, 7), 0.3f);
  EXPECT_EQ(run.xmonfactors.at(0, 2, 10), 0.6f);
  EXPECT_EQ(run.xmonfactors.at(0, 3, 5), 3.5f);
  EXPECT_EQ(run.xmonfactors.at(0, 44, 6), 44.6f);
  EXPECT_EQ(run.xmonfactors.at(0, 44, 4), 0.0f);
  EXPECT_EQ(fixture.console(), " ..reading monthly factors by county\r\n");
}

TEST(MonthlyFactors, FewerThan44RecordsStop) {
  RunFixture fixture;
  std::string text;
  for (int k = 1; k <= 43; ++k) text += "1 0 0 0 0 0 1\n";
  fixture.static_file("monthlyfactorsbycounty.txt", text);
  EXPECT_EQ(testing::stop_of([&] { read_monthly_factors(*fixture.run); }).message,
            "At line 110 of file tamvekv3.f90 (unit = 11, file = "
            "'\\BAVO\\QZ\\static\\monthlyfactorsbycounty.txt')\n"
            "Fortran runtime error: End of file\n");
}

}  // namespace
}  // namespace tamvek
