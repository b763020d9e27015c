#include "years/console_watch.hpp"

#include <charconv>
#include <cmath>

namespace tamvek::years {
namespace {

constexpr std::string_view summary_heading = " year, sum authorized acres over groups: ";
constexpr std::string_view pause_prompt =
    "To resume execution, type go.  Other input will terminate the job.";
// A stop ends the console, so its lines are among the last; a fault's
// backtrace may add a few dozen more.
constexpr std::size_t lines_kept = 64;
// Console lines are short; a runaway one is kept only in part.
constexpr std::size_t longest_line_kept = 4096;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool ConsoleWatch::take(std::string_view bytes) {
  bool prompt = false;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (partial_.size() < longest_line_kept)
      partial_.append(piece.substr(0, longest_line_kept - partial_.size()));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
    if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
    const bool was_paused = paused_;
    take_line(std::move(partial_));
    partial_.clear();
    prompt = prompt || (paused_ && !was_paused);
  }
  return prompt;
}

void ConsoleWatch::take_line(std::string line) {
  // The record after the heading: a blank, the four characters of the year,
  // then the total as one real item.
  if (previous_ == summary_heading && !summary_ && line.size() > 5 && line[0] == ' ')
    summary_ = YearSummary{line.substr(1, 4), std::string(trimmed(std::string_view(line).substr(5)))};
  if (line == pause_prompt) paused_ = true;
  if (last_lines_.size() == lines_kept) last_lines_.pop_front();
  last_lines_.push_back(line);
  previous_ = std::move(line);
}

std::string ConsoleWatch::stop_message() const {
  auto join_from = [&](std::size_t first, std::size_t count) {
    std::string message;
    for (std::size_t i = first; i < last_lines_.size() && i < first + count; ++i) {
      if (last_lines_[i].empty()) continue;
      if (!message.empty()) message += '\n';
      message += last_lines_[i];
    }
    return message;
  };
  for (std::size_t i = last_lines_.size(); i-- > 0;) {
    if (last_lines_[i].starts_with("At line ")) return join_from(i, 2);
    if (last_lines_[i].starts_with("Program received signal ")) return join_from(i, 1);
  }
  for (std::size_t i = last_lines_.size(); i-- > 0;)
    if (!trimmed(last_lines_[i]).empty()) return join_from(i, 1);
  return partial_;
}

bool positive_total(const YearSummary& summary) {
  double total = 0;
  const std::string& text = summary.total;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), total);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(total) &&
         total > 0;
}

}  // namespace tamvek::years
