#pragma once

namespace tamvek {

struct Run;

// Opens the problem log and the check report, then places every authorized
// tract on its model cell with its share of the group's return and acreage.
void distribute_to_cells(Run& run);

}  // namespace tamvek
