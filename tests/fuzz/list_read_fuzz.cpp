// Reads arbitrary bytes as list-directed records into integers and reals in a
// pattern taken from the first byte, until the end of the file; then reads
// them again with a loop's typed read and with the same read given a list,
// which must agree value for value and end alike.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <tuple>
#include <vector>

#include "fuzz_files.hpp"
#include "text/list_read.hpp"
#include "text/plain_record.hpp"
#include "runtime/run_stop.hpp"
#include "runtime/stream.hpp"

namespace {

// The outcome of one loop read: more records to come, or the run's stop.
struct LoopRead {
  bool more = false;
  int status = 0;
  std::string message;
};

template <class Read>
LoopRead loop_read(Read&& read) {
  LoopRead outcome;
  try {
    outcome.more = read();
  } catch (const tamvek::RunEnd& end) {
    outcome.status = end.status;
    outcome.message = end.message;
  }
  return outcome;
}

template <class... Types>
void typed_and_listed_alike(tamvek::Io& io) {
  io.open(1, 21, "records.txt");
  io.open(1, 22, "records.txt");
  std::tuple<Types...> typed{};
  std::tuple<Types...> listed{};
  for (int reads = 0; reads < 10000; ++reads) {
    const LoopRead a = loop_read([&] {
      return std::apply([&](Types&... v) { return read_list_until_end(io.stream(21), 3, v...); }, typed);
    });
    const LoopRead b = loop_read([&] {
      return std::apply(
          [&](Types&... v) { return read_list_until_end(io.stream(22), 3, {tamvek::Variable(v)...}); },
          listed);
    });
    if (a.more != b.more || a.status != b.status) __builtin_trap();
    if (a.message.size() != b.message.size()) __builtin_trap();
    const bool same = std::apply(
        [&](const Types&... t) {
          return std::apply(
              [&](const Types&... l) {
                return ((std::bit_cast<std::uint32_t>(t) == std::bit_cast<std::uint32_t>(l)) && ...);
              },
              listed);
        },
        typed);
    if (!same) __builtin_trap();
    if (!a.more) break;
  }
  io.close(4, 21);
  io.close(4, 22);
}

}  // namespace

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
  switch (pattern % 3) {
    case 0:
      typed_and_listed_alike<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, float>(io);
      break;
    case 1:
      typed_and_listed_alike<std::int32_t, std::int32_t, std::int32_t, std::int32_t, float, float>(io);
      break;
    default:
      typed_and_listed_alike<std::int32_t, float, float, float, std::int32_t>(io);
      break;
  }
  io.close_all();
  return 0;
}
