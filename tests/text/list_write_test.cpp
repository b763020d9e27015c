#include "text/list_write.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "text/f61_write.hpp"

namespace tamvek {
namespace {

std::string record(std::initializer_list<Item> items) {
  std::string out;
  append_list_record(out, std::span<const Item>(items.begin(), items.size()));
  return out;
}

TEST(ListRecords, ItemsTakeTheirFieldsAndSeparators) {
  EXPECT_EQ(record({5}), "           5\r\n");
  EXPECT_EQ(record({5, 1.5f}), "           5   1.50000000    \r\n");
  EXPECT_EQ(record({0.1f}), "  0.100000001    \r\n");
  EXPECT_EQ(record({-0.0f}), "  -0.00000000    \r\n");
  EXPECT_EQ(record({1.0E-5f}), "   9.99999975E-06\r\n");
  EXPECT_EQ(record({std::numeric_limits<float>::infinity()}), "         Infinity\r\n");
  EXPECT_EQ(record({std::numeric_limits<std::int32_t>::min()}), " -2147483648\r\n");
  EXPECT_EQ(record({"x_ft", "y_ft", "swret", "row", "col", "node"}), " x_fty_ftswretrowcolnode\r\n");
  EXPECT_EQ(record({"Group ", 3500, " outside dimension limits."}),
            " Group         3500  outside dimension limits.\r\n");
  EXPECT_EQ(record({"..Processing year ", "99  "}), " ..Processing year 99  \r\n");
  EXPECT_EQ(record({"Group", 12, 0.0f, " auth. acres"}),
            " Group          12   0.00000000      auth. acres\r\n");
  EXPECT_EQ(record({1, 0, 5, " (i,row,col) condition 2 (row outside model grid):", 40.0f, "acres"}),
            "           1           0           5  (i,row,col) condition 2 (row outside model "
            "grid):   40.0000000     acres\r\n");
  EXPECT_EQ(record({}), " \r\n");
}

TEST(ListRecords, TheLastItemDecidesHowTheRecordEnds) {
  EXPECT_EQ(record({"a", 100.0f}), " a   100.000000    \r\n");
  EXPECT_EQ(record({"a", 3.0E9f}), " a   3.00000000E+09\r\n");
  EXPECT_EQ(record({1000000000.0f}), "  1000000000.    \r\n");
  EXPECT_EQ(record({1000000064.0f}), "   1.00000006E+09\r\n");
}

std::string f61_records(const std::vector<float>& values) {
  std::string out;
  append_f61_records(out, values);
  return out;
}

TEST(F61Records, ThreeHundredTwentySixFieldsARecord) {
  EXPECT_EQ(f61_records({}), "\r\n");
  EXPECT_EQ(f61_records({3.14159f, -0.5f, 1234.56f}), "   3.1  -0.51234.6\r\n");

  const std::vector<float> row326(326, 1.0f);
  const std::string one = f61_records(row326);
  EXPECT_EQ(one.size(), 326u * 6 + 2);
  EXPECT_EQ(one.substr(one.size() - 8), "   1.0\r\n");

  std::vector<float> row400(400, 2.0f);
  row400[325] = 7.0f;
  row400[326] = 8.0f;
  const std::string two = f61_records(row400);
  ASSERT_EQ(two.size(), 326u * 6 + 2 + 74 * 6 + 2);
  EXPECT_EQ(two.substr(325 * 6, 10), "   7.0\r\n  ");
  EXPECT_EQ(two.substr(326 * 6 + 2, 6), "   8.0");
  EXPECT_EQ(two.substr(two.size() - 2), "\r\n");

  const std::string split = f61_records(std::vector<float>(327, 0.0f));
  EXPECT_EQ(split.substr(326 * 6), "\r\n   0.0\r\n");
}

}  // namespace
}  // namespace tamvek
