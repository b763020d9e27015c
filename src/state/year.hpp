#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamvek {

// The year as the run uses it: cut or padded with blanks to four characters.
std::string year_of_argument(std::string_view argument);

// A year as the companion programs take one: four digits, "0000" to "9999",
// which tamvek uses unchanged as its year, so that the year names the files
// it seems to. Nothing for any other text ("10", "2o10", "+201", "02010").
std::optional<int> four_digit_year(std::string_view text);

// A year's four digits as tamvek's file names hold them: 2010 is "2010",
// 999 is "0999". For the years four_digit_year gives.
std::string year_text(int year);

// The years FIRST to LAST.
struct YearRange {
  int first = 0;
  int last = 0;
};

// Why two arguments name no range of years: each program words it for its
// own command line.
enum class YearRangeFault { none, first_not_a_year, last_not_a_year, last_before_first };

// The range that FIRST and LAST name, two four-digit years with FIRST not
// after LAST, into `range`; or the first fault found, in that order.
YearRangeFault parse_year_range(std::string_view first, std::string_view last, YearRange& range);

}  // namespace tamvek
