#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tamvek {

class Stream;

// Writes `size` bytes to `fd`, as many system calls as it takes; 0, or the
// error of the call that failed (a device that takes nothing is full).
int write_fully(int fd, const char* data, std::size_t size);

// Measured: without it a whole run on the largest data set takes about 1.2 times as long
// on an idle two-core machine.
//
// Makes the writes of full output buffers on a thread of its own while the run
// goes on. The system calls are the ones the run would make itself, on the same
// files in the same order with the same bytes; only their moment moves, and
// nothing the run can be seen to do overtakes them: before a statement on
// another stream, an OPEN, a CLOSE, a REWIND, the pause and the end of the run
// every write handed over is made (settle). A write that fails stops the run
// as its own statement would have: the writes handed over after it are not
// made, and the records its stream took since are dropped.
class WriteBehind {
 public:
  WriteBehind() = default;
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // Takes the first `size` bytes of `buffer`, which `statement` flushes from
  // `stream` to `fd` (with `cut_off`, cutting the file off after them), and
  // leaves an empty buffer of the stream's size in its place.
  void hand_over(Stream& stream, int fd, int statement, std::unique_ptr<char[]>& buffer,
                 std::size_t size, bool cut_off);

  // Before a statement on `stream`: writes of another stream are made first.
  void before(const Stream* stream) {
    if (pending_ != nullptr && pending_ != stream) settle();
  }
  // Waits until every write handed over is made; stops the run when one failed.
  void settle();
  // The same without stopping, for the processor-fault report: a failure is
  // left for nobody to report.
  void settle_quietly() noexcept;

 private:
  struct Job {
    Stream* stream;
    int fd;
    int statement;
    std::unique_ptr<char[]> data;
    std::size_t size;
    bool cut_off;
  };

  // Waits until at most `waiting` writes wait.
  void wait_for_writer(std::unique_lock<std::mutex>& lock, std::size_t waiting);
  void write_jobs();
  static int make(const Job& job);

  // The writer is woken once this many writes wait, or when the run waits for it.
  static constexpr std::size_t wake_at = 64;
  // The most writes waiting; the run waits for room beyond it.
  static constexpr std::size_t most_waiting = 128;

  std::mutex mutex_;
  std::condition_variable work_to_do_;
  std::condition_variable work_done_;
  std::deque<Job> jobs_;                        // handed over, the first being made
  std::vector<std::unique_ptr<char[]>> spare_;  // buffers of the writes made
  bool writer_waits_ = false;
  bool run_waits_ = false;
  bool ending_ = false;
  std::atomic<bool> failed_ = false;     // a write failed; those after it are not made
  std::atomic<std::size_t> unmade_ = 0;  // writes handed over and not yet made
  Stream* failed_stream_ = nullptr;
  int failed_statement_ = 0;
  int failed_error_ = 0;
  Stream* pending_ = nullptr;  // the stream of the writes handed over since the last settle
  std::thread writer_;
};

}  // namespace tamvek
