#include "years/summary.hpp"

#include <algorithm>
#include <cstdio>

#include "state/year.hpp"

namespace tamvek::years {
namespace {

constexpr std::string_view detail_indent = "      ";

std::string padded(std::string text, std::size_t width, bool right) {
  if (text.size() >= width) return text;
  const std::string blanks(width - text.size(), ' ');
  return right ? blanks + text : text + blanks;
}

std::string seconds_text(const YearResult& result) {
  if (!result.seconds) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", *result.seconds);
  return text;
}

// The lines that say more than the outcome: a stop's message, the faulty input
// files, why a year was not started or what its interrupt left, a console file
// that could not be kept.
std::vector<std::string> detail_lines(const YearResult& result) {
  std::vector<std::string> lines;
  auto add_lines = [&](const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  };
  if (result.outcome != Outcome::done && result.outcome != Outcome::not_resumed)
    add_lines(result.detail);
  if (!result.console_failure.empty() && result.console_failure != result.detail)
    add_lines("console: " + result.console_failure);
  return lines;
}

}  // namespace

std::string progress_line(const YearResult& result, int left) {
  std::string line = year_text(result.year) + "  " + outcome_text(result);
  if (result.outcome == Outcome::inputs_missing) line += ": " + result.detail;
  line += "  (" + std::to_string(left) + (left == 1 ? " year left)" : " years left)");
  return line + "\n";
}

std::string result_table(const std::vector<YearResult>& results) {
  const std::string outcome_heading = "outcome";
  std::size_t outcome_width = outcome_heading.size();
  for (const YearResult& result : results)
    outcome_width = std::max(outcome_width, outcome_text(result).size());
  constexpr std::size_t acres_width = 18;
  constexpr std::size_t seconds_width = 9;

  std::string table = "year  " + padded(outcome_heading, outcome_width, false) +
                      padded("authorized acres", acres_width, true) +
                      padded("seconds", seconds_width, true) + "\n";
  int done = 0;
  for (const YearResult& result : results) {
    if (fully_done(result)) ++done;
    table += year_text(result.year) + "  " +
             padded(outcome_text(result), outcome_width, false) +
             padded(result.acres.empty() ? "-" : result.acres, acres_width, true) +
             padded(seconds_text(result), seconds_width, true) + "\n";
    for (const std::string& line : detail_lines(result))
      table += std::string(detail_indent) + line + "\n";
  }
  table += std::to_string(done) + " of " + std::to_string(results.size()) +
           (results.size() == 1 ? " year" : " years") + " done\n";
  return table;
}

}  // namespace tamvek::years
