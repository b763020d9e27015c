#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "modflow/modflow_data_set.hpp"

namespace tamvek {
namespace {

using testing::Mf2005Model;
using testing::Mf6Simulation;
using testing::ModflowDataSet;
using testing::replace;

struct Refusal {
  const char* what;
  std::function<void(Mf6Simulation&, Mf2005Model&, ModflowDataSet&)> spoil;
  bool mf2005;
  std::vector<std::string> options;  // after FIRST LAST MODEL
  std::string message;               // part of standard error
};

const std::vector<std::string> acre_feet = {"--volume-unit", "acre-feet"};
const std::vector<std::string> regrid = {"--volume-unit", "acre-feet", "--regrid"};

TEST(ModflowRefusals, EachIsNamedAndLeavesTheModelFolderAsItWas) {
  const auto none = [](Mf6Simulation&, Mf2005Model&, ModflowDataSet&) {};
  const Refusal cases[] = {
      {"no volume unit", none, false, {}, "--volume-unit is needed"},
      {"another number of rows",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "NROW 2", "NROW 3"); },
       false, acre_feet, "gwf.dis: the model has 3 rows and 3 columns, tamvek's grid 2 rows (ny) and 3 columns (nx)"},
      {"a grid larger than any of tamvek's",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "NROW 2", "NROW 2000000000"); },
       false, acre_feet, "gwf.dis: the model has 2000000000 rows and 3 columns; tamvek's grids have at most 400 of each"},
      {"another cell width",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) {
         replace(m.dis, "DELR\n    CONSTANT 1000.0", "DELR\n    INTERNAL\n 1000.0 1000.0 1001.0");
       },
       false, acre_feet, "gwf.dis: DELR 3 is 1001 and DELR 1 is 1000"},
      {"cells in metres that are not tamvek's feet",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "LENGTH_UNITS feet", "LENGTH_UNITS meters"); },
       false, acre_feet, "DELR is 1000 meters where tamvek's gdx is 1000 feet (304.8 meters)"},
      {"another origin",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "XORIGIN 0.0", "XORIGIN 5280.0"); },
       false, acre_feet, "(XORIGIN, YORIGIN) is 5280, 0 feet where tamvek's (xg0, yg0) is 0, 0 feet"},
      {"a rotated grid",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "YORIGIN 0.0", "YORIGIN 0.0\n  ANGROT 15"); },
       false, acre_feet, "the grid is rotated (ANGROT 15)"},
      {"an undefined length unit",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "LENGTH_UNITS feet", "LENGTH_UNITS unknown"); },
       false, acre_feet, "the model leaves its LENGTH_UNITS undefined: give it with --length-unit"},
      {"a length unit the model contradicts", none, false,
       {"--volume-unit", "acre-feet", "--length-unit", "meters"},
       "the model's LENGTH_UNITS is feet, and --length-unit says meters"},
      {"no start date",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.tdis, "  START_DATE_TIME 2010-01-01\n", ""); },
       false, acre_feet, "sim.tdis: the model does not state when its first period begins (no START_DATE_TIME): give it with --start"},
      {"a MODFLOW-2005 model without --start", none, true, acre_feet, "(MODFLOW-2005 never does)"},
      {"a MODFLOW-2005 model with an undefined time unit",
       [](Mf6Simulation&, Mf2005Model& m, ModflowDataSet&) { replace(m.dis, "        24         4", "        24         0"); },
       true, {"--volume-unit", "acre-feet", "--start", "2010-01-01"}, "model.dis: the model leaves its ITMUNI undefined: give it with --time-unit"},
      {"a block without its END",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "END DIMENSIONS\n", ""); },
       false, acre_feet, "gwf.dis: line 10: BEGIN inside block DIMENSIONS (begun on line 6, which has no END)"},
      {"a binary array cut short",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet& set) {
         replace(m.dis, "DELC\n    CONSTANT 1000.0", "DELC\n    OPEN/CLOSE delc.bin (BINARY)");
         set.models.write("model/delc.bin", std::string(40, '\0'));
       },
       false, acre_feet, "delc.bin: a header of 52 bytes expected at byte 0, but the file ends (the binary array of "},
      {"an array file that is not there",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) {
         replace(m.dis, "DELC\n    CONSTANT 1000.0", "DELC\n    OPEN/CLOSE arrays\\delc.txt");
       },
       false, acre_feet, "gwf.dis: line 15: the file \"arrays\\delc.txt\" is not there (nor in another case, nor with backslashes"},
      {"a DIS the name file names and that is not there",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.nam, "DIS6 gwf.dis", "DIS6 grid.dis"); },
       false, acre_feet, "gwf.nam: line 2: the file \"grid.dis\" is not there"},
      {"a start that is a label",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.tdis, "START_DATE_TIME 2010-01-01", "START_DATE_TIME spring-2010"); },
       false, acre_feet, "sim.tdis: the model does not state when its first period begins (START_DATE_TIME spring-2010 is no date of ISO 8601, only a label): give it with --start"},
      {"an array with a value that is not a number",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) {
         replace(m.dis, "DELR\n    CONSTANT 1000.0", "DELR\n    INTERNAL\n 1000.0 1000.0 l000.0");
       },
       false, acre_feet, "gwf.dis: line 14: value 3 of the array: \"l000.0\" is not a number"},
      {"too few periods",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.tdis, "NPER 24", "NPER 25"); },
       false, acre_feet, "sim.tdis: the PERIODDATA block holds 24 periods where NPER is 25"},
      {"several flow models",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.sim, "GWF6 gwf.nam gwf\n", "GWF6 gwf.nam gwf\n  GWF6 other.nam other\n"); },
       false, acre_feet, "mfsim.nam: several groundwater-flow models (gwf, other): choose one with --model NAME"},
      {"a MODFLOW-2005 array from a unit the name file does not list",
       [](Mf6Simulation&, Mf2005Model& m, ModflowDataSet&) { replace(m.dis, "CONSTANT 1.000000E+03   #delc", "EXTERNAL 30 1.0 (FREE) -1"); },
       true, {"--volume-unit", "acre-feet", "--start", "2010-01-01"}, "model.dis: line 5: an array is read from unit 30, which the name file does not list"},
      {"a MODFLOW-2005 format of characters",
       [](Mf6Simulation&, Mf2005Model& m, ModflowDataSet&) { replace(m.dis, "CONSTANT 1.000000E+03   #delc", "INTERNAL 1.0 (10A4) -1"); },
       true, {"--volume-unit", "acre-feet", "--start", "2010-01-01"}, "model.dis: line 5: the format \"(10A4)\" cannot be read: \"A4)\" in the format is not a numeric edit descriptor"},
      {"a MODFLOW-2005 control record of neither form",
       [](Mf6Simulation&, Mf2005Model& m, ModflowDataSet&) { replace(m.dis, "CONSTANT 1.000000E+03   #delc", "CONSTNAT 1000.0"); },
       true, {"--volume-unit", "acre-feet", "--start", "2010-01-01"}, "model.dis: line 5: an array control record: LOCAT (columns 1-10) \"CONSTNAT 1\" is not a whole number"},
      {"a year that was not run", none, false, {"--volume-unit", "acre-feet", "--zero-outside"}, "out\\check2012.out: missing"},
      {"a field that lost its value",
       [](Mf6Simulation&, Mf2005Model&, ModflowDataSet& set) {
         std::string text = set.data.work.read("out/2011.07.rcs");
         text.replace(6, 6, "******");
         set.data.work.write("out/2011.07.rcs", text);
       },
       false, acre_feet, "out\\2011.07.rcs: row 1, column 2: \"******\" has lost its value"},
      {"a year whose run stopped early",
       [](Mf6Simulation&, Mf2005Model&, ModflowDataSet& set) {
         const std::string text = set.data.work.read("out/check2011.out");
         set.data.work.write("out/check2011.out", text.substr(0, text.find(" sumtr")));
       },
       false, acre_feet, "out\\check2011.out: cut short: it holds 12 of the 16 records of a finished run"},
      {"a package file of someone else",
       [](Mf6Simulation&, Mf2005Model&, ModflowDataSet& set) { set.models.write("model/tamvek.rch", "# my own recharge\n"); },
       false, acre_feet, "tamvek.rch: there, and not written by tamvek-modflow: not overwritten"},
      {"a grid of polygons without --regrid",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.nam, "DIS6 gwf.dis", "DISV6 gwf.dis"); },
       false, acre_feet, "gwf.nam: line 2: the model's grid is DISV6: tamvek's arrays fit a structured grid (DIS6) as they are, and --regrid carries"},
      {"an unstructured grid, even with --regrid",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.nam, "DIS6 gwf.dis", "DISU6 gwf.dis"); },
       false, regrid, "gwf.nam: line 2: the model's grid is DISU6, whose cells have no shape"},
      {"an unstructured MODFLOW-2005 grid",
       [](Mf6Simulation&, Mf2005Model& m, ModflowDataSet&) { replace(m.nam, "DIS 11", "DISU 11"); },
       true, {"--volume-unit", "acre-feet", "--start", "2010-01-01", "--regrid"}, "model.nam: line 4: the model's grid is DISU"},
      {"a MODFLOW-2005 grid with no place to regrid onto",
       [](Mf6Simulation&, Mf2005Model&, ModflowDataSet& set) {
         set.models.write("model/model.bas", "# basic\nFREE\nCONSTANT 1\n-999.0\nCONSTANT 10.0\n");
       },
       true, {"--volume-unit", "acre-feet", "--start", "2010-01-01", "--regrid", "--model-origin", "0", "0"},
       "model.dis: MODFLOW-2005 does not state where the model's grid lies: --regrid needs --model-origin X Y"},
      {"volume outside a regridded model without --allow-loss",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "XORIGIN 0.0", "XORIGIN 1500.0"); },
       false, regrid, "gwf.dis: not written: of the volume within the model's periods, "},
      {"volume on columns without an active cell",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) {
         replace(m.dis, "BOTM\n    CONSTANT 0.0\n", "BOTM\n    CONSTANT 0.0\n  IDOMAIN\n    CONSTANT 0\n");
       },
       false, regrid, "0.000 acre-feet falls outside the model's grid and "},
      {"a regridded grid beyond any model's",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.dis, "NROW 2", "NROW 2000000000"); },
       false, regrid, "gwf.dis: NLAY 1, NROW 2000000000, NCOL 3: more than 100,000,000 cells, beyond any model's"},
      {"an origin the model contradicts",
       [](Mf6Simulation&, Mf2005Model&, ModflowDataSet&) {},
       false, {"--volume-unit", "acre-feet", "--regrid", "--model-origin", "10", "0"},
       "gwf.dis: the grid's lower-left corner (XORIGIN, YORIGIN) is 0, 0, and --model-origin says 10, 0"},
      {"a package name the model already uses",
       [](Mf6Simulation& m, Mf2005Model&, ModflowDataSet&) { replace(m.nam, "DIS6 gwf.dis", "DIS6 gwf.dis\n  RCH6 rain.rch tamvek"); },
       false, acre_feet, "gwf.nam: already has a package named tamvek (rain.rch): choose another with --package-name"},
  };
  for (const Refusal& refusal : cases) {
    SCOPED_TRACE(refusal.what);
    ModflowDataSet set;
    Mf6Simulation mf6;
    Mf2005Model mf2005;
    refusal.spoil(mf6, mf2005, set);
    if (refusal.mf2005)
      mf2005.write(set.models, "model");
    else
      mf6.write(set.models, "model");
    const std::string last = std::string(refusal.what) == "a year that was not run" ? "2012" : "2011";
    std::vector<std::string> arguments = {
        "2010", last, set.models.file(refusal.mf2005 ? "model/model.nam" : "model/mfsim.nam")};
    arguments.insert(arguments.end(), refusal.options.begin(), refusal.options.end());
    const auto before = set.model_files();
    const auto run = set.run_modflow(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(refusal.message), std::string::npos) << run.err;
    EXPECT_EQ(set.model_files(), before);
  }
}

