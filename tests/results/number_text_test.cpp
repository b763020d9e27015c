#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "results/number_text.hpp"

namespace tamvek::results {
namespace {

TEST(NumberText, EachFormAsTheFilesAndMessagesWantIt) {
  EXPECT_EQ(tenths_text(123), "12.3");
  EXPECT_EQ(tenths_text(-5), "-0.5");
  EXPECT_EQ(tenths_text(0), "0.0");
  EXPECT_EQ(tenths_text(std::numeric_limits<std::int64_t>::min()), "-922337203685477580.8");

  EXPECT_EQ(one_decimal(12.25), "12.2");  // ties to even, as the value is stored
  EXPECT_EQ(one_decimal(-0.04), "-0.0");
  EXPECT_EQ(decimal_text(47.25, 8), "47.25000000");
  EXPECT_EQ(decimal_text(1e-7, -1), "1e-07");
  EXPECT_EQ(decimal_text(0.1, -1), "0.1");

  EXPECT_EQ(shortest_decimal(0.1f), "0.1");
  EXPECT_EQ(shortest_decimal(1e10f), "10000000000");
  EXPECT_EQ(ten_digits(1.0 / 3), "0.3333333333");
  EXPECT_EQ(ten_digits(1e20), "1e+20");
}

}  // namespace
}  // namespace tamvek::results
