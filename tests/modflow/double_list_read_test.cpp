#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "modflow/double_list_read.hpp"

namespace tamvek {
namespace {

// Reads `count` values from the records; the values, the records taken and
// the failure.
struct Taken {
  std::vector<double> values;
  std::size_t records = 0;
  std::string failure;
};

Taken read(const std::vector<std::string>& records, std::size_t count) {
  Taken taken;
  taken.values.assign(count, -1);
  DoubleListRead list(taken.values);
  for (const std::string& record : records) {
    ++taken.records;
    const auto step = list.take(record);
    if (step == DoubleListRead::Step::done) return taken;
    if (step == DoubleListRead::Step::failed) {
      taken.failure = std::to_string(list.filled() + 1) + ": \"" + list.failed_text() + "\" " + list.failure();
      return taken;
    }
  }
  taken.failure = "more";
  return taken;
}

TEST(DoubleListRead, FormsOfAListDirectedRead) {
  const struct {
    std::vector<std::string> records;
    std::vector<double> values;
    std::size_t records_taken;
  } cases[] = {
      {{"1 2.5 -3"}, {1, 2.5, -3}, 1},
      {{"3*100.0"}, {100, 100, 100}, 1},
      {{"2*1.5,4"}, {1.5, 1.5, 4}, 1},
      {{"1,,3"}, {1, -1, 3}, 1},          // a null value keeps what was there
      {{"2*, 3"}, {-1, -1, 3}, 1},        // r* passes over r values
      {{"1", "", "2 3 4 5"}, {1, 2, 3}, 3},  // records end values; the rest of the last is not read
      {{"1; 2\t3"}, {1, 2, 3}, 1},
      {{"1 / 7"}, {1, -1, -1}, 1},        // a slash ends the read
      {{"1.0D0 1.5+2 2E-1"}, {1, 150, 0.2}, 1},
      {{"0.1 2640. .5"}, {0.1, 2640, 0.5}, 1},
      {{"1.2345678901234567 1e-320 1e400"}, {1.2345678901234567, 1e-320, HUGE_VAL}, 1},
      {{"1 2\r"}, {1, 2}, 1},
  };
  for (const auto& c : cases) {
    const Taken taken = read(c.records, c.values.size());
    EXPECT_EQ("", taken.failure) << c.records[0];
    EXPECT_EQ(c.values, taken.values) << c.records[0];
    EXPECT_EQ(c.records_taken, taken.records) << c.records[0];
  }
}

TEST(DoubleListRead, ValuesThatAreNoNumbersAreNamed) {
  const struct {
    std::string record;
    const char* failure;
  } cases[] = {
      {"1 l000.0", "2: \"l000.0\" not a number"},
      {"1 0*5", "2: \"0*5\" a repeat count of zero"},
      {"1 999999999999*5", "2: \"999999999999*5\" a repeat count too large"},
      {"12.31234.5", "1: \"12.31234.5\" not a number"},
      {"1.5e", "1: \"1.5e\" not a number"},
      {"-", "1: \"-\" not a number"},
      {"1 2", "more"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.failure, read({c.record}, 3).failure) << c.record;
}

}  // namespace
}  // namespace tamvek
