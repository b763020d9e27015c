#include "state/file_names.hpp"

#include <gtest/gtest.h>

namespace tamvek {
namespace {

TEST(Year, CutOrPaddedToFourCharactersAndOtherwiseVerbatim) {
  EXPECT_EQ(year_of_argument("2010"), "2010");
  EXPECT_EQ(year_of_argument("2010abc"), "2010");
  EXPECT_EQ(year_of_argument("99"), "99  ");
  EXPECT_EQ(year_of_argument(""), "    ");
  EXPECT_EQ(year_of_argument("-1 x"), "-1 x");
}

TEST(FileNames, EveryFileWithItsStreamStatementAndLength) {
  struct Expected {
    RunFile file;
    int unit, statement;
    std::string_view name;
  };
  const Expected table[] = {
      {parameter_file(), 12, 72, "\\BAVO\\QZ\\static\\tamvek.par"},
      {active_cell_file(), 11, 92, "\\BAVO\\QZ\\static\\02.ibound"},
      {county_grid_file(), 11, 99, "\\BAVO\\QZ\\static\\cty.flg"},
      {monthly_factor_file(), 11, 107, "\\BAVO\\QZ\\static\\monthlyfactorsbycounty.txt"},
      {authorized_acreage_file("2010"), 20, 130, "authacres2010.txt"},
      {tract_coordinate_file(), 21, 163, "\\BAVO\\QZ\\static\\40coords.dat"},
      {diversion_file("2010"), 21, 181, "tamvek2010.txt"},
      {problem_log_file("2010"), 14, 213, "out\\output2010.dat"},
      {check_report_file("2010"), 9, 214, "out\\check2010.out"},
      {return_plot_file("2010"), 8, 266, "out\\swretgrid2010.dat"},
      {acreage_plot_file("2010"), 8, 281, "out\\swacresgrid2010.dat"},
      {monthly_array_file("2010", 5), 8, 304, "out\\2010.05.rcs"},
      {monthly_array_file("2010", 10), 8, 304, "out\\2010.10.rcs"},
      {acreage_array_file("2010"), 8, 325, "out\\2010.asw"},
  };
  const std::size_t lengths[] = {26, 25, 23, 42, 17, 28, 14, 18, 17, 21, 23, 15, 15, 12};
  for (std::size_t i = 0; i < std::size(table); ++i) {
    EXPECT_EQ(table[i].file.unit, table[i].unit) << table[i].name;
    EXPECT_EQ(table[i].file.open_statement, table[i].statement) << table[i].name;
    EXPECT_EQ(table[i].file.name, table[i].name);
    EXPECT_EQ(table[i].file.name.size(), lengths[i]) << table[i].name;
  }
  for (std::size_t i = 0; i < std::size(table); ++i)
    EXPECT_EQ(table[i].file.use, table[i].file.name.starts_with("out\\") ? Io::Use::write : Io::Use::read)
        << table[i].name;
  EXPECT_EQ(authorized_acreage_file("99  ").name, "authacres99  .txt");
  EXPECT_EQ(monthly_array_leaf("2010", 7), "2010.07.rcs");
}

}  // namespace
}  // namespace tamvek
