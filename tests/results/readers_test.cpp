#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "results/array_file.hpp"
#include "results/check_report.hpp"
#include "results/layer.hpp"
#include "results/problem_log.hpp"
#include "results/result_error.hpp"
#include "support/small_data_set.hpp"

namespace tamvek::results {
namespace {

using testing::SmallDataSet;

// The small data set's year 2010 as tamvek left it, and streams that read
// its files where tamvek wrote them.
struct FinishedYear {
  SmallDataSet data;
  std::unique_ptr<Io> io;
  const Grid grid{2, 3, 1000, 1000, 0, 0, 2000};

  FinishedYear() {
    const testing::ProgramRun run =
        testing::run_program({"2010"}, data.work.path(), data.root.path(), "go\n");
    EXPECT_EQ(run.status, 0) << run.err;
    io = std::make_unique<Io>(IoSetup{data.root.path(), data.work.path()});
  }

  Layer array(const std::string& name) {
    Layer layer("05", name);
    read_array(*io, grid, layer);
    return layer;
  }
};

TEST(ResultsReaders, ReadEachFileTamvekWrites) {
  FinishedYear year;

  const CheckReport check = read_check_report(*year.io, "2010");
  EXPECT_EQ(check.months.front().name, "2010.05.rcs");
  EXPECT_EQ(check.months.back().name, "2010.10.rcs");
  EXPECT_EQ(check.months.back().month, 10);
  EXPECT_EQ(check.months.front().msum, "3.75000000");
  EXPECT_EQ(check.sumtr, "55.0000000");
  EXPECT_EQ(check.sumdiversion, "150.000000");

  const Layer may = year.array("out\\2010.05.rcs");
  EXPECT_EQ(may.tenths, (std::vector<std::int32_t>{31, 0, 6, 0, 0, 0}));
  EXPECT_EQ(may.fields, "   3.1   0.0   0.6   0.0   0.0   0.0");
  EXPECT_EQ(value_text(may, 0), "3.1");

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

// Each kind of file, damaged as a broken disk or an early stop leaves it,
// gives a message that names the file and what is wrong with it.
TEST(ResultsReaders, ADamagedFileOfEachKindSaysWhatIsWrong) {
  struct Damage {
    const char* file;
    std::function<std::string(const std::string&)> damaged;
    std::function<void(FinishedYear&)> read;
    std::string message;
  };
  const auto read_may = [](FinishedYear& year) { year.array("out\\2010.05.rcs"); };
  const auto read_check = [](FinishedYear& year) { read_check_report(*year.io, "2010"); };
  const auto read_log = [](FinishedYear& year) { read_problem_log(*year.io, "2010", year.grid); };
  const std::vector<Damage> damages = {
      {"out/2010.05.rcs", [](const std::string& text) { return text.substr(0, 20); }, read_may,
       "cut short: it ends after 1 of the grid's 2 rows"},
      {"out/2010.05.rcs", [](const std::string& text) { return text.substr(0, 30); }, read_may,
       "cut short: record 2 ends without its record end (the file stops inside it)"},
      {"out/2010.05.rcs", [](const std::string& text) { return text + text; }, read_may,
       "more than the grid's 2 rows: the array does not match the grid definition (2 rows of 3 "
       "columns)"},
      {"out/2010.05.rcs", [](const std::string& text) { return "   3.1  0.0    0.6\r\n" + text.substr(20); },
       read_may, "record 1, field 2 (row 1, column 2): \"  0.0 \" is not a number"},
      {"out/2010.05.rcs", [](const std::string& text) { return text.substr(6); }, read_may,
       "record 1 (row 1) holds 12 characters where 3 fields of 6 need 18: the array does not "
       "match the grid definition (2 rows of 3 columns)"},
      {"out/2010.05.rcs", [](const std::string&) { return ""; }, read_may, "empty"},
      {"out/check2010.out",
       [](const std::string& text) { return text.substr(0, text.find(" sumtr")); }, read_check,
       "cut short: it holds 12 of the 16 records of a finished run (did the run stop early?)"},
      {"out/check2010.out", [](const std::string& text) { return text + " 1\r\n"; }, read_check,
       "more than the 16 records of a finished run"},
      {"out/check2010.out",
       [](const std::string& text) {
         std::string damaged = text;
         return damaged.replace(damaged.find(" sumretout,"), 11, " sumretin,");
       },
       read_check,
       "record 15 is not that of a finished run (\"sumretout,sumacresout:\" expected): "
       "\" sumretin,sumacresout: \""},
      {"out/output2010.dat",
       [](const std::string& text) { return text.substr(0, text.find("acres") + 2) + "\r\n"; },
       read_log, "record 1 is not a problem-log record: \"           1           2           2 "
                 " (i,row,col) condition 3 (inactive grid cell, ibound=0):   20.0000000     ac\""},
      {"out/output2010.dat",
       [](const std::string& text) { return text.substr(text.find('\n') + 1); }, read_log,
       "record 1 is numbered 2"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.message);
    FinishedYear year;
    year.data.work.write(damage.file, damage.damaged(year.data.work.read(damage.file)));
    try {
      damage.read(year);
      ADD_FAILURE() << "read without an error";
    } catch (const ResultError& error) {
      std::string name = "out\\" + std::string(damage.file).substr(4);
      EXPECT_EQ(error.file, name);
      EXPECT_EQ(error.what, damage.message);
    }
  }
}

TEST(ResultsReaders, AMissingFileIsNamedWithItsPath) {
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
