#include "runtime/run_stop.hpp"

#include <gtest/gtest.h>

#include "runtime/checked_table.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::stop_of;

TEST(RangeChecks, NameTheIndexTheDimensionTheTableAndTheBound) {
  Table<float, 10> swretfactor("swretfactor");
  EXPECT_EQ(stop_of([&] { swretfactor.at(80, 11); }).message,
            "At line 80 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '11' of dimension 1 of array 'swretfactor' above upper "
            "bound of 10\n");
  EXPECT_EQ(stop_of([&] { swretfactor.at(196, 0); }).message,
            "At line 196 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '0' of dimension 1 of array 'swretfactor' below lower "
            "bound of 1\n");
  EXPECT_EQ(stop_of([&] { swretfactor.at(196, 0); }).status, 2);
}

TEST(RangeChecks, TheLastDimensionIsTestedFirst) {
  Table<float, 20, 45, 36, 16> xcoord("xcoord");
  // twp = 21 and tract = 17 both fail: the tract, dimension 4, is reported.
  EXPECT_EQ(stop_of([&] { xcoord.at(173, 21, 1, 1, 17); }).message,
            "At line 173 of file tamvekv3.f90\n"
            "Fortran runtime error: Index '17' of dimension 4 of array 'xcoord' above upper "
            "bound of 16\n");
  const std::string message = stop_of([&] { xcoord.at(230, 0, 46, 1, 1); }).message;
  EXPECT_NE(message.find("Index '46' of dimension 2"), std::string::npos) << message;
  EXPECT_NE(stop_of([&] { xcoord.at(230, -2147483647 - 1, 1, 1, 1); })
                .message.find("Index '-2147483648' of dimension 1 of array 'xcoord' below lower"),
            std::string::npos);
}

TEST(Tables, EntriesAreDistinctAndAddressedFirstIndexFastest) {
  Table<std::int32_t, 400, 400> ibound("ibound");
  ibound.at(1, 400, 1) = 7;
  ibound.at(1, 1, 2) = 8;
  ibound.at(1, 400, 400) = 9;
  const std::span<std::int32_t> row1 = ibound.row(1, 400, 1);
  EXPECT_EQ(row1[399], 7);
  EXPECT_EQ(ibound.row(1, 1, 2)[0], 8);
  EXPECT_EQ(ibound.at(1, 400, 400), 9);
  EXPECT_EQ(ibound.at(1, 2, 2), 0);
  EXPECT_TRUE(ibound.row(1, 0, 5).empty());
  EXPECT_NE(stop_of([&] { ibound.row(318, 401, 1); }).message.find("Index '401' of dimension 1"),
            std::string::npos);
}

TEST(IoStops, LocusLinesWithAndWithoutAFile) {
  EXPECT_EQ(stop_of([] { stop_io(73, 12, "\\BAVO\\QZ\\static\\tamvek.par", "End of file"); })
                .message,
            "At line 73 of file tamvekv3.f90 (unit = 12, file = '\\BAVO\\QZ\\static\\tamvek.par')\n"
            "Fortran runtime error: End of file\n");
  const RunEnd normal = stop_of([] { stop_normally(); });
  EXPECT_EQ(normal.status, 0);
  EXPECT_EQ(normal.message, "");
}

}  // namespace
}  // namespace tamvek
