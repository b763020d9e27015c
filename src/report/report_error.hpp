#pragma once

#include <string>

namespace tamvek::report {

// Why the report cannot be made: the file at fault, by its name as formed
// (backslashes and all, as the user knows it from tamvek), and what is wrong
// with it. The report ends with status 2 and writes nothing.
struct ReportError {
  std::string file;
  std::string what;
};

}  // namespace tamvek::report
