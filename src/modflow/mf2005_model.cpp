#include "modflow/model_arrays.hpp"
#include "modflow/mf6_blocks.hpp"
#include "modflow/model_facts.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

using results::printable;
using results::ResultError;

void read_dis(const std::filesystem::path& path, ModelFacts& facts) {
  const ModelText text = read_model_text(path, Comments::mf2005);
  facts.grid_file = facts.time_file = text.file;
  if (text.lines.empty()) throw ResultError{text.file, "empty"};
  std::size_t at = 0;
  const TextLine& first = text.lines[at++];
  const long long nlay = integer_of(text.file, first, 0, "NLAY");
  facts.nrow = integer_of(text.file, first, 1, "NROW");
  facts.ncol = integer_of(text.file, first, 2, "NCOL");
  const long long nper = integer_of(text.file, first, 3, "NPER");
  facts.time_unit = time_unit_coded(integer_of(text.file, first, 4, "ITMUNI"));
  facts.length_unit = length_unit_coded(integer_of(text.file, first, 5, "LENUNI"));
  if (nlay < 1 || facts.nrow < 1 || facts.ncol < 1 || nper < 1)
    refuse(text.file, first.number, "NLAY, NROW, NCOL and NPER must each be at least 1");
  require_tamvek_size(facts);

  // LAYCBD: one flag a layer, read as a list that may run on over records.
  long long confining_beds = 0;
  for (long long k = 0; k < nlay;) {
    if (at >= text.lines.size()) throw ResultError{text.file, "ends inside LAYCBD"};
    const TextLine& line = text.lines[at++];
    for (std::size_t i = 0; i < line.words.size() && k < nlay; ++i, ++k)
      if (integer_of(text.file, line, i, "LAYCBD") != 0 && k + 1 < nlay) ++confining_beds;
  }
  const auto nrow = static_cast<std::size_t>(facts.nrow);
  const auto ncol = static_cast<std::size_t>(facts.ncol);
  const std::filesystem::path folder = facts.folder;
  facts.delr = read_mf2005_array(text, at, 1, ncol, folder);
  facts.delc = read_mf2005_array(text, at, 1, nrow, folder);
  read_mf2005_array(text, at, nrow, ncol, folder, false);  // top
  for (long long k = 0; k < nlay + confining_beds; ++k)
    read_mf2005_array(text, at, nrow, ncol, folder, false);

  for (long long period = 1; period <= nper; ++period) {
    if (at >= text.lines.size())
      throw ResultError{text.file, "ends after " + std::to_string(period - 1) + " of its " +
                                       std::to_string(nper) + " stress periods"};
    const TextLine& line = text.lines[at++];
    const double perlen = real_of(text.file, line, 0, "PERLEN");
    integer_of(text.file, line, 1, "NSTP");
    real_of(text.file, line, 2, "TSMULT");
    if (line.words.size() < 4 || (upper(line.words[3]) != "TR" && upper(line.words[3]) != "SS"))
      refuse(text.file, line.number, "a stress period row ends in TR or SS: \"" + printable(line.text) + "\"");
    if (perlen < 0) refuse(text.file, line.number, "a negative PERLEN");
    facts.perlen.push_back(perlen);
  }
}

}  // namespace

void require_tamvek_size(const ModelFacts& facts) {
  constexpr std::int64_t largest = 400;
  if (facts.nrow > largest || facts.ncol > largest)
    throw ResultError{facts.grid_file, "the model has " + std::to_string(facts.nrow) + " rows and " +
                                           std::to_string(facts.ncol) + " columns; tamvek's grids "
                                           "have at most 400 of each"};
}

ModelFacts read_mf2005_model(const std::filesystem::path& name_file) {
  ModelFacts facts;
  facts.generation = Generation::mf2005;
  facts.folder = name_file.parent_path();
  const ModelText text = read_model_text(name_file, Comments::mf2005);
  facts.name_file = text.file;
  std::string dis;
  for (const TextLine& line : text.lines) {
    if (line.words.size() < 3)
      refuse(text.file, line.number, "a name file row is <Ftype> <Nunit> <Fname>: \"" +
                                         printable(line.text) + "\"");
    NamedPackage package{upper(line.words[0]), line.words[2], "",
                         integer_of(text.file, line, 1, "Nunit")};
    if (package.type == "DISU")
      refuse(text.file, line.number, "the model's grid is DISU: tamvek's arrays need a structured grid (DIS)");
    if (package.type == "DIS") dis = package.file;
    facts.packages.push_back(std::move(package));
  }
  if (dis.empty()) throw ResultError{text.file, "no DIS file in the name file"};
  read_dis(facts.folder / dis, facts);
  return facts;
}

ModelFacts read_model(const std::filesystem::path& given, const std::string& model_name) {
  // The folder the model runs in is where its file names start, wherever the
  // program runs.
  const std::filesystem::path model = std::filesystem::absolute(given).lexically_normal();
  std::error_code error;
  if (std::filesystem::is_directory(model, error)) return read_mf6_model(model, model_name);
  // A simulation name file's entries are in blocks; a MODFLOW-2005 name file has none.
  const ModelText text = read_model_text(model, Comments::mf6);
  const bool blocks = !text.lines.empty() && upper(text.lines.front().words[0]) == "BEGIN";
  if (!blocks) {
    if (!model_name.empty())
      throw ResultError{text.file, "--model chooses a model of a MODFLOW 6 simulation, and this "
                                   "is a MODFLOW-2005 name file"};
    return read_mf2005_model(model);
  }
  for (const TextLine& line : text.lines)
    if (upper(line.words[0]) == "BEGIN" && line.words.size() > 1 && upper(line.words[1]) == "PACKAGES")
      throw ResultError{text.file, "a model's name file: give the simulation's name file "
                                   "(mfsim.nam) or its folder"};
  return read_mf6_model(model, model_name);
}

}  // namespace tamvek::modflow
