#include "results/check_report.hpp"

#include <algorithm>
#include <charconv>
#include <vector>

#include "output/check_report_texts.hpp"
#include "output/irrigation_months.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"
#include "state/file_names.hpp"

namespace tamvek::results {
namespace {

std::vector<std::string_view> words_of(std::string_view record) {
  std::vector<std::string_view> words;
  for (;;) {
    const std::size_t start = record.find_first_not_of(' ');
    if (start == std::string_view::npos) return words;
    record.remove_prefix(start);
    const std::size_t end = std::min(record.find(' '), record.size());
    words.push_back(record.substr(0, end));
    record.remove_prefix(end);
  }
}

bool is_real(std::string_view word) {
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size();
}

std::string trimmed(std::string_view record) {
  const std::size_t start = record.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  return std::string(record.substr(start, record.find_last_not_of(' ') - start + 1));
}

class Reader {
 public:
  Reader(const std::string& name, const std::vector<std::string_view>& records)
      : name_(name), records_(records) {}

  // A label record: the label as written, blanks around it aside.
  void expect_label(std::size_t number, std::string_view label) const {
    const std::string expected = trimmed(label);
    if (trimmed(records_[number - 1]) != expected) fail(number, "\"" + expected + "\" expected");
  }

  // The record's reals, `count` of them, each as written.
  std::vector<std::string> reals(std::size_t number, std::size_t count,
                                 std::size_t first = 0) const {
    const std::vector<std::string_view> words = words_of(records_[number - 1]);
    if (words.size() != first + count)
      fail(number, std::to_string(first + count) + " values expected");
    std::vector<std::string> values;
    for (std::size_t i = first; i < words.size(); ++i) {
      if (!is_real(words[i])) fail(number, '"' + printable(words[i]) + "\" is not a number");
      values.emplace_back(words[i]);
    }
    return values;
  }

  std::string_view word(std::size_t number, std::size_t index) const {
    return words_of(records_[number - 1]).at(index);
  }

  // The values of a sum record: as many as the places of the sums it holds.
  std::vector<std::string> sums(std::size_t number) const {
    std::size_t count = 0;
    for (const CheckSum& sum : check_sums)
      if (sum.record == number) count = std::max(count, sum.place + 1);
    return reals(number, count);
  }

  [[noreturn]] void fail(std::size_t number, const std::string& what) const {
    throw ResultError{name_, "record " + std::to_string(number) + " is not that of a finished run (" +
                                 what + "): \"" + printable(records_[number - 1]) + "\""};
  }

 private:
  const std::string& name_;
  const std::vector<std::string_view>& records_;
};

}  // namespace

std::array<CheckSum, 6> check_sums_as_reported() {
  std::array<CheckSum, 6> sums = check_sums;
  std::sort(sums.begin(), sums.end(), [](const CheckSum& a, const CheckSum& b) {
    return a.record != b.record ? a.record < b.record : a.place < b.place;
  });
  return sums;
}

CheckReport read_check_report(const Io& io, const std::string& cyear) {
  const std::string name = check_report_file(cyear).name;
  const std::string text = read_result_file(io, name, true);
  RecordReader reader(name, text);
  std::vector<std::string_view> records;
  for (std::string_view record; reader.next(record);) records.push_back(record);
  if (records.size() < check_report_records)
    throw ResultError{name, "cut short: it holds " + std::to_string(records.size()) + " of the " +
                                std::to_string(check_report_records) +
                                " records of a finished run (did the run stop early?)"};
  if (records.size() > check_report_records)
    throw ResultError{name, "more than the " + std::to_string(check_report_records) +
                                " records of a finished run"};

  const Reader check(name, records);
  CheckReport report;
  for (int month = first_irrigation_month; month <= last_irrigation_month; ++month) {
    const std::size_t index = irrigation_month_index(month);
    const std::size_t first = 2 * index + 1;
    CheckReport::Month& entry = report.months[index];
    entry.name = monthly_array_leaf(cyear, month);
    if (records[first - 1] != " " + entry.name)
      check.fail(first, "the name " + entry.name + " expected");
    entry.msum = check.reals(first + 1, 1, 1).front();
    if (check.word(first + 1, 0) != std::to_string(month))
      check.fail(first + 1, "month " + std::to_string(month) + " expected");
    entry.month = month;
  }
  check.expect_label(check_report_sums_record - 1, check_report_sums_label);
  const std::vector<std::string> sums = check.sums(check_report_sums_record);
  check.expect_label(check_report_outflow_record - 1, check_report_outflow_label);
  const std::vector<std::string> outflow = check.sums(check_report_outflow_record);
  for (const CheckSum& sum : check_sums)
    report.*sum.value = (sum.record == check_report_sums_record ? sums : outflow).at(sum.place);
  return report;
}

}  // namespace tamvek::results
