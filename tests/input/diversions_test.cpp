#include "input/diversions.hpp"

#include <gtest/gtest.h>

#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;
using testing::stop_of;

constexpr std::string_view heading =
    " ..reading diversion, acreage, and system type data\r\n"
    " Expected fields: grp,pdiv,diversion,acloc,isystype\r\n";

RunFixture& with_factors(RunFixture& fixture) {
  tamvek::Run& run = *fixture.run;
  run.nfactors = 10;
  run.swretfactor.at(0, 1) = 1.0f;
  run.swretfactor.at(0, 2) = 0.2f;
  run.swretfactor.at(0, 10) = 0.5f;
  run.authtot.at(0, 1) = 80.0f;
  run.authtot.at(0, 3) = -1.0f;
  return fixture;
}

TEST(Diversions, GroupReturnsAcreagesAndSums) {
  RunFixture fixture;
  with_factors(fixture);
  fixture.work_file("tamvek2010.txt",
                    "1 -7 1.5 10 0\n"       // factor 1
                    "1 0 0.3 5 1\n"         // factor 0.2, exact product added to 1.5
                    "2 0 8 3 9\n"           // no authorized acres: also reaches no cell
                    "3 0 4 1 9\n"           // negative authorized acres: the same
                    "3001 0 100 100 99\n");  // only in the sum of diversions
  tamvek::Run& run = *fixture.run;
  read_diversions(run);
  // 0.2f * 0.3f rounded to float first would give 1.559999942779541.
  EXPECT_EQ(run.swretloc.at(0, 1), 1.5600000619888306f);
  EXPECT_EQ(run.acresloc.at(0, 1), 15.0f);
  EXPECT_EQ(run.swretloc.at(0, 2), 4.0f);
  EXPECT_EQ(run.sumretout, 6.0f);
  EXPECT_EQ(run.sumacreageout, 4.0f);
  EXPECT_EQ(run.sumdiversion, 113.8f);
  EXPECT_EQ(fixture.console(), heading);
}

TEST(Diversions, TheGroupLimitWarning) {
  RunFixture at_limit;
  at_limit.run->maxgrp = 3000;
  read_diversions(*at_limit.run);
  EXPECT_EQ(at_limit.console(), heading);

  RunFixture above;
  above.run->maxgrp = 3001;
  read_diversions(*above.run);
  EXPECT_EQ(above.console(), std::string(heading) +
                                 " WARNING: largest group no.        3001  exceeds array dimension "
                                 "limit nGroups,        3000\r\n");
}

TEST(Diversions, BadGroupsAndCodesStopTheGroupFirst) {
  struct Case {
    const char* record;
    const char* message;
  };
  const Case cases[] = {
      {"1 0 1 1 10\n",
       "Index '11' of dimension 1 of array 'swretfactor' above upper bound of 10"},
      {"1 0 1 1 -1\n", "Index '0' of dimension 1 of array 'swretfactor' below lower bound of 1"},
      {"0 0 1 1 99\n", "Index '0' of dimension 1 of array 'swretloc' below lower bound of 1"},
  };
  for (const Case& c : cases) {
    RunFixture fixture;
    with_factors(fixture);
    fixture.work_file("tamvek2010.txt", c.record);
    const RunEnd end = stop_of([&] { read_diversions(*fixture.run); });
    EXPECT_EQ(end.message, std::string("At line 196 of file tamvekv3.f90\nFortran runtime error: ") +
                               c.message + "\n");
    EXPECT_EQ(fixture.run->sumdiversion, 1.0f);
  }
}

TEST(Diversions, AnEmptyFileLeavesEverythingZero) {
  RunFixture fixture;
  read_diversions(*fixture.run);
  EXPECT_EQ(fixture.run->sumdiversion, 0.0f);
  EXPECT_EQ(fixture.run->sumretout, 0.0f);
  EXPECT_TRUE(fixture.scratch.dir.exists("tamvek2010.txt"));
}

}  // namespace
}  // namespace tamvek
