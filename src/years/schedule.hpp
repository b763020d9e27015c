#pragma once

#include <functional>
#include <string>
#include <vector>

#include "years/running_years.hpp"
#include "years/year_result.hpp"

namespace tamvek::years {

struct Plan {
  std::string program;  // tamvek
  int first = 0;
  int last = 0;
  int jobs = 1;  // years run side by side
};

// Runs the years of the plan in order of year, `plan.jobs` at a time, and
// calls `finished` (one call at a time) as each one ends, with the number of
// years still to end. After an interrupt no further year starts. The results
// come in order of year.
std::vector<YearResult> run_years(const Plan& plan, RunningYears& running,
                                  const std::function<void(const YearResult&, int left)>& finished);

}  // namespace tamvek::years
