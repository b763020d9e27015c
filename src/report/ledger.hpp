#pragma once

#include <string>
#include <vector>

#include "report/series_years.hpp"

namespace tamvek::report {

// The series as a table, one record a year after a header record: RFC 4180,
// records ending in CR LF, every number as the files write it or, for a sum of
// array fields, with their one decimal. A year without results has its status
// and nothing else.
std::string ledger(const std::vector<SeriesYear>& years);

}  // namespace tamvek::report
