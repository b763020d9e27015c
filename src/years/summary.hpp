#pragma once

#include <string>
#include <vector>

#include "years/year_result.hpp"

namespace tamvek::years {

// One line as a year ends: "2010  done  (3 years left)".
std::string progress_line(const YearResult& result, int left);

// The table of all years at the end: year, outcome, total authorized acres,
// seconds, with the message of a stop and the faults of missing inputs on
// lines of their own below the year; then how many years were done.
std::string result_table(const std::vector<YearResult>& results);

}  // namespace tamvek::years
