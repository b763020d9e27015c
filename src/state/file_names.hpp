#pragma once

#include <array>
#include <string>
#include <string_view>

#include "runtime/io.hpp"
#include "state/year.hpp"

namespace tamvek {

// The static-data directory, 40 characters with its trailing blanks, and the
// prefix of every output file name.
inline constexpr std::string_view chstatic = "\\BAVO\\QZ\\static\\                        ";
inline constexpr std::string_view chout = "out\\";
inline constexpr std::array<std::string_view, 12> monthno = {
    "01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"};

// A file of the run: the stream that carries it, the statement that opens it,
// its name as formed and whether the run reads or writes it.
struct RunFile {
  int unit;
  int open_statement;
  std::string name;
  Io::Use use = Io::Use::read;
};

// OPEN of a file of the run on its stream.
inline void open_run_file(Io& io, const RunFile& file) {
  io.open(file.open_statement, file.unit, file.name, file.use);
}

// Every file the run opens, formed from the year (and the month, 1..12).
RunFile parameter_file();
RunFile active_cell_file();
RunFile county_grid_file();
RunFile monthly_factor_file();
RunFile tract_coordinate_file();
RunFile authorized_acreage_file(std::string_view cyear);
RunFile diversion_file(std::string_view cyear);
RunFile problem_log_file(std::string_view cyear);
RunFile check_report_file(std::string_view cyear);
RunFile return_plot_file(std::string_view cyear);
RunFile acreage_plot_file(std::string_view cyear);
// The 11-character leaf of a monthly recharge array, as the check report shows it.
std::string monthly_array_leaf(std::string_view cyear, int month);
RunFile monthly_array_file(std::string_view cyear, int month);
RunFile acreage_array_file(std::string_view cyear);

}  // namespace tamvek
