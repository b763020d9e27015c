#include "distribute/distribute_to_cells.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void distribute_to_cells(Run&) {}

}  // namespace tamvek
