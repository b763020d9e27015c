#include <algorithm>

#include "modflow/double_list_read.hpp"
#include "modflow/mf2005_arrays.hpp"
#include "modflow/mf6_blocks.hpp"
#include "modflow/model_text.hpp"
#include "modflow/model_facts.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

using results::printable;
using results::ResultError;

std::vector<std::string> words_of(std::string_view record) { return split_words(record, Comments::mf2005); }

TextLine item_line(RecordFile& file, const std::string& expected) {
  const std::string_view record = next_item(file, expected);
  return {file.next, std::string(record), words_of(record)};
}

void read_dis(RecordFile& text, long long unit, Mf2005Units& units, ModelFacts& facts) {
  facts.grid_file = facts.time_file = text.file;
  const TextLine first = item_line(text, "NLAY NROW NCOL NPER ITMUNI LENUNI");
  const long long nlay = integer_of(text.file, first, 0, "NLAY");
  facts.nrow = integer_of(text.file, first, 1, "NROW");
  facts.ncol = integer_of(text.file, first, 2, "NCOL");
  const long long nper = integer_of(text.file, first, 3, "NPER");
  facts.time_unit = time_unit_coded(integer_of(text.file, first, 4, "ITMUNI"));
  facts.length_unit = length_unit_coded(integer_of(text.file, first, 5, "LENUNI"));
  if (nlay < 1 || facts.nrow < 1 || facts.ncol < 1 || nper < 1)
    refuse(text.file, first.number, "NLAY, NROW, NCOL and NPER must each be at least 1");
  facts.nlay = nlay;
  require_tamvek_size(facts);
  if (nlay > 100'000) refuse(text.file, first.number, "NLAY " + std::to_string(nlay) + " is beyond any model's");

  // LAYCBD: one flag a layer, a list-directed read that may run on over records.
  std::vector<double> laycbd(static_cast<std::size_t>(nlay));
  next_item(text, "LAYCBD");
  --text.next;
  {
    DoubleListRead read(laycbd);
    for (DoubleListRead::Step step = DoubleListRead::Step::more; step != DoubleListRead::Step::done;) {
      if (text.next >= text.records.size()) throw ResultError{text.file, "ends inside LAYCBD"};
      step = read.take(text.records[text.next++]);
      if (step == DoubleListRead::Step::failed)
        refuse(text.file, text.next, "LAYCBD " + std::to_string(read.filled() + 1) + ": \"" +
                                         printable(read.failed_text()) + "\" is " + read.failure());
    }
  }
  long long confining_beds = 0;
  for (std::size_t k = 0; k + 1 < laycbd.size(); ++k) confining_beds += laycbd[k] != 0;

  const auto nrow = static_cast<std::size_t>(facts.nrow);
  const auto ncol = static_cast<std::size_t>(facts.ncol);
  facts.delr = read_mf2005_array(text, unit, units, 1, ncol);
  facts.delc = read_mf2005_array(text, unit, units, 1, nrow);
  read_mf2005_array(text, unit, units, nrow, ncol, false);  // top
  for (long long k = 0; k < nlay + confining_beds; ++k) read_mf2005_array(text, unit, units, nrow, ncol, false);

  for (long long period = 1; period <= nper; ++period) {
    if (text.next >= text.records.size())
      throw ResultError{text.file, "ends after " + std::to_string(period - 1) + " of its " +
                                       std::to_string(nper) + " stress periods"};
    const TextLine line = item_line(text, "a stress period row");
    const double perlen = real_of(text.file, line, 0, "PERLEN");
    integer_of(text.file, line, 1, "NSTP");
    real_of(text.file, line, 2, "TSMULT");
    if (line.words.size() < 4 || (upper(line.words[3]) != "TR" && upper(line.words[3]) != "SS"))
      refuse(text.file, line.number, "a stress period row ends in TR or SS: \"" + printable(line.text) + "\"");
    if (perlen < 0) refuse(text.file, line.number, "a negative PERLEN");
    facts.perlen.push_back(perlen);
  }
}

// IBOUND of every layer from the BAS6 file (item 1 its options, item 2 the
// arrays), which says which columns a regridded volume can reach.
void read_ibound(RecordFile& text, long long unit, Mf2005Units& units, ModelFacts& facts) {
  facts.active_file = text.file;
  // The options record follows the comments, and may be blank: a blank line
  // there is the options, not a line to pass over.
  while (text.next < text.records.size() && text.records[text.next].starts_with('#')) ++text.next;
  if (text.next++ >= text.records.size()) throw ResultError{text.file, "ends where the BAS6 options were expected"};
  const auto nrow = static_cast<std::size_t>(facts.nrow);
  const auto ncol = static_cast<std::size_t>(facts.ncol);
  facts.active_codes.reserve(nrow * ncol * static_cast<std::size_t>(facts.nlay));
  for (long long k = 0; k < facts.nlay; ++k) {
    const std::vector<double> layer = read_mf2005_array(text, unit, units, nrow, ncol);
    facts.active_codes.insert(facts.active_codes.end(), layer.begin(), layer.end());
  }
}

}  // namespace

