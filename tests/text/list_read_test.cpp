#include "text/list_read.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <variant>
#include <vector>
#include <fcntl.h>
#include <unistd.h>

#include "runtime/io.hpp"
#include "runtime/run_stop.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

constexpr int unit = 21;
constexpr int statement = 40;
constexpr std::int32_t integer_before = -7;
constexpr float real_before = -7.5f;

const std::string after_end =
    "Sequential READ or WRITE not allowed after EOF marker, possibly use REWIND or BACKSPACE";

std::string stop_text(std::string_view message) {
  return "At line 40 of file " + std::string(source_name) + " (unit = 21, file = 'in.txt')\n" +
         std::string(error_prefix) + std::string(message) + "\n";
}

struct Case {
  std::string bytes;
  std::string types;
  int status;
  std::size_t filled;
  std::string message;
  std::string values;  // the variables after the read
  std::string next;    // what the next read statement gets
};

class ListReadTest : public ::testing::Test {
 protected:
  ListReadTest() : io_(std::make_unique<Io>(IoSetup{.root = dir_.path(), .workdir = dir_.path()})) {}

  // The stream of a file that holds `bytes`.
  Stream& file(std::string_view bytes) {
    dir_.write("in.txt", bytes);
    io_->open(1, unit, "in.txt");
    return io_->stream(unit);
  }

  void check_cases(const std::vector<Case>& cases);

  testing::ScratchDir dir_;
  std::unique_ptr<Io> io_;
};

// The variables of a statement, from a type list such as "iir", set to markers.
struct Variables {
  explicit Variables(std::string_view types) {
    for (char type : types) {
      if (type == 'i') {
        cells.emplace_back(integer_before);
      } else {
        cells.emplace_back(real_before);
      }
    }
    for (auto& cell : cells) std::visit([&](auto& value) { list.emplace_back(value); }, cell);
  }
  std::string text() const {
    std::string joined;
    for (const auto& cell : cells) {
      char buffer[64];
      const auto written = std::visit([&](auto value) { return std::to_chars(buffer, buffer + 64, value); }, cell);
      if (!joined.empty()) joined += ' ';
      joined.append(buffer, written.ptr);
    }
    return joined;
  }
  int changed() const {
    int count = 0;
    for (const auto& cell : cells)
      count += std::visit([](auto value) { return std::to_string(value) != std::to_string(decltype(value)(-7.5)); }, cell);
    return count;
  }
  std::vector<std::variant<std::int32_t, float>> cells;
  std::vector<Variable> list;
};

// What a following read of one real gets: its value, or its status.
std::string next_read(Stream& stream) {
  Variables next("r");
  const ListReadResult result = read_list_status(stream, statement + 1, next.list);
  return result.status == 0 ? next.text() : "status " + std::to_string(result.status);
}

void ListReadTest::check_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "file \"" << c.bytes << "\", variables " << c.types);
    Stream& stream = file(c.bytes);
    Variables variables(c.types);
    const ListReadResult result = read_list_status(stream, statement, variables.list);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.filled, c.filled);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(variables.text(), c.values);
    EXPECT_EQ(next_read(stream), c.next);
  }
}

TEST_F(ListReadTest, SeparatorsAndRecords) {
  check_cases({
      {"1 2 3\n99\n", "iii", 0, 3, "", "1 2 3", "99"},
      {"1,2;3\r\n99\r\n", "iii", 0, 3, "", "1 2 3", "99"},
      {"  1 ,  2 ;\t3\n99\n", "iii", 0, 3, "", "1 2 3", "99"},
      {"\t1\t\t2 \t 3   \n99\n", "iii", 0, 3, "", "1 2 3", "99"},
      {"1 2\n\n   \n3 4\n99\n", "iii", 0, 3, "", "1 2 3", "99"},
      {"1 2 3 4\n5 6\n99\n", "iiiiii", 0, 6, "", "1 2 3 4 5 6", "99"},
      {"1 2 3 4 5 6 7 8\n99\n", "iiiiii", 0, 6, "", "1 2 3 4 5 6", "99"},
      {"1 2,\n3\n99\n", "iii", 0, 3, "", "1 2 3", "99"},
      {"1 2 x\n99\n", "ii", 0, 2, "", "1 2", "99"},
      {"1234 12 33 21 16 37.25\n99\n", "iiiiir", 0, 6, "", "1234 12 33 21 16 37.25", "99"},
  });
}

