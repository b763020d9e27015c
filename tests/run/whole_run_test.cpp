#include <filesystem>
#include <gtest/gtest.h>

#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::run_program;
using testing::ScratchDir;

// Fields built from digits worked out by hand.
std::string real_field(std::string_view digits) {  // fixed form: 12 characters and 4 blanks
  return std::string(12 - digits.size(), ' ') + std::string(digits) + "    ";
}
std::string int_field(int value) {
  const std::string digits = std::to_string(value);
  return std::string(11 - digits.size(), ' ') + digits;
}

std::string factor_file() {
  std::string text = "1 0.125 0.125 0.25 0.25 0.125 0.125\n2 0 0 0.5 0.5 0 0\n";
  for (int k = 3; k <= 44; ++k) text += std::to_string(k) + " 1 0 0 0 0 0\n";
  return text;
}

// A grid of 3 x 2 cells of 1000 ft; the middle cell of the bottom row inactive.
// Group 1 (80 acres on two tracts) returns 0.5 * 100, group 2 (40 acres, half
// of them on the inactive cell) 0.25 * 40; group 3 has acres but no
// diversions, group 4 diversions but no acres.
struct SmallDataSet {
  ScratchDir work;
  ScratchDir root;
  SmallDataSet() {
    const std::string statics = "BAVO/QZ/static/";
    root.write(statics + "tamvek.par", "2 3\n1000 1000\n0 0\n2\n0.5\n0.25\n");
    root.write(statics + "02.ibound", " 1 1 1\n 1 0 1\n");
    root.write(statics + "cty.flg", "county flags\n 1 2 0\n 1 145\n");
    root.write(statics + "monthlyfactorsbycounty.txt", factor_file());
    root.write(statics + "40coords.dat",
               "1 1 1 1 500 1500\n1 1 1 2 1500 1500\n1 1 1 3 2500 1500\n"
               "1 1 1 4 1500 500\n1 1 1 5 -100 500\n");
    work.write("authacres2010.txt",
               "1 1 1 1 1 40\n1 1 1 1 2 40\n2 1 1 1 3 20\n2 1 1 1 4 20\n3 1 1 1 5 10\n");
    work.write("tamvek2010.txt", "1 0 100 50 0\n2 0 40 30 1\n4 0 10 5 0\n");
    work.write("out/check2010.out", "an old report\r\nof two records\r\n");
  }
};

TEST(WholeRun, EveryOutputByteForByte) {
  SmallDataSet data;
  const testing::ProgramRun run = run_program({"2010"}, data.work.path(), data.root.path(), "go\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n"
            "RESUMED\n");
  EXPECT_EQ(run.out,
            " ..Processing year 2010\r\n"
            " ny,nx,gdx,gdy,xg0,yg0: \r\n"
            " " + int_field(2) + " " + int_field(3) + " " + real_field("1000.00000") + " " +
                real_field("1000.00000") + " " + real_field("0.00000000") + " " +
                real_field("0.00000000") + "\r\n"
            " ..reading ibound array\r\n"
            " ..reading county flags\r\n"
            " ..reading monthly factors by county\r\n"
            " ..reading authorized acreage by group\r\n"
            " year, sum authorized acres over groups: \r\n"
            " 2010 " + real_field("130.000000") + "\r\n"
            " list groups with total authorized acres <= zero: \r\n"
            " ..reading coordinates of 40-acre tracts\r\n"
            " ..reading diversion, acreage, and system type data\r\n"
            " Expected fields: grp,pdiv,diversion,acloc,isystype\r\n"
            " ..writing plot files for returns and acreage\r\n"
            " x_fty_ftswretrowcolnode\r\n"
            " ..writing monthly rcs files and asw file\r\n");

  const auto point = [](std::string_view x, std::string_view y, std::string_view value, int icol) {
    return " " + real_field(x) + " " + real_field(y) + " " + real_field(value) + " " +
           int_field(1) + " " + int_field(icol) + " " + int_field(icol) + "\r\n";
  };
  EXPECT_EQ(data.work.read("out/swretgrid2010.dat"),
            point("500.000000", "1500.00000", "25.0000000", 1) +
                point("1500.00000", "1500.00000", "25.0000000", 2) +
                point("2500.00000", "1500.00000", "5.00000000", 3));
  EXPECT_EQ(data.work.read("out/swacresgrid2010.dat"),
            point("500.000000", "1500.00000", "25.0000000", 1) +
                point("1500.00000", "1500.00000", "25.0000000", 2) +
                point("2500.00000", "1500.00000", "15.0000000", 3));

  const std::string zero_row = "   0.0   0.0   0.0\r\n";
  const std::string may = "   3.1   0.0   0.6\r\n" + zero_row;
  const std::string july = "   6.2  12.5   1.2\r\n" + zero_row;
  EXPECT_EQ(data.work.read("out/2010.05.rcs"), may);
  EXPECT_EQ(data.work.read("out/2010.06.rcs"), may);
  EXPECT_EQ(data.work.read("out/2010.07.rcs"), july);
  EXPECT_EQ(data.work.read("out/2010.08.rcs"), july);
  EXPECT_EQ(data.work.read("out/2010.09.rcs"), may);
  EXPECT_EQ(data.work.read("out/2010.10.rcs"), may);
  EXPECT_EQ(data.work.read("out/2010.asw"), "  25.0  25.0  15.0\r\n" + zero_row);

  std::string check;
  const char* totals[] = {"3.75000000", "3.75000000", "20.0000000",
                          "20.0000000", "3.75000000", "3.75000000"};
  for (int month = 5; month <= 10; ++month)
    check += " 2010." + std::string(month < 10 ? "0" : "") + std::to_string(month) + ".rcs\r\n " +
             int_field(month) + " " + real_field(totals[month - 5]) + "\r\n";
  check += " sumtr,suma,sumretout,sumacreageout,sumdiversion: \r\n " + real_field("55.0000000") +
           " " + real_field("65.0000000") + " " + real_field("10.0000000") + " " +
           real_field("5.00000000") + " " + real_field("150.000000") + "\r\n" +
           " sumretout,sumacresout: \r\n " + real_field("10.0000000") + " " +
           real_field("20.0000000") + "\r\n";
  EXPECT_EQ(data.work.read("out/check2010.out"), check);

  EXPECT_EQ(data.work.read("out/output2010.dat"),
            " " + int_field(1) + " " + int_field(2) + " " + int_field(2) +
                "  (i,row,col) condition 3 (inactive grid cell, ibound=0): " +
                real_field("20.0000000") + " acres\r\n " + int_field(2) + " " + int_field(2) +
                " " + int_field(0) + "  (i,row,col) condition 1 (column outside model grid): " +
                real_field("10.0000000") + " acres\r\n");

  std::size_t outputs = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(data.work.file("out")))
    ++outputs;
  EXPECT_EQ(outputs, 11u);
}

