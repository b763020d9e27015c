#pragma once

namespace tamvek {

struct Run;

// Turns the diversion records into group returns and acreages, with their sums.
void read_diversions(Run& run);

}  // namespace tamvek
