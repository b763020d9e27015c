#include "distribute/record_pipe.hpp"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "support/scratch.hpp"

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
    RecordPipe pipe(Numbered{0, 3}, numbers_up_to(count));
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
    RecordPipe pipe(Numbered{}, numbers_up_to(100'000, failing_at));
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
    RecordPipe pipe(Numbered{}, numbers_up_to(10'000'000, 0, &reads));
    for (int k = 0; k < 10; ++k) ASSERT_NE(pipe.next(), nullptr);
  }  // left here as a stop leaves it: the reading ends, nothing waits for ever
  EXPECT_LT(reads.load(), 100'000);
}

// With no thread to be had (an ordinary user allowed no more processes), the
// records are read where they are handled, with the same records and stop.
TEST(RecordPipe, ReadsOnTheCallingThreadWhenNoThreadCanStart) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no limit on a user's processes (RLIMIT_NPROC) to deny the thread, nor fork";
#else
  const pid_t child = fork();
  if (child == 0) {
    const rlimit none{0, 0};
    if (!testing::become_ordinary_user() || setrlimit(RLIMIT_NPROC, &none) != 0) _exit(2);
    try {
      std::thread([] {}).join();
      _exit(3);  // a thread started after all
    } catch (const std::system_error&) {
    }
    RecordPipe pipe(Numbered{0, 3}, numbers_up_to(5000, 4000));
    int handled = 0;
    try {
      while (const Numbered* record = pipe.next()) {
        if (record->number != handled + 1 || record->carried != (record->number < 7 ? 3 : record->number / 7 * 7))
          _exit(4);
        handled = record->number;
      }
    } catch (const std::runtime_error&) {
      _exit(handled == 3999 ? 0 : 5);
    }
    _exit(6);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
}  // namespace tamvek
