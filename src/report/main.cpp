// tamvek-report YEAR: the page and the GIS grids of a finished year, made in
// the working directory of its run. tamvek-report FIRST LAST: the ledger and
// the page of the years FIRST to LAST side by side.

#include <cstdio>

#include "runtime/io.hpp"
#include "runtime/platform.hpp"
#include "report/report.hpp"
#include "report/series_report.hpp"
#include "state/file_names.hpp"

int main(int argc, char** argv) {
  // Messages in the same bytes on every platform, as tamvek writes its own.
  tamvek::platform::set_up_standard_streams();
  if (argc != 2 && argc != 3) {
    std::fputs("usage: tamvek-report YEAR   (in the working directory of a finished tamvek run)\n"
               "       tamvek-report FIRST LAST   (the finished years FIRST to LAST side by side)\n",
               stderr);
    return 2;
  }
  tamvek::Io io(tamvek::io_setup_from_environment());
  if (argc == 3) return tamvek::report::series_to_end(io, argv[1], argv[2]);
  return tamvek::report::report_to_end(io, tamvek::year_of_argument(argv[1]));
}
