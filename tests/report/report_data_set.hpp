#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/small_data_set.hpp"

namespace tamvek::testing {

// A finished year on a grid of 3 rows of 330 columns of 1000 by 500 ft, so
// that every row of an array takes two records (326 fields, then 4). Tracts:
// (1, 1) county 1, an ordinary return; (1, 328) county 2, whose group diverts
// so much that July and August and the acreage overflow (******) while its
// other months stay 0.0; (3, 3) a small return on a negative acreage; (1, 330)
// a tiny negative acreage (-0.0); one tract each on the inactive cell (2, 2),
// west of the grid and north of it.
struct ReportDataSet {
  ScratchDir work;
  ScratchDir root;
  static constexpr int ny = 3;
  static constexpr int nx = 330;

  // Cells in (326i2) records, one value a cell, row by row.
  static std::string grid_file(const std::vector<int>& values) {
    std::string text;
    for (int row = 0; row < ny; ++row)
      for (int col = 0; col < nx; ++col) {
        const int value = values[static_cast<std::size_t>(row * nx + col)];
        if (value < 10) text += ' ';
        text += std::to_string(value);
        if (col == 325 || col == nx - 1) text += "\n";
      }
    return text;
  }

  ReportDataSet() {
    const std::string statics = "BAVO/QZ/static/";
    root.write(statics + "tamvek.par", "3 330\n1000 500\n0 0\n1\n0.5\n");
    std::vector<int> active(ny * nx, 1);
    active[1 * nx + 1] = 0;
    root.write(statics + "02.ibound", grid_file(active));
    std::vector<int> counties(ny * nx, 1);
    counties[327] = 2;
    root.write(statics + "cty.flg", "county flags\n" + grid_file(counties));
    root.write(statics + "monthlyfactorsbycounty.txt", factor_file());
    root.write(statics + "40coords.dat",
               "1 1 1 1 500 1250\n1 1 1 2 327500 1250\n1 1 1 3 1500 750\n1 1 1 4 2500 250\n"
               "1 1 1 5 -100 250\n1 1 1 6 500 1600\n1 1 1 7 329500 1250\n");
    work.write("authacres2010.txt",
               "1 1 1 1 1 40\n2 1 1 1 2 40\n2 1 1 1 3 40\n3 1 1 1 4 40\n"
               "4 1 1 1 5 40\n4 1 1 1 6 40\n5 1 1 1 7 40\n");
    work.write("tamvek2010.txt",
               "1 0 100 50 0\n2 0 1000000 60000 0\n3 0 10 -3 0\n5 0 0 -0.01 0\n");
    std::filesystem::create_directory(work.file("out"));
  }

  // Runs tamvek on the data set; true when it ended normally.
  bool run_tamvek() const {
    return run_program({"2010"}, work.path(), root.path(), "go\n").status == 0;
  }

  // Runs tamvek-report in the working directory.
  ProgramRun run_report(const std::vector<std::string>& arguments = {"2010"}) const {
    return run_program(arguments, work.path(), root.path(), "", {}, TAMVEK_REPORT_PROGRAM);
  }

  // The report's files in out/, and any temporary of theirs.
  std::vector<std::string> report_files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(work.file("out"))) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with(".asc") || name.ends_with(".html") || name.ends_with(".tmp"))
        names.push_back(name);
    }
    return names;
  }
};

}  // namespace tamvek::testing
