#include <string_view>
#include <vector>

#include "runtime/fault_report.hpp"
#include "runtime/io.hpp"
#include "runtime/platform.hpp"
#include "run/driver.hpp"

int main(int argc, char** argv) {
  // The bytes of standard output and standard error are exactly those written.
  tamvek::platform::set_up_standard_streams();
  tamvek::Io io(tamvek::io_setup_from_environment());
  tamvek::install_fault_report(io);
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return tamvek::run_to_end(io, arguments);
}
