#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/finished_year.hpp"

namespace tamvek::results {
namespace {

using testing::damage_message;
using testing::FinishedYear;

TEST(ArrayFile, ReadsAnArrayTamvekWrote) {
  FinishedYear year;
  const Layer may = year.array("out\\2010.05.rcs");
  EXPECT_EQ(may.tenths, (std::vector<std::int32_t>{31, 0, 6, 0, 0, 0}));
  EXPECT_EQ(may.fields, "   3.1   0.0   0.6   0.0   0.0   0.0");
  EXPECT_EQ(value_text(may, 0), "3.1");
  const Layer acres = year.array("out\\2010.asw");
  EXPECT_EQ(acres.tenths, (std::vector<std::int32_t>{250, 250, 150, 0, 0, 0}));
}

// An array cut off, run on, reshaped or with a broken field: each says where.
TEST(ArrayFile, ADamagedArraySaysWhatIsWrongAndWhere) {
  const auto read_may = [](FinishedYear& year) { year.array("out\\2010.05.rcs"); };
  const std::string may = "out/2010.05.rcs";
  const std::string name = "out\\2010.05.rcs: ";
  EXPECT_EQ(damage_message(may, [](const std::string& text) { return text.substr(0, 20); }, read_may),
            name + "cut short: it ends after 1 of the grid's 2 rows");
  EXPECT_EQ(damage_message(may, [](const std::string& text) { return text.substr(0, 30); }, read_may),
            name + "cut short: record 2 ends without its record end (the file stops inside it)");
  EXPECT_EQ(damage_message(may, [](const std::string& text) { return text + text; }, read_may),
            name + "more than the grid's 2 rows: the array does not match the grid definition "
                   "(2 rows of 3 columns)");
  EXPECT_EQ(damage_message(
                may, [](const std::string& text) { return "   3.1  0.0    0.6\r\n" + text.substr(20); },
                read_may),
            name + "record 1, field 2 (row 1, column 2): \"  0.0 \" is not a number");
  EXPECT_EQ(damage_message(may, [](const std::string& text) { return text.substr(6); }, read_may),
            name + "record 1 (row 1) holds 12 characters where 3 fields of 6 need 18: the array "
                   "does not match the grid definition (2 rows of 3 columns)");
  EXPECT_EQ(damage_message(may, [](const std::string&) { return ""; }, read_may), name + "empty");
}

}  // namespace
}  // namespace tamvek::results