TEST_F(ListReadTest, NullValuesAndSlash) {
  check_cases({
      {"1,,3\n99\n", "iii", 0, 2, "", "1 -7 3", "99"},
      {"1;;3\n99\n", "iii", 0, 2, "", "1 -7 3", "99"},
      {"1 , , 3\n99\n", "iii", 0, 2, "", "1 -7 3", "99"},
      {",5\n99\n", "ii", 0, 1, "", "-7 5", "99"},
      {"\n ,5\n99\n", "ii", 0, 1, "", "-7 5", "99"},
      {"1,\n,3\n99\n", "iii", 0, 2, "", "1 -7 3", "99"},
      {"1\n,3\n99\n", "ii", 0, 2, "", "1 3", "99"},
      {"1\n,\n,3\n99\n", "iii", 0, 2, "", "1 -7 3", "99"},
      {"1 2 ,,\n99\n", "iii", 0, 2, "", "1 2 -7", "99"},
      {",,,\n99\n", "rr", 0, 0, "", "-7.5 -7.5", "99"},
      {"1 2/ 3\n99\n", "iii", 0, 2, "", "1 2 -7", "99"},
      {"1,/3\n99\n", "iii", 0, 1, "", "1 -7 -7", "99"},
      {"5/6\n99\n", "ii", 0, 1, "", "5 -7", "99"},
      {"/\n5\n", "i", 0, 0, "", "-7", "5"},
      {"\n\n 1\n /\n5\n", "ii", 0, 1, "", "1 -7", "5"},
  });
}

// Which variables a read gave a value: null values, a slash and repeats
// leave gaps anywhere, which a count of the filled ones cannot tell.
TEST_F(ListReadTest, AssignedNamesEachVariableThatReceivedAValue) {
  const std::pair<std::string, std::uint64_t> cases[] = {
      {"1 2 3\n", 0b111}, {"1,,3\n", 0b101}, {",5/\n", 0b010},  {"1 2/ 3\n", 0b011},
      {"2*4 5\n", 0b111}, {"2* 7\n", 0b100}, {",,,\n", 0b000}, {"4\n,,\n5\n", 0b101},
  };
  for (const auto& [bytes, assigned] : cases) {
    SCOPED_TRACE(bytes);
    Variables variables("iii");
    EXPECT_EQ(read_list_status(file(bytes), statement, variables.list).assigned, assigned);
    std::uint64_t until_end = 99;
    const RunEnd end = testing::stop_of([&] { EXPECT_TRUE(read_list_until_end(file(bytes), statement, variables.list, until_end)); });
    EXPECT_EQ(end.message, "(the run did not stop)");
    EXPECT_EQ(until_end, assigned);
  }
}

TEST_F(ListReadTest, RepeatCounts) {
  check_cases({
      {"2*7\n99\n", "ii", 0, 2, "", "7 7", "99"},
      {"2*7 8\n99\n", "iii", 0, 3, "", "7 7 8", "99"},
      {"3*5\n99\n", "ii", 0, 2, "", "5 5", "99"},
      {"2*1.5\n99\n", "rr", 0, 2, "", "1.5 1.5", "99"},
      {"1 2*-3\n99\n", "iii", 0, 3, "", "1 -3 -3", "99"},
      {"200000000*5\n99\n", "ii", 0, 2, "", "5 5", "99"},
      {"007*2\n99\n", "ii", 0, 2, "", "2 2", "99"},
      {"3*\n99\n", "iii", 0, 0, "", "-7 -7 -7", "99"},
      {"3* 8\n99\n", "iiii", 0, 1, "", "-7 -7 -7 8", "99"},
      {"2*,5\n99\n", "iii", 0, 1, "", "-7 -7 5", "99"},
      {"2*/5\n99\n", "iii", 0, 0, "", "-7 -7 -7", "99"},
      {"2*7\n99\n", "ir", 5010, 1, "Read type INTEGER where REAL was expected for item 2", "7 -7.5", "99"},
      {"2*7 5\n99\n", "ri", 5010, 1, "Read type REAL where INTEGER was expected for item 2", "7 -7", "5"},
      {"1 3*2, 6 7\n99\n", "iiir", 5010, 3, "Read type INTEGER where REAL was expected for item 4", "1 2 2 -7.5", "6"},
      {"0*5 6\n99\n", "ii", 5010, 0, "Zero repeat count in item 1 of list input", "-7 -7", "5"},
      {"1 200000001*5 6\n99\n", "ii", 5010, 1, "Repeat count overflow in item 2 of list input", "1 -7", "5"},
      {"1 99999999999999999999*5\n99\n", "ii", 5010, 1, "Repeat count overflow in item 2 of list input", "1 -7", "5"},
      {"+2*5\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"2**5\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"*5\n99\n", "r", 5010, 0, "Bad real number in item 1 of list input", "-7.5", "99"},
      {"2*x 5\n99\n", "ii", 5010, 0, "Bad integer for item 1 in list input", "-7 -7", "99"},
      {"2*3000000000 5\n99\n", "ii", 5010, 0, "Integer overflow while reading item 1", "-7 -7", "5"},
  });
}

