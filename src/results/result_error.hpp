#pragma once

#include <string>

namespace tamvek::results {

// Why a finished year cannot be used: the file at fault, by its name as formed
// (backslashes and all, as the user knows it from tamvek), and what is wrong
// with it. The program that read it ends with status 2 and writes nothing.
struct ResultError {
  std::string file;
  std::string what;
};

}  // namespace tamvek::results
