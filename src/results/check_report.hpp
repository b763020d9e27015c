#pragma once

#include <array>
#include <string>

#include "runtime/io.hpp"

namespace tamvek::results {

// The check report of a finished run: each value as the report's text of it.
struct CheckReport {
  struct Month {
    std::string name;  // the monthly array's name as the report gives it
    int month = 0;
    std::string msum;
  };
  std::array<Month, 6> months;
  std::string sumtr, suma, sumretout, sumacreageout, sumdiversion, sumacresout;
};

// Reads the year's check report; a run that stopped early left fewer than its
// 16 records, and that is an error like any record out of place.
CheckReport read_check_report(const Io& io, const std::string& cyear);

}  // namespace tamvek::results
