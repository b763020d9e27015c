#include "report/page_data.hpp"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

#include "output/irrigation_months.hpp"
#include "results/array_field.hpp"
#include "results/number_text.hpp"
#include "report/cell_encoding.hpp"
#include "report/data_parts.hpp"
#include "report/json_text.hpp"
#include "state/file_names.hpp"

namespace tamvek::report {

using results::Layer;
using results::no_value;
using results::CheckReport;
using results::ProblemSummary;
namespace {

// The page's title of a layer, by its id: the irrigation months by their
// number, then the season and the acreage.
std::string_view layer_title(std::string_view id) {
  static constexpr std::array<std::string_view, irrigation_month_count> month_titles = {
      "May recharge",    "June recharge",      "July recharge",
      "August recharge", "September recharge", "October recharge"};
  if (id == results::season_id) return "May to October recharge";
  if (id == results::acreage_id) return "Irrigated acreage";
  for (std::int32_t month = first_irrigation_month; month <= last_irrigation_month; ++month)
    if (id == monthno[static_cast<std::size_t>(month - 1)])
      return month_titles[irrigation_month_index(month)];
  throw std::logic_error("a layer without a title: " + std::string(id));
}

void add_layers(Json& json, const std::vector<Layer>& layers) {
  json.key("layers");
  json.open('[');
  for (const Layer& layer : layers) {
    json.open('{');
    json.key("id"), json.string(layer.id);
    json.key("title"), json.string(layer_title(layer.id));
    json.key("file");
    if (layer.file)
      json.string(*layer.file);
    else
      json.number("null");
    json.key("cells"), json.string(base64(zigzag_varints(layer.tenths)));
    json.key("overflow");
    json.integer(std::count(layer.tenths.begin(), layer.tenths.end(), no_value));
    json.close('}');
  }
  json.close(']');
}

void add_check(Json& json, const CheckReport& check) {
  json.key("check");
  json.open('{');
  json.key("months");
  json.open('[');
  for (const CheckReport::Month& month : check.months) {
    json.open('{');
    json.key("name"), json.string(month.name);
    json.key("month"), json.integer(month.month);
    json.key("msum"), json.string(month.msum);
    json.close('}');
  }
  json.close(']');
  add_sums(json, check);
  json.close('}');
}

void add_problems(Json& json, const ProblemSummary& problems) {
  json.key("problems");
  json.open('{');
  json.key("conditions");
  json.open('[');
  for (std::size_t i = 0; i < problems.conditions.size(); ++i) {
    json.open('{');
    json.key("condition"), json.integer(i + 1);
    add_unplaced(json, i, problems.conditions[i].tracts, results::one_decimal(problems.conditions[i].acres));
    json.close('}');
  }
  json.close(']');
  json.key("inactive_cells");
  json.open('[');
  for (const ProblemSummary::InactiveCell& cell : problems.inactive_cells) {
    json.open('{');
    json.key("row"), json.integer(cell.row);
    json.key("col"), json.integer(cell.col);
    json.key("tracts"), json.integer(cell.tracts);
    json.key("acres"), json.string(results::one_decimal(cell.acres));
    json.close('}');
  }
  json.close(']');
  json.close('}');
}

void add_files(Json& json, const std::vector<SourceFile>& files) {
  json.key("files");
  json.open('[');
  for (const SourceFile& file : files) {
    json.open('{');
    json.key("name"), json.string(file.name);
    json.key("bytes"), json.integer(file.bytes);
    json.key("modified"), json.string(file.modified);
    json.close('}');
  }
  json.close(']');
}

}  // namespace

std::string page_data(const ReportData& data) {
  Json json;
  json.open('{');
  add_program(json);
  json.key("year"), json.string(data.cyear);
  add_grid(json, data.grid);
  add_active(json, data.active);
  add_layers(json, data.layers);
  add_check(json, data.check);
  add_problems(json, data.problems);
  add_files(json, data.files);
  json.close('}');
  return std::move(json.text);
}

}  // namespace tamvek::report
