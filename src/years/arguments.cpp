#include "years/arguments.hpp"

#include <charconv>
#include <stdexcept>

#include "state/year.hpp"

namespace tamvek::years {
namespace {

constexpr int most_jobs = 256;

int whole_number(const std::string& text, const std::string& what, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    throw std::invalid_argument(what + " must be a whole number from " + std::to_string(low) +
                                " to " + std::to_string(high) + ", not '" + text + "'");
  return value;
}

}  // namespace

Arguments parse_arguments(const std::vector<std::string>& words) {
  Arguments arguments;
  std::vector<std::string> years;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-h" || word == "--help") {
      arguments.help = true;
    } else if (word == "-j") {
      if (i + 1 == words.size()) throw std::invalid_argument("-j needs the number of years side by side");
      arguments.jobs = whole_number(words[++i], "-j", 1, most_jobs);
    } else if (word.starts_with("-j")) {
      arguments.jobs = whole_number(word.substr(2), "-j", 1, most_jobs);
    } else if (word.size() > 1 && word[0] == '-') {
      throw std::invalid_argument("unknown option " + word);
    } else {
      years.push_back(word);
    }
  }
  if (arguments.help) return arguments;
  if (years.size() != 2) throw std::invalid_argument("give the first and the last year");
  YearRange range;
  switch (parse_year_range(years[0], years[1], range)) {
    case YearRangeFault::none: break;
    case YearRangeFault::first_not_a_year:
      throw std::invalid_argument("the first year must be four digits, not '" + years[0] + "'");
    case YearRangeFault::last_not_a_year:
      throw std::invalid_argument("the last year must be four digits, not '" + years[1] + "'");
    case YearRangeFault::last_before_first:
      throw std::invalid_argument("the last year " + years[1] + " comes before the first " +
                                  years[0]);
  }
  arguments.first = range.first;
  arguments.last = range.last;
  return arguments;
}

}  // namespace tamvek::years
