#include "modflow/model_arrays.hpp"
#include "modflow/mf6_blocks.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/model_files.hpp"
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
                                       "SECONDS, MINUTES, HOURS, DAYS, YEARS", "time unit", facts.notes);
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

void read_dis(const std::filesystem::path& path, const std::filesystem::path& folder,
              ModelFacts& facts) {
  const auto blocks = read_mf6_blocks(path, folder, facts.notes, "GRIDDATA");
  facts.grid_file = shown(path);
  if (const Mf6Block* options = find_block(blocks, "OPTIONS"))
    for (const TextLine& line : options->body.lines) {
      const std::string key = upper(line.words[0]);
      if (key == "LENGTH_UNITS") {
        facts.length_unit = unit_or_none(word_after(options->body, line, key), length_unit_named, key,
                                         "FEET, METERS, CENTIMETERS", "length unit", facts.notes);
      } else if (key == "XORIGIN") {
        facts.xorigin = real_of(options->body.file, line, 1, key);
      } else if (key == "YORIGIN") {
        facts.yorigin = real_of(options->body.file, line, 1, key);
      } else if (key == "ANGROT") {
        facts.angrot = real_of(options->body.file, line, 1, key);
      }
    }
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
  require_tamvek_size(facts);

  const Mf6Block& griddata = required_block(blocks, facts.grid_file, "GRIDDATA");
  const ModelText& body = griddata.body;
  const auto layer = static_cast<std::size_t>(facts.nrow * facts.ncol);
  for (std::size_t at = 0; at < body.lines.size();) {
    const TextLine& line = body.lines[at++];
    const std::string name = upper(line.words[0]);
    const bool layered = line.words.size() > 1 && upper(line.words[1]) == "LAYERED";
    if (name == "DELR") {
      facts.delr = read_mf6_array(body, at, static_cast<std::size_t>(facts.ncol), folder, facts.notes);
    } else if (name == "DELC") {
      facts.delc = read_mf6_array(body, at, static_cast<std::size_t>(facts.nrow), folder, facts.notes);
    } else if (name == "TOP") {
      read_mf6_array(body, at, layer, folder, facts.notes, ArrayUse::read_through);
    } else if (name == "BOTM" || name == "IDOMAIN") {
      const ArrayUse use = name == "IDOMAIN" ? ArrayUse::read_through_integers : ArrayUse::read_through;
      if (layered)
        for (long long k = 0; k < nlay; ++k) read_mf6_array(body, at, layer, folder, facts.notes, use);
      else
        read_mf6_array(body, at, layer * static_cast<std::size_t>(nlay), folder, facts.notes, use);
    } else {
      refuse(body.file, line.number,
             in_quotes(line.words[0]) + " is not an array of a structured grid's GRIDDATA block");
    }
  }
  if (facts.delr.empty() || facts.delc.empty())
    throw ResultError{facts.grid_file, "the GRIDDATA block gives no DELR or no DELC"};
}

}  // namespace

ModelFacts read_mf6_model(const std::filesystem::path& simulation, const std::string& model_name) {
  ModelFacts facts;
  facts.generation = Generation::mf6;
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
  for (const TextLine& line : packages.body.lines) {
    if (line.words.size() < 2)
      refuse(packages.body.file, line.number,
             "a package row is <ftype> <fname> [<pname>]: \"" + printable(line.text) + "\"");
    NamedPackage package{upper(line.words[0]), line.words[1],
                         line.words.size() > 2 ? line.words[2] : "", 0};
    if (package.type == "DISV6" || package.type == "DISU6")
      refuse(packages.body.file, line.number,
             "the model's grid is " + package.type + ": tamvek's arrays need a structured grid (DIS6)");
    if (package.type == "DIS6" && dis.empty()) {
      dis = package.file;
      dis_line = line.number;
    }
    facts.packages.push_back(std::move(package));
  }
  if (dis.empty()) throw ResultError{packages.body.file, "no DIS6 entry in the PACKAGES block"};
  read_dis(existing_model_file(facts.folder, dis, facts.notes, packages.body.file, dis_line), facts.folder, facts);
  return facts;
}

}  // namespace tamvek::modflow