TEST_F(ListReadTest, Integers) {
  check_cases({
      {"-2147483648 2147483647 +12 -0 0000000000000000000012\n99\n", "iiiii", 0, 5, "",
       "-2147483648 2147483647 12 0 12", "99"},
      {"2147483648 5\n99\n", "ii", 5010, 0, "Integer overflow while reading item 1", "-7 -7", "5"},
      {"1 -2147483649,5\n99\n", "ii", 5010, 1, "Integer overflow while reading item 2", "1 -7", "5"},
      {"3000000000 , , 5\n99\n", "i", 5010, 0, "Integer overflow while reading item 1", "-7", "-7.5"},
      {"99999999999999999999999\n99\n", "i", 5010, 0, "Integer overflow while reading item 1", "-7", "99"},
      {"12.0 5\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"1 2x 3\n99\n", "iii", 5010, 1, "Bad integer for item 2 in list input", "1 -7 -7", "99"},
      {"99999999999999999999x\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"1e5\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"-\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"+-1\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"inf\n99\n", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "99"},
      {"7\r\n99\n", "i", 0, 1, "", "7", "99"},
      {"7\r", "i", 5010, 0, "Bad integer for item 1 in list input", "-7", "status -1"},
  });
}

TEST_F(ListReadTest, Reals) {
  check_cases({
      {"7 -3 +2 0.1 -0\n99\n", "rrrrr", 0, 5, "", "7 -3 2 0.1 -0", "99"},
      {"1.5+3 1.5-3 2e2 2E+2 2d-1 2D2 2q1 2Q-1\n99\n", "rrrrrrrr", 0, 8, "",
       "1500 0.0015 200 200 0.2 200 20 0.2", "99"},
      {".5 5. -.5 +5. 1.e1\n99\n", "rrrrr", 0, 5, "", "0.5 5 -0.5 5 10", "99"},
      {"inf -INF Infinity -infinity\n99\n", "rrrr", 0, 4, "", "inf -inf inf -inf", "99"},
      {"nan NaN(abc) -nAn() NAN(x_1)\n99\n", "rrrr", 0, 4, "", "nan nan -nan nan", "99"},
      {"1e39 -1e39 1e-46 -1e-46 1e999999999999999999999\n99\n", "rrrrr", 0, 5, "", "inf -inf 0 -0 inf", "99"},
      {"16777217 3.4028235e38 1.4e-45\n99\n", "rrr", 0, 3, "", "16777216 3.4028235e+38 1e-45", "99"},
      {"0." + std::string(300, '0') + "1e301 1" + std::string(200, '0') + "e-200\n99\n", "rr", 0, 2, "", "1 1", "99"},
      {"1.5e\n99\n", "r", 5010, 0, "Bad real number in item 1 of list input", "-7.5", "99"},
      {"2 1.5e+ 3\n99\n", "rrr", 5010, 1, "Bad real number in item 2 of list input", "2 -7.5 -7.5", "99"},
      {". 5\n99\n", "r", 5010, 0, "Error during floating point read", "-7.5", "99"},
      {"+.\n99\n", "r", 5010, 0, "Error during floating point read", "-7.5", "99"},
      {"-\n99\n", "r", 5010, 0, "Error during floating point read", "-7.5", "99"},
  });
  const char* bad_reals[] = {"1.2.3", "1..2", "infx", "infinit", "in", "nan(", "nan(a", "nan)", "nanx",
                             "nan(a)b", "1e5.0", "e5", ".e5", "1+", "--1", "1e+-2", "0x10",
                             "1.2345678901234.5", "-1234567.89012.3", "12345678.12345678.1"};
  for (const char* bad : bad_reals) {
    SCOPED_TRACE(bad);
    Stream& stream = file(std::string(bad) + "\n99\n");
    Variables variables("r");
    const ListReadResult result = read_list_status(stream, statement, variables.list);
    EXPECT_EQ(result.status, 5010);
    EXPECT_EQ(result.message, "Bad real number in item 1 of list input");
    EXPECT_EQ(next_read(stream), "99");
  }
}

TEST_F(ListReadTest, EndOfFile) {
  check_cases({
      {"", "i", -1, 0, "End of file", "-7", "status 5001"},
      {"\n\n  \n", "i", -1, 0, "End of file", "-7", "status 5001"},
      {"1 2\n", "iii", -1, 2, "End of file", "1 2 -7", "status 5001"},
      {"1,\n", "ii", -1, 1, "End of file", "1 -7", "status 5001"},
      {"3*", "iiii", -1, 0, "End of file", "-7 -7 -7 -7", "status 5001"},
      {"1 2", "ii", 0, 2, "", "1 2", "status -1"},
      {"1 2 ", "ii", 0, 2, "", "1 2", "status -1"},
      // A last record without LF is a complete record: skipping the rest of it is no end of file.
      {"1 2 3", "ii", 0, 2, "", "1 2", "status -1"},
      {"1 2 junk, 4/", "ii", 0, 2, "", "1 2", "status -1"},
      {"5 6/", "iii", 0, 2, "", "5 6 -7", "status -1"},
  });
}

TEST_F(ListReadTest, AnEmptyListPassesOverOneRecord) {
  struct Skip {
    std::string bytes;
    int status;
    std::string next;
  };
  const Skip skips[] = {
      {"a b c\n7\n", 0, "7"},
      {"\n7\n", 0, "7"},
      {"abc", 0, "status -1"},  // a last record without LF is passed over like any other
      {"", -1, "status 5001"},
  };
  for (const Skip& skip : skips) {
    SCOPED_TRACE(skip.bytes);
    Stream& stream = file(skip.bytes);
    const ListReadResult result = read_list_status(stream, statement, {});
    EXPECT_EQ(result.status, skip.status);
    EXPECT_EQ(next_read(stream), skip.next);
  }
  // After a failure that leaves the rest of its record, the empty list passes over that rest.
  Stream& stream = file("3000000000 5\n8\n");
  std::int32_t value = 0;
  EXPECT_EQ(read_list_status(stream, statement, {value}).status, 5010);
  EXPECT_EQ(read_list_status(stream, statement, {}).status, 0);
  EXPECT_EQ(next_read(stream), "8");
}

TEST_F(ListReadTest, WithoutAReadStatusEveryFailureStopsTheRun) {
  struct Stop {
    std::string bytes;
    std::string message;
  };
  const Stop stops[] = {
      {"", "End of file"},
      {"1\n", "End of file"},
      {"x 1\n", "Bad integer for item 1 in list input"},
      {"1 2 1.5x\n", "Bad real number in item 3 of list input"},
      {"4000000000\n", "Integer overflow while reading item 1"},
      {"0*1\n", "Zero repeat count in item 1 of list input"},
      {"3*1\n", "Read type INTEGER where REAL was expected for item 3"},
  };
  for (const Stop& stop : stops) {
    SCOPED_TRACE(stop.bytes);
    Stream& stream = file(stop.bytes);
    std::int32_t a = 0, b = 0;
    float c = 0;
    try {
      read_list(stream, statement, {a, b, c});
      ADD_FAILURE() << "the run did not stop";
    } catch (const RunEnd& end) {
      EXPECT_EQ(end.status, 2);
      EXPECT_EQ(end.message, stop_text(stop.message));
    }
  }
  Stream& stream = file("1 2 3.5\n");
  std::int32_t a = 0, b = 0;
  float c = 0;
  read_list(stream, statement, {a, b, c});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3.5f);
  try {
    read_list(stream, statement, {a});
    ADD_FAILURE() << "the run did not stop at the end of the file";
  } catch (const RunEnd& end) {
    EXPECT_EQ(end.message, stop_text("End of file"));
  }
  try {
    read_list(stream, statement, {a});
    ADD_FAILURE() << "the run did not stop after the end of the file";
  } catch (const RunEnd& end) {
    EXPECT_EQ(end.message, stop_text(after_end));
  }
}

