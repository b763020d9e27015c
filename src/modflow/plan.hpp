#pragma once

#include <cstddef>
#include <vector>

#include "modflow/calendar.hpp"
#include "modflow/units.hpp"

namespace tamvek::modflow {

// The part of a month's volume that falls within a stress period.
struct Share {
  int year = 0;
  int month = 0;
  double fraction = 0;  // days of the month within the period / days of the month
};

struct PeriodPlan {
  DayNumber begin = 0;
  DayNumber end = 0;
  double length = 0;    // PERLEN, in the model's time unit
  std::vector<Share> shares;
};

// The model's periods laid on the calendar, with the irrigation months of the
// years FIRST..LAST that fall within each, and the years outside that range
// whose irrigation months the periods reach.
struct TimePlan {
  std::vector<PeriodPlan> periods;
  std::vector<int> years_outside_range;
  DayNumber begin = 0;
  DayNumber end = 0;
};

TimePlan plan_periods(const std::vector<double>& perlen, TimeUnit unit, DayNumber start,
                      int first_year, int last_year);

// The days of a month that lie within [begin, end), as a fraction of the month.
double fraction_within(int year, int month, DayNumber begin, DayNumber end);

}  // namespace tamvek::modflow
