#pragma once

#include <string>
#include <vector>

#include "runtime/io.hpp"

namespace tamvek::modflow {

// The whole program after the command line: reads, checks, writes the package,
// prints the summary and the line for the name file. Returns the exit status:
// 0 when the package is written, 2 on any refusal (nothing is then written).
int export_to_end(Io& io, const std::vector<std::string>& arguments);

}  // namespace tamvek::modflow
