#include "modflow/model_arrays.hpp"
#include "modflow/mf6_blocks.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/model_files.hpp"
#include "modflow/vertex_blocks.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

using results::printable;
using results::in_quotes;
using results::ResultError;

const Mf6Block& required_block(const std::vector<Mf6Block>& blocks, const std::string& file,
                               const std::string& name) {
  const Mf6Block* block = find_block(blocks, name);
  if (block == nullptr) throw ResultError{file, "no BEGIN " + name + " block"};
  return *block;
}

const std::string& word_after(const ModelText& text, const TextLine& line, const std::string& what) {
  if (line.words.size() < 2) refuse(text.file, line.number, what + " without its value");
  return line.words[1];
}

// MODFLOW 6 takes a unit it does not know as no unit (UNKNOWN and UNDEFINED
// included): the model then has none, and the command line gives it.
template <class Unit>
std::optional<Unit> unit_or_none(const std::string& word, std::optional<Unit> (*named)(std::string_view),
                                 const std::string& key, const std::string& known, const std::string& what,
                                 std::vector<std::string>& notes) {
  const std::optional<Unit> unit = named(word);
  const std::string name = upper(word);
  if (!unit && name != "UNKNOWN" && name != "UNDEFINED")
    notes.push_back(key + " " + printable(word) + " is none of MODFLOW 6's units (" + known +
                    "): to MODFLOW 6 the model has no " + what);
  return unit;
}

// START_DATE_TIME: a date and time of ISO 8601, whose clock reading is the
// model's calendar; to MODFLOW 6 it is only a label, so a text that is no date
// leaves the start to the command line.
void read_start(const ModelText& text, const TextLine& line, ModelFacts& facts) {
  const std::string& first = word_after(text, line, "START_DATE_TIME");
  std::optional<ClockReading> reading;
  // A date and a time apart, "2010-01-01 00:00:00", are two words.
  if (line.words.size() > 2) {
    reading = parse_clock_reading(first + " " + line.words[2]);
    if (reading) facts.start_text = first + " " + line.words[2];
  }
  if (!reading) {
    reading = parse_clock_reading(first);
    facts.start_text = first;
  }
  if (!reading) return;
  facts.start = reading->moment;
  if (!reading->zone.empty())
    facts.notes.push_back("START_DATE_TIME " + facts.start_text + " is a clock reading at UTC" +
                          (reading->zone == "Z" ? std::string() : reading->zone) +
                          ": the periods are laid on that clock's calendar, from " + date_text(reading->moment));
}

// The groundwater-flow model: the only one, or the one named.
NamedPackage choose_model(const Mf6Block& models, const std::string& wanted) {
  std::vector<NamedPackage> flow_models;
  std::string names;
  for (const TextLine& line : models.body.lines) {
    if (line.words.size() < 3)
      refuse(models.body.file, line.number,
             "a model row is <mtype> <namefile> <mname>: \"" + printable(line.text) + "\"");
    if (upper(line.words[0]) != "GWF6") continue;
    flow_models.push_back({"GWF6", line.words[1], line.words[2], 0});
    names += (names.empty() ? "" : ", ") + line.words[2];
  }
  if (flow_models.empty())
    throw ResultError{models.body.file, "no groundwater-flow model (GWF6) in the MODELS block"};
  if (!wanted.empty()) {
    for (const NamedPackage& model : flow_models)
      if (upper(model.name) == upper(wanted)) return model;
    throw ResultError{models.body.file,
                      "no groundwater-flow model named " + wanted + " (there are: " + names + ")"};
  }
  if (flow_models.size() > 1)
    throw ResultError{models.body.file, "several groundwater-flow models (" + names +
                                            "): choose one with --model NAME"};
  return flow_models.front();
}

