#include "years/schedule.hpp"

#include <algorithm>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "years/year_run.hpp"

namespace tamvek::years {

std::thread start_thread(std::function<void()> work) { return std::thread(std::move(work)); }

std::vector<YearResult> run_years(const Plan& plan, RunningYears& running,
                                  const std::function<void(const YearResult&, int left)>& finished,
                                  const ThreadStart& start) {
  const int count = plan.last - plan.first + 1;
  std::vector<YearResult> results(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    results[static_cast<std::size_t>(i)].year = plan.first + i;
    results[static_cast<std::size_t>(i)].detail = "interrupted";
  }
  std::mutex mutex;
  int next = 0;
  int left = count;
  bool stopping = false;
  auto work = [&] {
    for (;;) {
      int index = 0;
      {
        const std::lock_guard lock(mutex);
        if (next == count || stopping || running.interrupted()) return;
        index = next++;
      }
      YearResult result = run_year(plan.program, plan.first + index, running);
      const std::lock_guard lock(mutex);
      results[static_cast<std::size_t>(index)] = std::move(result);
      finished(results[static_cast<std::size_t>(index)], --left);
    }
  };
  std::vector<std::thread> workers;
  const int wanted = std::min(plan.jobs, count);
  workers.reserve(static_cast<std::size_t>(wanted));
  std::string failure;
  for (int i = 0; i < wanted && failure.empty(); ++i) {
    try {
      workers.push_back(start(work));
    } catch (const std::system_error& error) {
      // A thread left joinable would end the program: the ones started are
      // let finish the years they have, and start no other.
      const std::lock_guard lock(mutex);
      stopping = true;
      failure = "the system would not start thread " + std::to_string(i + 1) + " of the " +
                std::to_string(wanted) + " years side by side (" + error.what() + ")";
    }
  }
  for (std::thread& worker : workers) worker.join();
  if (!failure.empty()) throw ThreadStartFailure(failure);
  return results;
}

}  // namespace tamvek::years
