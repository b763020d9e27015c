#include "input/authorized_acreage.hpp"

#include <cmath>
#include <gtest/gtest.h>

#include "text/list_read.hpp"
#include "support/run_fixture.hpp"

namespace tamvek {
namespace {

using testing::RunFixture;

constexpr std::string_view summary_head = " ..reading authorized acreage by group\r\n";

TEST(AuthorizedAcreage, TotalsSummaryPauseListingAndRewind) {
  RunFixture fixture;
  fixture.work_file("authacres2010.txt",
                    "2 1 1 1 1 40.0\n"
                    "4 1 1 1 2 40\n4 1 1 1 2 -40\n"   // sums to zero: listed
                    "0 1 1 1 3 5.5\n"                  // outside, counts in sumauth only
                    "3001 1 1 1 3 1.25\n"              // outside, raises maxgrp
                    "2 1 1 1 4 0.5\n");
  tamvek::Run& run = *fixture.run;
  run.swret.at(0, 400, 400) = 9;
  run.swretloc.at(0, 3000) = 9;
  read_authorized_acreage(run);

  EXPECT_EQ(run.authtot.at(0, 2), 40.5f);
  EXPECT_EQ(run.authtot.at(0, 4), 0.0f);
  EXPECT_EQ(run.maxgrp, 3001);
  EXPECT_EQ(run.sumauth, 47.25f);
  EXPECT_EQ(run.swret.at(0, 400, 400), 0.0f);
  EXPECT_EQ(run.swretloc.at(0, 3000), 0.0f);
  // The listing runs up to group 3000 whatever the largest group number.
  std::string unused_groups;
  for (int i = 5; i <= 3000; ++i) {
    const std::string number = std::to_string(i);
    unused_groups += " Group" + std::string(12 - number.size(), ' ') + number +
                     "   0.00000000      auth. acres\r\n";
  }
  EXPECT_EQ(fixture.console(),
            std::string(summary_head) +
                " Group            0  outside dimension limits.\r\n"
                " Group         3001  outside dimension limits.\r\n"
                " year, sum authorized acres over groups: \r\n"
                " 2010   47.2500000    \r\n"
                " list groups with total authorized acres <= zero: \r\n"
                " Group           1   0.00000000      auth. acres\r\n"
                " Group           3   0.00000000      auth. acres\r\n"
                " Group           4   0.00000000      auth. acres\r\n" + unused_groups);
  EXPECT_EQ(fixture.scratch.errors(),
            "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n"
            "RESUMED\n");

  // Rewound and still open: the next read takes the first record again.
  std::int32_t grp = 0;
  read_list(fixture.scratch.io().stream(20), 1, {grp});
  EXPECT_EQ(grp, 2);
}

TEST(AuthorizedAcreage, SingleAdditionsInRecordOrderAndNotANumber) {
  RunFixture fixture;
  fixture.work_file("authacres2010.txt", "1 1 1 1 1 16777216\n1 1 1 1 1 1\n1 1 1 1 1 1\n"
                                         "2 1 1 1 1 nan\n");
  read_authorized_acreage(*fixture.run);
  // Each 1 is lost against 2^24 when added one at a time, as the file orders them.
  EXPECT_EQ(fixture.run->authtot.at(0, 1), 16777216.0f);
  EXPECT_TRUE(std::isnan(fixture.run->authtot.at(0, 2)));
  EXPECT_TRUE(std::isnan(fixture.run->sumauth));
  EXPECT_EQ(fixture.console().find("Group           2"), std::string::npos);
}

TEST(AuthorizedAcreage, AnEmptyFileStillPauses) {
  RunFixture fixture;
  read_authorized_acreage(*fixture.run);  // the file is created empty
  EXPECT_TRUE(fixture.scratch.dir.exists("authacres2010.txt"));
  EXPECT_EQ(fixture.run->maxgrp, 0);
  EXPECT_EQ(fixture.console(), std::string(summary_head) +
                                   " year, sum authorized acres over groups: \r\n"
                                   " 2010   0.00000000    \r\n"
                                   " list groups with total authorized acres <= zero: \r\n");
  EXPECT_NE(fixture.scratch.errors().find("RESUMED"), std::string::npos);
}

TEST(AuthorizedAcreage, AnAnswerOtherThanGoEndsTheRunBeforeTheListing) {
  RunFixture fixture("GO\n");
  fixture.work_file("authacres2010.txt", "3 1 1 1 1 0\n");
  const RunEnd end = testing::stop_of([&] { read_authorized_acreage(*fixture.run); });
  EXPECT_EQ(end.status, 0);
  EXPECT_EQ(end.message, "");
  const std::string console = fixture.console();
  EXPECT_EQ(console.substr(console.size() - 52),
            " list groups with total authorized acres <= zero: \r\n");
}

TEST(AuthorizedAcreage, AnUnreadableRecordStopsTheRun) {
  RunFixture fixture;
  fixture.work_file("authacres2010.txt", "1 1 1 1 1 40\n1 1 1 1 1 4O\n");
  const RunEnd end = testing::stop_of([&] { read_authorized_acreage(*fixture.run); });
  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.message,
            "At line 133 of file tamvekv3.f90 (unit = 20, file = 'authacres2010.txt')\n"
            "Fortran runtime error: Bad real number in item 6 of list input\n");
}

}  // namespace
}  // namespace tamvek
