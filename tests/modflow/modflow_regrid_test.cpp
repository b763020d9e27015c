#include <cmath>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

#include "modflow/modflow_data_set.hpp"

namespace tamvek {
namespace {

using testing::Mf6Simulation;
using testing::ModflowDataSet;
using testing::replace;

// The values of an array file: tamvek's own by its six-character fields,
// any other in free format.
std::vector<double> array_values(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<double> values;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (file.extension() == ".rcs") {
      for (std::size_t at = 0; at + 6 <= line.size(); at += 6) values.push_back(std::stod(line.substr(at, 6)));
    } else {
      std::istringstream words(line);
      for (double value; words >> value;) values.push_back(value);
    }
  }
  return values;
}

// Each period's rates as MODFLOW 6 reads the package: CONSTANT, or an
// OPEN/CLOSE array (named from the model's folder) times its FACTOR.
std::vector<std::vector<double>> period_rates(const ModflowDataSet& set, const std::string& folder) {
  const std::filesystem::path model = set.models.file(folder);
  std::istringstream package(set.models.read(folder + "/tamvek.rch"));
  std::vector<std::vector<double>> rates;
  for (std::string line; std::getline(package, line);) {
    std::istringstream words(line);
    std::string form;
    words >> form;
    if (form == "CONSTANT") {
      double value = 0;
      words >> value;
      rates.emplace_back(6, value);
    } else if (form == "OPEN/CLOSE") {
      std::string name, keyword;
      double factor = 1;
      words >> name >> keyword >> factor;
      const std::filesystem::path file =
          std::filesystem::path(name).is_absolute() ? std::filesystem::path(name) : model / name;
      std::vector<double> values = array_values(file);
      for (double& value : values) value *= factor;
      rates.push_back(values);
    }
  }
  return rates;
}

// On tamvek's own grid the regridded package gives the rates of the
// package that names tamvek's arrays with factors: every share is one
// whole tamvek cell, so only rounding may differ.
TEST(ModflowRegrid, TamveksOwnGridGivesTheSameRates) {
  for (const bool cutting : {false, true}) {
    SCOPED_TRACE(cutting ? "45-day periods" : "calendar months");
    ModflowDataSet set;
    Mf6Simulation model;
    if (cutting) {
      std::string rows = "  1.0 1 1.0\n";
      for (int i = 0; i < 16; ++i) rows += "  45.0 1 1.0\n";
      replace(model.tdis, "NPER 24", "NPER 17");
      replace(model.tdis, testing::monthly_periods(24), rows);
    }
    model.write(set.models, "plain");
    model.write(set.models, "regrid");
    const auto plain = set.run_modflow({"2010", "2011", set.models.file("plain"), "--volume-unit", "acre-feet"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const auto regrid = set.run_modflow(
        {"2010", "2011", set.models.file("regrid"), "--volume-unit", "acre-feet", "--regrid"});
    ASSERT_EQ(regrid.status, 0) << regrid.err;
    EXPECT_NE(regrid.out.find("outside the grid"), std::string::npos) << regrid.out;

    const auto expected = period_rates(set, "plain");
    const auto got = period_rates(set, "regrid");
    ASSERT_EQ(got.size(), expected.size());
    bool any = false;
    for (std::size_t p = 0; p < got.size(); ++p) {
      ASSERT_EQ(got[p].size(), 6u) << "period " << p + 1;
      for (std::size_t cell = 0; cell < 6; ++cell) {
        EXPECT_NEAR(got[p][cell], expected[p][cell], 1e-12 * std::abs(expected[p][cell]))
            << "period " << p + 1 << ", cell " << cell + 1;
        any = any || expected[p][cell] != 0;
      }
    }
    EXPECT_TRUE(any) << "the years carry no recharge: nothing was compared";
    // Beside the package: the first month on the model's grid, for a GIS.
    EXPECT_EQ(set.models.read("regrid/tamvek.rch.grid.asc").rfind("ncols 3\n", 0), 0u);
  }
}

// A model larger than 400 x 400 with varying spacing is taken with --regrid;
// its arrays hold one value a cell, row by row.
TEST(ModflowRegrid, AGridOfAnySizeGetsArraysOfItsOwnCells) {
  ModflowDataSet set;
  Mf6Simulation model;
  replace(model.dis, "NROW 2\n  NCOL 3", "NROW 2\n  NCOL 600");
  replace(model.dis, "DELR\n    CONSTANT 1000.0", "DELR\n    CONSTANT 5.0");
  replace(model.dis, "XORIGIN 0.0", "XORIGIN -1000.0");
  model.write(set.models, "wide");
  const auto run = set.run_modflow({"2010", "2011", set.models.file("wide"), "--volume-unit", "acre-feet",
                                    "--regrid", "--allow-loss"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(set.models.read("wide/tamvek.rch.2010.05.txt"));
  std::size_t count = 0, line_count = 0;
  for (std::string line; std::getline(lines, line); ++line_count) {
    std::istringstream words(line);
    for (std::string word; words >> word;) ++count;
  }
  EXPECT_EQ(count, 1200u);
  EXPECT_EQ(line_count, 120u);  // ten values a line, a row of 600 in 60 lines
}

// The last "total" row of the summary: the regridded one, as its words.
std::vector<std::string> regridded_totals(const std::string& out) {
  const std::size_t at = out.rfind("\ntotal ");
  std::istringstream row(out.substr(at + 1, out.find('\n', at + 1) - at - 1));
  std::vector<std::string> words;
  for (std::string word; row >> word;) words.push_back(word);
  return words;
}

// IBOUND comes from the BAS6 file that the name file lists, read past a
// blank options line (which is the options, not a line to pass over); a
// model with every cell inactive takes nothing, and the summary says where
// the volume went.
TEST(ModflowRegrid, Mf2005ColumnsWithoutAnActiveCellTakeNothing) {
  ModflowDataSet set;
  testing::Mf2005Model model;
  model.write(set.models, "model");
  set.models.write("model/model.bas", "# basic\n\nINTERNAL 1 (FREE) 0\n0 0 0\n0 0 0\n-999.0\nCONSTANT 10.0\n");
  const std::vector<std::string> arguments = {
      "2010", "2011", set.models.file("model/model.nam"), "--volume-unit", "acre-feet", "--start",
      "2010-01-01", "--regrid", "--model-origin", "0", "0", "--model-rotation", "0"};
  const auto refused = set.run_modflow(arguments);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("model.dis: not written: of the volume within the model's periods, 0.000 "
                             "acre-feet falls outside the model's grid and "),
            std::string::npos)
      << refused.err;
  std::vector<std::string> allowed = arguments;
  allowed.push_back("--allow-loss");
  const auto run = set.run_modflow(allowed);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto totals = regridded_totals(run.out);
  ASSERT_EQ(totals.size(), 5u) << run.out;
  EXPECT_NE(totals[1], "0.000");
  EXPECT_EQ(totals[2], "0.000");  // placed
  EXPECT_EQ(totals[3], "0.000");  // outside the grid
  EXPECT_EQ(totals[4], totals[1]) << run.out;
}

// A MODFLOW 6 grid that states no corner is in its own coordinates:
// --model-origin lays it on the map (here beside tamvek's grid, so that all
// of the volume is outside it).
TEST(ModflowRegrid, ModelOriginPlacesAGridThatStatesNone) {
  ModflowDataSet set;
  Mf6Simulation model;
  replace(model.dis, "  XORIGIN 0.0\n  YORIGIN 0.0\n", "");
  model.write(set.models, "model");
  const auto run = set.run_modflow({"2010", "2011", set.models.file("model"), "--volume-unit", "acre-feet",
                                    "--regrid", "--model-origin", "5000", "0", "--allow-loss"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto totals = regridded_totals(run.out);
  ASSERT_EQ(totals.size(), 5u) << run.out;
  EXPECT_EQ(totals[2], "0.000");
  EXPECT_EQ(totals[3], totals[1]);
  EXPECT_NE(run.out.find("the model's grid (6 cells a layer, placed by --model-origin"), std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace tamvek
