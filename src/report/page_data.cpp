#include "report/page_data.hpp"

#include <algorithm>
#include <charconv>

#include "results/array_field.hpp"
#include "report/cell_encoding.hpp"
#include "report/json_text.hpp"
#include "results/shortest_decimal.hpp"

#ifndef TAMVEK_VERSION
#error "TAMVEK_VERSION comes from the project's version"
#endif

namespace tamvek::report {

using results::Layer;
using results::no_value;
using results::shortest_decimal;
using results::CheckReport;
using results::ProblemSummary;
using results::condition_reasons;
namespace {

std::string one_decimal(double value) {
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
  return std::string(digits, result.ptr);
}

void add_layers(Json& json, const std::vector<Layer>& layers) {
  json.key("layers");
  json.open('[');
  for (const Layer& layer : layers) {
    json.open('{');
    json.key("id"), json.string(layer.id);
    json.key("title"), json.string(layer.title);
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
  const std::pair<const char*, const std::string*> sums[] = {
      {"sumtr", &check.sumtr},
      {"suma", &check.suma},
      {"sumretout", &check.sumretout},
      {"sumacreageout", &check.sumacreageout},
      {"sumdiversion", &check.sumdiversion},
      {"sumacresout", &check.sumacresout}};
  for (const auto& [name, value] : sums) json.key(name), json.string(*value);
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
    json.key("reason"), json.string(condition_reasons[i]);
    json.key("tracts"), json.integer(problems.conditions[i].tracts);
    json.key("acres"), json.string(one_decimal(problems.conditions[i].acres));
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
    json.key("acres"), json.string(one_decimal(cell.acres));
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

void add_grid(Json& json, const Grid& grid) {
  json.key("grid");
  json.open('{');
  json.key("ny"), json.integer(grid.ny);
  json.key("nx"), json.integer(grid.nx);
  const std::pair<const char*, float> reals[] = {{"gdx", grid.gdx}, {"gdy", grid.gdy},
                                                 {"xg0", grid.xg0}, {"yg0", grid.yg0},
                                                 {"ytop", grid.ytop}};
  for (const auto& [name, value] : reals) json.key(name), json.number(shortest_decimal(value));
  json.close('}');
}

void add_active(Json& json, const std::vector<bool>& active) {
  std::string flags(active.size(), '\0');
  for (std::size_t cell = 0; cell < active.size(); ++cell) flags[cell] = active[cell] ? 1 : 0;
  json.key("active"), json.string(base64(flags));
}

std::string page_data(const ReportData& data) {
  Json json;
  json.open('{');
  json.key("program"), json.string("tamvek-report " TAMVEK_VERSION);
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
