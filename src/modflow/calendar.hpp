#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamvek::modflow {

// A moment as days (and a fraction of a day) since 1970-01-01, 00:00.
using DayNumber = double;

// A date and time of ISO 8601 as model files hold them: the date YYYY-MM-DD
// (or YYYYMMDD), optionally followed by T (or a blank) and hh[:mm[:ss]] (or
// hhmmss) with a fraction of its last part after a point or a comma, and a
// zone: Z, or an offset +hh:mm, -hh:mm, +hhmm or +hh. The clock reading is the
// moment; the offset is kept as written, to be shown. Nothing for any other
// text, or a date or time that does not exist.
struct ClockReading {
  DayNumber moment = 0;
  std::string zone;  // "Z", "+01:00", ...; empty where none is given
};
std::optional<ClockReading> parse_clock_reading(std::string_view text);

// The moment of such a text, its zone set aside.
std::optional<DayNumber> parse_date_time(std::string_view text);

// The first moment of a calendar month and its number of days.
DayNumber month_start(int year, int month);
int days_of_month(int year, int month);

// The calendar date (YYYY-MM-DD) of a moment, for messages.
std::string date_text(DayNumber moment);

}  // namespace tamvek::modflow
