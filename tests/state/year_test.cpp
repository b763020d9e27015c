#include <gtest/gtest.h>

#include "state/year.hpp"

namespace tamvek {
namespace {

TEST(Year, AFourDigitYearIsFourDigitsAndNothingElse) {
  EXPECT_EQ(four_digit_year("2010"), 2010);
  EXPECT_EQ(four_digit_year("0999"), 999);
  EXPECT_EQ(four_digit_year("0000"), 0);
  for (const char* text : {"", "10", "99  ", "2o10", "+201", "-201", "02010", " 2010", "2010 "})
    EXPECT_FALSE(four_digit_year(text)) << '"' << text << '"';
  // Its text is the four characters tamvek takes as its year.
  EXPECT_EQ(year_text(2010), "2010");
  EXPECT_EQ(year_text(999), "0999");
  EXPECT_EQ(year_of_argument(year_text(999)), "0999");
}

TEST(Year, ARangeNamesItsFirstFaultInTheArgumentsOrder) {
  YearRange range;
  EXPECT_EQ(parse_year_range("2010", "2012", range), YearRangeFault::none);
  EXPECT_EQ(range.first, 2010);
  EXPECT_EQ(range.last, 2012);
  EXPECT_EQ(parse_year_range("2010", "2010", range), YearRangeFault::none);
  EXPECT_EQ(parse_year_range("10", "x", range), YearRangeFault::first_not_a_year);
  EXPECT_EQ(parse_year_range("2010", "11", range), YearRangeFault::last_not_a_year);
  EXPECT_EQ(parse_year_range("2012", "2010", range), YearRangeFault::last_before_first);
}

}  // namespace
}  // namespace tamvek
