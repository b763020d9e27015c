#include "input/monthly_factors.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void read_monthly_factors(Run&) {}

}  // namespace tamvek
