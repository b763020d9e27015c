#include "years/year_run.hpp"

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "years/console_watch.hpp"

namespace tamvek::years {
namespace fs = std::filesystem;

std::string acreage_file(int year) { return "authacres" + std::to_string(year) + ".txt"; }
std::string diversion_file(int year) { return "tamvek" + std::to_string(year) + ".txt"; }
std::string console_file(int year) {
  return (fs::path("out") / ("console" + std::to_string(year) + ".txt")).string();
}

namespace {

constexpr std::string_view resume_answer = "go\n";

// What is wrong with the yearly input files, "" when both are there. tamvek
// would create a missing one empty and run a year of nothing.
std::string input_faults(int year) {
  std::string faults;
  for (const std::string& name : {acreage_file(year), diversion_file(year)}) {
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
  if (summary->year != std::to_string(year)) return "the summary shows the year " + summary->year;
  if (!positive_total(*summary)) return "no authorized acres";
  return "";
}

}  // namespace

YearResult run_year(const std::string& program, int year, RunningYears& running) {
  YearResult result;
  result.year = year;
  if (const std::string faults = input_faults(year); !faults.empty()) {
    result.outcome = Outcome::inputs_missing;
    result.detail = faults;
    ConsoleFile console(year);
    console.write("tamvek-years: " + std::to_string(year) + " not started: inputs missing: " +
                  faults + "\n");
    result.console_failure = console.close();
    return result;
  }
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
    child = std::make_unique<ChildProcess>(program, std::vector<std::string>{std::to_string(year)});
  } catch (const std::runtime_error& error) {
    result.detail = std::string("tamvek could not be started: ") + error.what();
    console.write("tamvek-years: " + result.detail + "\n");
    result.console_failure = console.close();
    return result;
  }
  // When an interrupt came first the program is stopped already, and its end
  // makes the year one cut off.
  running.add(year, *child);
  ConsoleWatch watch;
  bool resumed = false;
  std::string refused;
  std::vector<char> buffer(64 * 1024);
  while (const std::size_t got = child->read_output(buffer.data(), buffer.size())) {
    const std::string_view bytes(buffer.data(), got);
    console.write(bytes);
    if (!watch.take(bytes)) continue;
    refused = refusal(watch, year);
    resumed = refused.empty();
    // Any answer but go, like the end of the input, ends the run with nothing written.
    if (resumed) child->send_input(resume_answer);
    child->close_input();
  }
  const ProcessEnd end = child->wait();
  running.remove(year);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.console_failure = console.close();
  if (watch.summary()) result.acres = watch.summary()->total;

  result.status = end.how;
  if (!end.exited && running.interrupted()) {
    result.outcome = Outcome::cut_off;
    result.detail = resumed ? "its files in out are incomplete" : "before the pause: nothing written";
  } else if (end.exited && end.status == 0 && watch.paused() && resumed) {
    result.outcome = Outcome::done;
  } else if (end.exited && end.status == 0 && watch.paused()) {
    result.outcome = Outcome::not_resumed;
    result.detail = refused;
  } else {
    result.outcome = Outcome::stopped;
    result.detail = watch.paused() || end.status != 0 ? watch.stop_message()
                                                       : "ended before the pause";
  }
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
