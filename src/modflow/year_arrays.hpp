#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "output/irrigation_months.hpp"
#include "results/layer.hpp"
#include "runtime/io.hpp"
#include "state/run_state.hpp"

namespace tamvek::modflow {

// One monthly recharge array of a finished year, summed up.
struct MonthArray {
  int month = 0;
  std::string name;               // as formed: out\2010.05.rcs
  std::int64_t tenths = 0;        // the sum of its values, in tenths
  std::int64_t absolute_tenths = 0;
  bool touching = false;          // fields that fill their width follow another field
};

struct YearArrays {
  int year = 0;
  std::array<MonthArray, irrigation_month_count> months;  // May to October
  std::int64_t tenths() const;
};

// Reads each year's check report (a year whose run stopped early is refused)
// and its six arrays, an array at a time: every array must be complete, of
// the grid's shape, and every field must hold a value.
YearArrays read_year(const Io& io, const Grid& grid, int year);

// Reads an array, refusing a field without a value by its row and column.
results::Layer read_month_array(const Io& io, const Grid& grid, const std::string& name);

}  // namespace tamvek::modflow
