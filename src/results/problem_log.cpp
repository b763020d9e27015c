#include "results/problem_log.hpp"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "distribute/problem_log_texts.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"
#include "state/file_names.hpp"

namespace tamvek::results {
namespace {

// One record: nbad, row, col, the condition text, tacres, "acres".
struct Record {
  std::int64_t nbad = 0;
  std::int32_t row = 0;
  std::int32_t col = 0;
  std::size_t condition = 0;  // 1, 2 or 3
  double tacres = 0;
  int decimals = 0;  // of tacres as written; -1 with an exponent
};

int decimals_of(std::string_view number) {
  if (number.find_first_of("eEdD") != std::string_view::npos) return -1;
  const std::size_t point = number.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(number.size() - point - 1);
}

void skip_blanks(std::string_view& text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
}

template <class Number>
bool take_number(std::string_view& text, Number& value) {
  skip_blanks(text);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || (end != text.data() + text.size() && *end != ' ')) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

bool parse(std::string_view text, Record& record) {
  if (!take_number(text, record.nbad) || !take_number(text, record.row) ||
      !take_number(text, record.col) || text.empty() || text.front() != ' ')
    return false;
  text.remove_prefix(1);
  record.condition = 0;
  for (std::size_t i = 0; i < problem_log_conditions.size(); ++i)
    if (text.starts_with(problem_log_conditions[i])) record.condition = i + 1;
  if (record.condition == 0) return false;
  text.remove_prefix(problem_log_conditions[record.condition - 1].size());
  skip_blanks(text);
  const std::string_view tacres = text.substr(0, std::min(text.find(' '), text.size()));
  if (!take_number(text, record.tacres)) return false;
  record.decimals = decimals_of(tacres);
  skip_blanks(text);
  return text == problem_log_acres_unit;
}

}  // namespace

ProblemSummary read_problem_log(const Io& io, const std::string& cyear, const Grid& grid) {
  return read_problem_log_with_decimals(io, cyear, grid).summary;
}

ProblemLog read_problem_log_with_decimals(const Io& io, const std::string& cyear,
                                          const Grid& grid) {
  std::string text;
  return read_problem_log_with_decimals(io, cyear, grid, text);
}

ProblemLog read_problem_log_with_decimals(const Io& io, const std::string& cyear, const Grid& grid,
                                          std::string& text) {
  ProblemLog log;
  ProblemSummary& summary = log.summary;
  const std::string name = problem_log_file(cyear).name;
  read_result_file(io, name, text, true);
  RecordReader records(name, text);
  // Tracts and acres of each cell, for the inactive cells among them.
  std::vector<ProblemSummary::InactiveCell> by_cell(static_cast<std::size_t>(grid.ny) *
                                                    static_cast<std::size_t>(grid.nx));
  std::string_view line;
  Record record;
  while (records.next(line)) {
    const auto number = static_cast<std::int64_t>(records.number());
    const auto at = [&] { return "record " + std::to_string(number); };
    if (!parse(line, record))
      throw ResultError{name, at() + " is not a problem-log record: \"" + printable(line) + "\""};
    if (record.nbad != number)
      throw ResultError{name, at() + " is numbered " + std::to_string(record.nbad)};
    if (log.acres_decimals >= 0)
      log.acres_decimals = record.decimals < 0 ? -1 : std::max(log.acres_decimals, record.decimals);
    ProblemSummary::Condition& condition = summary.conditions[record.condition - 1];
    ++condition.tracts;
    condition.acres += record.tacres;
    if (record.condition != 3) continue;
    if (record.row < 1 || record.row > grid.ny || record.col < 1 || record.col > grid.nx)
      throw ResultError{name, at() + ": an inactive cell at row " + std::to_string(record.row) +
                                  ", column " + std::to_string(record.col) +
                                  " lies outside the grid of " + std::to_string(grid.ny) +
                                  " rows and " + std::to_string(grid.nx) + " columns"};
    ProblemSummary::InactiveCell& cell =
        by_cell[static_cast<std::size_t>(record.row - 1) * static_cast<std::size_t>(grid.nx) +
                static_cast<std::size_t>(record.col - 1)];
    cell.row = record.row, cell.col = record.col;
    ++cell.tracts;
    cell.acres += record.tacres;
  }
  for (const ProblemSummary::InactiveCell& cell : by_cell)
    if (cell.tracts > 0) summary.inactive_cells.push_back(cell);
  return log;
}


}  // namespace tamvek::results
