#include "runtime/write_behind.hpp"

#include <chrono>
#include <system_error>
#include <utility>

#include "runtime/platform.hpp"
#include "runtime/stream.hpp"

namespace tamvek {

WriteBehind::~WriteBehind() {
  if (!writer_.joinable()) return;
  std::unique_lock lock(mutex_);
  ending_ = true;
  lock.unlock();
  work_to_do_.notify_one();
  writer_.join();
}

bool WriteBehind::hand_over(Stream& stream, int fd, int statement, std::unique_ptr<char[]>& buffer,
                            std::size_t size, bool cut_off) {
  if (failed_.load(std::memory_order_relaxed)) settle();
  if (!writer_.joinable()) {
    try {
      writer_ = std::thread(&WriteBehind::write_jobs, this);
    } catch (const std::system_error&) {
      return false;
    }
  }
  pending_ = &stream;
  std::unique_lock lock(mutex_);
  if (unmade_.load() >= most_waiting) wait_for_writer(lock, most_waiting - 1);
  jobs_.push_back({&stream, fd, statement,
                   std::exchange(buffer, std::make_unique_for_overwrite<char[]>(Stream::output_buffer_size)),
                   size, cut_off});
  unmade_.fetch_add(1, std::memory_order_relaxed);
  if (writer_waits_ && jobs_.size() >= wake_at) work_to_do_.notify_one();
  return true;
}

void WriteBehind::settle() {
  if (pending_ == nullptr) return;
  std::unique_lock lock(mutex_);
  wait_for_writer(lock, 0);
  pending_ = nullptr;
  if (!failed_.load(std::memory_order_relaxed)) return;
  failed_.store(false, std::memory_order_relaxed);
  Stream* const stream = std::exchange(failed_stream_, nullptr);
  lock.unlock();
  stream->drop_unwritten();
  stream->fail(failed_statement_, platform::error_text(failed_error_));
}

void WriteBehind::settle_quietly() noexcept {
  // Only lock-free atomics here: this may run in a signal handler. A fault on
  // the writer's own thread would wait for itself.
  if (!writer_.joinable() || writer_.get_id() == std::this_thread::get_id()) return;
  hurry_.store(true);
  while (unmade_.load() > 0) std::this_thread::yield();
}

void WriteBehind::wait_for_writer(std::unique_lock<std::mutex>& lock, std::size_t waiting) {
  run_waits_ = true;
  if (writer_waits_) work_to_do_.notify_one();
  work_done_.wait(lock, [this, waiting] { return unmade_.load() <= waiting; });
  run_waits_ = false;
}

void WriteBehind::write_jobs() {
  std::vector<Job> batch;
  std::unique_lock lock(mutex_);
  for (;;) {
    writer_waits_ = true;
    // Nothing wakes the writer from a signal handler: it looks for hurry_ now and then.
    while (!work_to_do_.wait_for(lock, std::chrono::milliseconds(20), [this] {
      return ending_ || jobs_.size() >= wake_at || ((run_waits_ || hurry_.load()) && !jobs_.empty());
    })) {
    }
    writer_waits_ = false;
    if (ending_ && jobs_.empty()) return;
    // Every write waiting is taken at once, so that the run seldom finds the lock taken.
    batch.swap(jobs_);
    lock.unlock();
    for (const Job& job : batch) {
      if (!failed_.load(std::memory_order_relaxed)) {
        if (const int error = write_and_cut_off(job.fd, {job.data.get(), job.size}, job.cut_off)) {
          failed_stream_ = job.stream, failed_statement_ = job.statement, failed_error_ = error;
          failed_.store(true, std::memory_order_relaxed);
        }
      }
      unmade_.fetch_sub(1);
    }
    batch.clear();
    lock.lock();
    if (run_waits_) work_done_.notify_one();
  }
}

int WriteBehind::write_and_cut_off(int fd, std::string_view data, bool cut_off) {
  if (const int error = platform::write_all(fd, data); error != 0 || !cut_off) return error;
  int error = 0;
  const std::int64_t here = platform::seek(fd, 0, platform::SeekFrom::current, error);
  return here < 0 ? error : platform::cut_off_at(fd, here);
}

}  // namespace tamvek
