#include "modflow/model_checks.hpp"

#include <cmath>

#include "results/result_error.hpp"
#include "results/result_file.hpp"
#include "results/number_text.hpp"

namespace tamvek::modflow {
namespace {

using results::ResultError;

// tamvek keeps its grid in single precision: agreement to a few of its last
// bits is agreement.
constexpr double relative_tolerance = 1e-6;

const std::string regrid_hint = " (--regrid carries tamvek's arrays onto another grid)";

bool agrees(double model, double tamvek, double scale) {
  return std::fabs(model - tamvek) <= relative_tolerance * scale;
}

template <class Unit>
Unit settled(const std::optional<Unit>& stated, const std::optional<Unit>& given,
             const std::string& file, const std::string& keyword, const std::string& option) {
  if (stated && given && *stated != *given)
    throw ResultError{file, "the model's " + keyword + " is " + name_of(*stated) + ", and " +
                                option + " says " + name_of(*given)};
  if (stated) return *stated;
  if (given) return *given;
  throw ResultError{file, "the model leaves its " + keyword + " undefined: give it with " + option};
}

void check_sizes(const std::vector<double>& sizes, double expected, const std::string& file,
                 const std::string& name, const std::string& tamvek_name, float feet,
                 LengthUnit unit) {
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (sizes[i] != sizes.front())
      throw ResultError{file, name + " " + std::to_string(i + 1) + " is " + results::ten_digits(sizes[i]) +
                                  " and " + name + " 1 is " + results::ten_digits(sizes.front()) +
                                  ": tamvek's cells are all of one size" + regrid_hint};
    if (!agrees(sizes[i], expected, expected))
      throw ResultError{file, name + " is " + results::ten_digits(sizes[i]) + " " + name_of(unit) +
                                  " where tamvek's " + tamvek_name + " is " +
                                  results::shortest_decimal(feet) + " feet (" + results::ten_digits(expected) +
                                  " " + name_of(unit) + ")" + regrid_hint};
  }
}

}  // namespace

namespace {

// Length and time units, each from the model or the command line, and the
// moment the first period begins.
void settle_units_and_start(const ModelFacts& facts, const Options& options, ModelFrame& frame) {
  frame.length_unit =
      settled(facts.length_unit, options.length_unit, facts.grid_file,
              facts.generation == Generation::mf6 ? "LENGTH_UNITS" : "LENUNI", "--length-unit");
  frame.time_unit =
      settled(facts.time_unit, options.time_unit, facts.time_file,
              facts.generation == Generation::mf6 ? "TIME_UNITS" : "ITMUNI", "--time-unit");
  if (facts.start && options.start && *facts.start != *options.start)
    throw ResultError{facts.time_file, "START_DATE_TIME is " + facts.start_text + ", and --start says " +
                                           options.start_text};
  if (facts.start) {
    frame.start = *facts.start;
    frame.start_from = "START_DATE_TIME of " + facts.time_file;
  } else if (options.start) {
    frame.start = *options.start;
    frame.start_from = "--start";
  } else {
    const std::string why = facts.generation == Generation::mf2005 ? " (MODFLOW-2005 never does)"
                            : facts.start_text.empty()
                                ? " (no START_DATE_TIME)"
                                : " (START_DATE_TIME " + results::printable(facts.start_text) +
                                      " is no date of ISO 8601, only a label)";
    throw ResultError{facts.time_file, "the model does not state when its first period begins" + why +
                                           ": give it with --start YYYY-MM-DD"};
  }
}

// The model's rows, columns, cell sizes, origin and rotation against tamvek's.
void check_same_grid(const ModelFacts& facts, const Grid& grid, ModelFrame& frame) {
  if (facts.nrow != grid.ny || facts.ncol != grid.nx)
    throw ResultError{facts.grid_file, "the model has " + std::to_string(facts.nrow) + " rows and " +
                                           std::to_string(facts.ncol) + " columns, tamvek's grid " +
                                           std::to_string(grid.ny) + " rows (ny) and " +
                                           std::to_string(grid.nx) + " columns (nx)" + regrid_hint};
  const double feet = metres_in(LengthUnit::feet) / metres_in(frame.length_unit);
  check_sizes(facts.delr, grid.gdx * feet, facts.grid_file, "DELR", "gdx", grid.gdx, frame.length_unit);
  check_sizes(facts.delc, grid.gdy * feet, facts.grid_file, "DELC", "gdy", grid.gdy, frame.length_unit);
  frame.cell_width = facts.delr.front();
  frame.cell_height = facts.delc.front();

  if (facts.angrot != 0)
    throw ResultError{facts.grid_file, "the grid is rotated (ANGROT " + results::ten_digits(facts.angrot) +
                                           "): tamvek's grid is not" + regrid_hint};
  const double x0 = grid.xg0 * feet;
  const double y0 = grid.yg0 * feet;
  if (facts.xorigin || facts.yorigin) {
    const double x = facts.xorigin.value_or(0);
    const double y = facts.yorigin.value_or(0);
    if (!agrees(x, x0, std::fabs(x0) + frame.cell_width) ||
        !agrees(y, y0, std::fabs(y0) + frame.cell_height))
      throw ResultError{facts.grid_file,
                        "the grid's lower-left corner (XORIGIN, YORIGIN) is " + results::ten_digits(x) + ", " +
                            results::ten_digits(y) + " " + name_of(frame.length_unit) +
                            " where tamvek's (xg0, yg0) is " + results::shortest_decimal(grid.xg0) +
                            ", " + results::shortest_decimal(grid.yg0) + " feet (" + results::ten_digits(x0) +
                            ", " + results::ten_digits(y0) + " " + name_of(frame.length_unit) + ")" + regrid_hint};
  } else {
    frame.notes.push_back("the model does not state where its grid lies (" +
                          std::string(facts.generation == Generation::mf6 ? "no XORIGIN, YORIGIN"
                                                                          : "MODFLOW-2005 has no origin") +
                          "): tamvek's lower-left corner is " + results::ten_digits(x0) + ", " + results::ten_digits(y0) +
                          " " + name_of(frame.length_unit) + "; the arrays fit the model's rows "
                          "and columns, not checked against its place");
  }
}

}  // namespace

ModelFrame check_model(const ModelFacts& facts, const Grid& grid, const Options& options) {
  ModelFrame frame;
  settle_units_and_start(facts, options, frame);
  if (!options.regrid) check_same_grid(facts, grid, frame);
  return frame;
}

}  // namespace tamvek::modflow
