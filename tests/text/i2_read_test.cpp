#include "text/i2_read.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/io.hpp"
#include "text/list_read.hpp"
#include "runtime/run_stop.hpp"
#include "support/read_i2.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

constexpr int unit = 11;
constexpr int statement = 94;

std::string stop_text(std::string_view message) {
  return "At line 94 of file " + std::string(source_name) + " (unit = 11, file = 'grid.txt')\n" +
         std::string(error_prefix) + std::string(message) + "\n";
}

class I2ReadTest : public ::testing::Test {
 protected:
  I2ReadTest() : io_(std::make_unique<Io>(IoSetup{.root = dir_.path(), .workdir = dir_.path()})) {}

  Stream& file(std::string_view bytes) {
    dir_.write("grid.txt", bytes);
    io_->open(1, unit, "grid.txt");
    return io_->stream(unit);
  }

  // `count` values read by one statement, or the stop's message.
  std::vector<std::int32_t> read(Stream& stream, std::size_t count, std::string* stopped = nullptr) {
    std::vector<std::int32_t> values(count, -99);
    try {
      read_i2(stream, statement, values);
    } catch (const RunEnd& end) {
      if (stopped == nullptr) {
        ADD_FAILURE() << end.message;
      } else {
        *stopped = end.message;
      }
    }
    return values;
  }

  testing::ScratchDir dir_;
  std::unique_ptr<Io> io_;
};

int expected_value(int row, int k) { return (row * 31 + k * 7) % 109 - 9; }

// Two-character fields of values -9..99, in a pattern that differs per row.
std::string fields(int row, int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    char field[4];
    std::snprintf(field, sizeof field, "%2d", expected_value(row, k));
    text += field;
  }
  return text;
}

// The next record as a list-directed read of one integer sees it.
std::int32_t next_value(Stream& stream) {
  std::int32_t value = -99;
  read_list(stream, statement + 1, {value});
  return value;
}

TEST_F(I2ReadTest, FourHundredValuesFromTwoRecords) {
  // 326 fields (652 characters) and 74 fields (148 characters) a row.
  std::string bytes;
  for (int row = 0; row < 3; ++row) bytes += fields(row, 326) + "\r\n" + fields(row, 400).substr(652) + "\r\n";
  bytes += "77\r\n";
  ASSERT_EQ(fields(0, 326).size(), 652u);
  Stream& stream = file(bytes);
  for (int row = 0; row < 3; ++row) {
    const std::vector<std::int32_t> values = read(stream, 400);
    for (int k = 0; k < 400; ++k) ASSERT_EQ(values[static_cast<std::size_t>(k)], expected_value(row, k)) << row << "," << k;
  }
  EXPECT_EQ(next_value(stream), 77);
}

TEST_F(I2ReadTest, ALongFirstRecordGivesOnly326Fields) {
  // 400 fields in the first record: fields 327 to 400 of it are skipped.
  Stream& stream = file(fields(0, 400) + "\n" + fields(1, 74) + "\n77\n");
  const std::vector<std::int32_t> values = read(stream, 400);
  for (int k = 0; k < 326; ++k) ASSERT_EQ(values[static_cast<std::size_t>(k)], expected_value(0, k));
  for (int k = 326; k < 400; ++k) ASSERT_EQ(values[static_cast<std::size_t>(k)], expected_value(1, k - 326));
  EXPECT_EQ(next_value(stream), 77);
}

TEST_F(I2ReadTest, Fields) {
  struct Field {
    std::string record;
    std::optional<std::int32_t> value;  // nothing for a bad field
  };
  const Field cases[] = {
      {"12", 12}, {" 5", 5}, {"5 ", 5}, {"-3", -3}, {"+7", 7}, {"07", 7}, {"-9", -9}, {"99", 99},
      {"  ", 0},  {"", 0},   {"5", 5},  {"- ", 0},  {"+ ", 0}, {"0 ", 0}, {"1,", 1},  {",", 0},
      {" ,", 0},  {"12\r", 12},
      {" -", {}}, {"-", {}}, {"+", {}}, {"-,", {}}, {"--", {}}, {"1-", {}}, {" .", {}}, {"1.", {}},
      {"a1", {}}, {"\t1", {}}, {"1\t", {}}, {"\r1", {}},
  };
  for (const Field& c : cases) {
    SCOPED_TRACE("field \"" + c.record + "\"");
    Stream& stream = file(c.record + "\n77\n");
    std::string stopped;
    const std::vector<std::int32_t> values = read(stream, 1, &stopped);
    if (c.value) {
      EXPECT_EQ(stopped, "");
      EXPECT_EQ(values[0], *c.value);
      EXPECT_EQ(next_value(stream), 77);
    } else {
      EXPECT_EQ(stopped, stop_text("Bad value during integer read"));
    }
  }
}

TEST_F(I2ReadTest, ShortRecordsAndCommas) {
  struct Row {
    std::string record;
    std::vector<std::int32_t> values;
  };
  const Row rows[] = {
      {" 1 2 3", {1, 2, 3, 0, 0}},
      {"", {0, 0, 0}},
      {"1,2,", {1, 2, 0, 0}},
      {"1,2,34", {1, 2, 34, 0}},
      {",5", {0, 5, 0}},
      {"12,3", {12, 0, 3}},
      {"-1 2", {-1, 2, 0}},
      {"1 2 3 4", {1, 2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("record \"" + row.record + "\"");
    Stream& stream = file(row.record + "\n77\n");
    EXPECT_EQ(read(stream, row.values.size()), row.values);
    EXPECT_EQ(next_value(stream), 77);
  }
}

TEST_F(I2ReadTest, EndOfFile) {
  struct Ending {
    std::string bytes;
    std::size_t count;
    std::string message;  // empty: the statement completes
  };
  const Ending endings[] = {
      {"", 3, "End of file"},
      {"", 0, "End of file"},  // even a statement without values reads its first record
      {fields(0, 326), 326, ""},
      {fields(0, 326) + "\n", 327, "End of file"},
      {" 1 2", 2, ""},  // a last record without LF
      {"\n", 400, "End of file"},
  };
  for (const Ending& ending : endings) {
    SCOPED_TRACE("file \"" + ending.bytes.substr(0, 20) + "\", " + std::to_string(ending.count) + " values");
    Stream& stream = file(ending.bytes);
    std::string stopped;
    read(stream, ending.count, &stopped);
    EXPECT_EQ(stopped, ending.message.empty() ? "" : stop_text(ending.message));
  }
  // After the end of the file the stream must be rewound before it is read again.
  Stream& stream = file("1 2");
  std::string stopped;
  read(stream, 2);
  read(stream, 2, &stopped);
  EXPECT_EQ(stopped, stop_text("End of file"));
  stopped.clear();
  read(stream, 2, &stopped);
  EXPECT_EQ(stopped, stop_text("Sequential READ or WRITE not allowed after EOF marker, possibly use REWIND or BACKSPACE"));
}

TEST_F(I2ReadTest, AStatementWithoutValuesPassesOverOneRecord) {
  Stream& stream = file("abc\n77\n");
  I2Read heading(stream, statement);
  heading.finish();
  EXPECT_EQ(next_value(stream), 77);
}

TEST_F(I2ReadTest, GoesOnWhereAFailedListReadLeftItsRecord) {
  Stream& stream = file("3000000000 1 2\n");
  std::int32_t value = 0;
  EXPECT_EQ(read_list_status(stream, statement, {value}).status, 5010);
  EXPECT_EQ(read(stream, 3), (std::vector<std::int32_t>{1, 2, 0}));
}

}  // namespace
}  // namespace tamvek
