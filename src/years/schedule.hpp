#pragma once

#include <functional>
#include <stdexcept>
#include <thread>
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

// Starts a thread that runs `work`; throws std::system_error when the system
// cannot start one. Tests give their own.
using ThreadStart = std::function<std::thread(std::function<void()> work)>;
std::thread start_thread(std::function<void()> work);

// The system would not start as many threads as years side by side: what it said.
struct ThreadStartFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Runs the years of the plan in order of year, `plan.jobs` at a time, and
// calls `finished` (one call at a time) as each one ends, with the number of
// years still to end. After an interrupt no further year starts. The results
// come in order of year. When a thread cannot be started, no further year
// starts, the years already running end as they would, and ThreadStartFailure
// is thrown.
std::vector<YearResult> run_years(const Plan& plan, RunningYears& running,
                                  const std::function<void(const YearResult&, int left)>& finished,
                                  const ThreadStart& start = start_thread);

}  // namespace tamvek::years
