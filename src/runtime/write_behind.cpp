#include "runtime/write_behind.hpp"

#include <cerrno>
#include <utility>

#include "runtime/platform.hpp"
#include "runtime/stream.hpp"

namespace tamvek {

int write_fully(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    int error = 0;
    const std::int64_t put = platform::write_some(fd, data, size, error);
    if (put < 0) return error;
    // A device that takes nothing and reports nothing is full; asking again would never end.
    if (put == 0) return ENOSPC;
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return 0;
}

WriteBehind::~WriteBehind() {
  if (!writer_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  work_to_do_.notify_one();
  writer_.join();
}

void WriteBehind::hand_over(Stream& stream, int fd, int statement, std::unique_ptr<char[]>& buffer,
                            std::size_t size, bool cut_off) {
  if (failed_.load(std::memory_order_relaxed)) settle();
  if (!writer_.joinable()) writer_ = std::thread(&WriteBehind::write_jobs, this);
  pending_ = &stream;
  std::unique_lock lock(mutex_);
  if (jobs_.size() >= most_waiting) wait_for_writer(lock, most_waiting - 1);
  std::unique_ptr<char[]> empty;
  if (spare_.empty()) {
    empty = std::make_unique_for_overwrite<char[]>(Stream::output_buffer_size);
  } else {
    empty = std::move(spare_.back());
    spare_.pop_back();
  }
  jobs_.push_back({&stream, fd, statement, std::exchange(buffer, std::move(empty)), size, cut_off});
  unmade_.fetch_add(1, std::memory_order_relaxed);
  if (writer_waits_ && jobs_.size() >= wake_at) work_to_do_.notify_one();
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
  while (unmade_.load() > 0) std::this_thread::yield();
}

void WriteBehind::wait_for_writer(std::unique_lock<std::mutex>& lock, std::size_t waiting) {
  run_waits_ = true;
  if (writer_waits_) work_to_do_.notify_one();
  work_done_.wait(lock, [this, waiting] { return jobs_.size() <= waiting; });
  run_waits_ = false;
}

void WriteBehind::write_jobs() {
  std::unique_lock lock(mutex_);
  for (;;) {
    writer_waits_ = true;
    work_to_do_.wait(lock, [this] {
      return ending_ || jobs_.size() >= wake_at || (run_waits_ && !jobs_.empty());
    });
    writer_waits_ = false;
    while (!jobs_.empty()) {
      // The first job stays where it is while the run adds others behind it.
      Job& job = jobs_.front();
      if (!failed_.load(std::memory_order_relaxed)) {
        lock.unlock();
        const int error = make(job);
        lock.lock();
        if (error != 0) {
          failed_stream_ = job.stream, failed_statement_ = job.statement, failed_error_ = error;
          failed_.store(true, std::memory_order_relaxed);
        }
      }
      spare_.push_back(std::move(job.data));
      jobs_.pop_front();
      unmade_.fetch_sub(1);
      if (run_waits_) work_done_.notify_one();
    }
    if (ending_) return;
  }
}

int WriteBehind::make(const Job& job) {
  if (const int error = write_fully(job.fd, job.data.get(), job.size); error != 0) return error;
  if (!job.cut_off) return 0;
  int error = 0;
  const std::int64_t here = platform::seek(job.fd, 0, platform::SeekFrom::current, error);
  if (here < 0) return error;
  return platform::cut_off_at(job.fd, here);
}

}  // namespace tamvek
