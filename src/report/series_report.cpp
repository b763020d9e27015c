#include "report/series_report.hpp"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <memory>

#include "report/ledger.hpp"
#include "report/page_template.hpp"
#include "report/report.hpp"
#include "report/series_data.hpp"
#include "results/output_set.hpp"
#include "results/static_inputs.hpp"
#include "state/file_names.hpp"

namespace tamvek::report {
namespace {

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
  for (int year = range.first; year <= range.last; ++year)
    data.years.push_back(read_series_year(io, data.grid, year_text(year)));
  if (std::none_of(data.years.begin(), data.years.end(),
                   [](const SeriesYear& year) { return year.finished; }))
    throw std::runtime_error("no year from " + data.first + " to " + data.last +
                             " has results in out\\ (is this the working directory of the runs?)");
  return data;
}

std::vector<std::string> write_series(const Io& io, const SeriesData& data) {
  const std::string range = data.first + "-" + data.last;
  const std::vector<std::string> names{std::string(chout) + "ledger" + range + ".csv",
                                       std::string(chout) + "report" + range + ".html"};
  results::OutputSet outputs(io);
  outputs.write(names[0], ledger(data.years));
  outputs.write(names[1], filled_page(series_page_template, series_data(data)));
  outputs.commit();
  return names;
}

}  // namespace

int series_to_end(Io& io, const std::string& first, const std::string& last) {
  return made_to_end(io, [&] {
    const SeriesData data = read_series(io, year_range(first, last));
    const std::vector<std::string> written = write_series(io, data);
    for (const SeriesYear& year : data.years)
      if (!year.finished) std::printf(" ..no results for %s\n", year.cyear.c_str());
    return written;
  });
}

}  // namespace tamvek::report
