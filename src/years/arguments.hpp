#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tamvek::years {

inline constexpr const char* usage =
    "usage: tamvek-years [-j N] FIRST LAST\n"
    "Runs tamvek for every year from FIRST to LAST (four digits each) in the working\n"
    "directory, N years side by side (default: the number of cores). A year starts\n"
    "only when authacresYEAR.txt and tamvekYEAR.txt are there and not empty; its pause\n"
    "is answered with go only when the year's total authorized acres are positive.\n"
    "Each year's console is kept in consoleYEAR.txt in out. Exit status 0 when every\n"
    "year is done, 2 otherwise.\n";

struct Arguments {
  int first = 0;
  int last = 0;
  std::optional<int> jobs;
  bool help = false;
};

// Throws std::invalid_argument with what is wrong.
Arguments parse_arguments(const std::vector<std::string>& words);

}  // namespace tamvek::years
