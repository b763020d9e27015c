#pragma once

namespace tamvek {

struct Run;

// Writes the six monthly recharge arrays, the annual acreage array and the
// records of the check report.
void write_recharge_arrays(Run& run);

}  // namespace tamvek
