#pragma once

#include <string>
#include <vector>

#include "report/series_years.hpp"
#include "state/run_state.hpp"

namespace tamvek::report {

// Everything the series page shows.
struct SeriesData {
  std::string first;
  std::string last;
  Grid grid;
  std::vector<bool> active;  // cell order
  std::vector<SeriesYear> years;  // every year of the range, in order
};

// The series page's data: one JSON object, safe inside a <script> element,
// with each finished year's season in the form of zero_run_varints.
std::string series_data(const SeriesData& data);

}  // namespace tamvek::report
