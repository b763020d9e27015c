#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace tamvek::modflow {

// An array of one value a cell as a free-format text that MODFLOW 6 and a
// (FREE) read of MODFLOW-2005 take: `values_per_row` values a row (NCOL, or
// NCPL for a grid of polygons), ten a line, each the shortest decimal that
// reads back as the same double. Written into one buffer, since a model of a
// million cells has a million values a month.
std::string array_text(std::span<const double> values, std::size_t values_per_row);

}  // namespace tamvek::modflow
