#include "modflow/regrid_model.hpp"

#include <cmath>
#include <cstdio>

#include "modflow/regrid.hpp"
#include "results/result_error.hpp"

namespace tamvek::modflow {
namespace {

using results::ResultError;

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

// Where the model's grid lies. A place the model states and a different one
// on the command line contradict each other: refused, not chosen between.
Placement placement_of(const ModelFacts& facts, const Options& options, std::string& from) {
  Placement placement;
  if (facts.generation == Generation::mf2005) {
    if (!options.model_x || !options.model_rotation)
      throw ResultError{facts.grid_file,
                        "MODFLOW-2005 does not state where the model's grid lies: --regrid needs "
                        "--model-origin X Y (its lower-left corner) and --model-rotation DEGREES, in "
                        "the model's length unit; nothing is assumed"};
    from = "--model-origin and --model-rotation";
    return {*options.model_x, *options.model_y, *options.model_rotation};
  }
  placement = {facts.xorigin.value_or(0), facts.yorigin.value_or(0), facts.angrot};
  from = "XORIGIN, YORIGIN and ANGROT of " + facts.grid_file;
  if (options.model_rotation && *options.model_rotation != placement.angrot)
    throw ResultError{facts.grid_file, "the grid's ANGROT is " + number(placement.angrot) +
                                           ", and --model-rotation says " + number(*options.model_rotation)};
  // A model that states no corner has it at 0, 0 to MODFLOW 6: its own
  // coordinates, which --model-origin may lay on the map.
  if (!facts.xorigin && !facts.yorigin && options.model_x) {
    placement.xorigin = *options.model_x;
    placement.yorigin = *options.model_y;
    from = "--model-origin and ANGROT of " + facts.grid_file;
    return placement;
  }
  if (options.model_x && (*options.model_x != placement.xorigin || *options.model_y != placement.yorigin))
    throw ResultError{facts.grid_file, "the grid's lower-left corner (XORIGIN, YORIGIN) is " +
                                           number(placement.xorigin) + ", " + number(placement.yorigin) +
                                           ", and --model-origin says " + number(*options.model_x) +
                                           ", " + number(*options.model_y)};
  return placement;
}

ModelGrid model_grid_of(const ModelFacts& facts, const Placement& placement) {
  if (facts.vertex_grid) return vertex_grid(facts.vertices, facts.cells, placement);
  return structured_grid(facts.delr, facts.delc, placement);
}

}  // namespace

RegridSetup prepare_regrid(const ModelFacts& facts, const Grid& grid, const ModelFrame& frame,
                           const Options& options) {
  RegridSetup setup;
  const Placement placement = placement_of(facts, options, setup.placed_from);
  try {
    setup.model = model_grid_of(facts, placement);
    setup.tamvek = tamvek_frame(grid, metres_in(LengthUnit::feet) / metres_in(frame.length_unit));
    setup.table = build_overlap_table(setup.tamvek, setup.model);
  } catch (const GridError& error) {
    throw ResultError{facts.grid_file, error.what()};
  }
  const std::size_t per_layer = setup.model.cell_count();
  if (facts.active_codes.empty()) {
    setup.active.assign(per_layer, 1);
  } else {
    if (facts.active_codes.size() != per_layer * static_cast<std::size_t>(facts.nlay))
      throw ResultError{facts.active_file, "the codes of the cells are not NLAY whole layers"};
    setup.active = active_columns(facts.active_codes, per_layer,
                                  facts.generation == Generation::mf6 ? ActiveCode::idomain : ActiveCode::ibound);
  }
  setup.areas = cell_areas(setup.model);
  for (std::size_t cell = 0; cell < setup.areas.size(); ++cell)
    if (!(setup.areas[cell] > 0))
      throw ResultError{facts.grid_file, "cell " + std::to_string(cell + 1) +
                                             " has no area: no rate can be given on it"};
  setup.values_per_row = facts.vertex_grid ? per_layer : static_cast<std::size_t>(facts.ncol);
  return setup;
}

}  // namespace tamvek::modflow
