#include "distribute/record_pipe.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

namespace tamvek {
namespace {

// A record whose second field only some reads set, as a null value leaves a
// variable as it was.
struct Numbered {
  int number = 0;
  int carried = -1;
};

// Reads records 1 to `count`, setting `carried` on every seventh only, and
// stops with an error instead of record `failing_at` (0: never).
auto numbers_up_to(int count, int failing_at = 0, std::atomic<int>* reads = nullptr) {
  return [count, failing_at, reads, next = 1](Numbered& record) mutable {
    if (reads != nullptr) ++*reads;
    if (next == failing_at) throw std::runtime_error("bad record " + std::to_string(next));
    if (next > count) return false;
    record.number = next;
    if (next % 7 == 0) record.carried = next;
    ++next;
    return true;
  };
}

TEST(RecordPipe, HandsOverEveryRecordInOrderWithWhatEarlierReadsLeft) {
  for (const int count : {0, 1, 1023, 1024, 1025, 100'000}) {
    SCOPED_TRACE(count);
    RecordPipe<Numbered> pipe({0, 3}, numbers_up_to(count));
    int expected = 0;
    while (const Numbered* record = pipe.next()) {
      ++expected;
      ASSERT_EQ(record->number, expected);
      ASSERT_EQ(record->carried, expected < 7 ? 3 : expected / 7 * 7);
    }
    EXPECT_EQ(expected, count);
    EXPECT_EQ(pipe.next(), nullptr);
    EXPECT_EQ(pipe.last().number, count);
    EXPECT_EQ(pipe.last().carried, count < 7 ? 3 : count / 7 * 7);
  }
}

TEST(RecordPipe, AStopInTheReadingComesAfterEveryRecordReadBeforeIt) {
  for (const int failing_at : {1, 2, 1025, 50'000}) {
    SCOPED_TRACE(failing_at);
    RecordPipe<Numbered> pipe({}, numbers_up_to(100'000, failing_at));
    int handled = 0;
    try {
      while (const Numbered* record = pipe.next()) handled = record->number;
      ADD_FAILURE() << "the reading's stop did not arrive";
    } catch (const std::runtime_error& stop) {
      EXPECT_EQ(std::string(stop.what()), "bad record " + std::to_string(failing_at));
    }
    EXPECT_EQ(handled, failing_at - 1);
  }
}

TEST(RecordPipe, AStopInTheHandlingEndsTheReadingSoon) {
  std::atomic<int> reads = 0;
  {
    RecordPipe<Numbered> pipe({}, numbers_up_to(10'000'000, 0, &reads));
    for (int k = 0; k < 10; ++k) ASSERT_NE(pipe.next(), nullptr);
  }  // left here as a stop leaves it: the reading ends, nothing waits for ever
  EXPECT_LT(reads.load(), 100'000);
}

}  // namespace
}  // namespace tamvek
