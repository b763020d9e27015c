#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamvek {

// Every way the run ends, from anywhere: the normal end, the end at the operator
// pause and the run-time stops. Thrown once and caught by the entry point, which
// writes `message` to standard error, flushes and closes every stream and exits
// with `status`. Nothing between the throw and the entry point catches it.
struct RunEnd {
  int status;
  std::string message;  // the standard-error lines, each ended by LF; may be empty
};

// The source name that locus lines print, and the run-time error prefix.
inline constexpr std::string_view source_name = "tamvekv3.f90";
inline constexpr std::string_view error_prefix = "Fortran runtime error: ";

// STOP without a code: nothing written, status 0.
[[noreturn]] void stop_normally();

// Input/output failure of a statement on a stream. An empty file name gives the
// locus line of a stream with no file attached yet (a failing OPEN).
[[noreturn]] void stop_io(int statement, int unit, std::string_view file_name,
                          std::string_view message);

// A table index outside its bounds.
[[noreturn]] void stop_range(int statement, std::int64_t index, int dimension,
                             std::string_view table, std::int64_t bound, bool below);

// Range check of one index: passes when lower <= index <= upper.
inline void check_index(int statement, std::int64_t index, std::int64_t lower,
                        std::int64_t upper, std::string_view table, int dimension) {
  if (index < lower) stop_range(statement, index, dimension, table, lower, true);
  if (index > upper) stop_range(statement, index, dimension, table, upper, false);
}

}  // namespace tamvek
