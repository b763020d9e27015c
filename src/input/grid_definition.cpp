#include "input/grid_definition.hpp"

#include "run/file_names.hpp"
#include "run/run_state.hpp"

namespace tamvek {

void read_grid_definition(Run& run) {
  const RunFile file = parameter_file();
  run.io.open(file.open_statement, file.unit, file.name);
}

}  // namespace tamvek
