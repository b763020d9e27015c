#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "report/report_data_set.hpp"

namespace tamvek {
namespace {

using testing::ReportDataSet;

struct BadInput {
  const char* what;
  std::function<void(ReportDataSet&)> spoil;  // after a normal run
  std::string message;                        // how standard error begins
};

// Every file below the data set's directories with its size.
std::vector<std::string> listing(const ReportDataSet& data) {
  std::vector<std::string> files;
  for (const std::string& top : {data.root.path(), data.work.path()})
    for (const auto& entry : std::filesystem::recursive_directory_iterator(top)) {
      std::string file = entry.path().string();
      if (entry.is_regular_file()) file += ' ' + std::to_string(entry.file_size());
      files.push_back(file);
    }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(ReportFailures, EachBadInputIsNamedAndLeavesNoReport) {
  const BadInput cases[] = {
      {"a missing array",
       [](ReportDataSet& data) { std::filesystem::remove(data.work.file("out/2010.07.rcs")); },
#ifdef _WIN32
       "tamvek-report: out\\2010.07.rcs: missing (no file out\\2010.07.rcs)\n"},
#else
       "tamvek-report: out\\2010.07.rcs: missing (no file out/2010.07.rcs)\n"},
#endif
      {"an array cut inside a record",
       [](ReportDataSet& data) {
         data.work.write("out/2010.asw", data.work.read("out/2010.asw").substr(0, 2500));
       },
       "tamvek-report: out\\2010.asw: cut short: record 3 ends without its record end (the file "
       "stops inside it)\n"},
      {"an array cut after a row",
       [](ReportDataSet& data) {
         const std::string text = data.work.read("out/2010.05.rcs");
         data.work.write("out/2010.05.rcs", text.substr(0, text.size() / 3));
       },
       "tamvek-report: out\\2010.05.rcs: cut short: it ends after 1 of the grid's 3 rows\n"},
      {"a field that is not a number",
       [](ReportDataSet& data) {
         std::string text = data.work.read("out/2010.09.rcs");
         text.replace(text.find("\r\n") + 2 + 6, 6, "  1x.5");
         data.work.write("out/2010.09.rcs", text);
       },
       "tamvek-report: out\\2010.09.rcs: record 2, field 2 (row 1, column 328): \"  1x.5\" is not "
       "a number\n"},
      {"an array of another grid",
       [](ReportDataSet& data) {
         data.root.write("BAVO/QZ/static/tamvek.par", "2 330\n1000 500\n0 0\n1\n0.5\n");
       },
       "tamvek-report: out\\2010.05.rcs: more than the grid's 2 rows: the array does not match "
       "the grid definition (2 rows of 330 columns)\n"},
      {"a missing grid definition",
       [](ReportDataSet& data) {
         std::filesystem::remove(data.root.file("BAVO/QZ/static/tamvek.par"));
       },
       "tamvek-report: \\BAVO\\QZ\\static\\tamvek.par: missing (no file "},
      {"a run that stopped early",
       [](ReportDataSet& data) {
         // A county without factors under a positive return stops tamvek in May.
         std::vector<int> counties(ReportDataSet::ny * ReportDataSet::nx, 1);
         counties[0] = 45;
         data.root.write("BAVO/QZ/static/cty.flg",
                         "county flags\n" + ReportDataSet::grid_file(counties));
         ASSERT_FALSE(data.run_tamvek());
       },
       "tamvek-report: out\\check2010.out: cut short: it holds 1 of the 16 records of a finished "
       "run (did the run stop early?)\n"},
      {"a report that cannot be written whole",
       [](ReportDataSet& data) {
         std::filesystem::create_directory(data.work.file("out/2010.season.asc"));
       },
       "tamvek-report: out\\2010.season.asc: cannot be put in place: not a regular file"},
  };
  for (const BadInput& bad : cases) {
    SCOPED_TRACE(bad.what);
    ReportDataSet data;
    ASSERT_TRUE(data.run_tamvek());
    bad.spoil(data);
    const std::vector<std::string> before = listing(data);
    const testing::ProgramRun run = data.run_report();
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with(bad.message)) << run.err;
    // Nothing created, nothing removed: a missing static file stays missing.
    EXPECT_EQ(listing(data), before);
    std::filesystem::remove(data.work.file("out/2010.season.asc"));
    EXPECT_EQ(data.report_files(), std::vector<std::string>{});
  }
}

TEST(ReportFailures, AWrongArgumentCountTouchesNoFile) {
  ReportDataSet data;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"2010", "2011", "2012"}}) {
    const testing::ProgramRun run = data.run_report(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "usage: tamvek-report YEAR   (in the working directory of a finished tamvek run)\n"
              "       tamvek-report FIRST LAST   (the finished years FIRST to LAST side by side)\n");
  }
  EXPECT_EQ(data.report_files(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tamvek
