// The one-year form on a hand-made year whose grid corners differ and whose
// check report's figures all differ, so that a value taken from the wrong
// place shows.
#include <gtest/gtest.h>

#include <string>

#include "report/hand_made_years.hpp"

namespace tamvek {
namespace {

using testing::HandMadeYears;

TEST(ReportHandMade, GridsAndPageTakeEachFigureFromItsOwnPlace) {
  HandMadeYears years;
  years.write(HandMadeYears::year_2010());
  const testing::ProgramRun run = years.report({"2010"});
  ASSERT_EQ(run.status, 0) << run.err;

  for (const char* id : {"05", "season", "acres"}) {
    SCOPED_TRACE(id);
    const std::string grid = years.work.read("out/2010." + std::string(id) + ".asc");
    EXPECT_TRUE(grid.starts_with("ncols 3\nnrows 2\nxllcorner 1000\nyllcorner 2000\ndx 100\ndy 50\n"
                                 "NODATA_value -9999\n"))
        << grid;
  }
  const std::string acres = years.work.read("out/2010.acres.asc");
  EXPECT_EQ(acres.substr(acres.find("-9999\n") + 6), "40.0 80.0 0.0\n0.0 120.5 -9999\n");

  const std::string page = years.work.read("out/report2010.html");
  EXPECT_NE(page.find("\"grid\":{\"ny\":2,\"nx\":3,\"gdx\":100,\"gdy\":50,\"xg0\":1000,\"yg0\":2000,"
                      "\"ytop\":2100}"),
            std::string::npos);
  EXPECT_NE(page.find("\"check\":{\"months\":["
                      "{\"name\":\"2010.05.rcs\",\"month\":5,\"msum\":\"11.0000000\"},"
                      "{\"name\":\"2010.06.rcs\",\"month\":6,\"msum\":\"12.5000000\"},"
                      "{\"name\":\"2010.07.rcs\",\"month\":7,\"msum\":\"13.2500000\"},"
                      "{\"name\":\"2010.08.rcs\",\"month\":8,\"msum\":\"14.0000000\"},"
                      "{\"name\":\"2010.09.rcs\",\"month\":9,\"msum\":\"15.7500000\"},"
                      "{\"name\":\"2010.10.rcs\",\"month\":10,\"msum\":\"16.0000000\"}],"
                      "\"sumtr\":\"72.5000000\",\"suma\":\"21.0000000\",\"sumretout\":\"33.0000000\","
                      "\"sumacreageout\":\"44.0000000\",\"sumdiversion\":\"55.0000000\","
                      "\"sumacresout\":\"77.0000000\"}"),
            std::string::npos);
}

}  // namespace
}  // namespace tamvek
