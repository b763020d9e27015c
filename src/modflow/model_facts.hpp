#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "modflow/calendar.hpp"
#include "modflow/model_grid.hpp"
#include "modflow/units.hpp"

namespace tamvek::modflow {

enum class Generation { mf6, mf2005 };

// A package that the model's name file already lists.
struct NamedPackage {
  std::string type;      // RCH6, RCH, DIS6, ...
  std::string file;      // as the name file gives it
  std::string name;      // MODFLOW 6's package name, if given
  long long unit = 0;    // MODFLOW-2005's unit number
};

// What the model's own files state about its grid and its time, each fact
// with the file that states it, for the messages.
struct ModelFacts {
  Generation generation = Generation::mf6;
  std::filesystem::path folder;   // where the model runs: its file names start there
  std::string name_file;          // the name file the package line goes into
  std::string model_name;         // MODFLOW 6: the groundwater-flow model's name
  std::vector<NamedPackage> packages;

  std::string grid_file;          // DIS6 or DIS
  std::int64_t nrow = 0;
  std::int64_t ncol = 0;
  std::vector<double> delr;       // NCOL widths of the columns
  std::vector<double> delc;       // NROW heights of the rows
  std::optional<LengthUnit> length_unit;
  std::optional<double> xorigin;
  std::optional<double> yorigin;
  double angrot = 0;
  std::int64_t nlay = 0;

  // A grid that may differ from tamvek's (--regrid): any size, MODFLOW 6
  // DISV, and the codes that say which cells exist.
  bool regrid = false;
  bool vertex_grid = false;          // DISV: cells as polygons
  std::vector<Point> vertices;       // DISV's VERTICES, in the model's coordinates
  std::vector<VertexCell> cells;     // DISV's CELL2D
  std::vector<double> active_codes;  // IDOMAIN or IBOUND of every layer; empty: every cell
  std::string active_file;           // the file that gives them

  std::string time_file;          // TDIS6 or DIS
  std::optional<TimeUnit> time_unit;
  std::optional<DayNumber> start;
  std::string start_text;         // START_DATE_TIME as written (a label where `start` is empty)
  std::vector<double> perlen;     // in the model's time unit

  // What the summary says of how the files were read (a name taken in
  // another case, a unit MODFLOW 6 does not know, a clock's offset).
  std::vector<std::string> notes;
};

// tamvek's grids have at most 400 rows and 400 columns: a larger model is
// refused before its arrays are read, unless it is regridded.
void require_tamvek_size(const ModelFacts& facts);

// Reads a MODFLOW 6 simulation (its name file or its folder); with several
// groundwater-flow models `model_name` chooses one.
// With `regrid` the grid may be of any size or a DISV grid, and the codes of
// its cells are kept.
ModelFacts read_mf6_model(const std::filesystem::path& simulation, const std::string& model_name,
                          bool regrid = false);

// Reads a MODFLOW-2005 (or NWT) model from its name file.
ModelFacts read_mf2005_model(const std::filesystem::path& name_file, bool regrid = false);

// Reads the model that MODEL names: a folder or a file whose first block is
// that of a MODFLOW 6 simulation name file is MODFLOW 6, any other file a
// MODFLOW-2005 name file.
ModelFacts read_model(const std::filesystem::path& given, const std::string& model_name,
                      bool regrid = false);

}  // namespace tamvek::modflow
