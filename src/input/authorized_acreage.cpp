#include "input/authorized_acreage.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void read_authorized_acreage(Run&) {}

}  // namespace tamvek
