#include "report/data_parts.hpp"

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "report/cell_encoding.hpp"
#include "results/number_text.hpp"

#ifndef TAMVEK_VERSION
#error "TAMVEK_VERSION comes from the project's version"
#endif

namespace tamvek::report {

void add_program(Json& json) { json.key("program"), json.string("tamvek-report " TAMVEK_VERSION); }

void add_grid(Json& json, const Grid& grid) {
  json.key("grid");
  json.open('{');
  json.key("ny"), json.integer(grid.ny);
  json.key("nx"), json.integer(grid.nx);
  const std::pair<const char*, float> reals[] = {{"gdx", grid.gdx}, {"gdy", grid.gdy},
                                                 {"xg0", grid.xg0}, {"yg0", grid.yg0},
                                                 {"ytop", grid.ytop}};
  for (const auto& [name, value] : reals) json.key(name), json.number(results::shortest_decimal(value));
  json.close('}');
}

void add_active(Json& json, const std::vector<bool>& active) {
  std::string flags(active.size(), '\0');
  for (std::size_t cell = 0; cell < active.size(); ++cell) flags[cell] = active[cell] ? 1 : 0;
  json.key("active"), json.string(base64(flags));
}

void add_sums(Json& json, const results::CheckReport& check) {
  for (const results::CheckSum& sum : results::check_sums_as_reported())
    json.key(sum.name), json.string(check.*sum.value);
}

namespace {

// The reasons as the page names them, for conditions 1, 2 and 3.
constexpr std::array<std::string_view, 3> condition_reasons = {
    "column outside model grid", "row outside model grid", "inactive grid cell"};

}  // namespace

void add_unplaced(Json& json, std::size_t condition, std::int64_t tracts, std::string_view acres) {
  json.key("reason"), json.string(condition_reasons[condition]);
  json.key("tracts"), json.integer(tracts);
  json.key("acres"), json.string(acres);
}

}  // namespace tamvek::report
