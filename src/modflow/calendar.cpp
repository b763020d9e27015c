#include "modflow/calendar.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tamvek::modflow {
namespace {

using namespace std::chrono;

bool digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<DayNumber> parse_date_time(std::string_view text) {
  int y = 0, m = 0, d = 0;
  if (!digits(text, 0, 4, y) || text.size() < 10 || text[4] != '-' || !digits(text, 5, 2, m) ||
      text[7] != '-' || !digits(text, 8, 2, d))
    return std::nullopt;
  const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!date.ok()) return std::nullopt;
  double seconds = 0;
  std::string_view rest = text.substr(10);
  if (!rest.empty() && (rest.back() == 'Z' || rest.back() == 'z')) rest.remove_suffix(1);
  if (!rest.empty()) {
    int h = 0, mi = 0, s = 0;
    if ((rest[0] != 'T' && rest[0] != 't' && rest[0] != ' ') || !digits(rest, 1, 2, h) || rest.size() < 6 ||
        rest[3] != ':' || !digits(rest, 4, 2, mi) || h > 23 || mi > 59)
      return std::nullopt;
    seconds = h * 3600.0 + mi * 60.0;
    rest.remove_prefix(6);
    if (!rest.empty()) {
      if (rest[0] != ':' || !digits(rest, 1, 2, s) || s > 59) return std::nullopt;
      seconds += s;
      rest.remove_prefix(3);
      if (!rest.empty()) {
        if (rest[0] != '.' || rest.size() < 2) return std::nullopt;
        double scale = 0.1;
        for (std::size_t i = 1; i < rest.size(); ++i, scale /= 10) {
          if (rest[i] < '0' || rest[i] > '9') return std::nullopt;
          seconds += (rest[i] - '0') * scale;
        }
      }
    }
  }
  return static_cast<double>(sys_days(date).time_since_epoch().count()) + seconds / 86400.0;
}

DayNumber month_start(int y, int m) {
  const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{1}};
  return static_cast<double>(sys_days(date).time_since_epoch().count());
}

int days_of_month(int y, int m) {
  const year_month_day_last last{year{y}, month_day_last{month{static_cast<unsigned>(m)}}};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::string date_text(DayNumber moment) {
  const year_month_day date{sys_days{days{static_cast<int>(std::floor(moment))}}};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

}  // namespace tamvek::modflow
