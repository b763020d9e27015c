#include <gtest/gtest.h>

#include <string>

#include "results/check_report.hpp"
#include "results/finished_year.hpp"

namespace tamvek::results {
namespace {

using testing::damage_message;
using testing::FinishedYear;

TEST(CheckReport, ReadsEachValueAsTamvekWroteIt) {
  FinishedYear year;
  const CheckReport check = read_check_report(*year.io, "2010");
  EXPECT_EQ(check.months.front().name, "2010.05.rcs");
  EXPECT_EQ(check.months.front().month, 5);
  EXPECT_EQ(check.months.front().msum, "3.75000000");
  EXPECT_EQ(check.months.back().name, "2010.10.rcs");
  EXPECT_EQ(check.months.back().month, 10);
  EXPECT_EQ(check.sumtr, "55.0000000");
  EXPECT_EQ(check.sumdiversion, "150.000000");
  // The sums in the report's order are those of its two sum records.
  std::string reported;
  for (const CheckSum& sum : check_sums_as_reported()) reported += std::string(sum.name) + " ";
  EXPECT_EQ(reported, "sumtr suma sumretout sumacreageout sumdiversion sumacresout ");
}

TEST(CheckReport, AReportOfARunThatDidNotFinishSaysWhatIsWrong) {
  const auto read = [](FinishedYear& year) { read_check_report(*year.io, "2010"); };
  const std::string report = "out/check2010.out";
  const std::string name = "out\\check2010.out: ";
  EXPECT_EQ(damage_message(
                report, [](const std::string& text) { return text.substr(0, text.find(" sumtr")); },
                read),
            name + "cut short: it holds 12 of the 16 records of a finished run (did the run stop "
                   "early?)");
  EXPECT_EQ(damage_message(report, [](const std::string& text) { return text + " 1\r\n"; }, read),
            name + "more than the 16 records of a finished run");
  EXPECT_EQ(damage_message(report,
                           [](std::string text) {
                             return text.replace(text.find(" sumretout,"), 11, " sumretin,");
                           },
                           read),
            name + "record 15 is not that of a finished run (\"sumretout,sumacresout:\" expected): "
                   "\" sumretin,sumacresout: \"");
  EXPECT_EQ(damage_message(report,
                           [](std::string text) { return text.replace(text.find("2010.07"), 4, "2011"); },
                           read),
            name + "record 5 is not that of a finished run (the name 2010.07.rcs expected): "
                   "\" 2011.07.rcs\"");
}

}  // namespace
}  // namespace tamvek::results
