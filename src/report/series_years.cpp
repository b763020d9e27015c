#include "report/series_years.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "output/irrigation_months.hpp"
#include "report/page_template.hpp"
#include "results/array_field.hpp"
#include "results/array_file.hpp"
#include "results/layer.hpp"
#include "results/number_text.hpp"
#include "results/problem_log.hpp"
#include "results/result_file.hpp"
#include "state/file_names.hpp"

namespace tamvek::report {

using results::Layer;
namespace {

bool exists(const Io& io, const std::string& name) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::status(io.path_of(name), error));
}

// A yearly input that is missing or holds nothing but blanks and record ends
// gives a run without a single record of it.
bool empty_input(const Io& io, const std::string& name) {
  std::FILE* file = std::fopen(io.path_of(name).c_str(), "rb");
  if (file == nullptr) return true;
  bool empty = true;
  for (int c; empty && (c = std::fgetc(file)) != EOF;)
    empty = c == ' ' || c == '\t' || c == '\r' || c == '\n';
  std::fclose(file);
  return empty;
}

}  // namespace

std::string EmptyInputs::text() const {
  if (diversions && acreage) return "diversions and acreage";
  if (diversions) return "diversions";
  if (acreage) return "acreage";
  return "";
}

YearRange year_range(const std::string& first, const std::string& last) {
  YearRange range;
  switch (parse_year_range(first, last, range)) {
    case YearRangeFault::none: return range;
    case YearRangeFault::first_not_a_year:
      throw std::invalid_argument(results::in_quotes(first) + " is not a year of four digits");
    case YearRangeFault::last_not_a_year:
      throw std::invalid_argument(results::in_quotes(last) + " is not a year of four digits");
    case YearRangeFault::last_before_first: break;
  }
  throw std::invalid_argument("the first year " + first + " comes after the last " + last);
}

SeriesYear read_series_year(const Io& io, const Grid& grid, const std::string& cyear,
                            YearBuffers& buffers) {
  SeriesYear year;
  year.cyear = cyear;
  year.has_page = exists(io, std::string(chout) + page_leaf(cyear));

  std::vector<std::string> results{check_report_file(cyear).name, problem_log_file(cyear).name,
                                   acreage_array_file(cyear).name};
  for (int month = first_irrigation_month; month <= last_irrigation_month; ++month)
    results.push_back(monthly_array_file(cyear, month).name);
  if (std::none_of(results.begin(), results.end(),
                   [&](const std::string& name) { return exists(io, name); }))
    return year;
  year.finished = true;
  year.empty_inputs = {empty_input(io, diversion_file(cyear).name),
                       empty_input(io, authorized_acreage_file(cyear).name)};

  // In the order the one-year form reads them, so that a damaged year is
  // reported with the same message.
  year.check = results::read_check_report(io, cyear);
  std::vector<Layer>& months = buffers.months;
  for (int month = first_irrigation_month; month <= last_irrigation_month; ++month) {
    Layer& layer = months[irrigation_month_index(month)];
    layer.file = monthly_array_file(cyear, month).name;
    results::read_array(io, grid, layer, buffers.text);
  }
  Layer& acres = buffers.acres;
  acres.file = acreage_array_file(cyear).name;
  results::read_array(io, grid, acres, buffers.text);
  for (std::size_t i = 0; i < year.array_tenths.size(); ++i) {
    const Layer& layer = i < months.size() ? months[i] : acres;
    for (const std::int32_t tenths : layer.tenths) {
      if (tenths == results::no_value)
        ++year.fields_without_value;
      else
        year.array_tenths[i] += tenths;
    }
  }
  year.season = std::move(results::season_of(months).tenths);

  const results::ProblemLog log =
      results::read_problem_log_with_decimals(io, cyear, grid, buffers.text);
  for (std::size_t i = 0; i < log.summary.conditions.size(); ++i) {
    year.unplaced_tracts[i] = log.summary.conditions[i].tracts;
    year.unplaced_acres[i] =
        results::decimal_text(log.summary.conditions[i].acres, log.acres_decimals);
  }
  return year;
}

}  // namespace tamvek::report