void require_tamvek_size(const ModelFacts& facts) {
  // A regridded model keeps a value a cell of a layer, and the codes of
  // every cell: a size beyond any model's is a fault of the file.
  constexpr double most_cells = 100'000'000;
  if (facts.regrid && static_cast<double>(facts.nrow) * static_cast<double>(facts.ncol) *
                              static_cast<double>(std::max<std::int64_t>(facts.nlay, 1)) > most_cells)
    throw ResultError{facts.grid_file, "NLAY " + std::to_string(facts.nlay) + ", NROW " +
                                           std::to_string(facts.nrow) + ", NCOL " + std::to_string(facts.ncol) +
                                           ": more than 100,000,000 cells, beyond any model's"};
  constexpr std::int64_t largest = 400;
  if (!facts.regrid && (facts.nrow > largest || facts.ncol > largest))
    throw ResultError{facts.grid_file, "the model has " + std::to_string(facts.nrow) + " rows and " +
                                           std::to_string(facts.ncol) + " columns; tamvek's grids "
                                           "have at most 400 of each (--regrid carries the arrays onto "
                                           "a grid of any size)"};
}

ModelFacts read_mf2005_model(const std::filesystem::path& name_file, bool regrid) {
  ModelFacts facts;
  facts.generation = Generation::mf2005;
  facts.regrid = regrid;
  facts.folder = name_file.parent_path();
  const ModelText text = read_model_text(name_file, Comments::mf2005);
  facts.name_file = text.file;
  Mf2005Units units(facts.folder, facts.notes);
  std::string dis;
  long long dis_unit = 0;
  std::size_t dis_line = 0;
  long long bas_unit = 0;
  std::size_t bas_line = 0;
  // Rows are <Ftype> <Nunit> <Fname> [<status>]; the status word (OLD,
  // REPLACE, UNKNOWN) and any other words after the name are not needed here.
  for (const TextLine& line : text.lines) {
    if (line.words.size() < 3)
      refuse(text.file, line.number, "a name file row is <Ftype> <Nunit> <Fname>: \"" +
                                         printable(line.text) + "\"");
    NamedPackage package{upper(line.words[0]), line.words[2], "",
                         integer_of(text.file, line, 1, "Nunit")};
    if (package.type == "DISU")
      refuse(text.file, line.number, "the model's grid is DISU, whose cells have no shape to carry volumes "
                                         "onto: tamvek's arrays need a structured grid (DIS)");
    if (package.type == "DIS" && dis.empty()) {
      dis = package.file;
      dis_unit = package.unit;
      dis_line = line.number;
    }
    if ((package.type == "BAS6" || package.type == "BAS") && bas_unit == 0) {
      bas_unit = package.unit;
      bas_line = line.number;
    }
    units.add(package.type, package.unit, package.file);
    facts.packages.push_back(std::move(package));
  }
  if (dis.empty()) throw ResultError{text.file, "no DIS file in the name file"};
  RecordFile& dis_file = units.formatted(dis_unit, text.file, dis_line);
  read_dis(dis_file, dis_unit, units, facts);
  if (regrid && bas_unit != 0)
    read_ibound(units.formatted(bas_unit, text.file, bas_line), bas_unit, units, facts);
  return facts;
}

ModelFacts read_model(const std::filesystem::path& given, const std::string& model_name,
                      bool regrid) {
  // The folder the model runs in is where its file names start, wherever the
  // program runs.
  const std::filesystem::path model = std::filesystem::absolute(given).lexically_normal();
  std::error_code error;
  if (std::filesystem::is_directory(model, error)) return read_mf6_model(model, model_name, regrid);
  // A simulation name file's entries are in blocks (after an old header, it
  // may be); a MODFLOW-2005 name file has none.
  const ModelText text = read_model_text(model, Comments::mf6);
  bool blocks = false;
  for (const TextLine& line : text.lines) blocks = blocks || upper(line.words[0]) == "BEGIN";
  if (!blocks) {
    if (!model_name.empty())
      throw ResultError{text.file, "--model chooses a model of a MODFLOW 6 simulation, and this "
                                   "is a MODFLOW-2005 name file"};
    return read_mf2005_model(model, regrid);
  }
  for (const TextLine& line : text.lines)
    if (upper(line.words[0]) == "BEGIN" && line.words.size() > 1 && upper(line.words[1]) == "PACKAGES")
      throw ResultError{text.file, "a model's name file: give the simulation's name file "
                                   "(mfsim.nam) or its folder"};
  return read_mf6_model(model, model_name, regrid);
}

}  // namespace tamvek::modflow