TEST_F(ListReadTest, ReadingUntilTheEndOfTheFile) {
  struct Loop {
    std::string bytes;
    int records;          // reads that returned true
    std::string stopped;  // the stop's message, or empty for a clean end
  };
  const Loop loops[] = {
      {"1 2\n3 4\n", 2, ""},
      {"1 2\n3 4", 2, ""},
      {"1 2\n3 4 5", 2, ""},
      {"1 2\n\n\n", 1, ""},
      {"1 2\n,\n", 1, ""},  // a null value is no value
      {"", 0, ""},
      {"1 2\n3", 1, "End of file"},
      {"1 2\nx 4\n5 6\n", 1, "Bad integer for item 1 in list input"},
      {"1 5000000000\n", 0, "Integer overflow while reading item 2"},
  };
  for (const Loop& loop : loops) {
    SCOPED_TRACE(loop.bytes);
    Stream& stream = file(loop.bytes);
    std::int32_t a = 0, b = 0;
    int records = 0;
    std::string stopped;
    try {
      while (read_list_until_end(stream, statement, {a, b})) ++records;
      EXPECT_EQ(stream.end_state(), EndState::past_end);
    } catch (const RunEnd& end) {
      stopped = end.message;
    }
    EXPECT_EQ(records, loop.records);
    EXPECT_EQ(stopped, loop.stopped.empty() ? "" : stop_text(loop.stopped));
  }
}

TEST_F(ListReadTest, AStreamOpenForWritingOnlyCannotBeRead) {
  file("1\n");
  const int fd = ::open(dir_.file("in.txt").c_str(), O_WRONLY);
  Stream stream(unit, "in.txt", fd, Access::write_only, true);
  std::int32_t value = 0;
  const ListReadResult result = read_list_status(stream, statement, {value});
  EXPECT_EQ(result.status, 5007);
  EXPECT_EQ(result.message, "Cannot read from file opened for WRITE");
  EXPECT_THROW(read_list(stream, statement, {value}), RunEnd);
}

// Statements that take whole records from the read block start where the
// file stands: again at the first record after REWIND, past the end after
// the last one, and at the end of what a write left.
TEST_F(ListReadTest, ReadsAfterRewindAndWrite) {
  Stream& stream = file("1 2.5\n3 4.5\n");
  std::int32_t integer = 0;
  float real = 0;
  ASSERT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
  EXPECT_EQ(integer, 1);
  ASSERT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
  EXPECT_EQ(integer, 3);
  EXPECT_EQ(real, 4.5f);
  EXPECT_EQ(read_list_status(stream, statement, {integer, real}).status, -1);
  EXPECT_EQ(read_list_status(stream, statement, {integer, real}).status, 5001);

  io_->rewind(statement, unit);
  ASSERT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
  EXPECT_EQ(integer, 1);
  EXPECT_EQ(real, 2.5f);
  // A write after the first record cuts the file off there.
  stream.write_statement(statement, "5 6.5\r\n");
  EXPECT_EQ(read_list_status(stream, statement, {integer, real}).status, -1);
  io_->rewind(statement, unit);
  ASSERT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
  EXPECT_EQ(integer, 1);
  ASSERT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
  EXPECT_EQ(integer, 5);
  EXPECT_EQ(real, 6.5f);
  EXPECT_EQ(read_list_status(stream, statement, {integer, real}).status, -1);
}

