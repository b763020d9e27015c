#include "modflow/calendar.hpp"

#include <algorithm>
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

namespace {

// hh, mm or ss with an optional separator before it (none in the basic form).
bool time_part(std::string_view& rest, bool extended, int& value) {
  if (extended) {
    if (rest.empty() || rest[0] != ':') return false;
    rest.remove_prefix(1);
  }
  if (!digits(rest, 0, 2, value)) return false;
  rest.remove_prefix(2);
  return true;
}

bool is_zone_start(char c) { return c == 'Z' || c == 'z' || c == '+' || c == '-'; }

// The fraction of the last part given, after a point or a comma.
bool fraction(std::string_view& rest, double& value) {
  value = 0;
  if (rest.empty() || (rest[0] != '.' && rest[0] != ',')) return true;
  rest.remove_prefix(1);
  double scale = 0.1;
  std::size_t count = 0;
  for (; count < rest.size() && rest[count] >= '0' && rest[count] <= '9'; ++count, scale /= 10)
    value += (rest[count] - '0') * scale;
  rest.remove_prefix(count);
  return count > 0;
}

bool zone_of(std::string_view rest, std::string& zone) {
  zone.clear();
  if (rest.empty()) return true;
  if (rest == "Z" || rest == "z") {
    zone += 'Z';
    return true;
  }
  zone.append(rest);
  int hours = 0, minutes = 0;
  if (rest[0] != '+' && rest[0] != '-') return false;
  if (!digits(rest, 1, 2, hours) || hours > 23) return false;
  std::string_view after = rest.substr(3);
  if (!after.empty() && after[0] == ':') after.remove_prefix(1);
  if (!after.empty() && (!digits(after, 0, 2, minutes) || after.size() != 2 || minutes > 59)) return false;
  return true;
}

}  // namespace

std::optional<ClockReading> parse_clock_reading(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  int y = 0, m = 0, d = 0;
  std::size_t after_date = 0;
  if (digits(text, 0, 4, y) && text.size() >= 10 && text[4] == '-' && digits(text, 5, 2, m) &&
      text[7] == '-' && digits(text, 8, 2, d)) {
    after_date = 10;
  } else if (digits(text, 0, 4, y) && digits(text, 4, 2, m) && digits(text, 6, 2, d)) {
    after_date = 8;
  } else {
    return std::nullopt;
  }
  const bool extended = after_date == 10;
  const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!date.ok()) return std::nullopt;

  std::string_view rest = text.substr(after_date);
  double seconds = 0;
  if (!rest.empty() && !is_zone_start(rest[0])) {
    if (rest[0] != 'T' && rest[0] != 't' && rest[0] != ' ') return std::nullopt;
    rest.remove_prefix(1);
    int h = 0, mi = 0, s = 0;
    if (!digits(rest, 0, 2, h)) return std::nullopt;
    rest.remove_prefix(2);
    double part = 0;
    double unit = 3600;  // the seconds of the last part given, for its fraction
    if (!rest.empty() && rest[0] != '.' && rest[0] != ',' && !is_zone_start(rest[0])) {
      if (!time_part(rest, extended, mi)) return std::nullopt;
      unit = 60;
      if (!rest.empty() && rest[0] != '.' && rest[0] != ',' && !is_zone_start(rest[0])) {
        if (!time_part(rest, extended, s)) return std::nullopt;
        unit = 1;
      }
    }
    if (!fraction(rest, part)) return std::nullopt;
    // 24:00:00 is the end of the day; seconds up to 60 allow a leap second.
    if (h > 24 || mi > 59 || s > 60 || (h == 24 && (mi != 0 || s != 0 || part != 0))) return std::nullopt;
    seconds = h * 3600.0 + mi * 60.0 + s + part * unit;
  }
  ClockReading reading;
  if (!zone_of(rest, reading.zone)) return std::nullopt;
  reading.moment = static_cast<double>(sys_days(date).time_since_epoch().count()) + seconds / 86400.0;
  return reading;
}

std::optional<DayNumber> parse_date_time(std::string_view text) {
  const auto reading = parse_clock_reading(text);
  if (!reading) return std::nullopt;
  return reading->moment;
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
  // Moments beyond the years a calendar date can show are shown at its ends.
  const double day_number = std::clamp(std::floor(moment), -1e8, 1e8);
  const year_month_day date{sys_days{days{static_cast<int>(day_number)}}};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

}  // namespace tamvek::modflow
