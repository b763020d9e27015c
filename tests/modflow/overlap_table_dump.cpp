// Writes the overlap table of tamvek's grid and a model's grid for the check
// against shapely (regrid_shapely_test.py). Reads from standard input:
//   tamvek NX NY XG0 YG0 GDX GDY MODEL_UNITS_PER_FOOT
//   dis XORIGIN YORIGIN ANGROT NCOL NROW      then a line of DELR, a line of DELC
//   disv XORIGIN YORIGIN ANGROT NVERT NCPL    then the VERTICES and CELL2D lines
// and writes, numbers from 0, shares and areas to 17 digits:
//   area MODEL_CELL AREA         each model cell's area
//   share TAMVEK_CELL MODEL_CELL SHARE
//   outside TAMVEK_CELL SHARE    where not 0
// A grid refused is written to standard error, status 1.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "modflow/overlap_table.hpp"
#include "modflow/vertex_blocks.hpp"

using namespace tamvek::modflow;

namespace {

std::vector<std::string> words_of(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::vector<double> reals_of(const std::string& line) {
  std::vector<double> values;
  for (const std::string& word : words_of(line)) values.push_back(std::stod(word));
  return values;
}

std::vector<std::vector<std::string>> lines_of(std::istream& in, long long count) {
  std::vector<std::vector<std::string>> lines;
  std::string line;
  for (long long i = 0; i < count && std::getline(in, line); ++i) lines.push_back(words_of(line));
  return lines;
}

ModelGrid read_model(std::istream& in) {
  std::string kind;
  Placement placement;
  long long first = 0, second = 0;
  in >> kind >> placement.xorigin >> placement.yorigin >> placement.angrot >> first >> second;
  std::string rest;
  std::getline(in, rest);
  if (kind == "dis") {
    std::string delr, delc;
    std::getline(in, delr);
    std::getline(in, delc);
    return structured_grid(reals_of(delr), reals_of(delc), placement);
  }
  const auto vertices = read_vertices(lines_of(in, first), first);
  const auto cells = read_cell2d(lines_of(in, second), second, first);
  return vertex_grid(vertices, cells, placement);
}

}  // namespace

int main() {
  try {
    std::string word;
    tamvek::Grid grid;
    double units_per_foot = 1;
    std::cin >> word >> grid.nx >> grid.ny >> grid.xg0 >> grid.yg0 >> grid.gdx >> grid.gdy >> units_per_foot;
    const ModelGrid model = read_model(std::cin);
    const OverlapTable table = build_overlap_table(tamvek_frame(grid, units_per_foot), model);
    const std::vector<double> areas = cell_areas(model);
    for (std::size_t m = 0; m < areas.size(); ++m) std::printf("area %zu %.17g\n", m, areas[m]);
    for (std::size_t m = 0; m < table.model_cells(); ++m) {
      for (auto k = table.start[m]; k < table.start[m + 1]; ++k) {
        const auto entry = static_cast<std::size_t>(k);
        std::printf("share %d %zu %.17g\n", table.tamvek_cell[entry], m, table.share[entry]);
      }
    }
    for (std::size_t t = 0; t < table.tamvek_cells(); ++t) {
      if (table.outside[t] != 0) std::printf("outside %zu %.17g\n", t, table.outside[t]);
    }
  } catch (const GridError& error) {
    std::fprintf(stderr, "%s (line %td)\n", error.what(), error.line);
    return 1;
  }
  return 0;
}
