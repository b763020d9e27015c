#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <stdlib.h>

#include "support/read_i2.hpp"
#include "runtime/io.hpp"
#include "text/list_read.hpp"
#include "text/plain_record.hpp"

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
std::uint64_t acreage_like_file() {
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

// 600,000 records of four integers and two coordinates of nine significant
// digits, such as "12 31 7 16 1031046.58 231036.78".
std::uint64_t coordinate_like_file() {
  static const std::uint64_t size = [] {
    std::string bytes;
    bytes.reserve(20'000'000);
    std::uint32_t state = 3;
    char record[96];
    for (int i = 0; i < 600'000; ++i) {
      const std::uint32_t a = next_random(state) % 20 + 1, b = next_random(state) % 45 + 1;
      const std::uint32_t c = next_random(state) % 36 + 1, d = next_random(state) % 16 + 1;
      const std::uint32_t x = next_random(state) % 1'000'000 + 1'000'000, xf = next_random(state) % 100;
      const std::uint32_t y = next_random(state) % 900'000 + 100'000, yf = next_random(state) % 100;
      const int length = std::snprintf(record, sizeof record, "%u %u %u %u %u.%02u %u.%02u\n", a, b, c, d, x,
                                       xf, y, yf);
      bytes.append(record, static_cast<std::size_t>(length));
    }
    return files().write("coordinates.txt", bytes);
  }();
  return size;
}

// 1,000,000 records of an integer, three reals and an integer, such as
// "1 72101 414.02 109.82 2".
std::uint64_t diversion_like_file() {
  static const std::uint64_t size = [] {
    std::string bytes;
    bytes.reserve(28'000'000);
    std::uint32_t state = 5;
    char record[96];
    for (int i = 0; i < 1'000'000; ++i) {
      const std::uint32_t group = next_random(state) % 3000 + 1, point = next_random(state) % 90000 + 10000;
      const std::uint32_t amount = next_random(state) % 100000, acres = next_random(state) % 20000;
      const std::uint32_t type = next_random(state) % 4;
      const int length = std::snprintf(record, sizeof record, "%u %u %u.%02u %u.%02u %u\n", group, point,
                                       amount / 100, amount % 100, acres / 100, acres % 100, type);
      bytes.append(record, static_cast<std::size_t>(length));
    }
    return files().write("diversions.txt", bytes);
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
  const std::uint64_t size = acreage_like_file();
  std::int64_t checksum = 0;
  for (auto _ : state) {
    Io io(IoSetup{.root = files().dir(), .workdir = files().dir()});
    io.open(1, 21, "records.txt");
    Stream& stream = io.stream(21);
    std::int32_t group = 0, township = 0, range = 0, section = 0, tract = 0;
    float acres = 0;
    while (read_list_until_end(stream, 2, group, township, range, section, tract, acres))
      checksum += group + tract + static_cast<std::int32_t>(acres);
  }
  benchmark::DoNotOptimize(checksum);
  state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
}
BENCHMARK(list_read_records)->Unit(benchmark::kMillisecond);

void list_read_coordinates(benchmark::State& state) {
  const std::uint64_t size = coordinate_like_file();
  std::int64_t checksum = 0;
  for (auto _ : state) {
    Io io(IoSetup{.root = files().dir(), .workdir = files().dir()});
    io.open(1, 22, "coordinates.txt");
    Stream& stream = io.stream(22);
    std::int32_t township = 0, range = 0, section = 0, tract = 0;
    float x = 0, y = 0;
    while (read_list_until_end(stream, 4, township, range, section, tract, x, y))
      checksum += tract + static_cast<std::int32_t>(x) + static_cast<std::int32_t>(y);
  }
  benchmark::DoNotOptimize(checksum);
  state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
}
BENCHMARK(list_read_coordinates)->Unit(benchmark::kMillisecond);

void list_read_diversions(benchmark::State& state) {
  const std::uint64_t size = diversion_like_file();
  std::int64_t checksum = 0;
  for (auto _ : state) {
    Io io(IoSetup{.root = files().dir(), .workdir = files().dir()});
    io.open(1, 23, "diversions.txt");
    Stream& stream = io.stream(23);
    std::int32_t group = 0, type = 0;
    float point = 0, amount = 0, acres = 0;
    while (read_list_until_end(stream, 5, group, point, amount, acres, type))
      checksum += group + type + static_cast<std::int32_t>(point + amount + acres);
  }
  benchmark::DoNotOptimize(checksum);
  state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
}
BENCHMARK(list_read_diversions)->Unit(benchmark::kMillisecond);

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
