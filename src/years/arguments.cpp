#include "years/arguments.hpp"

#include <charconv>
#include <stdexcept>

namespace tamvek::years {
namespace {

constexpr int earliest_year = 1000;
constexpr int latest_year = 9999;
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
  // tamvek takes four characters of its argument as the year; other years
  // would not name the files they seem to.
  arguments.first = whole_number(years[0], "the first year", earliest_year, latest_year);
  arguments.last = whole_number(years[1], "the last year", earliest_year, latest_year);
  if (arguments.last < arguments.first)
    throw std::invalid_argument("the last year " + years[1] + " comes before the first " + years[0]);
  return arguments;
}

}  // namespace tamvek::years
