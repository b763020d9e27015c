#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "results/finished_year.hpp"
#include "results/problem_log.hpp"

namespace tamvek::results {
namespace {

using testing::damage_message;
using testing::FinishedYear;

TEST(ProblemLog, SumsUpTheTractsTamvekCouldNotPlace) {
  FinishedYear year;
  // Half of group 2's acres lie on the inactive cell, group 3's tract west of the grid.
  const ProblemLog log = read_problem_log_with_decimals(*year.io, "2010", year.grid);
  EXPECT_EQ(log.summary.conditions[0].tracts, 1);
  EXPECT_EQ(log.summary.conditions[0].acres, 10.0);
  EXPECT_EQ(log.summary.conditions[1].tracts, 0);
  EXPECT_EQ(log.summary.conditions[2].tracts, 1);
  ASSERT_EQ(log.summary.inactive_cells.size(), 1u);
  EXPECT_EQ(log.summary.inactive_cells[0].row, 2);
  EXPECT_EQ(log.summary.inactive_cells[0].col, 2);
  EXPECT_EQ(log.summary.inactive_cells[0].acres, 20.0);
  EXPECT_EQ(log.acres_decimals, 7);
}

TEST(ProblemLog, ADamagedLogSaysWhichRecordIsWrong) {
  const auto read = [](FinishedYear& year) { read_problem_log(*year.io, "2010", year.grid); };
  const std::string log = "out/output2010.dat";
  const std::string name = "out\\output2010.dat: ";
  EXPECT_EQ(damage_message(
                log, [](const std::string& text) { return text.substr(0, text.find("acres") + 2) + "\r\n"; },
                read),
            name + "record 1 is not a problem-log record: \"           1           2           2 "
                   " (i,row,col) condition 3 (inactive grid cell, ibound=0):   20.0000000     ac\"");
  EXPECT_EQ(damage_message(log, [](const std::string& text) { return text.substr(text.find('\n') + 1); },
                           read),
            name + "record 1 is numbered 2");
  EXPECT_EQ(damage_message(log, [](const std::string& text) { return text.substr(0, text.size() - 2); },
                           read),
            name + "cut short: record 2 ends without its record end (the file stops inside it)");
}

TEST(ProblemLog, AMissingLogIsNamedWithItsPath) {
  FinishedYear year;
  std::filesystem::remove(year.data.work.file("out/output2010.dat"));
  try {
    read_problem_log(*year.io, "2010", year.grid);
    ADD_FAILURE() << "read without an error";
  } catch (const ResultError& error) {
    EXPECT_EQ(error.file, "out\\output2010.dat");
    EXPECT_TRUE(error.what.starts_with("missing (no file ")) << error.what;
  }
}

}  // namespace
}  // namespace tamvek::results
