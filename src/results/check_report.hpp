#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "output/check_report_texts.hpp"
#include "output/irrigation_months.hpp"
#include "runtime/io.hpp"

namespace tamvek::results {

// The check report of a finished run: each value as the report's text of it.
struct CheckReport {
  struct Month {
    std::string name;  // the monthly array's name as the report gives it
    int month = 0;
    std::string msum;
  };
  std::array<Month, irrigation_month_count> months;
  std::string sumtr, suma, sumretout, sumacreageout, sumdiversion, sumacresout;
};

// One of the report's six sums: its name, where the report holds it (the
// record, from 1, and its place among the record's values, from 0) and where
// CheckReport keeps it.
struct CheckSum {
  std::string_view name;
  std::size_t record;
  std::size_t place;
  std::string CheckReport::*value;
};

// The six sums, in the order the ledger gives them: the year's totals, the
// three of what reached no cell side by side, then the diversions. sumretout
// stands in both sum records; it is taken from the first.
inline constexpr std::array<CheckSum, 6> check_sums = {{
    {"sumtr", check_report_sums_record, 0, &CheckReport::sumtr},
    {"suma", check_report_sums_record, 1, &CheckReport::suma},
    {"sumretout", check_report_sums_record, 2, &CheckReport::sumretout},
    {"sumacreageout", check_report_sums_record, 3, &CheckReport::sumacreageout},
    {"sumacresout", check_report_outflow_record, 1, &CheckReport::sumacresout},
    {"sumdiversion", check_report_sums_record, 4, &CheckReport::sumdiversion},
}};

// The same sums in the order the report holds them.
std::array<CheckSum, 6> check_sums_as_reported();

// Reads the year's check report; a run that stopped early left fewer than its
// 16 records, and that is an error like any record out of place.
CheckReport read_check_report(const Io& io, const std::string& cyear);

}  // namespace tamvek::results
