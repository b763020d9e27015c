#pragma once

namespace tamvek {

struct Run;

// Reads the May to October factors of the 44 counties into xmonfactors.
void read_monthly_factors(Run& run);

}  // namespace tamvek