void read_tdis(const std::filesystem::path& path, const std::filesystem::path& folder,
               ModelFacts& facts) {
  const auto blocks = read_mf6_blocks(path, folder, facts.notes, "PERIODDATA");
  facts.time_file = shown(path);
  if (const Mf6Block* options = find_block(blocks, "OPTIONS"))
    for (const TextLine& line : options->body.lines) {
      const std::string key = upper(line.words[0]);
      if (key == "TIME_UNITS") {
        facts.time_unit = unit_or_none(word_after(options->body, line, key), time_unit_named, key,
                                       time_unit_choices(), "time unit", facts.notes);
      } else if (key == "START_DATE_TIME") {
        read_start(options->body, line, facts);
      }
    }
  const Mf6Block& dimensions = required_block(blocks, facts.time_file, "DIMENSIONS");
  long long nper = -1;
  for (const TextLine& line : dimensions.body.lines)
    if (upper(line.words[0]) == "NPER") nper = integer_of(dimensions.body.file, line, 1, "NPER");
  if (nper < 1) throw ResultError{facts.time_file, "no NPER of at least 1 in the DIMENSIONS block"};
  const Mf6Block& periods = required_block(blocks, facts.time_file, "PERIODDATA");
  if (periods.body.lines.size() != static_cast<std::size_t>(nper))
    throw ResultError{periods.body.file, "the PERIODDATA block holds " +
                                             std::to_string(periods.body.lines.size()) +
                                             " periods where NPER is " + std::to_string(nper)};
  for (const TextLine& line : periods.body.lines) {
    const double perlen = real_of(periods.body.file, line, 0, "PERLEN");
    integer_of(periods.body.file, line, 1, "NSTP");
    real_of(periods.body.file, line, 2, "TSMULT");
    if (perlen < 0) refuse(periods.body.file, line.number, "a negative PERLEN");
    facts.perlen.push_back(perlen);
  }
}

// LENGTH_UNITS, XORIGIN, YORIGIN and ANGROT, alike in DIS and DISV.
void read_grid_options(const std::vector<Mf6Block>& blocks, ModelFacts& facts) {
  const Mf6Block* options = find_block(blocks, "OPTIONS");
  if (options == nullptr) return;
  for (const TextLine& line : options->body.lines) {
    const std::string key = upper(line.words[0]);
    if (key == "LENGTH_UNITS") {
      facts.length_unit = unit_or_none(word_after(options->body, line, key), length_unit_named, key,
                                       length_unit_choices(), "length unit", facts.notes);
    } else if (key == "XORIGIN") {
      facts.xorigin = real_of(options->body.file, line, 1, key);
    } else if (key == "YORIGIN") {
      facts.yorigin = real_of(options->body.file, line, 1, key);
    } else if (key == "ANGROT") {
      facts.angrot = real_of(options->body.file, line, 1, key);
    }
  }
}

// A GRIDDATA block's arrays of `layer` cells a layer: TOP, BOTM and IDOMAIN
// (kept when the model is regridded, for its active columns); any other is refused.
void read_griddata(const Mf6Block& griddata, std::size_t layer, const std::filesystem::path& folder,
                   ModelFacts& facts, const char* grid) {
  const ModelText& body = griddata.body;
  const auto nlay = static_cast<std::size_t>(facts.nlay);
  for (std::size_t at = 0; at < body.lines.size();) {
    const TextLine& line = body.lines[at++];
    const std::string name = upper(line.words[0]);
    const bool layered = line.words.size() > 1 && upper(line.words[1]) == "LAYERED";
    if (name == "DELR" && facts.ncol > 0) {
      facts.delr = read_mf6_array(body, at, static_cast<std::size_t>(facts.ncol), folder, facts.notes);
    } else if (name == "DELC" && facts.nrow > 0) {
      facts.delc = read_mf6_array(body, at, static_cast<std::size_t>(facts.nrow), folder, facts.notes);
    } else if (name == "TOP") {
      read_mf6_array(body, at, layer, folder, facts.notes, ArrayUse::read_through);
    } else if (name == "BOTM" || name == "IDOMAIN") {
      const bool keep = name == "IDOMAIN" && facts.regrid;
      const ArrayUse use = name == "BOTM" ? ArrayUse::read_through
                           : keep        ? ArrayUse::keep_integers
                                         : ArrayUse::read_through_integers;
      if (keep) facts.active_file = body.file;
      for (std::size_t k = 0; k < (layered ? nlay : 1); ++k) {
        std::vector<double> values = read_mf6_array(body, at, layered ? layer : layer * nlay, folder, facts.notes, use);
        if (keep) facts.active_codes.insert(facts.active_codes.end(), values.begin(), values.end());
      }
    } else {
      refuse(body.file, line.number,
             in_quotes(line.words[0]) + " is not an array of a " + grid + "'s GRIDDATA block");
    }
  }
}

