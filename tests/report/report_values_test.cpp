#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

#include "report/report_data_set.hpp"

namespace tamvek {
namespace {

using testing::ReportDataSet;
constexpr int ny = ReportDataSet::ny;
constexpr int nx = ReportDataSet::nx;
constexpr std::int64_t without_value = 1000000;

// An array's fields in cell order: record ends taken out, six characters each.
std::vector<std::string> fields_of(std::string text) {
  std::erase(text, '\r');
  std::erase(text, '\n');
  std::vector<std::string> fields;
  for (std::size_t at = 0; at + 6 <= text.size(); at += 6) fields.push_back(text.substr(at, 6));
  return fields;
}

bool has_value(const std::string& field) {
  return field != "******" && field != "   Inf" && field != "  -Inf" && field != "   NaN";
}

std::int64_t tenths_of(const std::string& field) {
  return has_value(field) ? std::llround(std::stod(field) * 10) : without_value;
}

std::string trimmed(const std::string& field) { return field.substr(field.find_first_not_of(' ')); }

std::string one_decimal(std::int64_t tenths) {
  const std::int64_t magnitude = tenths < 0 ? -tenths : tenths;
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

// A string value of the page's data after `after`, searched from `from`.
std::string json_string(const std::string& page, const std::string& after, std::size_t from = 0) {
  const std::size_t at = page.find(after, from);
  if (at == std::string::npos) return "(" + after + " not found)";
  const std::size_t start = at + after.size();
  return page.substr(start, page.find('"', start) - start);
}

std::string from_base64(const std::string& text) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  std::uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    bits = bits << 6 | static_cast<std::uint32_t>(alphabet.find(c));
    if ((count += 6) >= 8) bytes += static_cast<char>(bits >> (count -= 8) & 0xff);
  }
  return bytes;
}

std::vector<std::int64_t> from_varints(const std::string& bytes) {
  std::vector<std::int64_t> values;
  std::uint64_t code = 0;
  int shift = 0;
  for (char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    code |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
    shift += 7;
    if (byte & 0x80) continue;
    values.push_back(code % 2 == 0 ? static_cast<std::int64_t>(code / 2)
                                   : -static_cast<std::int64_t>((code + 1) / 2));
    code = 0, shift = 0;
  }
  return values;
}

TEST(ReportValues, GridsAndPageHoldTheArraysFieldsCellByCell) {
  ReportDataSet data;
  ASSERT_TRUE(data.run_tamvek());
  // After the run: a cell that holds values made inactive, and a field without
  // a value at an active cell.
  std::vector<int> active(ny * nx, 1);
  active[1 * nx + 1] = 0;
  active[0] = 0;
  data.root.write("BAVO/QZ/static/02.ibound", ReportDataSet::grid_file(active));
  std::string june = data.work.read("out/2010.06.rcs");
  const std::size_t cell_3_3 = 2 * (nx * 6 + 4) + 2 * 6;  // two rows of two records each
  ASSERT_EQ(june.substr(cell_3_3, 6), "   0.6");
  june.replace(cell_3_3, 6, "   NaN");
  data.work.write("out/2010.06.rcs", june);

  const testing::ProgramRun run = data.run_report();
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = data.work.read("out/report2010.html");

  const std::vector<std::string> ids = {"05", "06", "07", "08", "09", "10"};
  std::vector<std::vector<std::string>> months;
  for (const std::string& id : ids) months.push_back(fields_of(data.work.read("out/2010." + id + ".rcs")));
  const std::vector<std::string> acres = fields_of(data.work.read("out/2010.asw"));
  EXPECT_EQ(months[2][327], "******");
  EXPECT_EQ(acres[327], "******");
  EXPECT_EQ(acres[nx - 1], "  -0.0");

  // Each layer's values in tenths and its grid text, worked out from the fields.
  std::map<std::string, std::vector<std::int64_t>> tenths;
  std::map<std::string, std::vector<std::string>> texts;
  for (std::size_t m = 0; m < ids.size(); ++m)
    for (const std::string& field : months[m]) {
      tenths[ids[m]].push_back(tenths_of(field));
      texts[ids[m]].push_back(has_value(field) ? trimmed(field) : "-9999");
    }
  for (const std::string& field : acres) {
    tenths["acres"].push_back(tenths_of(field));
    texts["acres"].push_back(has_value(field) ? trimmed(field) : "-9999");
  }
  for (std::size_t cell = 0; cell < ny * nx; ++cell) {
    std::int64_t sum = 0;
    for (const std::string& id : ids)
      sum = sum == without_value || tenths[id][cell] == without_value ? without_value
                                                                      : sum + tenths[id][cell];
    tenths["season"].push_back(sum);
    texts["season"].push_back(sum == without_value ? "-9999" : one_decimal(sum));
  }
  EXPECT_EQ(tenths["season"][2 * nx + 2], without_value);  // June's NaN
  EXPECT_EQ(texts["season"][1], "0.0");

  for (const std::string id : {"05", "06", "07", "08", "09", "10", "season", "acres"}) {
    SCOPED_TRACE(id);
    std::istringstream grid(data.work.read("out/2010." + id + ".asc"));
    std::string header;
    for (std::string line; header.size() < 200 && !line.starts_with("NODATA");)
      std::getline(grid, line), header += line + "\n";
    EXPECT_EQ(header, "ncols 330\nnrows 3\nxllcorner 0\nyllcorner 0\ndx 1000\ndy 500\n"
                      "NODATA_value -9999\n");
    std::vector<std::string> values;
    for (std::string value; grid >> value;) values.push_back(value);
    std::vector<std::string> expected = texts[id];
    for (std::size_t cell = 0; cell < expected.size(); ++cell)
      if (!active[cell]) expected[cell] = "-9999";
    EXPECT_EQ(values, expected);

    // The page: inactive cells keep their values, fields without one are a million.
    const std::size_t layer = page.find("{\"id\":\"" + id + "\"");
    ASSERT_NE(layer, std::string::npos);
    EXPECT_EQ(from_varints(from_base64(json_string(page, "\"cells\":\"", layer))), tenths[id]);
    const auto fields_without_value = std::count(tenths[id].begin(), tenths[id].end(), without_value);
    EXPECT_NE(page.find("\"overflow\":" + std::to_string(fields_without_value), layer), std::string::npos);
  }

  std::string flags;
  for (int flag : active) flags += static_cast<char>(flag);
  EXPECT_EQ(from_base64(json_string(page, "\"active\":\"")), flags);
  EXPECT_NE(page.find("\"grid\":{\"ny\":3,\"nx\":330,\"gdx\":1000,\"gdy\":500,\"xg0\":0,\"yg0\":0,"
                      "\"ytop\":1500}"),
            std::string::npos);
  EXPECT_NE(page.find("\"conditions\":["
                      "{\"condition\":1,\"reason\":\"column outside model grid\",\"tracts\":1,\"acres\":\"40.0\"},"
                      "{\"condition\":2,\"reason\":\"row outside model grid\",\"tracts\":1,\"acres\":\"40.0\"},"
                      "{\"condition\":3,\"reason\":\"inactive grid cell\",\"tracts\":1,\"acres\":\"40.0\"}],"
                      "\"inactive_cells\":[{\"row\":2,\"col\":2,\"tracts\":1,\"acres\":\"40.0\"}]"),
            std::string::npos);
  EXPECT_EQ(json_string(page, "\"sumtr\":\""), "250055.000");
}

}  // namespace
}  // namespace tamvek
