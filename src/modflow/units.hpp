#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamvek::modflow {

// The units of tamvek's arrays (a volume on a cell in a month) and of the model.
enum class VolumeUnit { acre_feet, cubic_feet, cubic_meters };
enum class LengthUnit { feet, meters, centimeters };
enum class TimeUnit { seconds, minutes, hours, days, years };

// Names as the command line and MODFLOW 6 spell them; nothing for "unknown"
// and for a name that is not one of them.
std::optional<VolumeUnit> volume_unit_named(std::string_view name);
std::optional<LengthUnit> length_unit_named(std::string_view name);
std::optional<TimeUnit> time_unit_named(std::string_view name);
std::string name_of(VolumeUnit unit);
std::string name_of(LengthUnit unit);
std::string name_of(TimeUnit unit);
// The names a command line may give, for its messages: "feet, meters or centimeters".
std::string volume_unit_choices();
std::string length_unit_choices();
std::string time_unit_choices();

// MODFLOW-2005's codes: LENUNI 1..3 and ITMUNI 1..5; 0 (undefined) is nothing.
std::optional<LengthUnit> length_unit_coded(long long code);
std::optional<TimeUnit> time_unit_coded(long long code);

// One foot is 0.3048 metre exactly; an acre-foot 43,560 cubic feet.
double metres_in(LengthUnit unit);
double cubic_metres_in(VolumeUnit unit);
// A time in the unit as days. The units shorter than a day are divided by
// their count in a day, so that a month of 2678400 seconds is 31 days
// exactly; a year as a time unit is 365.25 days.
double days_of(double time, TimeUnit unit);

}  // namespace tamvek::modflow
