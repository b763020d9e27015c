#include "input/tract_coordinates.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void read_tract_coordinates(Run&) {}

}  // namespace tamvek
