#include "years/schedule.hpp"

#include <algorithm>
#include <mutex>
#include <thread>

#include "years/year_run.hpp"

namespace tamvek::years {

std::vector<YearResult> run_years(const Plan& plan, RunningYears& running,
                                  const std::function<void(const YearResult&, int left)>& finished) {
  const int count = plan.last - plan.first + 1;
  std::vector<YearResult> results(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    results[static_cast<std::size_t>(i)].year = plan.first + i;
    results[static_cast<std::size_t>(i)].detail = "interrupted";
  }
  std::mutex mutex;
  int next = 0;
  int left = count;
  auto work = [&] {
    for (;;) {
      int index = 0;
      {
        const std::lock_guard lock(mutex);
        if (next == count || running.interrupted()) return;
        index = next++;
      }
      YearResult result = run_year(plan.program, plan.first + index, running);
      const std::lock_guard lock(mutex);
      results[static_cast<std::size_t>(index)] = std::move(result);
      finished(results[static_cast<std::size_t>(index)], --left);
    }
  };
  std::vector<std::thread> workers;
  for (int i = 0; i < std::min(plan.jobs, count); ++i) workers.emplace_back(work);
  for (std::thread& worker : workers) worker.join();
  return results;
}

}  // namespace tamvek::years
