#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <stdlib.h>

#include "records/i2_read.hpp"
#include "records/io.hpp"
#include "records/list_read.hpp"

namespace {

using namespace tamvek;

// A directory of test files, made once and removed when the program ends.
class BenchFiles {
 public:
  BenchFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tamvek-bench-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
  }
  ~BenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::string& dir() const { return dir_; }
  std::uint64_t write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ + "/" + name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes.size();
  }

 private:
  std::string dir_;
};

const BenchFiles& files() {
  static const BenchFiles made;
  return made;
}

std::uint32_t next_random(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

// 1,000,000 records of five integers and a real, such as "1234 12 33 21 16 37.25".
std::uint64_t diversion_like_file() {
  static const std::uint64_t size = [] {
    std::string bytes;
    bytes.reserve(26'000'000);
    std::uint32_t state = 1;
    char record[96];
    for (int i = 0; i < 1'000'000; ++i) {
      const std::uint32_t a = next_random(state) % 3000 + 1, b = next_random(state) % 40 + 1;
      const std::uint32_t c = next_random(state) % 100, d = next_random(state) % 50;
      const std::uint32_t e = next_random(state) % 16, f = next_random(state) % 100000;
      const int length = std::snprintf(record, sizeof record, "%u %u %u %u %u %u.%02u\n", a, b, c, d, e,
                                       f / 100, f % 100);
      bytes.append(record, static_cast<std::size_t>(length));
    }
    return files().write("records.txt", bytes);
  }();
  return size;
}

// A grid of 400 rows of 400 two-character fields: records of 326 and 74 fields.
std::uint64_t grid_file() {
  static const std::uint64_t size = [] {
    std::string bytes;
    std::uint32_t state = 7;
    char field[4];
    for (int row = 0; row < 400; ++row) {
      for (int k = 0; k < 400; ++k) {
        std::snprintf(field, sizeof field, "%2u", next_random(state) % 100);
        bytes += field;
        if (k == 325 || k == 399) bytes += "\r\n";
      }
    }
    return files().write("grid.txt", bytes);
  }();
  return size;
}

void list_read_records(benchmark::State& state) {
  const std::uint64_t size = diversion_like_file();
  std::int64_t checksum = 0;
  for (auto _ : state) {
    Io io(IoSetup{.root = files().dir(), .workdir = files().dir()});
    io.open(1, 21, "records.txt");
    Stream& stream = io.stream(21);
    std::int32_t group = 0, township = 0, range = 0, section = 0, tract = 0;
    float acres = 0;
    while (read_list_until_end(stream, 2, {group, township, range, section, tract, acres}))
      checksum += group + tract + static_cast<std::int32_t>(acres);
  }
  benchmark::DoNotOptimize(checksum);
  state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
}
BENCHMARK(list_read_records)->Unit(benchmark::kMillisecond);

void i2_read_grid(benchmark::State& state) {
  const std::uint64_t size = grid_file();
  std::vector<std::int32_t> row(400);
  std::int64_t checksum = 0;
  for (auto _ : state) {
    Io io(IoSetup{.root = files().dir(), .workdir = files().dir()});
    io.open(1, 12, "grid.txt");
    Stream& stream = io.stream(12);
    for (int r = 0; r < 400; ++r) {
      read_i2(stream, 3, row);
      checksum += row[0] + row[399];
    }
  }
  benchmark::DoNotOptimize(checksum);
  state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
}
BENCHMARK(i2_read_grid)->Unit(benchmark::kMicrosecond);

}  // namespace