TEST(ModflowRefusals, CommandLinesThatCannotBeUsed) {
  ModflowDataSet set;
  Mf6Simulation().write(set.models, "model");
  const std::string model = set.models.file("model");
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"2010", "2011"}, "FIRST, LAST and MODEL expected, 2 given"},
      {{"2011", "2010", model, "--volume-unit", "acre-feet"}, "LAST (2010) comes before FIRST (2011)"},
      {{"10", "2011", model, "--volume-unit", "acre-feet"}, "FIRST must be a year of four digits, not '10'"},
      {{"2010", "2011", model, "--volume-unit", "gallons"}, "--volume-unit is acre-feet, cubic-feet or cubic-meters, not 'gallons'"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--start", "2010-02-30"}, "--start needs a date YYYY-MM-DD, not '2010-02-30'"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--overwrite"}, "unknown option --overwrite"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--model", "gwf"}, ""},
      {{"--verify", model, "2010"}, "--verify takes the model only, not '2010'"},
      {{"--verify", model, "--copy-arrays", "copies"}, "--copy-arrays is an option of the export, not of --verify"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--copy-arrays"}, "--copy-arrays needs a value"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--regrid", "--copy-arrays", "copies"},
       "--copy-arrays copies tamvek's arrays, and a package made with --regrid names none"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--model-origin", "1", "2"},
       "--model-origin places a grid for --regrid, which is not given"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--allow-loss"}, "--allow-loss is for --regrid"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--regrid", "--model-origin", "1"},
       "--model-origin needs two values, X and Y"},
      {{"2010", "2011", model, "--volume-unit", "acre-feet", "--regrid", "--model-rotation", "30deg"},
       "--model-rotation needs a number, not '30deg'"},
  };
  for (const auto& entry : cases) {
    const auto run = set.run_modflow(entry.arguments);
    if (entry.message.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;
      continue;
    }
    EXPECT_EQ(run.status, 2) << entry.message;
    EXPECT_NE(run.err.find(entry.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("usage: tamvek-modflow"), std::string::npos);
  }
  const auto help = set.run_modflow({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--volume-unit", "--copy-arrays DIR", "--verify MODEL", "--regrid", "--allow-loss"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace tamvek
