#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "modflow/fortran_format.hpp"

namespace tamvek::modflow {
namespace {

// Reads `count` values with the format from records, returning them, the
// records used and the fault.
struct Read {
  std::vector<double> values;
  std::size_t next = 0;
  std::string fault;
  bool ok = false;
};

Read read(std::string_view format_text, std::vector<std::string_view> records, std::size_t count) {
  Read result;
  std::string fault;
  const auto format = parse_fortran_format(format_text, fault);
  if (!format) {
    result.fault = fault;
    return result;
  }
  result.values.assign(count, -1);
  result.ok = read_formatted(*format, records, result.next, result.values, result.fault);
  return result;
}

TEST(FortranFormat, ReadsTheFormatsModelFilesUse) {
  struct Case {
    const char* format;
    std::vector<std::string_view> records;
    std::vector<double> values;
    std::size_t records_used;
  };
  const Case cases[] = {
      {"(10E12.4)", {"  3.5000E+01  2.0000E+00"}, {35, 2}, 1},
      {"(10G12.5)", {"      35.000     -1.5000"}, {35, -1.5}, 1},
      {"(20F10.0)", {"        35      12.5"}, {35, 12.5}, 1},
      // a field without a point takes the descriptor's decimals
      {"(3F6.1)", {"   125  12.5    -5"}, {12.5, 12.5, -0.5}, 1},
      // fields that fill their width touch
      {"(3F6.1)", {"1000.0-123.49999.9"}, {1000, -123.4, 9999.9}, 1},
      {"(7(1X,E12.5))", {"  1.00000E+00  2.50000D+01"}, {1, 25}, 1},
      {"(25F4.0)", {"  1.  2. 3.5"}, {1, 2, 3.5}, 1},
      {"(12I3)", {"  1 -2 30"}, {1, -2, 30}, 1},
      // blanks in a field are nothing; a blank field (or a short record) is zero
      {"(4F5.0)", {"1 2  " "     " "-3"}, {12, 0, -3, 0}, 1},
      // exponents as E+02, D+02 and +02
      {"(3E10.3)", {"  1.50E+02  1.50D+02   1.50+02"}, {150, 150, 150}, 1},
      // descriptors used up: the next record, from the start
      {"(2F5.0)", {"    1    2", "    3"}, {1, 2, 3}, 2},
      // reversion starts again at the last group of the outer level
      {"(F5.0,2(F3.0))", {"    1  2  3", "  4  5"}, {1, 2, 3, 4, 5}, 2},
      {"(1PE12.4)", {"      1.2345"}, {0.12345}, 1},
      {"(1P,E12.4)", {"  1.2345E+01"}, {12.345}, 1},
      {"(F3.0/F3.0)", {"  1", "  2"}, {1, 2}, 2},
      {"(T4,F3.0,TL6,F3.0)", {"  1  2"}, {2, 1}, 1},
      {"(BZ,F4.0)", {"1 2 "}, {1020}, 1},
      {"( 2 F 5 . 1 )", {"  1.5  2.5"}, {1.5, 2.5}, 1},
  };
  for (const Case& c : cases) {
    const Read got = read(c.format, c.records, c.values.size());
    ASSERT_TRUE(got.ok) << c.format << ": " << got.fault;
    for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_DOUBLE_EQ(c.values[i], got.values[i]) << c.format << " value " << i + 1;
    EXPECT_EQ(c.records_used, got.next) << c.format;
  }
}

TEST(FortranFormat, RowsOfFourHundredOnRecordsOf326) {
  std::string first;
  for (int i = 0; i < 326; ++i) first += "   1.5";
  std::string second;
  for (int i = 0; i < 74; ++i) second += "  -2.0";
  const Read got = read("(326F6.1)", {first, second, "  99.0"}, 400);
  ASSERT_TRUE(got.ok) << got.fault;
  EXPECT_EQ(1.5, got.values[325]);
  EXPECT_EQ(-2.0, got.values[326]);
  EXPECT_EQ(-2.0, got.values[399]);
  EXPECT_EQ(2u, got.next);  // the next read begins on the third record
}

TEST(FortranFormat, RefusesWhatIsNoNumericFormatOrNoNumber) {
  const struct {
    const char* format;
    std::vector<std::string_view> records;
    std::size_t count;
    const char* fault;
  } cases[] = {
      {"(10A4)", {"abcd"}, 1, "\"A4)\" in the format is not a numeric edit descriptor"},
      {"(10L2)", {" T"}, 1, "not a numeric edit descriptor"},
      {"('x',F5.0)", {"    1"}, 1, "not a numeric edit descriptor"},
      {"(10X)", {"    1"}, 1, "the format reads no value"},
      {"10F5.0", {"    1"}, 1, "a format begins with \"(\""},
      {"(10F5.0", {"    1"}, 1, "no closing"},
      {"(F)", {"    1"}, 1, "without its width"},
      {"(0F5.0)", {"    1"}, 1, "a repeat count of zero"},
      {"(100000(100000F5.0))", {"    1"}, 1, "more than 200000 fields"},
      {"(2F5.0)", {"  1.5  abc"}, 2, "value 2 of the read: \"  abc\" is not a number of its field (columns 6 to 10)"},
      {"(2I3)", {"  1 1."}, 2, "value 2 of the read: \" 1.\" is not a whole number"},
      {"(F5.0)", {"    1"}, 2, "the file ends after 1 of the read's 2 values"},
      {"(F5.0)", {}, 1, "the file ends after 0 of the read's 1 values"},
  };
  for (const auto& c : cases) {
    const Read got = read(c.format, c.records, c.count);
    EXPECT_FALSE(got.ok) << c.format;
    EXPECT_NE(std::string::npos, got.fault.find(c.fault)) << c.format << ": " << got.fault;
  }
}

TEST(FortranFormat, FieldsAsAFormattedReadTakesThem) {
  const struct {
    const char* field;
    int decimals;
    int scale;
    bool ok;
    double value;
  } cases[] = {
      {"    ", 2, 0, true, 0},    {"  12", 2, 0, true, 0.12}, {"12.", 2, 0, true, 12},
      {"1.5E2", 0, 0, true, 150}, {"1.5-2", 0, 0, true, 0.015}, {"1.5e", 0, 0, false, 0},
      {"- 1.5", 0, 0, true, -1.5}, {"1.5", 0, 2, true, 0.015}, {"1.5E1", 0, 2, true, 15},
      {".", 0, 0, false, 0},     {"1..5", 0, 0, false, 0},    {"+", 0, 0, false, 0},
  };
  for (const auto& c : cases) {
    double value = -7;
    EXPECT_EQ(c.ok, read_real_field(c.field, c.decimals, c.scale, false, value)) << c.field;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(c.value, value) << c.field;
    }
  }
}

}  // namespace
}  // namespace tamvek::modflow
