#pragma once

#include <cstddef>
#include <string_view>

#include "output/irrigation_months.hpp"

namespace tamvek {

// The check report's label records, each one character item with its
// trailing blank; the record after each holds the sums it names.
inline constexpr std::string_view check_report_sums_label =
    "sumtr,suma,sumretout,sumacreageout,sumdiversion: ";
inline constexpr std::string_view check_report_outflow_label = "sumretout,sumacresout: ";

// The records of a finished run's check report, numbered from 1: a name and a
// total for each irrigation month, then the two labels, each followed by its
// sums.
inline constexpr std::size_t check_report_sums_record = 2 * irrigation_month_count + 2;
inline constexpr std::size_t check_report_outflow_record = check_report_sums_record + 2;
inline constexpr std::size_t check_report_records = check_report_outflow_record;

}  // namespace tamvek
