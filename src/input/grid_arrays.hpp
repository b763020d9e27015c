#pragma once

namespace tamvek {

struct Run;

// Reads the active-cell grid into ibound.
void read_active_cells(Run& run);
// Reads the county grid into icty, its first record passed over.
void read_county_grid(Run& run);

}  // namespace tamvek