// Random numbers of every length, short ones and long ones, with and without a
// point or an exponent, read as the C library's correctly rounded conversion
// and integer parsing read them.
TEST_F(ListReadTest, RandomNumbersReadExactly) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> digit_count(1, 14);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> exponent(-40, 40);
  std::string bytes;
  std::vector<std::string> integers, reals;
  for (int i = 0; i < 3000; ++i) {
    std::string integer = (i % 3 == 0 ? "-" : i % 3 == 1 ? "+" : "");
    for (int k = digit_count(random) % 11; k >= 0; --k) integer += static_cast<char>('0' + digit(random));
    std::string real = i % 2 == 0 ? "-" : "";
    const int count = digit_count(random);
    const int point = i % 4 == 0 ? -1 : static_cast<int>(random() % static_cast<unsigned>(count + 1));
    for (int k = 0; k < count; ++k) {
      if (k == point) real += '.';
      real += static_cast<char>('0' + digit(random));
    }
    if (i % 5 == 0) {
      real += 'e';
      real += std::to_string(exponent(random));
    }
    integers.push_back(integer);
    reals.push_back(real);
    bytes += integer + " " + real + "\n";
  }
  Stream& stream = file(bytes);
  for (std::size_t i = 0; i < integers.size(); ++i) {
    SCOPED_TRACE(integers[i] + " " + reals[i]);
    std::int32_t integer = 0;
    float real = 0;
    const ListReadResult result = read_list_status(stream, statement, {integer, real});
    const long long expected_integer = std::stoll(integers[i]);
    if (expected_integer < INT32_MIN || expected_integer > INT32_MAX) {
      EXPECT_EQ(result.message, "Integer overflow while reading item 1");
      read_list_status(stream, statement, {});  // what the failure left of the record
      continue;
    }
    ASSERT_EQ(result.status, 0) << result.message;
    EXPECT_EQ(integer, expected_integer);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(real), std::bit_cast<std::uint32_t>(std::strtof(reals[i].c_str(), nullptr)));
  }
}

// Integers of one to eight digits and reals of up to sixteen characters, the
// point at every place among them or absent, each between integers in a
// record of its own: read as the C library reads them.
TEST_F(ListReadTest, ShortValuesWithThePointAtEveryPlace) {
  std::mt19937 random(31);
  std::string bytes;
  std::vector<std::string> integers, reals;
  for (std::size_t length = 1; length <= 16; ++length) {
    for (std::size_t point = 0; point <= length; ++point) {
      for (int round = 0; round < 20; ++round) {
        std::string real;
        for (std::size_t k = 0; k < length; ++k)
          real += k == point ? '.' : static_cast<char>('0' + random() % 10);
        if (real == ".") real = "5";
        std::string integer;
        for (std::size_t k = 0, digits = 1 + random() % 8; k < digits; ++k)
          integer += static_cast<char>('0' + random() % 10);
        integers.push_back(integer);
        reals.push_back(real);
        bytes += integer + " " + real + " " + integer + "\n";
      }
    }
  }
  Stream& stream = file(bytes);
  for (std::size_t i = 0; i < reals.size(); ++i) {
    SCOPED_TRACE(integers[i] + " " + reals[i]);
    std::int32_t first = 0, last = 0;
    float real = 0;
    ASSERT_EQ(read_list_status(stream, statement, {first, real, last}).status, 0);
    EXPECT_EQ(first, std::stoll(integers[i]));
    EXPECT_EQ(last, first);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(real), std::bit_cast<std::uint32_t>(std::strtof(reals[i].c_str(), nullptr)));
  }
  EXPECT_EQ(read_list_status(stream, statement, {}).status, -1);
}

// What a read statement did: its result, the variables after it, and what the
// following read gets.
std::string outcome(Stream& stream, std::string_view types) {
  Variables variables(types);
  const ListReadResult result = read_list_status(stream, statement, variables.list);
  return std::to_string(result.status) + " " + std::to_string(result.filled) + " [" + result.message + "] " +
         variables.text() + " / " + next_read(stream);
}

// A random number as text for a variable of the given type: integers in
// range, of one to ten digits, reals of one to 22 digits with or without a
// point anywhere among them; now and then a sign or leading zeros.
std::string random_number(std::mt19937& random, char type) {
  std::string text = random() % 10 == 0 ? (random() % 2 == 0 ? "-" : "+") : "";
  if (random() % 8 == 0) text += std::string(random() % 4 + 1, '0');
  if (type == 'i') {
    const int digits = static_cast<int>(random() % 10) + 1;
    std::uint64_t value = 0;
    for (int k = 0; k < digits; ++k) value = value * 10 + random() % 10;
    return text + std::to_string(value % 2147483648u);
  }
  const int digits = random() % 6 == 0 ? static_cast<int>(random() % 22) + 1 : static_cast<int>(random() % 9) + 1;
  const int point = random() % 4 == 0 ? -1 : static_cast<int>(random() % static_cast<unsigned>(digits + 1));
  for (int k = 0; k <= digits; ++k) {
    if (k == point) text += '.';
    if (k < digits) text += static_cast<char>('0' + random() % 10);
  }
  return text;
}

