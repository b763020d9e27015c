// Reads arbitrary bytes as the files of a groundwater model, as users' models
// hold them: a Fortran format with the records it reads, a start date, a
// binary array file, a MODFLOW 6 simulation (name file, TDIS, model name file,
// DIS, an array file) and a MODFLOW-2005 model (name file, DIS, a DATA file),
// cut from the input at each "~~~~". Each reader either refuses with its own
// error or gives what the files state: arrays of the grid's sizes, periods of
// no negative length, reads that stay within their records.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_files.hpp"
#include "modflow/binary_array.hpp"
#include "modflow/calendar.hpp"
#include "modflow/fortran_format.hpp"
#include "modflow/model_facts.hpp"
#include "results/result_error.hpp"

namespace {

using namespace tamvek::modflow;

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return lines;
}

void check_format(std::string_view part, std::size_t count) {
  const std::vector<std::string_view> lines = lines_of(part);
  if (lines.empty()) return;
  std::string fault;
  const auto format = parse_fortran_format(lines[0], fault);
  if (!format) {
    if (fault.empty()) __builtin_trap();
    return;
  }
  std::vector<double> values(count);
  std::size_t next = 1;
  const bool read = read_formatted(*format, lines, next, values, fault);
  if (next > lines.size() || next < 1 || (read && next < 2) || (!read && fault.empty())) __builtin_trap();
}

void check_date(std::string_view part) {
  const auto reading = parse_clock_reading(part);
  if (!reading) return;
  if (!std::isfinite(reading->moment) || std::fabs(reading->moment) > 4e6) __builtin_trap();
  if (!reading->zone.empty() && reading->zone != "Z" && reading->zone[0] != '+' && reading->zone[0] != '-')
    __builtin_trap();
}

void check_binary(std::string_view bytes, std::size_t count) {
  std::string fault;
  std::size_t at = 0;
  BinaryHeader header;
  std::vector<double> values(count);
  if (read_stream_header(bytes, at, header, fault)) {
    if (at != 52) __builtin_trap();
    if (read_stream_values(bytes, at, values, fault) && at != 52 + 8 * count) __builtin_trap();
  }
  at = 0;
  std::string_view record;
  while (read_sequential_record(bytes, at, record, fault)) {
    if (at > bytes.size()) __builtin_trap();
    if (header_of_record(record, header) && record.size() != 44 && record.size() != 52) __builtin_trap();
    values_of_record(record, values, fault);
  }
}

void check_model(const std::string& path) {
  ModelFacts facts;
  try {
    facts = read_model(path, "");
  } catch (const tamvek::results::ResultError&) {
    return;
  }
  if (facts.nrow < 1 || facts.nrow > 400 || facts.ncol < 1 || facts.ncol > 400) __builtin_trap();
  if (facts.delr.size() != static_cast<std::size_t>(facts.ncol)) __builtin_trap();
  if (facts.delc.size() != static_cast<std::size_t>(facts.nrow)) __builtin_trap();
  if (facts.perlen.empty()) __builtin_trap();
  for (const double perlen : facts.perlen)
    if (!(perlen >= 0)) __builtin_trap();
}

// Read as --regrid reads a model: any size, DISV, the codes of the cells.
void check_regridded_model(const std::string& path) {
  ModelFacts facts;
  try {
    facts = read_model(path, "", true);
  } catch (const tamvek::results::ResultError&) {
    return;
  }
  if (facts.perlen.empty() || facts.nlay < 1) __builtin_trap();
  const std::size_t per_layer =
      facts.vertex_grid ? facts.cells.size() : static_cast<std::size_t>(facts.nrow * facts.ncol);
  if (facts.vertex_grid && facts.vertices.size() < 3) __builtin_trap();
  if (!facts.vertex_grid && (facts.delr.size() != static_cast<std::size_t>(facts.ncol) ||
                             facts.delc.size() != static_cast<std::size_t>(facts.nrow)))
    __builtin_trap();
  if (!facts.active_codes.empty() &&
      facts.active_codes.size() % per_layer != 0)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t count = 1 + data[0] % 64;
  std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view parts[12];
  for (std::string_view& part : parts) part = tamvek::fuzzing::next_part(input, "~~~~");

  check_format(parts[0], count);
  check_date(parts[1]);
  check_binary(parts[2], count);

  const tamvek::fuzzing::FuzzDir& dir = tamvek::fuzzing::fuzz_dir();
  dir.write("mf6/mfsim.nam", parts[3]);
  dir.write("mf6/sim.tdis", parts[4]);
  dir.write("mf6/gwf.nam", parts[5]);
  dir.write("mf6/gwf.dis", parts[6]);
  dir.write("mf6/array.bin", parts[7]);
  dir.write("mf2005/model.nam", parts[8]);
  dir.write("mf2005/model.dis", parts[9]);
  dir.write("mf2005/data.dat", parts[10]);
  dir.write("mf2005/data.bin", parts[11]);
  check_model(dir.path() + "/mf6");
  check_model(dir.path() + "/mf2005/model.nam");
  check_regridded_model(dir.path() + "/mf6");
  check_regridded_model(dir.path() + "/mf2005/model.nam");
  return 0;
}
