#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modflow/model_checks.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/model_grid.hpp"
#include "modflow/options.hpp"
#include "modflow/overlap_table.hpp"
#include "state/run_state.hpp"

namespace tamvek::modflow {

// A model's grid laid on tamvek's, ready to carry every month across: the
// overlaps computed once, the columns that can take recharge, the cells'
// areas that turn volumes into rates.
struct RegridSetup {
  ModelGrid model;
  TamvekFrame tamvek;
  OverlapTable table;
  std::vector<std::uint8_t> active;  // one a column (DIS) or a cell of a layer (DISV)
  std::vector<double> areas;         // in the model's length unit squared
  std::size_t values_per_row = 0;    // NCOL, or NCPL for a DISV grid (its arrays are one row)
  std::string placed_from;           // which file or option says where the grid lies
};

// The model's grid on the map in its own length unit: MODFLOW 6 from its
// XORIGIN, YORIGIN and ANGROT (MODFLOW 6's defaults 0 where it leaves them
// out), MODFLOW-2005 from --model-origin and --model-rotation, which it then
// needs. A grid that cannot be laid out, or whose cells overlap, is refused.
RegridSetup prepare_regrid(const ModelFacts& facts, const Grid& grid, const ModelFrame& frame,
                           const Options& options);

}  // namespace tamvek::modflow
