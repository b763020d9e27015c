#pragma once

#include <string>
#include <vector>

#include "modflow/calendar.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/options.hpp"
#include "modflow/units.hpp"
#include "state/run_state.hpp"

namespace tamvek::modflow {

// The model's facts that the package needs, each stated by the model or, where
// the model leaves it undefined, by the command line.
struct ModelFrame {
  LengthUnit length_unit = LengthUnit::feet;
  TimeUnit time_unit = TimeUnit::days;
  DayNumber start = 0;
  std::string start_from;      // which file or option gave the start
  double cell_width = 0;       // DELR, in the model's length unit
  double cell_height = 0;      // DELC
  std::vector<std::string> notes;  // for the summary
};

// Compares the model's grid with tamvek's grid definition (rows, columns, cell
// sizes converted from feet, origin, rotation) and settles units and start;
// any difference is refused, naming the model's file.
ModelFrame check_model(const ModelFacts& facts, const Grid& grid, const Options& options);

}  // namespace tamvek::modflow
