#pragma once

#include <array>
#include <string_view>

namespace tamvek {

// Why a tract cannot be placed, in the problem log's words, for conditions 1,
// 2 and 3; each begins with a blank of its own after the blank that separates
// it from the column.
inline constexpr std::array<std::string_view, 3> problem_log_conditions = {
    " (i,row,col) condition 1 (column outside model grid):",
    " (i,row,col) condition 2 (row outside model grid):",
    " (i,row,col) condition 3 (inactive grid cell, ibound=0):"};

// The last item of every problem-log record, after the tract's acres.
inline constexpr std::string_view problem_log_acres_unit = "acres";

}  // namespace tamvek
