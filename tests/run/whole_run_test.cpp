#include <filesystem>
#include <gtest/gtest.h>

#include "support/small_data_set.hpp"

namespace tamvek {
namespace {

using testing::run_program;
using testing::ScratchDir;
using testing::SmallDataSet;
using testing::int_field;
using testing::real_field;

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
    return ' ' + real_field(x) + " " + real_field(y) + " " + real_field(value) + " " +
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
            ' ' + int_field(1) + " " + int_field(2) + " " + int_field(2) +
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
  data.work.write("out/2010.05.rcs", "an array of an earlier run\r\n");  // stopped before its first row
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
#ifdef _WIN32
  GTEST_SKIP() << "its program runs as an ordinary user, which takes fork; Streams.AReadOnlyFileIsReadableButNotWritable tests the rule on Windows";
#else
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
      run_program({"2010"}, data.work.path(), data.root.path(), "go\n",
                  [] { testing::become_ordinary_user(); });
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.substr(run.err.find("At line")),
            "At line 318 of file tamvekv3.f90 (unit = 8, file = 'out\\2010.07.rcs')\n"
            "Fortran runtime error: Cannot write to file opened for READ\n");
  EXPECT_EQ(data.work.read("out/check2010.out").substr(0, 14), " 2010.05.rcs\r\n");
  EXPECT_EQ(data.work.read("out/2010.06.rcs"), "   3.1   0.0   0.6\r\n   0.0   0.0   0.0\r\n");
#endif
}

}  // namespace
}  // namespace tamvek
