#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tamvek::modflow {

// The header before the values of a binary array: time step, period, times,
// a 16-character name, and the array's shape (a one-dimensional array has
// NROW 1).
struct BinaryHeader {
  std::int32_t kstp = 0;
  std::int32_t kper = 0;
  double pertim = 0;
  double totim = 0;
  std::string text;
  std::int32_t ncol = 0;
  std::int32_t nrow = 0;
  std::int32_t ilay = 0;
};

// MODFLOW 6's binary arrays are a stream of bytes without record marks: the
// header with 8-byte times, then the values as 8-byte reals, little-endian.
// Each reads at `at` and moves it on; false with the reason in `fault`.
bool read_stream_header(std::string_view bytes, std::size_t& at, BinaryHeader& header, std::string& fault);
bool read_stream_values(std::string_view bytes, std::size_t& at, std::span<double> values, std::string& fault);

// MODFLOW-2005's are sequential records, each with its length in 4 bytes
// before and after it. One record at `at`.
bool read_sequential_record(std::string_view bytes, std::size_t& at, std::string_view& record,
                            std::string& fault);
// A header record: 4-byte times (44 bytes) or 8-byte times (52 bytes).
bool header_of_record(std::string_view record, BinaryHeader& header);
// A record of values as 4-byte or 8-byte reals, whichever its length gives
// for `values.size()` of them.
bool values_of_record(std::string_view record, std::span<double> values, std::string& fault);

}  // namespace tamvek::modflow
