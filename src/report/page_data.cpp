#include "report/page_data.hpp"

#include <algorithm>
#include <charconv>

#include "results/array_field.hpp"
#include "report/cell_encoding.hpp"
#include "report/data_parts.hpp"
#include "report/json_text.hpp"

namespace tamvek::report {

using results::Layer;
using results::no_value;
using results::CheckReport;
using results::ProblemSummary;
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
    add_unplaced(json, i, problems.conditions[i].tracts, one_decimal(problems.conditions[i].acres));
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
