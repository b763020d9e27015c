#include "records/list_read.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <variant>
#include <vector>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "records/io.hpp"
#include "records/run_stop.hpp"

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
  ListReadTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tamvek-list-read-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    io_ = std::make_unique<Io>(IoSetup{.root = dir_, .workdir = dir_});
  }
  ~ListReadTest() override {
    io_.reset();
    std::filesystem::remove_all(dir_);
  }

  // The stream of a file that holds `bytes`.
  Stream& file(std::string_view bytes) {
    std::ofstream(dir_ + "/in.txt", std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    io_->open(1, unit, "in.txt");
    return io_->stream(unit);
  }

  void check_cases(const std::vector<Case>& cases);

  std::string dir_;
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
                             "nan(a)b", "1e5.0", "e5", ".e5", "1+", "--1", "1e+-2", "0x10"};
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
  const int fd = ::open((dir_ + "/in.txt").c_str(), O_WRONLY);
  Stream stream(unit, "in.txt", fd, Access::write_only, true);
  std::int32_t value = 0;
  const ListReadResult result = read_list_status(stream, statement, {value});
  EXPECT_EQ(result.status, 5007);
  EXPECT_EQ(result.message, "Cannot read from file opened for WRITE");
  EXPECT_THROW(read_list(stream, statement, {value}), RunEnd);
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
    if (i % 5 == 0) real += "e" + std::to_string(exponent(random));
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
