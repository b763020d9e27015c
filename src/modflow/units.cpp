#include "modflow/units.hpp"

#include <array>

#include "modflow/model_text.hpp"

namespace tamvek::modflow {
namespace {

constexpr std::array<const char*, 3> volume_names = {"acre-feet", "cubic-feet", "cubic-meters"};
constexpr std::array<const char*, 3> length_names = {"feet", "meters", "centimeters"};
constexpr std::array<const char*, 5> time_names = {"seconds", "minutes", "hours", "days", "years"};
constexpr double metres_in_foot = 0.3048;

template <class Unit, std::size_t count>
std::optional<Unit> named(std::string_view name, const std::array<const char*, count>& names) {
  const std::string wanted = upper(name);
  for (std::size_t i = 0; i < count; ++i)
    if (upper(names[i]) == wanted) return static_cast<Unit>(i);
  return std::nullopt;
}

template <std::size_t count>
std::string choices(const std::array<const char*, count>& names) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += i + 1 == count ? " or " : ", ";
    text += names[i];
  }
  return text;
}

}  // namespace

std::string volume_unit_choices() { return choices(volume_names); }
std::string length_unit_choices() { return choices(length_names); }
std::string time_unit_choices() { return choices(time_names); }

std::optional<VolumeUnit> volume_unit_named(std::string_view name) {
  return named<VolumeUnit>(name, volume_names);
}
std::optional<LengthUnit> length_unit_named(std::string_view name) {
  return named<LengthUnit>(name, length_names);
}
std::optional<TimeUnit> time_unit_named(std::string_view name) {
  return named<TimeUnit>(name, time_names);
}
std::string name_of(VolumeUnit unit) { return volume_names[static_cast<std::size_t>(unit)]; }
std::string name_of(LengthUnit unit) { return length_names[static_cast<std::size_t>(unit)]; }
std::string name_of(TimeUnit unit) { return time_names[static_cast<std::size_t>(unit)]; }

std::optional<LengthUnit> length_unit_coded(long long code) {
  if (code < 1 || code > 3) return std::nullopt;
  return static_cast<LengthUnit>(code - 1);
}
std::optional<TimeUnit> time_unit_coded(long long code) {
  if (code < 1 || code > 5) return std::nullopt;
  return static_cast<TimeUnit>(code - 1);
}

double metres_in(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::feet: return metres_in_foot;
    case LengthUnit::meters: return 1.0;
    case LengthUnit::centimeters: return 0.01;
  }
  return 0;
}

double cubic_metres_in(VolumeUnit unit) {
  const double cubic_foot = metres_in_foot * metres_in_foot * metres_in_foot;
  switch (unit) {
    case VolumeUnit::acre_feet: return 43560.0 * cubic_foot;
    case VolumeUnit::cubic_feet: return cubic_foot;
    case VolumeUnit::cubic_meters: return 1.0;
  }
  return 0;
}

double days_of(double time, TimeUnit unit) {
  switch (unit) {
    case TimeUnit::seconds: return time / 86400.0;
    case TimeUnit::minutes: return time / 1440.0;
    case TimeUnit::hours: return time / 24.0;
    case TimeUnit::days: return time;
    case TimeUnit::years: return time * 365.25;
  }
  return time;
}

}  // namespace tamvek::modflow
