#include "output/recharge_arrays.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void write_recharge_arrays(Run&) {}

}  // namespace tamvek
