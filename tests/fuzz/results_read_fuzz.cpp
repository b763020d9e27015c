// Reads arbitrary bytes as the files of a finished year that users edit and
// copy by hand: an array, the check report and the problem log, cut from the
// fuzz input at each "~~~~" after two bytes that give the grid (1 to 4 rows, 1
// to 400 columns, so that rows of more than 326 fields come up). Each reader
// either refuses the file with its own error or gives values that agree with
// the text they came from.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_files.hpp"
#include "results/array_field.hpp"
#include "results/array_file.hpp"
#include "results/check_report.hpp"
#include "results/layer.hpp"
#include "results/number_text.hpp"
#include "results/problem_log.hpp"
#include "results/result_error.hpp"

namespace {

bool is_number(const std::string& text) {
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size();
}

void check_array(const tamvek::Io& io, const tamvek::Grid& grid) {
  tamvek::results::Layer layer;
  layer.file = "out\\2010.05.rcs";
  try {
    tamvek::results::read_array(io, grid, layer);
  } catch (const tamvek::results::ResultError&) {
    return;
  }
  const auto cells = static_cast<std::size_t>(grid.ny) * static_cast<std::size_t>(grid.nx);
  if (layer.tenths.size() != cells || layer.fields.size() != 6 * cells) __builtin_trap();
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const auto tenths = tamvek::results::field_tenths(std::string_view(layer.fields).substr(6 * cell, 6));
    if (!tenths || *tenths != layer.tenths[cell]) __builtin_trap();
    if (*tenths != tamvek::results::no_value && (*tenths >= 100000 || *tenths <= -10000)) __builtin_trap();
  }
}

void check_report(const tamvek::Io& io) {
  tamvek::results::CheckReport report;
  try {
    report = tamvek::results::read_check_report(io, "2010");
  } catch (const tamvek::results::ResultError&) {
    return;
  }
  for (const auto& month : report.months)
    if (!is_number(month.msum)) __builtin_trap();
  for (const tamvek::results::CheckSum& sum : tamvek::results::check_sums)
    if (!is_number(report.*sum.value)) __builtin_trap();
}

void check_problem_log(const tamvek::Io& io, const tamvek::Grid& grid, std::string_view text) {
  tamvek::results::ProblemLog log;
  try {
    log = tamvek::results::read_problem_log_with_decimals(io, "2010", grid);
  } catch (const tamvek::results::ResultError&) {
    return;
  }
  std::int64_t records = 0;
  for (const char c : text) records += c == '\n';
  std::int64_t tracts = 0, on_cells = 0;
  for (const auto& condition : log.summary.conditions) tracts += condition.tracts;
  for (const auto& cell : log.summary.inactive_cells) {
    if (cell.row < 1 || cell.row > grid.ny || cell.col < 1 || cell.col > grid.nx) __builtin_trap();
    on_cells += cell.tracts;
  }
  if (tracts != records || on_cells != log.summary.conditions[2].tracts) __builtin_trap();
  for (const auto& condition : log.summary.conditions)
    if (tamvek::results::decimal_text(condition.acres, log.acres_decimals).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  tamvek::Grid grid;
  grid.ny = 1 + data[0] % 4;
  grid.nx = 1 + (data[1] | (data[0] & 0x80 ? 256 : 0)) % 400;
  std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::string_view array = tamvek::fuzzing::next_part(input, "~~~~");
  const std::string_view check = tamvek::fuzzing::next_part(input, "~~~~");
  const std::string_view problems = tamvek::fuzzing::next_part(input, "~~~~");
  const tamvek::fuzzing::FuzzDir& dir = tamvek::fuzzing::fuzz_dir();
  dir.write("out/2010.05.rcs", array);
  dir.write("out/check2010.out", check);
  dir.write("out/output2010.dat", problems);

  tamvek::Io io(dir.setup());
  check_array(io, grid);
  check_report(io);
  check_problem_log(io, grid, problems);
  io.close_all();
  return 0;
}