// The lines of a block as their words, for the readers of VERTICES and CELL2D.
std::vector<std::vector<std::string>> words_of_block(const Mf6Block& block) {
  std::vector<std::vector<std::string>> lines;
  lines.reserve(block.body.lines.size());
  for (const TextLine& line : block.body.lines) lines.push_back(line.words);
  return lines;
}

// A grid of polygons (DISV), read only to be regridded.
void read_disv(const std::filesystem::path& path, const std::filesystem::path& folder, ModelFacts& facts) {
  const auto blocks = read_mf6_blocks(path, folder, facts.notes, "CELL2D");
  facts.grid_file = shown(path);
  facts.vertex_grid = true;
  read_grid_options(blocks, facts);
  const Mf6Block& dimensions = required_block(blocks, facts.grid_file, "DIMENSIONS");
  long long ncpl = 0, nvert = 0;
  for (const TextLine& line : dimensions.body.lines) {
    const std::string key = upper(line.words[0]);
    if (key == "NLAY") facts.nlay = integer_of(dimensions.body.file, line, 1, key);
    if (key == "NCPL") ncpl = integer_of(dimensions.body.file, line, 1, key);
    if (key == "NVERT") nvert = integer_of(dimensions.body.file, line, 1, key);
  }
  if (facts.nlay > 100'000 || ncpl > 100'000'000 || nvert > 400'000'000 ||
      static_cast<double>(facts.nlay) * static_cast<double>(ncpl) > 100'000'000)
    throw ResultError{facts.grid_file, "NLAY, NCPL or NVERT is beyond any model's"};
  if (facts.nlay < 1 || ncpl < 1 || nvert < 3)
    throw ResultError{facts.grid_file, "the DIMENSIONS block needs NLAY and NCPL of at least 1 and NVERT of at least 3"};
  read_griddata(required_block(blocks, facts.grid_file, "GRIDDATA"), static_cast<std::size_t>(ncpl),
                folder, facts, "DISV grid");
  const Mf6Block& vertices = required_block(blocks, facts.grid_file, "VERTICES");
  const Mf6Block& cells = required_block(blocks, facts.grid_file, "CELL2D");
  const Mf6Block* failing = &vertices;
  try {
    facts.vertices = read_vertices(words_of_block(vertices), nvert);
    failing = &cells;
    facts.cells = read_cell2d(words_of_block(cells), ncpl, nvert);
  } catch (const GridError& error) {
    const auto& lines = failing->body.lines;
    if (error.line >= 0 && static_cast<std::size_t>(error.line) < lines.size())
      refuse(failing->body.file, lines[static_cast<std::size_t>(error.line)].number, error.what());
    throw ResultError{failing->body.file, error.what()};
  }
}

void read_dis(const std::filesystem::path& path, const std::filesystem::path& folder,
              ModelFacts& facts) {
  const auto blocks = read_mf6_blocks(path, folder, facts.notes, "GRIDDATA");
  facts.grid_file = shown(path);
  read_grid_options(blocks, facts);
  const Mf6Block& dimensions = required_block(blocks, facts.grid_file, "DIMENSIONS");
  long long nlay = 0;
  for (const TextLine& line : dimensions.body.lines) {
    const std::string key = upper(line.words[0]);
    if (key == "NLAY") nlay = integer_of(dimensions.body.file, line, 1, key);
    if (key == "NROW") facts.nrow = integer_of(dimensions.body.file, line, 1, key);
    if (key == "NCOL") facts.ncol = integer_of(dimensions.body.file, line, 1, key);
  }
  if (nlay > 100'000)
    throw ResultError{facts.grid_file, "NLAY " + std::to_string(nlay) + " is beyond any model's"};
  if (nlay < 1 || facts.nrow < 1 || facts.ncol < 1)
    throw ResultError{facts.grid_file, "the DIMENSIONS block needs NLAY, NROW and NCOL of at least 1"};
  facts.nlay = nlay;
  require_tamvek_size(facts);

  facts.nlay = nlay;
  read_griddata(required_block(blocks, facts.grid_file, "GRIDDATA"),
                static_cast<std::size_t>(facts.nrow * facts.ncol), folder, facts, "structured grid");
  if (facts.delr.empty() || facts.delc.empty())
    throw ResultError{facts.grid_file, "the GRIDDATA block gives no DELR or no DELC"};
}

}  // namespace

