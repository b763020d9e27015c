#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "modflow/mf2005_arrays.hpp"
#include "results/result_error.hpp"
#include "support/scratch.hpp"

namespace tamvek::modflow {
namespace {

// A DIS-like file of unit 11 whose records hold the control records under
// test, with the name file's DATA entries 50 (text) and 51 (binary).
struct Arrays {
  testing::ScratchDir dir;
  std::vector<std::string> notes;
  Mf2005Units units{dir.path(), notes};
  RecordFile file;

  explicit Arrays(const std::string& text) {
    dir.write("model.dis", text);
    units.add("DIS", 11, "model.dis");
    units.add("DATA", 50, "top.dat");
    units.add("DATA(BINARY)", 51, "top.bin");
    file = load_records(dir.file("model.dis"));
  }
  std::vector<double> read(std::size_t rows, std::size_t count) {
    return read_mf2005_array(file, 11, units, rows, count);
  }
};

std::string binary_record(const std::vector<float>& values) {
  std::string payload(reinterpret_cast<const char*>(values.data()), values.size() * 4);
  const auto length = static_cast<std::int32_t>(payload.size());
  std::string marks(reinterpret_cast<const char*>(&length), 4);
  return marks + payload + marks;
}

TEST(Mf2005ControlRecords, FreeAndFixedFormsEachSource) {
  const struct {
    const char* what;
    std::string dis;
    std::size_t rows, count;
    std::vector<double> values;
  } cases[] = {
      {"constant", "CONSTANT 2.640000E+03   #delr\n", 1, 2, {2640, 2640}},
      {"internal, free", "INTERNAL 2.0 (FREE) 0\n1 2*3.5\n", 1, 3, {2, 7, 7}},
      {"internal, CNSTNT 0 reads as written", "INTERNAL 0 (FREE) 0\n1 2\n", 1, 2, {1, 2}},
      {"internal, each row on its own records", "INTERNAL 1.0 (FREE) 0\n1 2 9\n3 4\n", 2, 2, {1, 2, 3, 4}},
      {"internal, fixed format", "INTERNAL 1.0 (2F5.0) 0\n    1    2\n    3\n    4    5\n\n", 2, 3, {1, 2, 3, 4, 5, 0}},
      {"fixed form constant", "         0    35.000(10E12.4)                    0     DELR\n", 1, 2, {35, 35}},
      {"fixed form, CNSTNT 0 is the constant 0", "         0         0\n", 1, 1, {0}},
      {"fixed form, own unit", "        11     2.000(3F4.0)                      -1\n   1   2   3\n", 1, 3, {2, 4, 6}},
      {"fixed form, own unit, free", "        11        1.(FREE)                        -1\n1,,3\n", 1, 3, {1, 0, 3}},
  };
  for (const auto& c : cases) {
    Arrays arrays(c.dis + "CONSTANT 9\n");
    EXPECT_EQ(c.values, arrays.read(c.rows, c.count)) << c.what;
    EXPECT_EQ((std::vector<double>{9}), arrays.read(1, 1)) << c.what << ": the next array is read where this one ends";
  }
}

TEST(Mf2005ControlRecords, DataUnitsAreReadOnWhereTheLastArrayEnded) {
  Arrays arrays("EXTERNAL 50 1.0 (FREE) -1\n        50         2(2F3.0)\n       -51        1.\n"
                "EXTERNAL 51 10.0 (BINARY) 0\nOPEN/CLOSE other\\Delr.TXT 1 (FREE) 0\n");
  arrays.dir.write("top.dat", "1 2\n3 4\n  5  6\n");
  const std::string header(44, '\0');  // a header record with 4-byte times
  const auto length = static_cast<std::int32_t>(header.size());
  const std::string marks(reinterpret_cast<const char*>(&length), 4);
  arrays.dir.write("top.bin", binary_record({1.5f, 2.5f}) + marks + header + marks + binary_record({0.5f}));
  arrays.dir.write("other/delr.txt", "7\n");
  EXPECT_EQ((std::vector<double>{1, 2, 3, 4}), arrays.read(2, 2));
  EXPECT_EQ((std::vector<double>{10, 12}), arrays.read(1, 2));
  EXPECT_EQ((std::vector<double>{1.5, 2.5}), arrays.read(1, 2));  // a one-dimensional array without header
  EXPECT_EQ((std::vector<double>{5}), arrays.read(1, 1));         // a header, then the values
  EXPECT_EQ((std::vector<double>{7}), arrays.read(1, 1));
#ifdef _WIN32
  EXPECT_TRUE(arrays.notes.empty());  // the name as written is found: Windows names have no case
#else
  ASSERT_EQ(1u, arrays.notes.size());
  EXPECT_EQ("the model names the file \"other\\Delr.TXT\": read as other/delr.txt, the only file of that name "
            "in another case (a backslash taken as a folder separator)",
            arrays.notes[0]);
#endif
}

TEST(Mf2005ControlRecords, RefusalsNameTheFileAndLine) {
  const struct {
    std::string dis;
    const char* message;
  } cases[] = {
      {"\n\nINTERNAL 1.0 (FREE) 0\n1 x\n", "line 4: value 2 of the array: \"x\" is not a number"},
      {"EXTERNAL 52 1.0 (FREE) 0\n", "line 1: an array is read from unit 52, which the name file does not list"},
      {"EXTERNAL 51 1.0 (FREE) 0\n", "line 1: a formatted read from unit 51, which the name file opens as DATA(BINARY) top.bin"},
      {"       -50        1.\n", "line 1: an unformatted read from unit 50, which the name file opens as DATA top.dat"},
      {"INTERNAL 1.0 (F4.0) 0\n   1\n", "line 2: row 1 of the array: the file ends after 1 of the read's 2 values"},
      {"INTERNAL 1.0 (2F4.0) 0\n   1   x\n", "line 2: row 1 of the array: value 2 of the read: \"   x\" is not a number"},
      {"INTERNAL 1.0 (FREE) 0\n1\n", "the array ends after 1 of its 2 values"},
      {"        1x\n", "line 1: an array control record: LOCAT (columns 1-10)"},
      {"         0       abc\n", "line 1: an array control record: CNSTNT (columns 11-20) \"       abc\" is not a number"},
      {"", "ends where an array control record was expected"},
  };
  for (const auto& c : cases) {
    Arrays arrays(c.dis);
    try {
      arrays.read(1, 2);
      ADD_FAILURE() << c.dis << ": read";
    } catch (const results::ResultError& error) {
      EXPECT_NE(std::string::npos, (error.file + ": " + error.what).find(c.message)) << error.file << ": " << error.what;
    }
  }
}

}  // namespace
}  // namespace tamvek::modflow
