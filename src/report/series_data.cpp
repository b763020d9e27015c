#include "report/series_data.hpp"

#include "report/cell_encoding.hpp"
#include "report/data_parts.hpp"
#include "report/json_text.hpp"
#include "report/page_template.hpp"

namespace tamvek::report {
namespace {

void add_check(Json& json, const results::CheckReport& check) {
  json.key("msum");
  json.open('[');
  for (const results::CheckReport::Month& month : check.months) json.string(month.msum);
  json.close(']');
  add_sums(json, check);
}

void add_year(Json& json, const SeriesYear& year) {
  json.open('{');
  json.key("year"), json.string(year.cyear);
  json.key("finished"), json.number(year.finished ? "true" : "false");
  json.key("empty_input"), json.string(year.empty_inputs.text());
  json.key("page");
  if (year.has_page)
    json.string(page_leaf(year.cyear));
  else
    json.number("null");
  if (year.finished) {
    add_check(json, year.check);
    json.key("without_value"), json.integer(year.fields_without_value);
    json.key("unplaced");
    json.open('[');
    for (std::size_t i = 0; i < 3; ++i) {
      json.open('{');
      add_unplaced(json, i, year.unplaced_tracts[i], year.unplaced_acres[i]);
      json.close('}');
    }
    json.close(']');
    json.key("season"), json.string(base64(zero_run_varints(year.season)));
  }
  json.close('}');
}

}  // namespace

std::string series_data(const SeriesData& data) {
  Json json;
  json.open('{');
  add_program(json);
  json.key("first"), json.string(data.first);
  json.key("last"), json.string(data.last);
  add_grid(json, data.grid);
  add_active(json, data.active);
  json.key("years");
  json.open('[');
  for (const SeriesYear& year : data.years) add_year(json, year);
  json.close(']');
  json.close('}');
  return std::move(json.text);
}

}  // namespace tamvek::report
