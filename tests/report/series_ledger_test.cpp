// The series form on hand-made years: the ledger's every column, years
// without results, and runs that must leave nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "report/hand_made_years.hpp"

namespace tamvek {
namespace {

using testing::HandMadeYears;
using Year = HandMadeYears::Year;

// 2012: a year that ran without diversions: zeros and an empty problem log.
Year year_2012() {
  Year year;
  year.cyear = "2012";
  const std::string zeros =
      HandMadeYears::array({"   0.0", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"});
  year.months = {zeros, zeros, zeros, zeros, zeros, zeros};
  year.acres = zeros;
  year.msum = {"0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.00000000"};
  year.sums = {"0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.00000000"};
  year.out = {"0.00000000", "0.00000000"};
  year.diversions = "";
  return year;
}

std::vector<std::vector<std::string>> csv_records(const std::string& text) {
  std::vector<std::vector<std::string>> records;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "a record without CR LF: " << text.substr(at);
      break;
    }
    std::vector<std::string> fields{""};
    for (char c : text.substr(at, end - at)) c == ',' ? fields.emplace_back() : fields.back() += c;
    records.push_back(fields);
    at = end + 2;
  }
  return records;
}

std::vector<std::string> report_files(const HandMadeYears& years) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(years.work.file("out"))) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("ledger") || name.starts_with("report") || name.ends_with(".tmp"))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SeriesLedger, EveryColumnHoldsWhatTheYearsFilesSay) {
  HandMadeYears years;
  years.write(HandMadeYears::year_2010());
  years.write(year_2012());
  const testing::ProgramRun run = years.report({"2010", "2012"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, " ..written out\\ledger2010-2012.csv\n"
                     " ..written out\\report2010-2012.html\n ..no results for 2011\n");
  const auto records = csv_records(years.work.read("out/ledger2010-2012.csv"));
  ASSERT_EQ(records.size(), 4u);
  const std::vector<std::string> header{
      "year", "status", "empty_yearly_input", "msum05", "msum06", "msum07", "msum08", "msum09",
      "msum10", "sumtr", "suma", "sumretout", "sumacreageout", "sumacresout", "sumdiversion",
      "rcs05_fields", "rcs06_fields", "rcs07_fields", "rcs08_fields", "rcs09_fields",
      "rcs10_fields", "asw_fields", "fields_without_value", "condition1_tracts",
      "condition1_acres", "condition2_tracts", "condition2_acres", "condition3_tracts",
      "condition3_acres"};
  EXPECT_EQ(records[0], header);
  EXPECT_EQ(records[1],
            (std::vector<std::string>{
                "2010", "finished", "", "11.0000000", "12.5000000", "13.2500000", "14.0000000",
                "15.7500000", "16.0000000", "72.5000000", "21.0000000", "33.0000000", "44.0000000",
                "77.0000000", "55.0000000", "6.0", "0.1", "9999.9", "0.0", "0.0", "12.3", "240.5",
                "2", "1", "12.50000000", "1", "40.00000000", "2", "47.25000000"}));
  std::vector<std::string> missing(header.size());
  missing[0] = "2011", missing[1] = "missing";
  EXPECT_EQ(records[2], missing);
  EXPECT_EQ(records[3],
            (std::vector<std::string>{
                "2012", "finished", "diversions", "0.00000000", "0.00000000", "0.00000000",
                "0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.00000000",
                "0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.0", "0.0", "0.0", "0.0",
                "0.0", "0.0", "0.0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(SeriesLedger, AYearWithoutAnyYearlyInputIsMarked) {
  HandMadeYears years;
  Year year = year_2012();
  year.authorized = " \r\n\r\n";
  years.write(year);
  ASSERT_EQ(years.report({"2012", "2012"}).status, 0);
  EXPECT_EQ(csv_records(years.work.read("out/ledger2012-2012.csv")).at(1).at(2),
            "diversions and acreage");
}

TEST(SeriesLedger, ADamagedYearStopsItAsTheOneYearFormDoesAndLeavesNothing) {
  const struct {
    const char* what;
    void (*spoil)(const HandMadeYears&);
  } cases[] = {
      {"an array cut short",
       [](const HandMadeYears& y) { y.work.write("out/2012.07.rcs", "   0.0   0.0   0.0\r\n"); }},
      {"a check report of a run that stopped",
       [](const HandMadeYears& y) { y.work.write("out/check2010.out", " 2010.05.rcs\r\n"); }},
      {"a problem-log record out of order",
       [](const HandMadeYears& y) {
         y.work.write("out/output2012.dat", HandMadeYears::problem(2, 0, 5, 2, "40.0000000"));
       }},
      {"a year with some of its results only",
       [](const HandMadeYears& y) { std::filesystem::remove(y.work.file("out/2012.asw")); }},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.what);
    HandMadeYears years;
    years.write(HandMadeYears::year_2010());
    years.write(year_2012());
    bad.spoil(years);
    const std::string damaged = std::string(bad.what).find("check") != std::string::npos ? "2010" : "2012";
    const testing::ProgramRun one_year = years.report({damaged});
    const testing::ProgramRun series = years.report({"2009", "2013"});
    EXPECT_EQ(series.status, 2);
    EXPECT_EQ(one_year.status, 2);
    EXPECT_FALSE(series.err.empty());
    EXPECT_EQ(series.err, one_year.err);
    EXPECT_EQ(report_files(years), std::vector<std::string>{});
  }
}

TEST(SeriesLedger, ARangeThatNamesNoFinishedYearsIsRefused) {
  HandMadeYears years;
  years.write(HandMadeYears::year_2010());
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"2012", "2010"}, "tamvek-report: the first year 2012 comes after the last 2010\n"},
      {{"2010", "11"}, "tamvek-report: \"11\" is not a year of four digits\n"},
      {{"2o10", "2011"}, "tamvek-report: \"2o10\" is not a year of four digits\n"},
      {{"2011", "2019"},
       "tamvek-report: no year from 2011 to 2019 has results in out\\ (is this the working "
       "directory of the runs?)\n"},
  };
  for (const auto& bad : cases) {
    const testing::ProgramRun run = years.report(bad.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, bad.message);
    EXPECT_EQ(report_files(years), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace tamvek
