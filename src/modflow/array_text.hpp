#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tamvek::modflow {

// An array of one value a cell as a free-format text that MODFLOW 6 and a
// (FREE) read of MODFLOW-2005 take: `values_per_row` values a row (NCOL, or
// NCPL for a grid of polygons), ten a line, each the shortest decimal that
// reads back as the same double. Written into `buffer`, which keeps its size
// from one array to the next (a model of a million cells has a million values
// a month, and filling a new buffer each month cost a twentieth of the time);
// the text is the part of it returned.
std::string_view array_text(std::span<const double> values, std::size_t values_per_row,
                            std::string& buffer);

}  // namespace tamvek::modflow
