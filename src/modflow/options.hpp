#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "modflow/calendar.hpp"
#include "modflow/units.hpp"

namespace tamvek::modflow {

// What the command line asks for.
struct Options {
  int first_year = 0;
  int last_year = 0;
  std::filesystem::path model;
  std::optional<VolumeUnit> volume_unit;
  std::optional<DayNumber> start;
  std::string start_text;
  std::string model_name;
  std::optional<LengthUnit> length_unit;
  std::optional<TimeUnit> time_unit;
  bool zero_outside = false;        // irrigation months of years outside the range carry nothing
  std::set<int> empty_years;        // years meant to carry no recharge at all
  std::optional<std::filesystem::path> package;
  std::string package_name = "tamvek";
  std::optional<std::filesystem::path> copy_arrays;  // from the model's folder
  bool verify = false;  // check the package's arrays against its digests instead
  bool regrid = false;  // the model's grid may differ from tamvek's: carry volumes by area
  std::optional<double> model_x;      // --model-origin: where the model's grid lies, for a
  std::optional<double> model_y;      // model that does not say (MODFLOW-2005)
  std::optional<double> model_rotation;
  bool allow_loss = false;  // volume outside the model's grid or on inactive columns is meant
  bool help = false;
};

// A command line that cannot be used: what is wrong with it.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The arguments after the program's name.
Options parse_options(const std::vector<std::string>& arguments);

extern const char* const usage_text;
extern const char* const help_text;

}  // namespace tamvek::modflow
