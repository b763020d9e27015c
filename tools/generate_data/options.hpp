#pragma once

// What a data set is made of: where it goes, its seed, and its dimensions,
// starting from one of four sizes and changed by single overrides.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tamvek::generate {

enum class Size { example, small, medium, largest };

inline std::optional<Size> size_named(std::string_view name) {
  if (name == "example") return Size::example;
  if (name == "small") return Size::small;
  if (name == "medium") return Size::medium;
  if (name == "largest") return Size::largest;
  return std::nullopt;
}

struct Options {
  std::filesystem::path root;  // the static files go to <root>/BAVO/QZ/static/
  std::filesystem::path work;  // the yearly files go here, and out/ below it
  std::string year = "2010";
  std::uint64_t seed = 1;

  int nx = 40, ny = 30;
  int cell_feet = 2640;      // gdx = gdy
  int groups = 300;          // group numbers 1..groups
  long auth_records = 3000;  // authorized-acreage records
  long diversions = 300;     // diversion records
  int nfactors = 4;          // return-flow factors, one per irrigation system type
  int county_columns = 3, county_rows = 2;
  bool full_survey = false;  // a coordinate record for every tract key
  bool crlf = false;         // CR LF record ends instead of LF
};

inline Options preset(Size size) {
  Options options;
  switch (size) {
    case Size::example:
      break;
    case Size::small:
      options.nx = 120, options.ny = 90;
      options.groups = 1000, options.auth_records = 50'000, options.diversions = 5'000;
      options.county_columns = 4, options.county_rows = 3;
      break;
    case Size::medium:
      // More than 326 columns, so every grid row takes two records.
      options.nx = 330, options.ny = 160;
      options.groups = 2000, options.auth_records = 200'000, options.diversions = 20'000;
      options.nfactors = 5;
      options.county_columns = 6, options.county_rows = 4;
      break;
    case Size::largest:
      options.nx = 400, options.ny = 400, options.cell_feet = 1320;
      options.groups = 3000, options.auth_records = 1'000'000, options.diversions = 100'000;
      options.nfactors = 6;
      options.county_columns = 5, options.county_rows = 5;
      options.full_survey = true;
      break;
  }
  return options;
}

// Refuses dimensions that would not make a valid data set for a normal run.
inline void check(const Options& options) {
  auto refuse = [](const std::string& why) { throw std::invalid_argument(why); };
  if (options.root.empty() || options.work.empty()) refuse("--root and --work are required");
  if (options.year.size() != 4) refuse("the year must have four characters");
  if (options.nx < 1 || options.nx > 400 || options.ny < 1 || options.ny > 400)
    refuse("nx and ny must lie in 1..400");
  if (options.cell_feet < 1) refuse("the cell size must be positive");
  if (options.groups < 1 || options.groups > 3000) refuse("groups must lie in 1..3000");
  if (options.auth_records < options.groups)
    refuse("every group needs an authorized-acreage record: auth-records >= groups");
  if (options.diversions < 0) refuse("diversions must not be negative");
  if (options.nfactors < 1 || options.nfactors > 10) refuse("nfactors must lie in 1..10");
  if (options.county_columns < 1 || options.county_rows < 1 ||
      (options.county_columns + 1) * options.county_rows > 44)
    refuse("counties: (columns + 1) * rows must lie in 1..44");
}

}  // namespace tamvek::generate
