#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace tamvek {

class Stream;

// Measured: without it a whole run on the largest data set takes 1.07 to 1.11 times as long
// on a nearly idle two-core machine.
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
  ~WriteBehind();

  // Takes the first `size` bytes of `buffer`, which `statement` flushes from `stream` to
  // `fd` (with `cut_off`, ending the file after them), and leaves an empty buffer instead;
  // false, taking nothing, when no thread can be started for the writes.
  bool hand_over(Stream& stream, int fd, int statement, std::unique_ptr<char[]>& buffer,
                 std::size_t size, bool cut_off);

  // Before a statement on `stream`: writes of another stream are made first.
  void before(const Stream* stream) { if (pending_ != nullptr && pending_ != stream) settle(); }
  // Writes `data` to `fd`, as many calls as it takes, and with `cut_off`
  // ends the file after it: 0, or the error of the call that failed.
  static int write_and_cut_off(int fd, std::string_view data, bool cut_off);

  // Waits until every write handed over is made; stops the run when one failed.
  void settle();
  // The same without stopping, for the processor-fault report.
  void settle_quietly() noexcept;

 private:
  struct Job { Stream* stream; int fd, statement; std::unique_ptr<char[]> data; std::size_t size; bool cut_off; };

  // Waits until at most `waiting` writes handed over are still to be made.
  void wait_for_writer(std::unique_lock<std::mutex>& lock, std::size_t waiting);
  void write_jobs();

  // The writer is woken once this many writes wait (512 kB), or when the run
  // waits for it: waking the other processor costs tens of microseconds on a
  // virtual machine, and a wake every few writes ate what writing behind won.
  static constexpr std::size_t wake_at = 64;
  // The most writes waiting; the run waits for room beyond it.
  static constexpr std::size_t most_waiting = 128;

  std::mutex mutex_;
  std::condition_variable work_to_do_;
  std::condition_variable work_done_;
  std::vector<Job> jobs_;  // handed over, not yet taken by the writer
  bool writer_waits_ = false;
  bool run_waits_ = false;
  bool ending_ = false;
  std::atomic<bool> failed_ = false;     // a write failed; those after it are not made
  std::atomic<std::size_t> unmade_ = 0;  // writes handed over and not yet made
  std::atomic<bool> hurry_ = false;      // the fault report waits: make every write now
  Stream* failed_stream_ = nullptr;  // and the statement and error of the write that failed
  int failed_statement_ = 0, failed_error_ = 0;
  Stream* pending_ = nullptr;  // the stream of the writes handed over since the last settle
  std::thread writer_;
};

}  // namespace tamvek
