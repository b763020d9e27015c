#include "output/plot_files.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "state/run_state.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::ScratchIo;
using testing::stop_of;

constexpr std::string_view console_lines =
    " ..writing plot files for returns and acreage\r\n"
    " x_fty_ftswretrowcolnode\r\n";

struct PlotRun {
  ScratchIo scratch;
  std::unique_ptr<Run> run = std::make_unique<Run>(scratch.io());

  explicit PlotRun(bool with_out_directory = true) {
    run->cyear = "2010";
    if (with_out_directory) scratch.dir.write("out/.keep", "");
  }
  void set(int icol, int irow, std::int32_t ibound, float swret, float acres) {
    run->ibound.at(0, icol, irow) = ibound;
    run->swret.at(0, icol, irow) = swret;
    run->acres.at(0, icol, irow) = acres;
  }
  std::string returns() const { return scratch.dir.read("out/swretgrid2010.dat"); }
  std::string acreage() const { return scratch.dir.read("out/swacresgrid2010.dat"); }
};

TEST(PlotFiles, CentresRowsColumnsAndNodesOfActiveCellsWithPositiveValues) {
  PlotRun t;
  t.run->grid = {.ny = 2, .nx = 3, .gdx = 10, .gdy = 10, .xg0 = 0, .yg0 = 0, .ytop = 20};
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Inactive cells are never written; a negative ibound is active. A cell can
  // be in one file and not in the other.
  t.set(1, 1, 1, 2.5f, 0);
  t.set(2, 1, 0, 7, 3);
  t.set(3, 1, 1, 0, 40);
  t.set(1, 2, -1, 1.5f, -1);
  t.set(2, 2, 1, nan, 0.25f);
  t.set(3, 2, 2, 100, 80);
  // Outside the grid, never looked at.
  t.set(4, 1, 1, 9, 9);
  t.set(1, 3, 1, 9, 9);

  write_plot_files(*t.run);

  EXPECT_EQ(t.returns(),
            "   5.00000000       15.0000000       2.50000000    "
            "           1           1           1\r\n"
            "   5.00000000       5.00000000       1.50000000    "
            "           2           1           4\r\n"
            "   25.0000000       5.00000000       100.000000    "
            "           2           3           6\r\n");
  EXPECT_EQ(t.acreage(),
            "   25.0000000       15.0000000       40.0000000    "
            "           1           3           3\r\n"
            "   15.0000000       5.00000000      0.250000000    "
            "           2           2           5\r\n"
            "   25.0000000       5.00000000       80.0000000    "
            "           2           3           6\r\n");
  EXPECT_EQ(t.scratch.console(), console_lines);
}

TEST(PlotFiles, CentresAreRoundedOnceAfterTheOriginIsAdded) {
  // Rounding 6.5 * 100.1f to float before adding 1000 would give 1650.64990;
  // the nearest float to the exact centre is 1650.6500244140625.
  PlotRun t;
  t.run->grid = {.ny = 7, .nx = 7, .gdx = 100.1f, .gdy = 100.1f, .xg0 = 1000, .yg0 = 1000};
  t.set(7, 1, 1, 1, 0);  // column 7 of the top row, row 7 from the bottom
  t.set(1, 7, 1, 0, 2);  // bottom-left cell

  write_plot_files(*t.run);

  EXPECT_EQ(t.returns(),
            "   1650.65002       1650.65002       1.00000000    "
            "           1           7           7\r\n");
  // 0.5 * 100.1f + 1000 = 1050.04999923706..., nearest float 1050.05005.
  EXPECT_EQ(t.acreage(),
            "   1050.05005       1050.05005       2.00000000    "
            "           7           1          43\r\n");
}

TEST(PlotFiles, NoPositiveValuesLeaveBothFilesEmptyButTheHeadingsAreShown) {
  PlotRun t;
  t.run->grid = {.ny = 2, .nx = 2, .gdx = 1, .gdy = 1, .xg0 = 0, .yg0 = 0};
  t.set(1, 1, 1, 0, -0.0f);
  t.set(2, 1, 1, -3, 0);
  t.set(1, 2, 0, 5, 5);  // positive, but inactive

  write_plot_files(*t.run);

  EXPECT_TRUE(t.scratch.dir.exists("out/swretgrid2010.dat"));
  EXPECT_EQ(t.returns(), "");
  EXPECT_TRUE(t.scratch.dir.exists("out/swacresgrid2010.dat"));
  EXPECT_EQ(t.acreage(), "");
  EXPECT_EQ(t.scratch.console(), console_lines);
}

TEST(PlotFiles, MissingOutputDirectoryStopsBeforeTheHeadings) {
  PlotRun t(false);
  t.run->grid = {.ny = 1, .nx = 1, .gdx = 1, .gdy = 1, .xg0 = 0, .yg0 = 0};

  const RunEnd end = stop_of([&] { write_plot_files(*t.run); });

  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.message,
            "At line 266 of file tamvekv3.f90 (unit = 8)\n"
            "Fortran runtime error: File 'out\\swretgrid2010.dat' does not exist\n");
  EXPECT_EQ(t.scratch.console(), " ..writing plot files for returns and acreage\r\n");
}

}  // namespace
}  // namespace tamvek
