#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "results/check_report.hpp"
#include "report/json_text.hpp"
#include "state/run_state.hpp"

namespace tamvek::report {

// The parts of the data object that the year's page and the series page both
// take, written the same way for both.

// The program and its version, that made the page.
void add_program(Json& json);

// The grid's size and corners, and its active cells as one byte a cell.
void add_grid(Json& json, const Grid& grid);
void add_active(Json& json, const std::vector<bool>& active);

// The check report's six sums in the report's order, each as the report writes it.
void add_sums(Json& json, const results::CheckReport& check);

// The reason, tracts and acres of one condition of the problem log (0 for
// condition 1), inside an object the caller opens.
void add_unplaced(Json& json, std::size_t condition, std::int64_t tracts, std::string_view acres);

}  // namespace tamvek::report
