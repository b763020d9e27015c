#include "text/plain_record.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <tuple>

#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::stop_of;

// One value for a record: mostly plain digits, sometimes a value that only the
// general rules take (a sign, an exponent, a repeat, a null, junk).
std::string random_value(std::mt19937& random, bool real) {
  // Those an integer takes come first.
  static const char* const unusual[] = {"-12", "+7", "/", "0", "1.5e3", "-.5", "123456789012.5", "3.25d1"};
  static const char* const failing[] = {"12a", "1.2.3", "99999999999", "inf", "2*4"};
  if (random() % 40 == 0) return unusual[random() % (real ? std::size(unusual) : 4)];
  if (random() % 20000 == 0) return failing[random() % std::size(failing)];
  std::string digits;
  for (auto k = random() % (real ? 14 : 6) + 1; k > 0; --k) digits += static_cast<char>('0' + random() % 10);
  if (real && digits.size() >= 2 && random() % 4 != 0) digits[random() % digits.size()] = '.';
  return digits;
}

// A file of records shaped for the statement `types` ("i" integer, "r" real),
// long enough to cross several read blocks.
std::string random_file(std::mt19937& random, std::string_view types) {
  std::string bytes;
  while (bytes.size() < 400'000) {
    std::string record;
    for (const char type : types) {
      record += random() % 30 == 0 ? '\t' : ' ';
      record += random_value(random, type == 'r');
    }
    if (random() % 50 == 0) record += " 77";                 // more values than variables
    if (random() % 3000 == 0) record.resize(record.size() / 2);  // fewer: the statement reads on
    bytes += record + (random() % 3 == 0 ? "\r\n" : "\n");
  }
  return bytes;
}

// A stop's message as it would read for stream 21.
std::string without_unit_22(std::string message) {
  if (const std::size_t at = message.find("unit = 22"); at != std::string::npos) message[at + 8] = '1';
  return message;
}

// The typed read of a loop takes every record as the read with a list of
// variables does: the same values, the same end, the same stop.
template <class... Types>
void reads_alike(std::string_view types, unsigned seed) {
  std::mt19937 random(seed);
  testing::ScratchIo scratch;
  scratch.dir.write("in.txt", random_file(random, types));
  scratch.io().open(1, 21, "in.txt");
  scratch.io().open(1, 22, "in.txt");
  Stream& typed_stream = scratch.io().stream(21);
  Stream& listed_stream = scratch.io().stream(22);
  std::tuple<Types...> typed{};
  std::tuple<Types...> listed{};
  for (int record = 0;; ++record) {
    SCOPED_TRACE(record);
    bool typed_more = false;
    bool listed_more = false;
    const RunEnd typed_end = stop_of([&] {
      typed_more = std::apply([&](Types&... v) { return read_list_until_end(typed_stream, 40, v...); }, typed);
    });
    const RunEnd listed_end = stop_of([&] {
      listed_more = std::apply(
          [&](Types&... v) { return read_list_until_end(listed_stream, 40, {Variable(v)...}); }, listed);
    });
    ASSERT_EQ(typed_end.status, listed_end.status);
    ASSERT_EQ(typed_end.message, without_unit_22(listed_end.message));
    ASSERT_EQ(typed_more, listed_more);
    std::apply(
        [&](const Types&... t) {
          std::apply([&](const Types&... l) { ASSERT_TRUE(((std::bit_cast<std::uint32_t>(t) ==
                                                            std::bit_cast<std::uint32_t>(l)) && ...)); },
                     listed);
        },
        typed);
    if (!typed_more) {
      EXPECT_GT(record, 100) << typed_end.message;  // the stop or the end came after many records
      return;
    }
  }
}

TEST(TypedLoopReads, TakeEveryRecordAsAListedReadDoes) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    reads_alike<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, float>("iiiiir", seed);
    reads_alike<std::int32_t, std::int32_t, std::int32_t, std::int32_t, float, float>("iiiirr", seed);
    reads_alike<std::int32_t, float, float, float, std::int32_t>("irrri", seed);
  }
}

}  // namespace
}  // namespace tamvek
