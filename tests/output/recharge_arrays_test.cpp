#include "output/recharge_arrays.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <string>

#include "state/run_state.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::ScratchIo;
using testing::stop_of;

constexpr std::string_view console_line = " ..writing monthly rcs files and asw file\r\n";

// Text right-justified in a field of `width` characters.
std::string right(std::string_view text, std::size_t width) {
  return std::string(width - text.size(), ' ') + std::string(text);
}

// A list-directed record of an integer and a real in its fixed form, given by
// their digits.
std::string month_record(std::string_view month, std::string_view total) {
  std::string record = " ";
  record += right(month, 11);
  record += ' ';
  record += right(total, 12);
  record += "    \r\n";
  return record;
}

struct ArrayRun {
  ScratchIo scratch;
  std::unique_ptr<Run> run = std::make_unique<Run>(scratch.io());

  ArrayRun() {
    run->cyear = "2010";
    scratch.dir.write("out/.keep", "");
    // Left open by the distribution phase.
    scratch.io().open(214, 9, "out\\check2010.out");
  }
  // Months 5 to 10 of one county.
  void factors(int county, std::array<float, 6> by_month) {
    for (int m = 0; m < 6; ++m) run->xmonfactors.at(0, county, 5 + m) = by_month[static_cast<std::size_t>(m)];
  }
  void cell(int icol, int irow, std::int32_t icty, float swret) {
    run->icty.at(0, icol, irow) = icty;
    run->swret.at(0, icol, irow) = swret;
  }
  // Every file complete, as at the end of the run; the console is gone after it.
  void end_run() { EXPECT_EQ(scratch.io().close_all(), ""); }
  std::string file(std::string_view leaf) const {
    return scratch.dir.read("out/" + std::string(leaf));
  }
};

TEST(RechargeArrays, MonthlyRechargeByCountyAcreageAndTheWholeCheckReport) {
  ArrayRun t;
  t.run->grid = {.ny = 2, .nx = 3, .gdx = 1, .gdy = 1, .xg0 = 0, .yg0 = 0};
  const float nan = std::numeric_limits<float>::quiet_NaN();
  t.factors(1, {0.5f, 1, 0.25f, 0, 2, 0.125f});
  t.factors(2, {1, 0.5f, 0.5f, 0.25f, 0, 1});
  t.cell(1, 1, 0, 10);    // county 0 takes county 1's factors
  t.cell(2, 1, 45, -5);   // no county needed for a negative return
  t.cell(3, 1, 2, nan);   // nor for NaN
  t.cell(1, 2, -7, 0);    // nor for zero
  t.cell(2, 2, 2, 20);    // inactive: ibound plays no part
  t.cell(3, 2, 1, 4);
  for (int irow = 1; irow <= 2; ++irow)
    for (int icol = 1; icol <= 3; ++icol) t.run->ibound.at(0, icol, irow) = 1;
  t.run->ibound.at(0, 2, 2) = 0;
  // Outside the grid: neither summed nor written.
  t.cell(4, 1, 1, 1000);
  t.run->acres.at(0, 1, 3) = 1000;
  const std::array<std::array<float, 3>, 2> acres{{{1.5f, -2, 0}, {0.25f, 100000, 3}}};
  for (int irow = 1; irow <= 2; ++irow)
    for (int icol = 1; icol <= 3; ++icol)
      t.run->acres.at(0, icol, irow) =
          acres[static_cast<std::size_t>(irow - 1)][static_cast<std::size_t>(icol - 1)];
  t.run->sumretout = 34.5f;
  t.run->sumacreageout = 1234.5f;
  t.run->sumdiversion = 1.0e-5f;
  t.run->sumacresout = 7;

  write_recharge_arrays(*t.run);
  EXPECT_EQ(t.scratch.console(), console_line);
  t.end_run();

  EXPECT_EQ(t.file("2010.05.rcs"), "   5.0   0.0   0.0\r\n   0.0  20.0   2.0\r\n");
  EXPECT_EQ(t.file("2010.06.rcs"), "  10.0   0.0   0.0\r\n   0.0  10.0   4.0\r\n");
  EXPECT_EQ(t.file("2010.07.rcs"), "   2.5   0.0   0.0\r\n   0.0  10.0   1.0\r\n");
  EXPECT_EQ(t.file("2010.08.rcs"), "   0.0   0.0   0.0\r\n   0.0   5.0   0.0\r\n");
  EXPECT_EQ(t.file("2010.09.rcs"), "  20.0   0.0   0.0\r\n   0.0   0.0   8.0\r\n");
  // 1.25 lies halfway and goes to the even digit.
  EXPECT_EQ(t.file("2010.10.rcs"), "   1.2   0.0   0.0\r\n   0.0  20.0   0.5\r\n");
  EXPECT_FALSE(t.scratch.dir.exists("out/2010.04.rcs"));
  EXPECT_FALSE(t.scratch.dir.exists("out/2010.11.rcs"));
  EXPECT_EQ(t.file("2010.asw"), "   1.5  -2.0   0.0\r\n   0.2******   3.0\r\n");

  EXPECT_EQ(t.file("check2010.out"),
            " 2010.05.rcs\r\n" + month_record("5", "27.0000000") +
                " 2010.06.rcs\r\n" + month_record("6", "24.0000000") +
                " 2010.07.rcs\r\n" + month_record("7", "13.5000000") +
                " 2010.08.rcs\r\n" + month_record("8", "5.00000000") +
                " 2010.09.rcs\r\n" + month_record("9", "28.0000000") +
                " 2010.10.rcs\r\n" + month_record("10", "21.7500000") +
                " sumtr,suma,sumretout,sumacreageout,sumdiversion: \r\n"
                "   119.250000       100002.750       34.5000000       1234.50000    "
                "   9.99999975E-06\r\n"
                " sumretout,sumacresout: \r\n"
                "   34.5000000       7.00000000    \r\n");
  // The county grid is read, not changed.
  EXPECT_EQ(t.run->icty.at(0, 1, 1), 0);
}

