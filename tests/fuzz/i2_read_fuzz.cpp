// Reads arbitrary bytes as rows of two-character integer fields, as many a row
// as the first byte says, until a stop or the end of the file.
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_files.hpp"
#include "support/read_i2.hpp"
#include "runtime/run_stop.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t row_length = data[0] * 3u;  // up to 765: rows of one to three records
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  tamvek::fuzzing::fuzz_dir().write("grid.txt", text);

  tamvek::Io io(tamvek::fuzzing::fuzz_dir().setup());
  io.open(1, 11, "grid.txt");
  std::vector<std::int32_t> row(row_length);
  try {
    for (int rows = 0; rows < 1000; ++rows) {
      tamvek::read_i2(io.stream(11), 94, row);
      for (const std::int32_t value : row)
        if (value < -9 || value > 99) __builtin_trap();
    }
  } catch (const tamvek::RunEnd& end) {
    if (end.status != 2 || end.message.empty()) __builtin_trap();
  }
  io.close_all();
  return 0;
}