// Plain values separated by blanks and tabs alone, the shape of nearly every
// record, read as the same values separated by commas do, and as the C
// library converts them; at the start of a record, after the failure of an
// integer beyond the range, and carried over from one record to the next.
TEST_F(ListReadTest, PlainValuesReadAlikeWhateverTheSeparators) {
  std::mt19937 random(77);
  const char* const blanks[] = {" ", " ", " ", "  ", "\t", " \t ", "   "};
  for (int round = 0; round < 800; ++round) {
    const int count = static_cast<int>(random() % 9) + 1;
    std::string types;
    std::vector<std::string> numbers;
    for (int k = 0; k < count; ++k) {
      types += random() % 2 == 0 ? 'i' : 'r';
      numbers.push_back(random_number(random, types.back()));
    }
    std::string blank_separated = random() % 4 == 0 ? " " : "";
    std::string comma_separated;
    for (int k = 0; k < count; ++k) {
      if (k > 0) blank_separated += blanks[random() % std::size(blanks)];
      blank_separated += numbers[static_cast<std::size_t>(k)];
      comma_separated += (k > 0 ? "," : "") + numbers[static_cast<std::size_t>(k)];
    }
    if (random() % 4 == 0) blank_separated += " ";
    SCOPED_TRACE("record \"" + blank_separated + "\", variables " + types);

    const std::string expected = outcome(file(comma_separated + "\n99\n"), types);
    EXPECT_EQ(outcome(file(blank_separated + "\n99\n"), types), expected);
    EXPECT_EQ(outcome(file(blank_separated + "\r\n99\n"), types), expected);
    // What an integer beyond the range leaves of its record is read on from there.
    const std::string first_as_real = next_read(file(numbers[0] + "\n"));
    EXPECT_EQ(outcome(file("3000000000 " + blank_separated + "\n99\n"), "i"),
              "5010 0 [Integer overflow while reading item 1] -7 / " + first_as_real);

    // Split over two records: the values after the split are read from the next one.
    const std::size_t split = static_cast<std::size_t>(random() % static_cast<unsigned>(count));
    std::string two_records;
    for (std::size_t k = 0; k < numbers.size(); ++k)
      two_records += numbers[k] + (k + 1 == numbers.size() ? "\n" : k == split ? "\n" : " ");
    EXPECT_EQ(outcome(file(two_records + "99\n"), types), expected);

    Variables variables(types);
    ASSERT_EQ(read_list_status(file(blank_separated + "\n"), statement, variables.list).status, 0);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      const auto& cell = variables.cells[k];
      if (types[k] == 'i') {
        EXPECT_EQ(std::get<std::int32_t>(cell), std::stoll(numbers[k])) << numbers[k];
      } else {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(std::get<float>(cell)),
                  std::bit_cast<std::uint32_t>(std::strtof(numbers[k].c_str(), nullptr)))
            << numbers[k];
      }
    }
  }
}

// Every text of one to four characters built from digits, signs, a point, an
// exponent letter and a slash, as an integer at the start, in the middle and
// at the end of a blank-separated record that follows another one (so that
// it is read straight from the read block): read as the same text between
// commas is read, and a digit string as its number.
TEST_F(ListReadTest, ShortIntegersOfEveryShape) {
  const auto second_record = [&](const std::string& record) {
    Stream& stream = file("5\n" + record + "\n99\n");
    Variables first("i");
    EXPECT_EQ(read_list_status(stream, statement, first.list).status, 0);
    return outcome(stream, "iii");
  };
  const std::string alphabet = "079+-.e/";
  std::vector<std::string> texts;
  for (std::size_t length = 1; length <= 4; ++length) {
    std::size_t combinations = 1;
    for (std::size_t k = 0; k < length; ++k) combinations *= alphabet.size();
    for (std::size_t code = 0; code < combinations; ++code) {
      std::string text;
      for (std::size_t rest = code, k = 0; k < length; ++k, rest /= alphabet.size())
        text += alphabet[rest % alphabet.size()];
      texts.push_back(text);
    }
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE("integer \"" + text + "\"");
    EXPECT_EQ(second_record(text + " 12 3"), second_record(text + ",12,3"));
    EXPECT_EQ(second_record("1 " + text + " 3"), second_record("1," + text + ",3"));
    EXPECT_EQ(second_record("1 2 " + text), second_record("1,2," + text));
    if (text.find_first_not_of("0123456789") == std::string::npos) {
      EXPECT_EQ(second_record("4321 " + text + " 3"), "0 3 [] 4321 " + std::to_string(std::stoi(text)) + " 3 / 99");
    }
  }
}

