#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tamvek {
class Io;
}

namespace tamvek::report {

// Makes the year's report in the working directory of its finished run: the
// page and the GIS grids, all of them or none. Says on standard error what is
// wrong when it cannot, and returns the exit status (0, or 2).
int report_to_end(Io& io, const std::string& cyear);

// Runs `make`, which reads a finished run's files and writes a report's,
// returning their names, as results::made_to_end runs a program's work; lists
// the files written when all went well. Returns the exit status (0, or 2).
int written_to_end(Io& io, const std::function<std::vector<std::string>()>& make);

}  // namespace tamvek::report
