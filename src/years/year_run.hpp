#pragma once

#include <string>

#include "years/running_years.hpp"
#include "years/year_result.hpp"

namespace tamvek::years {

// Where a year's console is kept: out/console<year>.txt (out\ on Windows).
std::string console_file(int year);

// Runs `program` (tamvek) for one year in the working directory as a careful
// operator would: only when both yearly input files are there and not empty,
// answering the pause with go only when the year summary shows a positive
// total, keeping the whole console in the year's console file.
YearResult run_year(const std::string& program, int year, RunningYears& running);

}  // namespace tamvek::years
