#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "output/irrigation_months.hpp"
#include "results/check_report.hpp"
#include "results/layer.hpp"
#include "state/run_state.hpp"
#include "state/year.hpp"

namespace tamvek::report {

// The yearly input files a year ran with nothing in: tamvek creates a missing
// one empty and runs the year to its end with zero results.
struct EmptyInputs {
  bool diversions = false;
  bool acreage = false;
  // "", "diversions", "acreage" or "diversions and acreage".
  std::string text() const;
};

// One year of a series, as its finished run left it.
struct SeriesYear {
  std::string cyear;
  bool finished = false;  // false: the year has no results at all
  EmptyInputs empty_inputs;
  bool has_page = false;  // out\report<year>.html is there
  results::CheckReport check;
  // The fields of each array with a value, added exactly: the six months,
  // then the acreage. Fields written without a value are counted instead.
  std::array<std::int64_t, irrigation_month_count + 1> array_tenths{};
  std::int64_t fields_without_value = 0;
  std::array<std::int64_t, 3> unplaced_tracts{};  // conditions 1, 2 and 3
  std::array<std::string, 3> unplaced_acres;      // their acres, as the log writes them
  std::vector<std::int32_t> season;               // tenths a cell, as results::season_of
};

// The range the two arguments name, four-digit years with FIRST not after
// LAST; throws std::invalid_argument saying why not.
YearRange year_range(const std::string& first, const std::string& last);

// What reading a year needs besides what it keeps, used again for the next
// year: forty years of a large grid would otherwise take a gigabyte of fresh
// memory one after the other.
struct YearBuffers {
  std::vector<results::Layer> months = std::vector<results::Layer>(irrigation_month_count);
  results::Layer acres;
  std::string text;
};

// Reads a year of the series on the grid its static files define. A year
// none of whose results is there is not finished; one whose results are there
// in part, or damaged, throws the one-year form's ResultError.
SeriesYear read_series_year(const Io& io, const Grid& grid, const std::string& cyear,
                            YearBuffers& buffers);

}  // namespace tamvek::report