ModelFacts read_mf6_model(const std::filesystem::path& simulation, const std::string& model_name,
                          bool regrid) {
  ModelFacts facts;
  facts.generation = Generation::mf6;
  facts.regrid = regrid;
  const std::filesystem::path sim_file = std::filesystem::is_directory(simulation)
                                             ? simulation / "mfsim.nam"
                                             : simulation;
  facts.folder = sim_file.parent_path();
  const auto sim_blocks = read_mf6_blocks(sim_file, facts.folder, facts.notes, "SOLUTIONGROUP");
  const std::string sim_name = shown(sim_file);

  const Mf6Block& timing = required_block(sim_blocks, sim_name, "TIMING");
  std::string tdis;
  std::size_t tdis_line = 0;
  for (const TextLine& line : timing.body.lines)
    if (upper(line.words[0]) == "TDIS6") {
      tdis = word_after(timing.body, line, "TDIS6");
      tdis_line = line.number;
    }
  if (tdis.empty()) throw ResultError{timing.body.file, "no TDIS6 entry in the TIMING block"};
  read_tdis(existing_model_file(facts.folder, tdis, facts.notes, timing.body.file, tdis_line), facts.folder,
            facts);

  const Mf6Block& models = required_block(sim_blocks, sim_name, "MODELS");
  const NamedPackage model = choose_model(models, model_name);
  facts.model_name = model.name;
  std::size_t model_line = 0;
  for (const TextLine& line : models.body.lines)
    if (model_line == 0 && line.words.size() > 2 && line.words[2] == model.name) model_line = line.number;
  const std::filesystem::path model_file =
      existing_model_file(facts.folder, model.file, facts.notes, models.body.file, model_line);
  facts.name_file = shown(model_file);
  const auto model_blocks = read_mf6_blocks(model_file, facts.folder, facts.notes, "PACKAGES");
  const Mf6Block& packages = required_block(model_blocks, facts.name_file, "PACKAGES");
  std::string dis;
  std::size_t dis_line = 0;
  bool disv = false;
  for (const TextLine& line : packages.body.lines) {
    if (line.words.size() < 2)
      refuse(packages.body.file, line.number,
             "a package row is <ftype> <fname> [<pname>]: \"" + printable(line.text) + "\"");
    NamedPackage package{upper(line.words[0]), line.words[1],
                         line.words.size() > 2 ? line.words[2] : "", 0};
    if (package.type == "DISU6")
      refuse(packages.body.file, line.number,
             "the model's grid is DISU6, whose cells have no shape to carry volumes onto: tamvek's "
             "arrays need a structured grid (DIS6) or, with --regrid, a grid of polygons (DISV6)");
    if (package.type == "DISV6" && !regrid)
      refuse(packages.body.file, line.number,
             "the model's grid is DISV6: tamvek's arrays fit a structured grid (DIS6) as they are, "
             "and --regrid carries them onto a grid of polygons");
    if ((package.type == "DIS6" || package.type == "DISV6") && dis.empty()) {
      dis = package.file;
      dis_line = line.number;
      disv = package.type == "DISV6";
    }
    facts.packages.push_back(std::move(package));
  }
  if (dis.empty()) throw ResultError{packages.body.file, "no DIS6 entry in the PACKAGES block"};
  const std::filesystem::path grid_file =
      existing_model_file(facts.folder, dis, facts.notes, packages.body.file, dis_line);
  if (disv)
    read_disv(grid_file, facts.folder, facts);
  else
    read_dis(grid_file, facts.folder, facts);
  return facts;
}

}  // namespace tamvek::modflow
