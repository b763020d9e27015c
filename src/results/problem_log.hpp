#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/io.hpp"
#include "state/run_state.hpp"

namespace tamvek::results {

// The problem log summed up: the tracts that could not be placed and their
// authorized acres, for each reason, and those on inactive cells by cell.
struct ProblemSummary {
  struct Condition {
    std::int64_t tracts = 0;
    double acres = 0;
  };
  struct InactiveCell {
    std::int32_t row = 0;
    std::int32_t col = 0;
    std::int64_t tracts = 0;
    double acres = 0;
  };
  std::array<Condition, 3> conditions;   // conditions 1, 2 and 3
  std::vector<InactiveCell> inactive_cells;  // in cell order
};

// Reads the year's problem log. Its records are numbered from 1 without a gap;
// a tract on an inactive cell lies inside the grid.
ProblemSummary read_problem_log(const Io& io, const std::string& cyear, const Grid& grid);

// The problem log read as read_problem_log reads it, with the number of
// decimals its acres are written with (the most of any record; -1 when one is
// written with an exponent), so that their sums can be given without digits
// the log does not hold: decimal_text (number_text.hpp) with these decimals.
struct ProblemLog {
  ProblemSummary summary;
  int acres_decimals = 0;
};
ProblemLog read_problem_log_with_decimals(const Io& io, const std::string& cyear, const Grid& grid);
// The same with the file's text read into `text`, whose room is used again.
ProblemLog read_problem_log_with_decimals(const Io& io, const std::string& cyear, const Grid& grid,
                                          std::string& text);

}  // namespace tamvek::results
