#pragma once

#include <string>
#include <string_view>

#include "support/scratch.hpp"

namespace tamvek::testing {

// Fields built from digits worked out by hand.
inline std::string real_field(std::string_view digits) {  // fixed form: 12 characters and 4 blanks
  return std::string(12 - digits.size(), ' ') + std::string(digits) + "    ";
}
inline std::string int_field(int value) {
  const std::string digits = std::to_string(value);
  return std::string(11 - digits.size(), ' ') + digits;
}

inline std::string factor_file() {
  std::string text = "1 0.125 0.125 0.25 0.25 0.125 0.125\n2 0 0 0.5 0.5 0 0\n";
  for (int k = 3; k <= 44; ++k) text += std::to_string(k) + " 1 0 0 0 0 0\n";
  return text;
}

// A grid of 3 x 2 cells of 1000 ft; the middle cell of the bottom row inactive.
// Group 1 (80 acres on two tracts) returns 0.5 * 100, group 2 (40 acres, half
// of them on the inactive cell) 0.25 * 40; group 3 has acres but no
// diversions, group 4 diversions but no acres.
struct SmallDataSet {
  ScratchDir work;
  ScratchDir root;
  SmallDataSet() {
    const std::string statics = "BAVO/QZ/static/";
    root.write(statics + "tamvek.par", "2 3\n1000 1000\n0 0\n2\n0.5\n0.25\n");
    root.write(statics + "02.ibound", " 1 1 1\n 1 0 1\n");
    root.write(statics + "cty.flg", "county flags\n 1 2 0\n 1 145\n");
    root.write(statics + "monthlyfactorsbycounty.txt", factor_file());
    root.write(statics + "40coords.dat",
               "1 1 1 1 500 1500\n1 1 1 2 1500 1500\n1 1 1 3 2500 1500\n"
               "1 1 1 4 1500 500\n1 1 1 5 -100 500\n");
    work.write("authacres2010.txt",
               "1 1 1 1 1 40\n1 1 1 1 2 40\n2 1 1 1 3 20\n2 1 1 1 4 20\n3 1 1 1 5 10\n");
    work.write("tamvek2010.txt", "1 0 100 50 0\n2 0 40 30 1\n4 0 10 5 0\n");
    work.write("out/check2010.out", "an old report\r\nof two records\r\n");
  }
};

}  // namespace tamvek::testing
