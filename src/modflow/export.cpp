#include "modflow/export.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

#include "modflow/array_copies.hpp"
#include "modflow/balance.hpp"
#include "modflow/model_text.hpp"
#include "modflow/model_checks.hpp"
#include "modflow/model_facts.hpp"
#include "modflow/options.hpp"
#include "modflow/package_files.hpp"
#include "modflow/package_writer.hpp"
#include "modflow/plan.hpp"
#include "modflow/regrid_model.hpp"
#include "modflow/verify.hpp"
#include "modflow/year_arrays.hpp"
#include "results/made_to_end.hpp"
#include "results/output_set.hpp"
#include "results/result_error.hpp"
#include "results/static_inputs.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"
#include "state/year.hpp"

namespace tamvek::modflow {
namespace {

using results::ResultError;

std::string year_list(const std::vector<int>& years) {
  std::string text;
  for (std::size_t i = 0; i < years.size();) {
    std::size_t j = i;
    while (j + 1 < years.size() && years[j + 1] == years[j] + 1) ++j;
    text += (text.empty() ? "" : ", ") + year_text(years[i]);
    if (j > i) text += (j == i + 1 ? ", " : " to ") + year_text(years[j]);
    i = j + 1;
  }
  return text;
}

// True when a file the name file lists is `package`: its name read as MODFLOW
// reads it (from the model's folder, backslashes as separators), not
// compared as text, so that a line added as printed, quoted or not, is found.
bool names_package(const ModelFacts& facts, const std::string& listed,
                   const std::filesystem::path& package) {
  return (facts.folder / as_written(listed)).lexically_normal() == package;
}

// The line that puts the package into the model's name file.
std::string name_file_line(const ModelFacts& facts, const Options& options,
                           const std::filesystem::path& package, std::string& note) {
  std::error_code error;
  const std::filesystem::path relative = std::filesystem::relative(package, facts.folder, error);
  std::string file = shown(error || relative.empty() ? package : relative);
  if (facts.generation == Generation::mf6) {
    if (file.find(' ') != std::string::npos) file = "'" + file + "'";
    for (const NamedPackage& listed : facts.packages)
      if (listed.type == "RCH6" && upper(listed.name) == upper(options.package_name) &&
          !names_package(facts, listed.file, package))
        throw ResultError{facts.name_file, "already has a package named " + listed.name + " (" +
                                               listed.file + "): choose another with --package-name"};
    return "RCH6 " + file + " " + options.package_name;
  }
  long long unit = 19;  // the unit such models give a recharge package by custom
  for (const NamedPackage& listed : facts.packages) {
    if (listed.type == "RCH" && names_package(facts, listed.file, package))
      return "RCH " + std::to_string(listed.unit) + " " + listed.file;
    if (listed.type == "RCH")
      note = "the name file already has RCH " + std::to_string(listed.unit) + " " + listed.file +
             ": MODFLOW-2005 reads one recharge package, so the line below replaces it";
  }
  for (bool used = true; used; ++unit) {
    used = false;
    for (const NamedPackage& listed : facts.packages) used = used || listed.unit == unit;
    if (!used) break;
  }
  return "RCH " + std::to_string(unit) + " " + file;
}

// The model's periods on the calendar; the irrigation months of years outside
// FIRST..LAST that they reach are refused unless --zero-outside says they carry none.
TimePlan planned_time(const ModelFacts& facts, const ModelFrame& frame, const Options& options) {
  TimePlan plan = plan_periods(facts.perlen, frame.time_unit, frame.start, options.first_year,
                               options.last_year);
  if (!plan.years_outside_range.empty() && !options.zero_outside)
    throw ResultError{facts.time_file,
                      "the model's periods reach the irrigation months (May to October) of " +
                          year_list(plan.years_outside_range) + ", outside the years " +
                          year_text(options.first_year) + " to " + year_text(options.last_year) +
                          ": run those years too, or say with --zero-outside that they carry no "
                          "recharge"};
  return plan;
}

// Each year's six arrays, summed up; a year without any recharge is refused
// unless --empty-year says it is meant.
std::vector<YearArrays> read_years(Io& io, const Grid& grid, const Options& options) {
  std::vector<YearArrays> years;
  for (int year = options.first_year; year <= options.last_year; ++year) {
    years.push_back(read_year(io, grid, year));
    bool empty = true;
    for (const MonthArray& month : years.back().months) empty = empty && month.absolute_tenths == 0;
    const std::string cyear = year_text(year);
    if (empty && !options.empty_years.contains(year))
      throw ResultError{years.back().months[0].name,
                        "the year " + cyear +
                            " has no recharge at all in any of its six arrays: its input files (" +
                            authorized_acreage_file(cyear).name + ", " + diversion_file(cyear).name +
                            ") may have been missing or empty. If the year is meant to carry none, "
                            "say so with --empty-year " + cyear};
  }
  return years;
}

// Volume that a regridded model cannot take is refused before anything is
// put in place, unless --allow-loss says it is meant.
void refuse_loss(const ModelFacts& facts, const ModelFrame& frame, const Options& options,
                 const RegridSetup& setup, const WrittenPackage& written) {
  if (options.allow_loss) return;
  double off_grid = 0, inactive = 0;
  for (const RegriddedYear& year : written.regridded) off_grid += year.off_grid, inactive += year.inactive;
  if (off_grid == 0 && inactive == 0) return;
  const Extent tamvek = extent_of(setup.tamvek);
  const Extent model = extent_of(setup.model);
  char text[700];
  std::snprintf(text, sizeof text,
                "not written: of the volume within the model's periods, %.3f %s falls outside the "
                "model's grid and %.3f on columns without an active cell (%s 0 in every layer). "
                "tamvek's grid lies within x %.3f to %.3f, y %.3f to %.3f %s, the model's within x "
                "%.3f to %.3f, y %.3f to %.3f: check where the grids lie, or say with --allow-loss "
                "that this loss is meant",
                off_grid, name_of(*options.volume_unit).c_str(), inactive,
                facts.generation == Generation::mf6 ? "IDOMAIN" : "IBOUND", tamvek.xmin, tamvek.xmax,
                tamvek.ymin, tamvek.ymax, name_of(frame.length_unit).c_str(), model.xmin, model.xmax,
                model.ymin, model.ymax);
  throw ResultError{facts.grid_file, text};
}

void print_notes(const ModelFacts& facts, const ModelFrame& frame, const std::vector<std::string>& left,
                 const std::string& note, const std::string& line) {
  for (const std::string& text : left) std::fprintf(stderr, "tamvek-modflow: warning: %s\n", text.c_str());
  for (const std::string& text : frame.notes) std::printf("note: %s\n", text.c_str());
  for (const std::string& text : facts.notes) std::printf("note: %s\n", text.c_str());
  if (!note.empty()) std::printf("note: %s\n", note.c_str());
  std::printf("Add this line to the %s block of %s:\n%s\n",
              facts.generation == Generation::mf6 ? "PACKAGES" : "list of files", facts.name_file.c_str(),
              line.c_str());
}

int run_export(Io& io, const Options& options) {
  const auto run = std::make_unique<Run>(io);
  results::read_static_inputs(*run);
  const Grid& grid = run->grid;

  const ModelFacts facts = read_model(options.model, options.model_name, options.regrid);
  const ModelFrame frame = check_model(facts, grid, options);
  const TimePlan plan = planned_time(facts, frame, options);
  std::optional<RegridSetup> regrid;
  if (options.regrid) regrid = prepare_regrid(facts, grid, frame, options);
  const std::vector<YearArrays> years = read_years(io, grid, options);

  const std::filesystem::path package = package_path(facts, options);
  std::string note;
  const std::string line = name_file_line(facts, options, package, note);
  const std::set<std::filesystem::path> own = own_files(package, facts.folder);

  // Made before the set, so that the set's temporaries are gone when a folder
  // made for the copies is removed again.
  std::optional<CopyFolder> copies;
  if (options.copy_arrays) copies.emplace(facts, options, package, own);
  results::OutputSet outputs(io);
  PackageInputs inputs{io, grid, facts, frame, options, plan, years, package,
                       std::filesystem::absolute(io.path_of("x")).parent_path(), std::nullopt};
  if (copies) inputs.copy_folder = copies->path();
  if (regrid) inputs.regrid = &*regrid;
  const WrittenPackage written = write_package(inputs, own, outputs);
  const Balance balance = balance_of(plan, years, written);
  if (!balance.holds)
    throw ResultError{shown(package), "not written: the volumes do not balance (" + balance.fault + ")"};
  if (regrid) refuse_loss(facts, frame, options, *regrid, written);
  for (const std::filesystem::path& old : own)
    if (std::find(written.files.begin(), written.files.end(), old) == written.files.end())
      outputs.remove_after_commit(old);
  const std::vector<std::string> left = outputs.commit();
  if (copies) copies->keep();

  print_summary(facts, frame, options, plan, written, balance, package);
  if (regrid) print_regrid_summary(*regrid, frame, options, written, balance);
  print_notes(facts, frame, left, note, line);
  return 0;
}

}  // namespace

int export_to_end(Io& io, const std::vector<std::string>& arguments) {
  Options options;
  try {
    options = parse_options(arguments);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "tamvek-modflow: %s\n%s", error.what(), usage_text);
    return 2;
  }
  if (options.help) {
    std::fputs(usage_text, stdout);
    std::fputs("\n", stdout);
    std::fputs(help_text, stdout);
    return 0;
  }
  return results::made_to_end(io, "tamvek-modflow", [&] {
    return options.verify ? verify_package(options) : run_export(io, options);
  });
}

}  // namespace tamvek::modflow
