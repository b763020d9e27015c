#include "state/year.hpp"

#include <algorithm>
#include <cstdio>

namespace tamvek {

std::string year_of_argument(std::string_view argument) {
  std::string cyear(argument.substr(0, 4));
  cyear.resize(4, ' ');
  return cyear;
}

std::optional<int> four_digit_year(std::string_view text) {
  if (text.size() != 4 || !std::all_of(text.begin(), text.end(),
                                       [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int year = 0;
  for (const char digit : text) year = year * 10 + (digit - '0');
  return year;
}

std::string year_text(int year) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", year);
  return text;
}

YearRangeFault parse_year_range(std::string_view first, std::string_view last, YearRange& range) {
  const std::optional<int> first_year = four_digit_year(first);
  if (!first_year) return YearRangeFault::first_not_a_year;
  const std::optional<int> last_year = four_digit_year(last);
  if (!last_year) return YearRangeFault::last_not_a_year;
  if (*last_year < *first_year) return YearRangeFault::last_before_first;
  range = {*first_year, *last_year};
  return YearRangeFault::none;
}

}  // namespace tamvek
