#include "report/series_report.hpp"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "report/ledger.hpp"
#include "report/page_template.hpp"
#include "report/report.hpp"
#include "report/series_data.hpp"
#include "results/output_set.hpp"
#include "results/static_inputs.hpp"
#include "state/file_names.hpp"

namespace tamvek::report {
namespace {

// Reads the years of the range side by side on the machine's cores; the first
// damaged year in the range's order is the one reported, as if they had been
// read one after the other.
std::vector<SeriesYear> read_years(const Io& io, const Grid& grid, const YearRange& range) {
  const int count = range.last - range.first + 1;
  std::vector<SeriesYear> years(static_cast<std::size_t>(count));
  std::vector<std::exception_ptr> failures(static_cast<std::size_t>(count));
  std::atomic<int> next{0};
  std::atomic<int> first_failure{count};
  const auto read = [&] {
    YearBuffers buffers;
    for (int i; (i = next++) < count && i < first_failure;) {
      try {
        years[static_cast<std::size_t>(i)] =
            read_series_year(io, grid, year_text(range.first + i), buffers);
      } catch (...) {
        failures[static_cast<std::size_t>(i)] = std::current_exception();
        for (int seen = first_failure; i < seen && !first_failure.compare_exchange_weak(seen, i);) {
        }
      }
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const auto helpers = std::min<unsigned>({cores, 4u, static_cast<unsigned>(count)}) - 1;
  std::vector<std::thread> threads;
  for (unsigned i = 0; i < helpers; ++i) {
    // A system that refuses another thread leaves the years to those there are.
    try {
      threads.emplace_back(read);
    } catch (const std::system_error&) {
      break;
    }
  }
  read();
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  return years;
}

// The static files once, for every year: the years of one working directory
// share them.
SeriesData read_series(Io& io, const YearRange& range) {
  SeriesData data;
  data.first = year_text(range.first);
  data.last = year_text(range.last);
  {
    const auto run = std::make_unique<Run>(io);
    data.active = results::read_static_inputs(*run);
    data.grid = run->grid;
  }
  data.years = read_years(io, data.grid, range);
  if (std::none_of(data.years.begin(), data.years.end(),
                   [](const SeriesYear& year) { return year.finished; }))
    throw std::runtime_error("no year from " + data.first + " to " + data.last +
                             " has results in out\\ (is this the working directory of the runs?)");
  return data;
}

std::vector<std::string> write_series(const Io& io, const SeriesData& data) {
  const std::string range = data.first + "-" + data.last;
  const std::vector<std::string> names{std::string(chout) + "ledger" + range + ".csv",
                                       std::string(chout) + page_leaf(range)};
  results::OutputSet outputs(io);
  outputs.write(names[0], ledger(data.years));
  outputs.write(names[1], filled_page(series_page_template, series_data(data)));
  outputs.commit();
  return names;
}

}  // namespace

int series_to_end(Io& io, const std::string& first, const std::string& last) {
  std::vector<std::string> missing;
  const int status = written_to_end(io, [&] {
    const SeriesData data = read_series(io, year_range(first, last));
    for (const SeriesYear& year : data.years)
      if (!year.finished) missing.push_back(year.cyear);
    return write_series(io, data);
  });
  // After the console records of the readers, which the streams write out as they close.
  if (status == 0)
    for (const std::string& year : missing) std::printf(" ..no results for %s\n", year.c_str());
  return status;
}

}  // namespace tamvek::report
