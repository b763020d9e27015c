#include "state/file_names.hpp"

namespace tamvek {
namespace {

std::string static_name(std::string_view leaf) {
  std::string_view directory = chstatic;
  while (!directory.empty() && directory.back() == ' ') directory.remove_suffix(1);
  return std::string(directory) + std::string(leaf);
}

std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string name;
  for (std::string_view piece : pieces) name += piece;
  return name;
}

}  // namespace

RunFile parameter_file() { return {12, 72, static_name("tamvek.par")}; }
RunFile active_cell_file() { return {11, 92, static_name("02.ibound")}; }
RunFile county_grid_file() { return {11, 99, static_name("cty.flg")}; }
RunFile monthly_factor_file() { return {11, 107, static_name("monthlyfactorsbycounty.txt")}; }
RunFile tract_coordinate_file() { return {21, 163, static_name("40coords.dat")}; }

RunFile authorized_acreage_file(std::string_view cyear) {
  return {20, 130, joined({"authacres", cyear, ".txt"})};
}
RunFile diversion_file(std::string_view cyear) {
  return {21, 181, joined({"tamvek", cyear, ".txt"})};
}
RunFile problem_log_file(std::string_view cyear) {
  return {14, 213, joined({chout, "output", cyear, ".dat"}), Io::Use::write};
}
RunFile check_report_file(std::string_view cyear) {
  return {9, 214, joined({chout, "check", cyear, ".out"}), Io::Use::write};
}
RunFile return_plot_file(std::string_view cyear) {
  return {8, 266, joined({chout, "swretgrid", cyear, ".dat"}), Io::Use::write};
}
RunFile acreage_plot_file(std::string_view cyear) {
  return {8, 281, joined({chout, "swacresgrid", cyear, ".dat"}), Io::Use::write};
}
std::string monthly_array_leaf(std::string_view cyear, int month) {
  return joined({cyear, ".", monthno.at(static_cast<std::size_t>(month - 1)), ".rcs"});
}
RunFile monthly_array_file(std::string_view cyear, int month) {
  return {8, 304, joined({chout, monthly_array_leaf(cyear, month)}), Io::Use::write};
}
RunFile acreage_array_file(std::string_view cyear) {
  return {8, 325, joined({chout, cyear, ".asw"}), Io::Use::write};
}

}  // namespace tamvek