TEST(WholeRun, AnAnswerOtherThanGoEndsAfterTheSummary) {
  SmallDataSet data;
  const testing::ProgramRun run = run_program({"2010abc"}, data.work.path(), data.root.path(), "no\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.substr(run.out.size() - 52),
            " list groups with total authorized acres <= zero: \r\n");
  EXPECT_EQ(data.work.read("out/check2010.out"), "an old report\r\nof two records\r\n");
  EXPECT_FALSE(data.work.exists("out/output2010.dat"));
}

TEST(WholeRun, AMissingOutputDirectoryStopsAfterThePause) {
  SmallDataSet data;
  std::filesystem::remove_all(data.work.file("out"));
  const testing::ProgramRun run = run_program({"2010"}, data.work.path(), data.root.path(), "go\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n"
            "RESUMED\n"
            "At line 213 of file tamvekv3.f90 (unit = 14)\n"
            "Fortran runtime error: File 'out\\output2010.dat' does not exist\n");
  EXPECT_NE(run.out.find("Expected fields"), std::string::npos);
}

TEST(WholeRun, ABadCountyUnderAPositiveReturnStopsKeepingEarlierRecords) {
  SmallDataSet data;
  data.root.write("BAVO/QZ/static/cty.flg", "county flags\n 1 245\n 1 1 1\n");
  const testing::ProgramRun run = run_program({"2010"}, data.work.path(), data.root.path(), "go\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.substr(run.err.find("At line")),
            "At line 312 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '45' of dimension 1 of array 'xmonfactors' above upper "
            "bound of 44\n");
  EXPECT_EQ(data.work.read("out/check2010.out"), " 2010.05.rcs\r\n");
  EXPECT_EQ(data.work.read("out/2010.05.rcs"), "");
  EXPECT_NE(data.work.read("out/output2010.dat"), "");
  EXPECT_NE(data.work.read("out/swretgrid2010.dat"), "");
}

TEST(WholeRun, AReadOnlyOutputFileStopsAtItsFirstWrite) {
  SmallDataSet data;
  data.work.write("out/2010.07.rcs", "old\r\n");
  std::filesystem::permissions(data.work.file("out/2010.07.rcs"), std::filesystem::perms::owner_read |
                                   std::filesystem::perms::group_read | std::filesystem::perms::others_read);
  std::filesystem::permissions(data.work.file("out"), std::filesystem::perms::all);
  for (const auto& entry : std::filesystem::directory_iterator(data.work.file("out")))
    if (entry.path().filename() != "2010.07.rcs")
      std::filesystem::permissions(entry.path(), std::filesystem::perms::all);
  std::filesystem::permissions(data.work.path(), std::filesystem::perms::all);
  const testing::ProgramRun run =
      run_program({"2010"}, data.work.path(), data.root.path(), "go\n", true);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.substr(run.err.find("At line")),
            "At line 318 of file tamvekv3.f90 (unit = 8, file = 'out\\2010.07.rcs')\n"
            "Fortran runtime error: Cannot write to file opened for READ\n");
  EXPECT_EQ(data.work.read("out/check2010.out").substr(0, 14), " 2010.05.rcs\r\n");
  EXPECT_EQ(data.work.read("out/2010.06.rcs"), "   3.1   0.0   0.6\r\n   0.0   0.0   0.0\r\n");
}

}  // namespace
}  // namespace tamvek
