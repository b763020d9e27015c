// Reads arbitrary bytes as list-directed records into integers and reals in a
// pattern taken from the first byte, until the end of the file.
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "fuzz_files.hpp"
#include "records/list_read.hpp"
#include "records/run_stop.hpp"
#include "records/stream.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned pattern = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  tamvek::fuzzing::fuzz_dir().write("records.txt", text);

  tamvek::Io io(tamvek::fuzzing::fuzz_dir().setup());
  io.open(1, 20, "records.txt");
  tamvek::Stream& stream = io.stream(20);
  std::int32_t integers[8] = {};
  float reals[8] = {};
  std::vector<tamvek::Variable> variables;
  const std::size_t count = pattern % 8;  // 0 skips one record a read
  for (std::size_t i = 0; i < count; ++i) {
    if ((pattern >> (i % 5 + 3)) & 1) {
      variables.emplace_back(reals[i]);
    } else {
      variables.emplace_back(integers[i]);
    }
  }
  // A read with a read status reports every failure and never stops the run.
  try {
    for (int reads = 0; reads < 10000; ++reads) {
      const tamvek::ListReadResult result = tamvek::read_list_status(stream, 2, variables);
      if (result.status == -1) break;
      if (result.status != 0 && result.status != 5010) __builtin_trap();
      if ((result.status == 0) != result.message.empty()) __builtin_trap();
      if (result.filled > variables.size()) __builtin_trap();
    }
  } catch (const tamvek::RunEnd& end) {
    std::fputs(end.message.c_str(), stderr);
    __builtin_trap();
  }
  io.close_all();
  return 0;
}
