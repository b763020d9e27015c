#include "input/diversions.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void read_diversions(Run&) {}

}  // namespace tamvek
