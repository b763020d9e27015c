#include "years/year_run.hpp"

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "state/file_names.hpp"
#include "state/year.hpp"
#include "years/console_watch.hpp"

namespace tamvek::years {
namespace fs = std::filesystem;

std::string console_file(int year) {
  return (fs::path("out") / ("console" + year_text(year) + ".txt")).string();
}

namespace {

constexpr std::string_view resume_answer = "go\n";

// What is wrong with the yearly input files, "" when both are there. tamvek
// would create a missing one empty and run a year of nothing.
std::string input_faults(int year) {
  std::string faults;
  // tamvek's own names of them, which have no folder: the working directory's.
  const std::string cyear = year_text(year);
  for (const std::string& name :
       {authorized_acreage_file(cyear).name, tamvek::diversion_file(cyear).name}) {
    std::error_code error;
    const fs::file_status status = fs::status(name, error);
    std::string fault;
    if (!fs::exists(status))
      fault = "missing";
    else if (!fs::is_regular_file(status))
      fault = "not a file";
    else if (fs::file_size(name, error) == 0 && !error)
      fault = "empty";
    if (fault.empty()) continue;
    if (!faults.empty()) faults += ", ";
    faults += name + " " + fault;
  }
  return faults;
}

// The console file, written as the console comes so that whatever happens to
// the run, what it showed so far is kept.
class ConsoleFile {
 public:
  explicit ConsoleFile(int year) : name_(console_file(year)) {
    file_ = std::fopen(name_.c_str(), "wb");
    if (file_ == nullptr) failure_ = name_ + " cannot be written: " + std::strerror(errno);
  }
  ~ConsoleFile() { close(); }
  ConsoleFile(const ConsoleFile&) = delete;
  ConsoleFile& operator=(const ConsoleFile&) = delete;

  bool opened() const { return file_ != nullptr; }
  void write(std::string_view bytes) {
    if (file_ == nullptr || !failure_.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
      failure_ = name_ + " is incomplete: " + std::strerror(errno);
  }
  // "" when every byte reached the file.
  std::string close() {
    if (file_ != nullptr) {
      const bool flushed = std::fflush(file_) == 0;
      if (!flushed && failure_.empty()) failure_ = name_ + " is incomplete: " + std::strerror(errno);
      std::fclose(file_);
      file_ = nullptr;
    }
    return failure_;
  }

 private:
  std::string name_;
  std::FILE* file_ = nullptr;
  std::string failure_;
};

// Why the pause is not answered with go, "" when it is.
std::string refusal(const ConsoleWatch& watch, int year) {
  const auto& summary = watch.summary();
  if (!summary) return "no year summary before the pause";
  if (summary->year != year_text(year)) return "the summary shows the year " + summary->year;
  if (!positive_total(*summary)) return "no authorized acres";
  return "";
}

// A year whose input files are not both there: tamvek is not started, and
// its console file says why.
YearResult inputs_missing(int year, const std::string& faults) {
  YearResult result;
  result.year = year;
  result.outcome = Outcome::inputs_missing;
  result.detail = faults;
  ConsoleFile console(year);
  console.write("tamvek-years: " + year_text(year) + " not started: inputs missing: " + faults +
                "\n");
  result.console_failure = console.close();
  return result;
}

// What the year's console showed, and how its pause was answered.
struct ConsoleSeen {
  ConsoleWatch watch;
  bool resumed = false;
  std::string refused;  // why the pause was not answered with go
};

// Keeps the program's console in the console file as it comes and answers
// its pause, until the program closes its output.
ConsoleSeen follow_console(ChildProcess& child, ConsoleFile& console, int year) {
  ConsoleSeen seen;
  std::vector<char> buffer(64 * 1024);
  while (const std::size_t got = child.read_output(buffer.data(), buffer.size())) {
    const std::string_view bytes(buffer.data(), got);
    console.write(bytes);
    if (!seen.watch.take(bytes)) continue;
    seen.refused = refusal(seen.watch, year);
    seen.resumed = seen.refused.empty();
    // Any answer but go, like the end of the input, ends the run with nothing written.
    if (seen.resumed) child.send_input(resume_answer);
    child.close_input();
  }
  return seen;
}

// The year's outcome from how tamvek ended and what its console showed.
void settle_outcome(YearResult& result, const ProcessEnd& end, const ConsoleSeen& seen,
                    bool interrupted) {
  result.status = end.how;
  if (seen.watch.summary()) result.acres = seen.watch.summary()->total;
  const bool paused = seen.watch.paused();
  if (!end.exited && interrupted) {
    result.outcome = Outcome::cut_off;
    result.detail =
        seen.resumed ? "its files in out are incomplete" : "before the pause: nothing written";
  } else if (end.exited && end.status == 0 && paused && seen.resumed) {
    result.outcome = Outcome::done;
  } else if (end.exited && end.status == 0 && paused) {
    result.outcome = Outcome::not_resumed;
    result.detail = seen.refused;
  } else {
    result.outcome = Outcome::stopped;
    result.detail = paused || end.status != 0 ? seen.watch.stop_message() : "ended before the pause";
  }
}

}  // namespace

YearResult run_year(const std::string& program, int year, RunningYears& running) {
  if (const std::string faults = input_faults(year); !faults.empty())
    return inputs_missing(year, faults);
  YearResult result;
  result.year = year;
  if (running.interrupted()) {
    result.detail = "interrupted";
    return result;
  }
  ConsoleFile console(year);
  if (!console.opened()) {
    result.detail = "its console file " + console.close();
    result.console_failure = result.detail;
    return result;
  }

  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<ChildProcess> child;
  try {
    child = std::make_unique<ChildProcess>(program, std::vector<std::string>{year_text(year)});
  } catch (const std::runtime_error& error) {
    result.detail = std::string("tamvek could not be started: ") + error.what();
    console.write("tamvek-years: " + result.detail + "\n");
    result.console_failure = console.close();
    return result;
  }
  // When an interrupt came first the program is stopped already, and its end
  // makes the year one cut off.
  running.add(year, *child);
  const ConsoleSeen seen = follow_console(*child, console, year);
  const ProcessEnd end = child->wait();
  running.remove(year);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.console_failure = console.close();
  settle_outcome(result, end, seen, running.interrupted());
  return result;
}

std::string outcome_text(const YearResult& result) {
  switch (result.outcome) {
    case Outcome::done: return "done";
    case Outcome::stopped: return "stopped, " + result.status;
    case Outcome::inputs_missing: return "inputs missing";
    case Outcome::not_resumed: return "not resumed: " + result.detail;
    case Outcome::cut_off: return "cut off by the interrupt";
    case Outcome::not_started: return "not started";
  }
  return "";
}

}  // namespace tamvek::years
