#pragma once

// Follows a year's console as it comes from tamvek (standard output and
// standard error in one stream) and picks out what an operator looks at: the
// year summary before the pause, the prompt of the pause, and the message of a
// run-time stop.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace tamvek::years {

// The year summary's second record: the year and its total authorized acres,
// as tamvek printed them.
struct YearSummary {
  std::string year;   // four characters
  std::string total;  // the number's text, without its blanks
};

class ConsoleWatch {
 public:
  // Takes the next bytes; true when they complete the pause prompt, which
  // then waits for its answer.
  bool take(std::string_view bytes);

  const std::optional<YearSummary>& summary() const { return summary_; }
  bool paused() const { return paused_; }
  // The lines that explain an abnormal end: the last run-time stop's locus
  // line and error line, or a fault's signal line, or else the last line shown.
  std::string stop_message() const;

 private:
  void take_line(std::string line);

  std::string partial_;
  std::string previous_;
  std::optional<YearSummary> summary_;
  bool paused_ = false;
  std::deque<std::string> last_lines_;
};

// Whether the summary's total is a positive, finite number of acres: the
// year's tracts then have something to share its water out by.
bool positive_total(const YearSummary& summary);

}  // namespace tamvek::years
