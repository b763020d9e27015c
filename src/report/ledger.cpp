#include "report/ledger.hpp"

#include <cstdlib>

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

std::string one_decimal(std::int64_t tenths) {
  const std::int64_t magnitude = std::llabs(tenths);
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

std::vector<std::string> header() {
  std::vector<std::string> names{"year", "status", "empty_yearly_input"};
  for (const char* month : {"05", "06", "07", "08", "09", "10"})
    names.push_back("msum" + std::string(month));
  for (const char* sum :
       {"sumtr", "suma", "sumretout", "sumacreageout", "sumacresout", "sumdiversion"})
    names.emplace_back(sum);
  for (const char* month : {"05", "06", "07", "08", "09", "10"})
    names.push_back("rcs" + std::string(month) + "_fields");
  names.emplace_back("asw_fields");
  names.emplace_back("fields_without_value");
  for (const char* condition : {"1", "2", "3"}) {
    names.push_back("condition" + std::string(condition) + "_tracts");
    names.push_back("condition" + std::string(condition) + "_acres");
  }
  return names;
}

std::vector<std::string> row(const SeriesYear& year) {
  std::vector<std::string> fields{year.cyear, year.finished ? "finished" : "missing",
                                  year.empty_inputs.text()};
  if (!year.finished) return fields;
  for (const results::CheckReport::Month& month : year.check.months) fields.push_back(month.msum);
  const results::CheckReport& check = year.check;
  for (const std::string* sum : {&check.sumtr, &check.suma, &check.sumretout,
                                 &check.sumacreageout, &check.sumacresout, &check.sumdiversion})
    fields.push_back(*sum);
  for (const std::int64_t tenths : year.array_tenths) fields.push_back(one_decimal(tenths));
  fields.push_back(std::to_string(year.fields_without_value));
  for (std::size_t i = 0; i < 3; ++i) {
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
