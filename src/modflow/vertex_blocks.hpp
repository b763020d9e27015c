#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "modflow/model_grid.hpp"

namespace tamvek::modflow {

// The VERTICES block's lines (`iv xv yv`) and the CELL2D block's lines
// (`icell2d xc yc ncvert icvert...`), each line as its words. A block holds
// exactly NVERT or NCPL lines, each number once (MODFLOW 6 asks for them in
// order; the number says which vertex or cell a line is, so any order is
// read); anything after a line's values is a remark. Vertex ids come back
// from 0. A fault is a GridError naming the line within the block.
std::vector<Point> read_vertices(std::span<const std::vector<std::string>> lines, std::int64_t nvert);
std::vector<VertexCell> read_cell2d(std::span<const std::vector<std::string>> lines, std::int64_t ncpl,
                                    std::int64_t nvert);

}  // namespace tamvek::modflow
