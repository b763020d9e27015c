#include <string_view>
#include <vector>

#include "records/fault_report.hpp"
#include "records/io.hpp"
#include "run/driver.hpp"

int main(int argc, char** argv) {
  tamvek::Io io(tamvek::io_setup_from_environment());
  tamvek::install_fault_report(io);
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return tamvek::run_to_end(io, arguments);
}
