#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

#include "modflow/modflow_data_set.hpp"

namespace tamvek {
namespace {

using testing::Mf2005Model;
using testing::Mf6Simulation;
using testing::ModflowDataSet;
using testing::replace;

// The number after `before` on the line of the package that reads `file`
// (the header's digest lines name it first).
double number_after(const std::string& package, const std::string& file, const std::string& before) {
  const std::size_t line = package.find(file, package.find("OPEN/CLOSE "));
  if (line == std::string::npos) return -1;
  const std::size_t at = package.find(before, line);
  return std::strtod(package.c_str() + at + before.size(), nullptr);
}

// A steady first day, then 45-day periods across the months.
std::string cutting_periods() {
  std::string rows = "  1.0 1 1.0\n";
  for (int i = 0; i < 16; ++i) rows += "  45.0 1 1.0\n";
  return rows;
}

void set_periods(Mf6Simulation& model, int nper, const std::string& rows) {
  replace(model.tdis, "NPER 24", "NPER " + std::to_string(nper));
  replace(model.tdis, testing::monthly_periods(24), rows);
}

// May's rate from May's array: 43,560 cubic feet an acre-foot over a cell of
// 1000 by 1000 feet and 31 days.
constexpr double may_factor = 43560.0 / (1000.0 * 1000.0 * 31.0);

TEST(Modflow, ReadsTheFormsOfMf6InputAndWritesFactors) {
  ModflowDataSet set;
  Mf6Simulation model;
  // Comments of every kind, a quoted name with a blank, a block from another
  // file, arrays INTERNAL with a factor and from a file with commas.
  replace(model.sim, "BEGIN TIMING\n  TDIS6 sim.tdis", "# the simulation\nBEGIN TIMING  ! timing\n  TDIS6 'time data/sim.tdis'  // here");
  replace(model.tdis, "BEGIN PERIODDATA\n" + testing::monthly_periods(24), "BEGIN PERIODDATA\n  OPEN/CLOSE periods.txt\n");
  set.models.write("sim/periods.txt", "# 24 months\n" + testing::monthly_periods(24));
  replace(model.dis, "  DELR\n    CONSTANT 1000.0", "  DELR\n    INTERNAL FACTOR 10.0 IPRN 1\n    100.0 100.0\n    100.0");
  replace(model.dis, "  DELC\n    CONSTANT 1000.0", "  delc\n    open/close delc.txt FACTOR 2");
  set.models.write("sim/delc.txt", "500.0,500.0\n");
  replace(model.dis, "  BOTM\n    CONSTANT 0.0", "  BOTM LAYERED\n    INTERNAL\n 0 0 0\n 0 0 0");
  model.write(set.models, "sim");
  set.models.write("sim/time data/sim.tdis", model.tdis);

  const auto run = set.run_modflow({"2010", "2011", set.models.file("sim"), "--volume-unit", "acre-feet"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\nRCH6 tamvek.rch tamvek\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("note: "), std::string::npos) << "the origin is stated: " << run.out;
  const std::string package = set.models.read("sim/tamvek.rch");
  EXPECT_TRUE(package.starts_with("# tamvek-modflow:"));
  EXPECT_NEAR(number_after(package, "out/2010.05.rcs", "FACTOR "), may_factor, may_factor * 1e-12);
  // Twelve months of each year: none outside May to October has recharge.
  EXPECT_NE(package.find("BEGIN PERIOD 24\n"), std::string::npos);
  std::size_t zero_periods = 0;
  for (std::size_t at = 0; (at = package.find("CONSTANT 0.0", at)) != std::string::npos; ++at) ++zero_periods;
  EXPECT_EQ(zero_periods, 12u);
}

TEST(Modflow, ReadsMf2005InputAndWritesConstants) {
  ModflowDataSet set;
  Mf2005Model model;
  replace(model.dis, "CONSTANT 1.000000E+03   #delr", "INTERNAL 1.0 (FREE) -1   #delr\n 1000.0, 1000.0\n 1000.0");
  replace(model.dis, "CONSTANT 1.000000E+01   #top", "OPEN/CLOSE top.txt 1.0 (10F5.0) -1");
  set.models.write("m/top.txt", "  10.  10.  10.\n  100  100  100\n");
  // A fixed field without its decimal point has the format's decimals: 1000.0.
  replace(model.dis, "CONSTANT 1.000000E+03   #delc", "OPEN/CLOSE delc.txt 1.0 (2F6.1) -1");
  set.models.write("m/delc.txt", " 10000 10000\n");
  model.write(set.models, "m");
  const auto run = set.run_modflow({"2010", "2011", set.models.file("m/model.nam"), "--volume-unit",
                                    "acre-feet", "--start", "2010-01-01"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Units 1, 2, 11 and 19 are taken.
  EXPECT_NE(run.out.find("\nRCH 20 tamvek.rch\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("note: the model does not state where its grid lies"), std::string::npos);
  const std::string package = set.models.read("m/tamvek.rch");
  EXPECT_NEAR(number_after(package, "out/2010.05.rcs", " "), may_factor, may_factor * 1e-12);
  EXPECT_NE(package.find("(326F6.1) -1"), std::string::npos);
  EXPECT_NE(package.find("         1         0   period 1:"), std::string::npos);
}

TEST(Modflow, PeriodsAcrossMonthsGetArraysOfTheirOwnThatKeepTheVolume) {
  ModflowDataSet set;
  Mf6Simulation model;
  set_periods(model, 17, cutting_periods());
  model.write(set.models, "sim");
  const auto run = set.run_modflow({"2010", "2011", set.models.file("sim/mfsim.nam"), "--volume-unit",
                                    "cubic-feet"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Period 5 (days 136 to 181) holds the last 15 of May's days and all of June.
  const std::string own = set.models.read("sim/tamvek.rch.period5.txt");
  ASSERT_FALSE(own.empty());
  EXPECT_NE(set.models.read("sim/tamvek.rch").find("OPEN/CLOSE tamvek.rch.period5.txt FACTOR 1.0"),
            std::string::npos);
  // The summary balances every year.
  const std::regex year_row(R"((\d{4}) +([0-9.]+) +([0-9.]+) +([0-9.]+)\n)");
  int rows = 0;
  for (std::sregex_iterator it(run.out.begin(), run.out.end(), year_row), end; it != end; ++it, ++rows)
    EXPECT_EQ((*it)[2].str(), (*it)[3].str()) << run.out;
  EXPECT_EQ(rows, 2) << run.out;
}

TEST(Modflow, RewritesItsOwnPackageAndRemovesFilesItNoLongerNeeds) {
  ModflowDataSet set;
  Mf6Simulation model;
  set_periods(model, 17, cutting_periods());
  model.write(set.models, "sim");
  const std::vector<std::string> arguments = {"2010", "2011", set.models.file("sim"), "--volume-unit", "acre-feet"};
  ASSERT_EQ(set.run_modflow(arguments).status, 0);
  ASSERT_TRUE(set.models.exists("sim/tamvek.rch.period5.txt"));

  Mf6Simulation monthly;
  monthly.write(set.models, "sim");
  const auto again = set.run_modflow(arguments);
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_FALSE(set.models.exists("sim/tamvek.rch.period5.txt"));
  EXPECT_NE(set.models.read("sim/tamvek.rch").find("out/2011.10.rcs"), std::string::npos);
}

TEST(Modflow, ExplicitOptionsLetYearsWithoutRechargeThrough) {
  ModflowDataSet set;
  // A year whose input files were empty runs to its end with zero arrays.
  set.data.work.write("authacres2012.txt", "");
  set.data.work.write("tamvek2012.txt", "");
  ASSERT_EQ(testing::run_program({"2012"}, set.data.work.path(), set.data.root.path(), "go\n").status, 0);
  Mf6Simulation model;
  set_periods(model, 36, testing::monthly_periods(36));
  model.write(set.models, "sim");
  const std::string sim = set.models.file("sim");

  const auto refused = set.run_modflow({"2010", "2012", sim, "--volume-unit", "acre-feet"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("the year 2012 has no recharge at all"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--empty-year 2012"), std::string::npos) << refused.err;
  EXPECT_FALSE(set.models.exists("sim/tamvek.rch"));

  const auto meant = set.run_modflow({"2010", "2012", sim, "--volume-unit", "acre-feet", "--empty-year", "2012"});
  EXPECT_EQ(meant.status, 0) << meant.err;

  // Only 2010 asked for, and the model reaches 2011 and 2012.
  const auto outside = set.run_modflow({"2010", "2010", sim, "--volume-unit", "acre-feet"});
  EXPECT_EQ(outside.status, 2);
  EXPECT_NE(outside.err.find("reach the irrigation months (May to October) of 2011, 2012, outside the years 2010 to 2010"),
            std::string::npos) << outside.err;
  const auto zero = set.run_modflow({"2010", "2010", sim, "--volume-unit", "acre-feet", "--zero-outside"});
  EXPECT_EQ(zero.status, 0) << zero.err;
  EXPECT_NE(set.models.read("sim/tamvek.rch").find("(--zero-outside)"), std::string::npos);
}

TEST(Modflow, VolumeOfYearsBeyondTheModelIsShownAsOutside) {
  ModflowDataSet set;
  Mf6Simulation model;
  set_periods(model, 18, testing::monthly_periods(18));  // ends with June 2011
  model.write(set.models, "sim");
  const auto run = set.run_modflow({"2010", "2011", set.models.file("sim"), "--volume-unit", "acre-feet"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::regex row_2011(R"(2011 +([0-9.]+) +([0-9.]+) +([0-9.]+)\n)");
  std::smatch row;
  ASSERT_TRUE(std::regex_search(run.out, row, row_2011)) << run.out;
  const double arrays = std::stod(row[1]), applied = std::stod(row[2]), outside = std::stod(row[3]);
  EXPECT_GT(outside, 0);
  EXPECT_GT(applied, 0);
  EXPECT_NEAR(arrays, applied + outside, 0.002);
}

}  // namespace
}  // namespace tamvek

namespace tamvek {
namespace {

TEST(Modflow, ArraysWhoseFieldsTouchAreCopiedInFreeFormatForMf6Only) {
  ModflowDataSet set;
  // Fields that fill their six characters run into the field before them.
  set.data.work.write("out/2010.07.rcs", "1000.0-123.4  12.5\r\n   0.0   0.09999.9\r\n");
  Mf6Simulation().write(set.models, "sim");
  Mf2005Model().write(set.models, "m");
  const auto mf6 = set.run_modflow({"2010", "2011", set.models.file("sim"), "--volume-unit", "acre-feet"});
  ASSERT_EQ(mf6.status, 0) << mf6.err;
  EXPECT_EQ(set.models.read("sim/tamvek.rch.2010.07.txt"), "1000.0 -123.4 12.5\n0.0 0.0 9999.9\n");
  const std::string package = set.models.read("sim/tamvek.rch");
  EXPECT_NE(package.find("OPEN/CLOSE tamvek.rch.2010.07.txt FACTOR "), std::string::npos);
  EXPECT_NE(package.find("# file tamvek.rch.2010.07.txt\n"), std::string::npos);
  EXPECT_NE(package.find("out/2010.08.rcs FACTOR "), std::string::npos) << "August's fields do not touch";
  EXPECT_NE(mf6.out.find("2010 "), std::string::npos);

  // MODFLOW-2005 reads the fixed fields as they are.
  const auto mf2005 = set.run_modflow({"2010", "2011", set.models.file("m/model.nam"), "--volume-unit",
                                       "acre-feet", "--start", "2010-01-01"});
  ASSERT_EQ(mf2005.status, 0) << mf2005.err;
  EXPECT_FALSE(set.models.exists("m/tamvek.rch.2010.07.txt"));
  EXPECT_NE(set.models.read("m/tamvek.rch").find("out/2010.07.rcs "), std::string::npos);
}

}  // namespace
}  // namespace tamvek
