#include "modflow/plan.hpp"

#include <algorithm>
#include <cmath>

#include "modflow/year_arrays.hpp"

namespace tamvek::modflow {
namespace {

int year_of(DayNumber moment) { return std::stoi(date_text(moment).substr(0, 4)); }

// Less of a month than this within a period is the rounding of the period's
// ends, not a share of the month's volume.
constexpr double least_share_days = 1e-9;

}  // namespace

double fraction_within(int year, int month, DayNumber begin, DayNumber end) {
  const DayNumber first = month_start(year, month);
  const int days = days_of_month(year, month);
  const double overlap = std::min(end, first + days) - std::max(begin, first);
  return overlap > least_share_days ? overlap / days : 0.0;
}

TimePlan plan_periods(const std::vector<double>& perlen, TimeUnit unit, DayNumber start,
                      int first_year, int last_year) {
  TimePlan plan;
  plan.begin = start;
  double elapsed = 0;  // in the model's time unit, summed as the model sums it
  std::vector<bool> outside_reached;
  for (const double length : perlen) {
    PeriodPlan period;
    period.begin = start + days_of(elapsed, unit);
    elapsed += length;
    period.end = start + days_of(elapsed, unit);
    period.length = length;
    if (period.end > period.begin) {
      const int last = year_of(period.end);
      for (int year = year_of(period.begin); year <= last; ++year)
        for (int month = first_irrigation_month; month <= last_irrigation_month; ++month) {
          const double fraction = fraction_within(year, month, period.begin, period.end);
          if (fraction <= 0) continue;
          if (year >= first_year && year <= last_year)
            period.shares.push_back({year, month, fraction});
          else if (plan.years_outside_range.empty() || plan.years_outside_range.back() != year)
            plan.years_outside_range.push_back(year);
        }
    }
    plan.periods.push_back(std::move(period));
  }
  plan.end = start + days_of(elapsed, unit);
  std::sort(plan.years_outside_range.begin(), plan.years_outside_range.end());
  plan.years_outside_range.erase(
      std::unique(plan.years_outside_range.begin(), plan.years_outside_range.end()),
      plan.years_outside_range.end());
  return plan;
}

}  // namespace tamvek::modflow
