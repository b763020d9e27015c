#pragma once

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/small_data_set.hpp"

namespace tamvek::testing {

// Finished years 2010 and 2011 of the small data set (2 rows of 3 cells of
// 1000 ft, lower-left corner 0, 0), and a folder for models beside them.
struct ModflowDataSet {
  SmallDataSet data;
  ScratchDir models;

  ModflowDataSet() {
    data.work.write("authacres2011.txt", data.work.read("authacres2010.txt"));
    data.work.write("tamvek2011.txt", data.work.read("tamvek2010.txt"));
    for (const char* year : {"2010", "2011"})
      if (run_program({year}, data.work.path(), data.root.path(), "go\n").status != 0)
        throw std::runtime_error(std::string("tamvek did not finish ") + year);
  }

  ProgramRun run_modflow(const std::vector<std::string>& arguments) const {
    return run_program(arguments, data.work.path(), data.root.path(), "", {},
                       TAMVEK_MODFLOW_PROGRAM);
  }

  // Every file below the model folder with its bytes, to show that a refusal
  // changed nothing.
  std::vector<std::string> model_files() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(models.path()))
      if (entry.is_regular_file())
        files.push_back(entry.path().string() + "\n" + models.read(
            std::filesystem::relative(entry.path(), models.path()).generic_string()));
    std::sort(files.begin(), files.end());
    return files;
  }
};

// Replaces the first `from` in a model file's text; a test whose model lacks
// it fails there rather than testing an unchanged model.
inline void replace(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// Periods of the calendar months from January 2010, in days.
inline std::string monthly_periods(int months) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::string rows;
  for (int i = 0; i < months; ++i) {
    const int month = i % 12;
    const int year = 2010 + i / 12;
    rows += "  " + std::to_string(days[month] + (month == 1 && year % 4 == 0 ? 1 : 0)) + " 1 1.0\n";
  }
  return rows;
}

// A MODFLOW 6 simulation of the small grid with the calendar months of 2010
// and 2011 as its periods; tests change its texts before writing it.
struct Mf6Simulation {
  std::string sim =
      "BEGIN OPTIONS\nEND OPTIONS\n"
      "BEGIN TIMING\n  TDIS6 sim.tdis\nEND TIMING\n"
      "BEGIN MODELS\n  GWF6 gwf.nam gwf\nEND MODELS\n"
      "BEGIN EXCHANGES\nEND EXCHANGES\n"
      "BEGIN SOLUTIONGROUP 1\n  IMS6 sim.ims gwf\nEND SOLUTIONGROUP\n";
  std::string tdis =
      "BEGIN OPTIONS\n  TIME_UNITS days\n  START_DATE_TIME 2010-01-01\nEND OPTIONS\n"
      "BEGIN DIMENSIONS\n  NPER 24\nEND DIMENSIONS\n"
      "BEGIN PERIODDATA\n" + monthly_periods(24) + "END PERIODDATA\n";
  std::string nam = "BEGIN PACKAGES\n  DIS6 gwf.dis\nEND PACKAGES\n";
  std::string dis =
      "BEGIN OPTIONS\n  LENGTH_UNITS feet\n  XORIGIN 0.0\n  YORIGIN 0.0\nEND OPTIONS\n"
      "BEGIN DIMENSIONS\n  NLAY 1\n  NROW 2\n  NCOL 3\nEND DIMENSIONS\n"
      "BEGIN GRIDDATA\n  DELR\n    CONSTANT 1000.0\n  DELC\n    CONSTANT 1000.0\n"
      "  TOP\n    CONSTANT 10.0\n  BOTM\n    CONSTANT 0.0\nEND GRIDDATA\n";

  void write(const ScratchDir& models, const std::string& folder) const {
    models.write(folder + "/mfsim.nam", sim);
    models.write(folder + "/sim.tdis", tdis);
    models.write(folder + "/gwf.nam", nam);
    models.write(folder + "/gwf.dis", dis);
  }
};

// A MODFLOW-2005 model of the small grid: 24 calendar months, days and feet.
struct Mf2005Model {
  std::string nam = "# a name file\nLIST 2 model.list\nBAS6 1 model.bas\nDIS 11 model.dis\n"
                    "LPF 19 model.lpf\n";
  std::string dis =
      "# MODFLOW-2005 discretization\n"
      "         1         2         3        24         4         1\n"
      "         0\n"
      "CONSTANT 1.000000E+03   #delr\n"
      "CONSTANT 1.000000E+03   #delc\n"
      "CONSTANT 1.000000E+01   #top\n"
      "CONSTANT 0.000000E+00   #botm\n" +
      periods();

  static std::string periods() {
    std::string rows;
    std::string monthly = monthly_periods(24);
    for (std::size_t at = 0; at < monthly.size();) {
      const std::size_t end = monthly.find('\n', at);
      rows += monthly.substr(at, end - at) + " TR\n";
      at = end + 1;
    }
    return rows;
  }

  void write(const ScratchDir& models, const std::string& folder) const {
    models.write(folder + "/model.nam", nam);
    models.write(folder + "/model.dis", dis);
  }
};

}  // namespace tamvek::testing
