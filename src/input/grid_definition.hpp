#pragma once

namespace tamvek {

struct Run;

// Reads the parameter file: the grid, its top edge and the return-flow factors.
void read_grid_definition(Run& run);

}  // namespace tamvek
