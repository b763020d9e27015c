#pragma once

#include <optional>
#include <string>

namespace tamvek::years {

enum class Outcome {
  done,            // resumed at the pause, and tamvek ended normally
  stopped,         // tamvek ended otherwise: a run-time stop, a fault
  inputs_missing,  // a yearly input file missing or empty: not started
  not_resumed,     // the pause answered with anything but go: nothing written
  cut_off,         // stopped by an interrupt while it ran
  not_started,     // an interrupt came first, or tamvek could not be started
};

struct YearResult {
  int year = 0;
  Outcome outcome = Outcome::not_started;
  std::string status;  // how tamvek ended, for a stop: "status 2"
  std::string detail;  // the stop's message, the input files' faults, the reason
  std::string acres;   // the total authorized acres tamvek showed; empty if none
  std::optional<double> seconds;
  std::string console_failure;  // why out/console<year>.txt is missing or incomplete
};

// The outcome in a few words: "done", "stopped, status 2", "not resumed: no
// authorized acres".
std::string outcome_text(const YearResult& result);

// Done, with its console kept.
inline bool fully_done(const YearResult& result) {
  return result.outcome == Outcome::done && result.console_failure.empty();
}

}  // namespace tamvek::years
