#include "modflow/vertex_blocks.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace tamvek::modflow {
namespace {

using Line = std::vector<std::string>;

[[noreturn]] void fault(std::size_t line, const std::string& what) {
  throw GridError(what, static_cast<std::ptrdiff_t>(line));
}

const std::string& word_of(const Line& words, std::size_t line, std::size_t index, const char* what) {
  if (index >= words.size()) fault(line, std::string("the line ends before ") + what);
  return words[index];
}

// A Fortran real as the model writes it: 1.5, 2640., .5, +2, 1E3, 1.0D0.
double real_of(const Line& words, std::size_t line, std::size_t index, const char* what) {
  const std::string& word = word_of(words, line, index, what);
  std::string text = word;
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() || !std::isfinite(value)) {
    fault(line, std::string(what) + " is " + word + ", not a number");
  }
  return value;
}

std::int64_t integer_of(const Line& words, std::size_t line, std::size_t index, const char* what) {
  const std::string& word = word_of(words, line, index, what);
  std::string_view digits = word;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    fault(line, std::string(what) + " is " + word + ", not a whole number");
  }
  return value;
}

void require_count(std::size_t lines, std::int64_t count, const char* block, const char* dimension) {
  if (static_cast<std::int64_t>(lines) != count) {
    throw GridError(std::string(block) + " holds " + std::to_string(lines) + " lines and " + dimension + " is " +
                    std::to_string(count));
  }
}

// The place (from 0) a numbered line gives its vertex or cell among `count`:
// each number from 1 to `count` once, in any order, since the number says
// which one the line is.
std::size_t place_of(std::int64_t number, std::int64_t count, std::vector<bool>& seen, std::size_t line,
                     const char* what) {
  if (number < 1 || number > count) {
    fault(line, std::string(what) + " " + std::to_string(number) + " is not one of 1 to " + std::to_string(count));
  }
  const auto place = static_cast<std::size_t>(number - 1);
  if (seen[place]) fault(line, std::string(what) + " " + std::to_string(number) + " is given twice");
  seen[place] = true;
  return place;
}

}  // namespace

std::vector<Point> read_vertices(std::span<const Line> lines, std::int64_t nvert) {
  require_count(lines.size(), nvert, "VERTICES", "NVERT");
  std::vector<Point> vertices(lines.size());
  std::vector<bool> seen(lines.size(), false);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t place = place_of(integer_of(lines[i], i, 0, "the vertex number"), nvert, seen, i, "vertex");
    vertices[place] = {real_of(lines[i], i, 1, "the vertex's x"), real_of(lines[i], i, 2, "the vertex's y")};
  }
  return vertices;
}

std::vector<VertexCell> read_cell2d(std::span<const Line> lines, std::int64_t ncpl, std::int64_t nvert) {
  require_count(lines.size(), ncpl, "CELL2D", "NCPL");
  if (nvert > std::numeric_limits<std::int32_t>::max()) {
    throw GridError("the grid has more vertices than this program can hold");
  }
  std::vector<VertexCell> cells(lines.size());
  std::vector<bool> seen(lines.size(), false);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& words = lines[i];
    VertexCell& cell = cells[place_of(integer_of(words, i, 0, "the cell number"), ncpl, seen, i, "cell")];
    cell.centre = {real_of(words, i, 1, "the cell centre's x"), real_of(words, i, 2, "the cell centre's y")};
    const std::int64_t ncvert = integer_of(words, i, 3, "the cell's number of vertices");
    if (ncvert < 3) fault(i, "the cell has " + std::to_string(ncvert) + " vertices: a cell needs at least three");
    if (static_cast<std::size_t>(ncvert) > words.size() - 4) {
      fault(i, "the cell names " + std::to_string(words.size() - 4) + " of its " + std::to_string(ncvert) +
                   " vertices");
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(ncvert); ++k) {
      const std::int64_t id = integer_of(words, i, 4 + k, "a vertex number");
      if (id < 1 || id > nvert) {
        fault(i, "vertex " + std::to_string(id) + " is not one of the grid's " + std::to_string(nvert));
      }
      cell.vertex_ids.push_back(static_cast<std::int32_t>(id - 1));
    }
  }
  return cells;
}

}  // namespace tamvek::modflow