// Records of every length around the steps in which a record is swept:
// values at its very start and end, of one to twenty characters, with blanks
// and tabs before, between and after them.
TEST_F(ListReadTest, RecordsOfEveryLength) {
  std::mt19937 random(5);
  for (std::size_t length = 1; length <= 80; ++length) {
    for (int round = 0; round < 12; ++round) {
      // Values of random widths filling exactly `length` characters.
      std::string record;
      std::vector<std::string> numbers;
      std::string types;
      while (record.size() < length) {
        const std::size_t room = length - record.size();
        if (!record.empty() || random() % 3 == 0) {
          record += random() % 5 == 0 ? '\t' : ' ';
          if (record.size() == length) break;
        }
        const std::size_t width = std::min<std::size_t>(room - (record.size() + room > length ? 1 : 0),
                                                        random() % 20 + 1);
        const bool real = random() % 2 == 0 || width > 9;
        std::string number;
        for (std::size_t k = 0; k < width; ++k) number += static_cast<char>('1' + random() % 9);
        if (real && width >= 2) number[random() % width] = '.';
        numbers.push_back(number);
        types += real ? 'r' : 'i';
        record += number;
      }
      ASSERT_EQ(record.size(), length);
      if (numbers.empty()) continue;
      SCOPED_TRACE("record \"" + record + "\", variables " + types);
      std::string comma_separated;
      for (const std::string& number : numbers) comma_separated += number + ",";
      EXPECT_EQ(outcome(file(record + "\n99\n"), types), outcome(file(comma_separated + "\n99\n"), types));
      // Fewer variables than values: the rest of the record is skipped.
      const std::string fewer = types.substr(0, types.size() - 1);
      if (!fewer.empty()) {
        EXPECT_EQ(outcome(file(record + "\n99\n"), fewer), outcome(file(comma_separated + "\n99\n"), fewer));
      }
      // More variables than values: the statement goes on in the next record.
      EXPECT_EQ(outcome(file(record + "\n5\n99\n"), types + "i"),
                outcome(file(comma_separated + "\n5\n99\n"), types + "i"));
    }
  }
}

// Values in long records that are not plain digit strings: the general rules
// take over at them, with the values before them already taken.
TEST_F(ListReadTest, ValuesBeyondThePlainOnesInLongRecords) {
  check_cases({
      {"1 2 3 -4 +5 6\n99\n", "iiiiii", 0, 6, "", "1 2 3 -4 5 6", "99"},
      {"1 2 3 -4.5 +5. -.5 6\n99\n", "iiirrrr", 0, 7, "", "1 2 3 -4.5 5 -0.5 6", "99"},
      {"1 2 3 1.5e3 1.5+3 2d-1 7\n99\n", "iiirrrr", 0, 7, "", "1 2 3 1500 1500 0.2 7", "99"},
      {"1 2 3 2*7 8 9\n99\n", "iiiiiii", 0, 7, "", "1 2 3 7 7 8 9", "99"},
      {"1 2 3 4,5 6\n99\n", "iiiiii", 0, 6, "", "1 2 3 4 5 6", "99"},
      {"1 2 3 4 ,, 6\n99\n", "iiiiii", 0, 5, "", "1 2 3 4 -7 6", "99"},
      {"1 2 3 4/ 6\n99\n", "iiiii", 0, 4, "", "1 2 3 4 -7", "99"},
      {"1 2 3 4 / 6\n99\n", "iiiii", 0, 4, "", "1 2 3 4 -7", "99"},
      {"1 2 3 inf -nan 4\n99\n", "iiirri", 0, 6, "", "1 2 3 inf -nan 4", "99"},
      {"1 2 3 123456789 -2147483648 2147483647\n99\n", "iiiiii", 0, 6, "",
       "1 2 3 123456789 -2147483648 2147483647", "99"},
      {"1 2 3 12345678901234567 1234567.8901234567\n99\n", "iiirr", 0, 5, "",
       "1 2 3 1.2345678e+16 1234567.9", "99"},
      {"1 2 3 0.000000000000000000000000000001 1" + std::string(30, '0') + "\n99\n", "iiirr", 0, 5, "",
       "1 2 3 1e-30 1e+30", "99"},
      {"0.00000000000 0.0000000000000 -0.00000000000 .000000000001\n99\n", "rrrr", 0, 4, "", "0 0 -0 1e-12",
       "99"},
      {"000000000.000000 0.00000000000001\n99\n", "rr", 0, 2, "", "0 1e-14", "99"},
      {"1 2 3 4.5 6\n99\n", "iiiii", 5010, 3, "Bad integer for item 4 in list input", "1 2 3 -7 -7", "99"},
      {"1 2 3 1.2.3 6\n99\n", "iiirr", 5010, 3, "Bad real number in item 4 of list input", "1 2 3 -7.5 -7.5", "99"},
      {"1 2 3 12a 6\n99\n", "iiiii", 5010, 3, "Bad integer for item 4 in list input", "1 2 3 -7 -7", "99"},
      // ':' follows '9': no digit, whatever the length of the value.
      {"1 2 3 1:2 6\n99\n", "iiiii", 5010, 3, "Bad integer for item 4 in list input", "1 2 3 -7 -7", "99"},
      {"1 2 3 12345:7 6\n99\n", "iiiii", 5010, 3, "Bad integer for item 4 in list input", "1 2 3 -7 -7", "99"},
      {"1 2 3 1.2: 6\n99\n", "iiirr", 5010, 3, "Bad real number in item 4 of list input", "1 2 3 -7.5 -7.5",
       "99"},
      {"1 2 3 1:345678.012 6\n99\n", "iiirr", 5010, 3, "Bad real number in item 4 of list input",
       "1 2 3 -7.5 -7.5", "99"},
      {"1 2 3 12345678.01:3 6\n99\n", "iiirr", 5010, 3, "Bad real number in item 4 of list input",
       "1 2 3 -7.5 -7.5", "99"},
      {"1 2 3 4 5 6 7 8\n,9\n99\n", "iiiiiiiii", 0, 9, "", "1 2 3 4 5 6 7 8 9", "99"},
      {"1 2 3 4 5 6 7 8 ,\n,9\n99\n", "iiiiiiiii", 0, 8, "", "1 2 3 4 5 6 7 8 -7", "99"},
      {"1 2 3 . 6\n99\n", "iiirr", 5010, 3, "Error during floating point read", "1 2 3 -7.5 -7.5", "99"},
      {"1 2 3 2147483648 6\n99\n", "iiiii", 5010, 3, "Integer overflow while reading item 4", "1 2 3 -7 -7",
       "6"},
      {"1 2 3 99999999999 6 7\n99\n", "iiiii", 5010, 3, "Integer overflow while reading item 4", "1 2 3 -7 -7",
       "6"},
      {"1 2 3 4 5\r", "iiiii", 5010, 4, "Bad integer for item 5 in list input", "1 2 3 4 -7", "status -1"},
      {"1 2 3 4 5.5\r\n99\n", "iiiir", 0, 5, "", "1 2 3 4 5.5", "99"},
  });
}

