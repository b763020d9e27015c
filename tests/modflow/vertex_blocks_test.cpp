#include "modflow/vertex_blocks.hpp"

#include <gtest/gtest.h>

namespace tamvek::modflow {
namespace {

using Lines = std::vector<std::vector<std::string>>;

// In the order of their numbers, which need not be the order of the lines.
const Lines square_vertices = {{"1", "0.0", "0"}, {"3", "+100.", "1e2"}, {"2", "1.0D+02", "0"}, {"4", "0", "100"}};

TEST(VertexBlocks, ReadsFortranNumbersAndTakesAClosedOutlineOnce) {
  const auto vertices = read_vertices(square_vertices, 4);
  ASSERT_EQ(4u, vertices.size());
  EXPECT_EQ(100, vertices[1].x);
  EXPECT_EQ(0, vertices[1].y);
  EXPECT_EQ(100, vertices[2].y);
  // Listed clockwise, the first vertex repeated at the end, a remark after.
  const auto cells = read_cell2d(Lines{{"1", "50", "50", "5", "1", "4", "3", "2", "1", "a", "remark"}}, 1, 4);
  ASSERT_EQ(1u, cells.size());
  EXPECT_EQ((std::vector<std::int32_t>{0, 3, 2, 1, 0}), cells[0].vertex_ids);
  const ModelGrid grid = vertex_grid(vertices, cells, {1000, 2000, 0});
  EXPECT_EQ(4u, grid.corners_of(0).size());
  EXPECT_EQ(10000, cell_areas(grid)[0]);
  EXPECT_EQ(1050, grid.centres[0].x);
}

TEST(VertexBlocks, FaultsNameTheLineWithinTheBlock) {
  struct Case {
    Lines cell2d;
    std::ptrdiff_t line;
    const char* message;
  };
  const Case cases[] = {
      {{{"1", "0", "0", "3", "1", "2", "3"}, {"3", "0", "0", "3", "1", "2", "3"}}, 1, "cell 3 is not one of 1 to 2"},
      {{{"2", "0", "0", "3", "1", "2", "3"}, {"2", "0", "0", "3", "1", "2", "3"}}, 1, "cell 2 is given twice"},
      {{{"1", "0", "0", "3", "1", "2", "5"}, {"2", "0", "0", "3", "1", "2", "3"}}, 0,
       "vertex 5 is not one of the grid's 4"},
      {{{"1", "0", "0", "2", "1", "2"}, {"2", "0", "0", "3", "1", "2", "3"}}, 0,
       "the cell has 2 vertices: a cell needs at least three"},
      {{{"1", "0", "0", "3", "1", "2", "3"}, {"2", "0", "0", "4", "1", "2", "3"}}, 1,
       "the cell names 3 of its 4 vertices"},
      {{{"1", "0", "0", "3", "1", "2", "3"}, {"2", "x", "0", "3", "1", "2", "3"}}, 1,
       "the cell centre's x is x, not a number"},
      {{{"1", "0", "0", "3", "1", "2", "3"}}, -1, "CELL2D holds 1 lines and NCPL is 2"},
  };
  for (const Case& c : cases) {
    try {
      read_cell2d(c.cell2d, 2, 4);
      ADD_FAILURE() << "taken: " << c.message;
    } catch (const GridError& error) {
      EXPECT_EQ(c.line, error.line) << c.message;
      EXPECT_STREQ(c.message, error.what());
    }
  }
}

}  // namespace
}  // namespace tamvek::modflow
