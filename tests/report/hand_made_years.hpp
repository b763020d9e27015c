#pragma once

#include <array>
#include <string>
#include <vector>

#include "support/scratch.hpp"

namespace tamvek::testing {

// Finished years written by hand, as tamvek writes them, on a grid of 2 rows
// of 3 columns of 100 by 50 ft whose left edge (1000) and bottom edge (2000)
// differ; the cell at row 2, column 3 is inactive. Every year's figures are
// the test's own, so that each column of a report can be told from the others.
struct HandMadeYears {
  ScratchDir work;
  ScratchDir root;
  static constexpr int ny = 2;
  static constexpr int nx = 3;

  HandMadeYears() {
    root.write("BAVO/QZ/static/tamvek.par", "2 3\n100 50\n1000 2000\n1\n0.5\n");
    root.write("BAVO/QZ/static/02.ibound", " 1 1 1\n 1 1 0\n");
  }

  // An array of the six-character fields given, row by row.
  static std::string array(const std::array<const char*, 6>& fields) {
    std::string text;
    for (int row = 0; row < ny; ++row) {
      for (int col = 0; col < nx; ++col) text += fields[static_cast<std::size_t>(row * nx + col)];
      text += "\r\n";
    }
    return text;
  }
  // A list-directed record of the check report: reals after a blank.
  static std::string reals(const std::vector<std::string>& values) {
    std::string record;
    for (const std::string& value : values) record += "   " + value;
    return record + "    \r\n";
  }

  struct Year {
    std::string cyear;
    std::array<std::string, 6> months;  // the arrays of May to October
    std::string acres;
    std::array<std::string, 6> msum;
    std::array<std::string, 5> sums;    // record 14: sumtr, suma, sumretout, sumacreageout, sumdiversion
    std::array<std::string, 2> out;     // record 16: sumretout, sumacresout
    std::string problems;
    std::string diversions = "1 0 100 50 0\n";
    std::string authorized = "1 1 1 1 1 40\n";
  };

  static std::string check_report(const Year& year) {
    std::string text;
    for (int month = 5; month <= 10; ++month) {
      text += " " + year.cyear + (month < 10 ? ".0" : ".") + std::to_string(month) + ".rcs\r\n";
      text += "           " + std::to_string(month) + reals({year.msum[static_cast<std::size_t>(month - 5)]});
    }
    text += " sumtr,suma,sumretout,sumacreageout,sumdiversion: \r\n";
    text += reals({year.sums.begin(), year.sums.end()});
    text += " sumretout,sumacresout: \r\n";
    text += reals({year.out.begin(), year.out.end()});
    return text;
  }

  void write(const Year& year) const {
    const std::string out = "out/";
    const char* months[] = {"05", "06", "07", "08", "09", "10"};
    for (std::size_t m = 0; m < 6; ++m)
      work.write(out + year.cyear + "." + months[m] + ".rcs", year.months[m]);
    work.write(out + year.cyear + ".asw", year.acres);
    work.write(out + "check" + year.cyear + ".out", check_report(year));
    work.write(out + "output" + year.cyear + ".dat", year.problems);
    work.write("tamvek" + year.cyear + ".txt", year.diversions);
    work.write("authacres" + year.cyear + ".txt", year.authorized);
  }

  // A problem-log record as tamvek writes it.
  static std::string problem(int nbad, int row, int col, int condition, const std::string& tacres) {
    static const char* texts[] = {" (i,row,col) condition 1 (column outside model grid):",
                                  " (i,row,col) condition 2 (row outside model grid):",
                                  " (i,row,col) condition 3 (inactive grid cell, ibound=0):"};
    const auto integer = [](int value) {
      const std::string digits = std::to_string(value);
      return std::string(12 - digits.size(), ' ') + digits;
    };
    return integer(nbad) + integer(row) + integer(col) + " " + texts[condition - 1] + "   " + tacres +
           "     acres\r\n";
  }

  // 2010: fields written as ******, a problem log of every condition, figures
  // that all differ (record 16's sumretout unlike record 14's).
  static Year year_2010() {
    Year year;
    year.cyear = "2010";
    year.months = {array({"   1.0", "   2.5", "******", "   0.0", "  -0.5", "   3.0"}),
                   array({"   0.1", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"}),
                   array({"9999.9", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"}),
                   array({"   0.0", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"}),
                   array({"  -0.0", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"}),
                   array({"  12.3", "   0.0", "   0.0", "   0.0", "   0.0", "******"})};
    year.acres = array({"  40.0", "  80.0", "   0.0", "   0.0", " 120.5", "   0.0"});
    year.msum = {"11.0000000", "12.5000000", "13.2500000", "14.0000000", "15.7500000", "16.0000000"};
    year.sums = {"72.5000000", "21.0000000", "33.0000000", "44.0000000", "55.0000000"};
    year.out = {"66.0000000", "77.0000000"};
    year.problems = problem(1, 0, 5, 2, "40.0000000") +
                    problem(2, 1, 0, 1, "12.5000000") +
                    problem(3, 2, 3, 3, "40.0000000") +
                    problem(4, 2, 3, 3, "7.25000000");
    return year;
  }

  ProgramRun report(const std::vector<std::string>& arguments) const {
    return run_program(arguments, work.path(), root.path(), "", {}, TAMVEK_REPORT_PROGRAM);
  }
};

}  // namespace tamvek::testing
