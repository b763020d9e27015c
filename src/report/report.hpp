#pragma once

#include <string>

namespace tamvek {
class Io;
}

namespace tamvek::report {

// Makes the year's report in the working directory of its finished run: the
// page and the GIS grids, all of them or none. Says on standard error what is
// wrong when it cannot, and returns the exit status (0, or 2).
int report_to_end(Io& io, const std::string& cyear);

}  // namespace tamvek::report
