#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/f61_write.hpp"
#include "text/list_write.hpp"

namespace {

using namespace tamvek;

std::uint32_t next_random(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

// Plot point records: three reals and three integers, as the point files hold.
void list_write_points(benchmark::State& state) {
  std::uint32_t seed = 7;
  std::vector<Item> items;
  for (int i = 0; i < 1000; ++i) {
    items.emplace_back(static_cast<float>(next_random(seed) % 2000000) * 0.25f);
    items.emplace_back(static_cast<float>(next_random(seed) % 400000) * 0.5f);
    items.emplace_back(static_cast<float>(next_random(seed)) * 1e-4f);
    items.emplace_back(static_cast<std::int32_t>(next_random(seed) % 400 + 1));
    items.emplace_back(static_cast<std::int32_t>(next_random(seed) % 400 + 1));
    items.emplace_back(static_cast<std::int32_t>(next_random(seed) % 160000 + 1));
  }
  std::string out;
  std::int64_t bytes = 0;
  for (auto _ : state) {
    out.clear();
    for (std::size_t i = 0; i < items.size(); i += 6)
      append_list_record(out, std::span<const Item>(items).subspan(i, 6));
    bytes += static_cast<std::int64_t>(out.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(list_write_points);

// Rows of 400 values of an array file, each two records of "f6.1" fields.
void f61_write_rows(benchmark::State& state) {
  std::uint32_t seed = 11;
  std::vector<float> grid(400 * 400);
  for (float& value : grid) value = static_cast<float>(next_random(seed) % 200000) * 0.01f;
  std::string out;
  std::int64_t bytes = 0;
  for (auto _ : state) {
    out.clear();
    for (std::size_t row = 0; row < 400; ++row)
      append_f61_records(out, std::span<const float>(grid).subspan(row * 400, 400));
    bytes += static_cast<std::int64_t>(out.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(f61_write_rows);

}  // namespace