// Records that cross the blocks in which a file is read, and a record longer
// than a block, read value by value.
TEST_F(ListReadTest, RecordsAcrossReadBlocks) {
  std::string bytes;
  std::vector<std::int32_t> expected;
  for (std::int32_t k = 0; bytes.size() < 300'000; ++k) {
    bytes += std::to_string(k) + " " + std::to_string(k % 97) + ".25\n";
    expected.push_back(k);
  }
  bytes += std::string(400'000, ' ') + "12345 6.5\n";
  Stream& stream = file(bytes);
  for (std::int32_t k : expected) {
    std::int32_t integer = 0;
    float real = 0;
    ASSERT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
    ASSERT_EQ(integer, k);
    ASSERT_EQ(real, static_cast<float>(k % 97) + 0.25f);
  }
  std::int32_t integer = 0;
  float real = 0;
  EXPECT_EQ(read_list_status(stream, statement, {integer, real}).status, 0);
  EXPECT_EQ(integer, 12345);
  EXPECT_EQ(real, 6.5f);
  EXPECT_EQ(read_list_status(stream, statement, {integer}).status, -1);

  // A last record without LF in a later block, where the block before left
  // records behind in the buffer.
  for (const std::size_t size : {150'000u, 262'150u, 262'200u}) {
    SCOPED_TRACE(size);
    std::string records;
    while (records.size() < size) records += "1 2.5\n";
    Stream& last = file(records + "777 8.5");
    std::int32_t count = 0;
    while (read_list_status(last, statement, {integer, real}).status == 0) ++count;
    EXPECT_EQ(static_cast<std::size_t>(count), records.size() / 6 + 1);
    EXPECT_EQ(integer, 777);
    EXPECT_EQ(real, 8.5f);
  }
}

// Arbitrary bytes never crash the reader, and every read ends with a status
// that a read can have, with the message that goes with it.
TEST_F(ListReadTest, ArbitraryBytes) {
  std::mt19937 random(12345);
  const std::string alphabet = "0123456789000111  ,,;/**..eEdDqQ+-+-\n\n\n\r\tinfINFaAnN()x";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 80);
  std::uniform_int_distribution<int> list_length(0, 5);
  int reads = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string bytes;
    const int size = length(random);
    for (int k = 0; k < size; ++k)
      bytes += round % 5 == 0 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
    Stream& stream = file(bytes);
    for (int read = 0; read < 100; ++read, ++reads) {
      std::string types;
      for (int k = list_length(random); k > 0; --k) types += (random() & 1) != 0 ? 'i' : 'r';
      Variables variables(types);
      const ListReadResult result = read_list_status(stream, statement, variables.list);
      ASSERT_TRUE(result.status == 0 || result.status == -1 || result.status == 5010)
          << result.status << " from \"" << bytes << "\"";
      ASSERT_EQ(result.message.empty(), result.status == 0);
      ASSERT_LE(result.filled, types.size());
      ASSERT_LE(variables.changed(), static_cast<int>(result.filled));
      if (result.status == -1) {
        EXPECT_EQ(read_list_status(stream, statement, {}).status, 5001);
        break;
      }
    }
  }
  EXPECT_GT(reads, 10000);
}

}  // namespace
}  // namespace tamvek
