#pragma once

#include <string>
#include <vector>

namespace tamvek::years {

// A Windows command line that the C library of the started program splits
// back into `program` and `arguments` as given: each in quotes, with
// backslashes doubled where a quote follows them.
std::string windows_command_line(const std::string& program,
                                 const std::vector<std::string>& arguments);

}  // namespace tamvek::years
