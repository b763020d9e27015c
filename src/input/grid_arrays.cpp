#include "input/grid_arrays.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void read_active_cells(Run&) {}
void read_county_grid(Run&) {}

}  // namespace tamvek
