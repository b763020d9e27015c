#pragma once

#include <vector>

#include "state/run_state.hpp"

namespace tamvek::results {

// Reads the grid definition and the active cells with tamvek's own readers
// into the run's grid and ibound, after making sure that both files are there
// (tamvek's OPEN would create a missing one, and the report creates nothing).
// A grid without cells, or whose cells have no positive size, cannot be
// mapped and is an error. Returns the active flags in cell order. The
// readers' own console lines (" ..reading ibound array") go nowhere: the
// program's console is its own.
std::vector<bool> read_static_inputs(Run& run);

}  // namespace tamvek::results
