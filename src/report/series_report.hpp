#pragma once

#include <string>

namespace tamvek {
class Io;
}

namespace tamvek::report {

// Makes the ledger and the page of the years FIRST to LAST in the working
// directory of their runs, both or neither. Years without results are listed
// as missing; a damaged year stops it as the one-year form stops. Returns the
// exit status (0, or 2).
int series_to_end(Io& io, const std::string& first, const std::string& last);

}  // namespace tamvek::report
