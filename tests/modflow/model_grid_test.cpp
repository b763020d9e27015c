#include "modflow/model_grid.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace tamvek::modflow {
namespace {

TEST(ModelGrid, GridsThatCannotLieOnTheMapAreRefusedWithTheirCause) {
  const std::vector<double> even = {10, 10};
  const std::vector<double> zero_width = {10, 0}, negative = {-5}, not_a_number = {NAN};
  const std::vector<Point> corners = {{0, 0}, {1, 0}, {0, 1}};
  const std::vector<VertexCell> line_cell = {{{0, 0}, {0, 1, 0}}}, unknown_vertex = {{{0, 0}, {0, 1, 3}}};
  struct Case {
    std::function<void()> make;
    const char* message;
  };
  const Case cases[] = {
      {[&] { structured_grid(zero_width, even, {}); }, "DELR 2 is 0: a cell's width must be positive"},
      {[&] { structured_grid(even, negative, {}); }, "DELC 1 is -5: a cell's width must be positive"},
      {[&] { structured_grid(not_a_number, even, {}); }, "DELR 1 is nan: a cell's width must be positive"},
      {[&] { structured_grid(even, even, {0, INFINITY, 0}); }, "the grid's origin and rotation must be finite numbers"},
      {[&] { vertex_grid(corners, line_cell, {}); }, "cell 1 has 2 vertices: a cell needs at least three"},
      {[&] { vertex_grid(corners, unknown_vertex, {}); }, "cell 1 names vertex 4, which the grid does not have"},
  };
  for (const Case& c : cases) {
    try {
      c.make();
      ADD_FAILURE() << "taken: " << c.message;
    } catch (const GridError& error) {
      EXPECT_STREQ(c.message, error.what());
    }
  }
}

}  // namespace
}  // namespace tamvek::modflow