TEST(RechargeArrays, TotalsAreRoundedToFloatAfterEveryAdditionInRowOrder) {
  // 2^24 + 1 rounds back to 2^24 in float; summed in wider precision, or with
  // the ones first, the totals would come out as 16777218.
  ArrayRun t;
  t.run->grid = {.ny = 2, .nx = 2, .gdx = 1, .gdy = 1, .xg0 = 0, .yg0 = 0};
  t.factors(1, {1, 1, 1, 1, 1, 1});
  t.cell(1, 1, 1, 16777216);
  t.cell(2, 1, 1, 1);
  t.cell(1, 2, 1, 1);
  t.run->acres.at(0, 1, 1) = 16777216;
  t.run->acres.at(0, 2, 1) = 1;
  t.run->acres.at(0, 1, 2) = 1;

  write_recharge_arrays(*t.run);
  t.end_run();

  const std::string rows = "******   1.0\r\n   1.0   0.0\r\n";
  EXPECT_EQ(t.file("2010.07.rcs"), rows);
  EXPECT_EQ(t.file("2010.asw"), rows);
  std::string expected;
  for (const char* month : {"05", "06", "07", "08", "09", "10"})
    expected += " 2010." + std::string(month) + ".rcs\r\n" +
                month_record(month[0] == '0' ? month + 1 : month, "16777216.0");
  expected +=
      " sumtr,suma,sumretout,sumacreageout,sumdiversion: \r\n"
      "   100663296.       16777216.0       0.00000000       0.00000000       0.00000000    \r\n"
      " sumretout,sumacresout: \r\n"
      "   0.00000000       0.00000000    \r\n";
  EXPECT_EQ(t.file("check2010.out"), expected);
}

TEST(RechargeArrays, RowsOf400ColumnsTakeTwoRecordsInColumnOrder) {
  ArrayRun t;
  t.run->grid = {.ny = 2, .nx = 400, .gdx = 1, .gdy = 1, .xg0 = 0, .yg0 = 0};
  t.factors(1, {1, 1, 1, 1, 1, 1});
  for (int icol = 1; icol <= 400; ++icol) {
    t.cell(icol, 1, 1, static_cast<float>(icol));
    t.run->acres.at(0, icol, 2) = 0.5f;
  }

  write_recharge_arrays(*t.run);
  t.end_run();

  std::string numbered;
  for (int icol = 1; icol <= 400; ++icol) {
    numbered += right(std::to_string(icol) + ".0", 6);
    if (icol == 326 || icol == 400) numbered += "\r\n";
  }
  auto repeated = [](std::string_view field) {
    std::string row;
    for (int icol = 1; icol <= 400; ++icol) {
      row += field;
      if (icol == 326 || icol == 400) row += "\r\n";
    }
    return row;
  };
  const std::string zeros = repeated("   0.0");
  for (const char* leaf : {"2010.05.rcs", "2010.08.rcs", "2010.10.rcs"})
    EXPECT_EQ(t.file(leaf), numbered + zeros) << leaf;
  EXPECT_EQ(t.file("2010.asw"), zeros + repeated("   0.5"));
  // 1 + 2 + ... + 400 = 80200, 0.5 * 400 = 200.
  const std::string report = t.file("check2010.out");
  const std::string may = " 2010.05.rcs\r\n" + month_record("5", "80200.0000");
  EXPECT_EQ(report.substr(0, may.size()), may);
  EXPECT_NE(report.find("   481200.000       200.000000    "), std::string::npos) << report;
}

TEST(RechargeArrays, ACountyOutsideTheFactorTableStopsWithinTheMonth) {
  struct Case {
    std::int32_t county;
    std::string_view message;
  };
  const Case cases[] = {
      {45,
       "At line 312 of file tamvekv3.f90\n"
       "Fortran runtime error: Index '45' of dimension 1 of array 'xmonfactors' above upper "
       "bound of 44\n"},
      {-3,
       "At line 312 of file tamvekv3.f90\n"
       "Fortran runtime error: Index '-3' of dimension 1 of array 'xmonfactors' below lower "
       "bound of 1\n"},
  };
  for (const Case& c : cases) {
    ArrayRun t;
    t.run->grid = {.ny = 3, .nx = 2, .gdx = 1, .gdy = 1, .xg0 = 0, .yg0 = 0};
    t.factors(1, {3, 3, 3, 3, 3, 3});
    t.cell(1, 1, 1, 1);
    t.cell(1, 2, 99, 0);  // not positive: its county is never looked up
    t.cell(2, 2, c.county, 2);
    t.cell(1, 3, 1, 1);

    const RunEnd end = stop_of([&] { write_recharge_arrays(*t.run); });
    EXPECT_EQ(t.scratch.console(), console_line);
    t.end_run();

    EXPECT_EQ(end.status, 2);
    EXPECT_EQ(end.message, c.message);
    EXPECT_EQ(t.file("2010.05.rcs"), "   3.0   0.0\r\n");
    EXPECT_FALSE(t.scratch.dir.exists("out/2010.06.rcs"));
    EXPECT_FALSE(t.scratch.dir.exists("out/2010.asw"));
    EXPECT_EQ(t.file("check2010.out"), " 2010.05.rcs\r\n");
  }
}

}  // namespace
}  // namespace tamvek
