#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamvek::modflow {

// A moment as days (and a fraction of a day) since 1970-01-01, 00:00.
using DayNumber = double;

// A date as YYYY-MM-DD, optionally followed by T (or a blank) and hh:mm[:ss[.f]]
// and a Z; nothing for any other text or a date that does not exist.
std::optional<DayNumber> parse_date_time(std::string_view text);

// The first moment of a calendar month and its number of days.
DayNumber month_start(int year, int month);
int days_of_month(int year, int month);

// The calendar date (YYYY-MM-DD) of a moment, for messages.
std::string date_text(DayNumber moment);

}  // namespace tamvek::modflow
