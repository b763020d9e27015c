// tamvek-years: runs tamvek for a range of years in the working directory, as
// a careful operator would, several years side by side.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "state/year.hpp"
#include "years/arguments.hpp"
#include "years/process.hpp"
#include "years/running_years.hpp"
#include "years/schedule.hpp"
#include "years/summary.hpp"

namespace {

using namespace tamvek::years;
using tamvek::year_text;

constexpr int all_done = 0;
constexpr int not_all_done = 2;

std::string year_list(const std::vector<YearResult>& results, Outcome outcome) {
  std::string years;
  for (const YearResult& result : results)
    if (result.outcome == outcome) years += (years.empty() ? "" : ", ") + year_text(result.year);
  return years;
}

// The plan of the command line's years with tamvek beside this program, or
// nothing after saying on standard error why the years cannot be run.
std::optional<Plan> plan_of(const Arguments& arguments, const char* argv0) {
  Plan plan;
  plan.program = program_beside_self(argv0, "tamvek");
  plan.first = arguments.first;
  plan.last = arguments.last;
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  plan.jobs = std::min(arguments.jobs.value_or(cores), plan.last - plan.first + 1);
  std::error_code error;
  if (!std::filesystem::is_regular_file(plan.program, error)) {
    std::fprintf(stderr, "tamvek-years: tamvek is not beside this program: no file %s\n",
                 plan.program.c_str());
    return std::nullopt;
  }
  // tamvek never creates it, and each year's console is kept there.
  if (!std::filesystem::is_directory("out", error)) {
    std::fprintf(stderr, "tamvek-years: the working directory has no directory out, where "
                         "tamvek writes each year's files\n");
    return std::nullopt;
  }
  return plan;
}

// Runs the plan's years, saying each one's end as it comes and an interrupt
// when one comes, then the table of every year.
int run_plan(const Plan& plan) {
  std::mutex printing;
  auto say = [&](const std::string& text) {
    const std::lock_guard lock(printing);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
  };
  say("tamvek-years: years " + year_text(plan.first) + " to " + year_text(plan.last) + ", " +
      std::to_string(plan.jobs) + " side by side, with " + plan.program + "\n");
  RunningYears running;
  const InterruptWatch interrupts([&] {
    const auto stopped = running.interrupt();
    if (!stopped) return;
    std::string years;
    for (const int year : *stopped) years += (years.empty() ? "" : ", ") + year_text(year);
    say("tamvek-years: interrupted: " +
        (years.empty() ? std::string("no year was running") : "stopping " + years) +
        "; no further year starts\n");
  });
  std::vector<YearResult> results;
  try {
    results = run_years(plan, running, [&](const YearResult& result, int left) {
      say(progress_line(result, left));
    });
  } catch (const ThreadStartFailure& failure) {
    say("");
    std::fprintf(stderr, "tamvek-years: %s: no further year was started, the years above are "
                         "complete; run again with a smaller -j\n", failure.what());
    return not_all_done;
  }

  std::string end = "\n" + result_table(results);
  if (running.interrupted()) {
    const std::string cut_off = year_list(results, Outcome::cut_off);
    end += "interrupted: " +
           (cut_off.empty() ? std::string("no year was cut off") : "cut off " + cut_off) +
           "; the years done are complete\n";
  }
  say(end);
  for (const YearResult& result : results)
    if (!fully_done(result)) return not_all_done;
  return all_done;
}

int run(int argc, char** argv) {
  Arguments arguments;
  try {
    arguments = parse_arguments(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tamvek-years: %s\n%s", error.what(), usage);
    return not_all_done;
  }
  if (arguments.help) {
    std::fputs(usage, stdout);
    return all_done;
  }
  const std::optional<Plan> plan = plan_of(arguments, argv[0]);
  return plan ? run_plan(*plan) : not_all_done;
}

}  // namespace

int main(int argc, char** argv) {
  // Any other failure of the system (a watch that cannot be set up, memory)
  // is a message and the status of years not all done, never an abort.
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "tamvek-years: %s\n", error.what());
    return not_all_done;
  }
}
