#include "report/ledger.hpp"

#include <string_view>

#include "distribute/problem_log_texts.hpp"
#include "output/irrigation_months.hpp"
#include "results/number_text.hpp"
#include "state/file_names.hpp"

namespace tamvek::report {
namespace {

// A field quoted when it holds what would split it, its quotes doubled.
void add_field(std::string& record, const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    record += field;
    return;
  }
  record += '"';
  for (const char c : field) {
    if (c == '"') record += '"';
    record += c;
  }
  record += '"';
}

// The irrigation months by their numbers, "05" to "10".
std::vector<std::string_view> month_numbers() {
  std::vector<std::string_view> numbers;
  for (std::int32_t month = first_irrigation_month; month <= last_irrigation_month; ++month)
    numbers.push_back(monthno[static_cast<std::size_t>(month - 1)]);
  return numbers;
}

std::vector<std::string> header() {
  std::vector<std::string> names{"year", "status", "empty_yearly_input"};
  for (const std::string_view month : month_numbers()) names.push_back("msum" + std::string(month));
  for (const results::CheckSum& sum : results::check_sums) names.emplace_back(sum.name);
  for (const std::string_view month : month_numbers())
    names.push_back("rcs" + std::string(month) + "_fields");
  names.emplace_back("asw_fields");
  names.emplace_back("fields_without_value");
  for (std::size_t condition = 1; condition <= problem_log_conditions.size(); ++condition) {
    names.push_back("condition" + std::to_string(condition) + "_tracts");
    names.push_back("condition" + std::to_string(condition) + "_acres");
  }
  return names;
}

std::vector<std::string> row(const SeriesYear& year) {
  std::vector<std::string> fields{year.cyear, year.finished ? "finished" : "missing",
                                  year.empty_inputs.text()};
  if (!year.finished) return fields;
  for (const results::CheckReport::Month& month : year.check.months) fields.push_back(month.msum);
  const results::CheckReport& check = year.check;
  for (const results::CheckSum& sum : results::check_sums) fields.push_back(check.*sum.value);
  for (const std::int64_t tenths : year.array_tenths) fields.push_back(results::tenths_text(tenths));
  fields.push_back(std::to_string(year.fields_without_value));
  for (std::size_t i = 0; i < problem_log_conditions.size(); ++i) {
    fields.push_back(std::to_string(year.unplaced_tracts[i]));
    fields.push_back(year.unplaced_acres[i]);
  }
  return fields;
}

}  // namespace

std::string ledger(const std::vector<SeriesYear>& years) {
  const std::vector<std::string> names = header();
  std::string text;
  const auto add_record = [&](std::vector<std::string> fields) {
    // A year without results still has every column, empty.
    fields.resize(names.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) text += ',';
      add_field(text, fields[i]);
    }
    text += "\r\n";
  };
  add_record(names);
  for (const SeriesYear& year : years) add_record(row(year));
  return text;
}

}  // namespace tamvek::report
