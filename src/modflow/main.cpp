// tamvek-modflow FIRST LAST MODEL --volume-unit U ...: the recharge package of a
// groundwater model from the monthly arrays of years run in this directory.

#include <string>
#include <vector>

#include "modflow/export.hpp"
#include "runtime/io.hpp"
#include "runtime/platform.hpp"

int main(int argc, char** argv) {
  // Messages in the same bytes on every platform, as tamvek writes its own.
  tamvek::platform::set_up_standard_streams();
  tamvek::Io io(tamvek::io_setup_from_environment());
  return tamvek::modflow::export_to_end(io, std::vector<std::string>(argv + 1, argv + argc));
}
