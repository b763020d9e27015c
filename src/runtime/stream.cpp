#include "runtime/stream.hpp"

#include <cstring>
#include <utility>

#include "runtime/platform.hpp"
#include "runtime/run_stop.hpp"
#include "runtime/write_behind.hpp"

namespace tamvek {
namespace {

constexpr std::size_t input_block_size = 128 * 1024;

// Bytes kept in the read buffer after the room that reads fill, so that a
// read statement may look at the first 64 bytes of what is left in one piece.
constexpr std::size_t scan_slack = Stream::read_slack;

constexpr std::string_view after_end_message =
    "Sequential READ or WRITE not allowed after EOF marker, possibly use REWIND or BACKSPACE";

}  // namespace

Stream::Stream(int unit, std::string name, int fd, Access access, bool owns_fd, WriteBehind* behind)
    : unit_(unit), name_(std::move(name)), fd_(fd), access_(access), owns_fd_(owns_fd), behind_(behind) {
  platform::FileStatus status;
  regular_ = platform::file_status(fd_, status) == 0 && status.regular;
  end_state_ = regular_ && status.size > 0 ? EndState::not_at_end : EndState::at_end;
  if (regular_) out_ = std::make_unique_for_overwrite<char[]>(output_buffer_size);
}

Stream::~Stream() {
  if (owns_fd_ && fd_ >= 0) platform::close_file(fd_);
}

void Stream::fail(int statement, std::string_view message) const {
  stop_io(statement, unit_, name_, message);
}

void Stream::write_statement(int statement, std::string_view records) {
  if (behind_ != nullptr) behind_->before(this);
  if (access_ == Access::read_only) fail(statement, "Cannot write to file opened for READ");
  if (end_state_ == EndState::past_end) fail(statement, after_end_message);
  position_for_write(statement);
  last_write_statement_ = statement;
  if (!regular_) {
    write_out(statement, records.data(), records.size());
    return;
  }
  if (out_size_ + records.size() > output_buffer_size) {
    empty_buffer(statement);
    if (records.size() >= output_buffer_size) {
      if (behind_ != nullptr) behind_->settle();
      write_out(statement, records.data(), records.size());
      records = {};
    }
  }
  if (!records.empty()) std::memcpy(out_.get() + out_size_, records.data(), records.size());
  out_size_ += records.size();
  if (end_state_ == EndState::not_at_end) {
    // What the file held beyond the records written since OPEN or REWIND is gone.
    empty_buffer(statement, true);
    end_state_ = EndState::at_end;
  }
}

IoFailure Stream::begin_read() const {
  if (access_ == Access::write_only)
    return {status_wrong_access, "Cannot read from file opened for WRITE"};
  if (end_state_ == EndState::past_end) return {status_after_end, after_end_message};
  return {};
}

bool Stream::next_record(int statement, std::string_view& text) {
  has_rest_ = false;
  if (!reading_) {
    flush(statement);
    int ignored = 0;
    const std::int64_t here = platform::seek(fd_, 0, platform::SeekFrom::current, ignored);
    in_offset_ = here < 0 ? 0 : here;
    in_begin_ = in_end_ = scanned_ = 0;
    file_ended_ = false;
    reading_ = true;
    if (in_.empty()) in_.resize(input_block_size + scan_slack);
  }
  for (;;) {
    const char* begin = in_.data() + in_begin_;
    const std::size_t available = in_end_ - in_begin_;
    const auto* lf = static_cast<const char*>(std::memchr(begin + scanned_, '\n', available - scanned_));
    if (lf != nullptr) {
      const std::size_t length = static_cast<std::size_t>(lf - begin);
      const std::size_t data_length = length > 0 && begin[length - 1] == '\r' ? length - 1 : length;
      text = {begin, data_length};
      in_begin_ += length + 1;
      scanned_ = 0;
      return true;
    }
    scanned_ = available;
    if (file_ended_ || !refill(statement)) {
      if (in_begin_ == in_end_) {
        end_state_ = EndState::past_end;
        return false;
      }
      // A last record without LF is a complete record.
      text = {in_.data() + in_begin_, in_end_ - in_begin_};
      in_begin_ = in_end_;
      scanned_ = 0;
      return true;
    }
  }
}

bool Stream::refill(int statement) {
  if (in_begin_ > 0) {
    std::memmove(in_.data(), in_.data() + in_begin_, in_end_ - in_begin_);
    in_offset_ += static_cast<std::int64_t>(in_begin_);
    in_end_ -= in_begin_;
    in_begin_ = 0;
  }
  const std::size_t room = in_.size() - scan_slack;
  if (in_end_ == room) in_.resize(2 * room + scan_slack);  // a record longer than a block
  int error = 0;
  const std::int64_t got =
      platform::read_some(fd_, in_.data() + in_end_, in_.size() - scan_slack - in_end_, error);
  if (got < 0) fail_with(statement, error);
  if (got == 0) {
    file_ended_ = true;
    return false;
  }
  in_end_ += static_cast<std::size_t>(got);
  return true;
}

void Stream::position_for_write(int statement) {
  if (!reading_) return;
  const std::int64_t logical = in_offset_ + static_cast<std::int64_t>(in_begin_);
  int error = 0;
  if (regular_ && platform::seek(fd_, logical, platform::SeekFrom::start, error) < 0) fail_with(statement, error);
  stop_reading();
}

void Stream::rewind(int statement) {
  flush(statement);
  int error = 0;
  if (regular_ && platform::seek(fd_, 0, platform::SeekFrom::start, error) < 0) fail_with(statement, error);
  stop_reading();
  end_state_ = file_size(statement) > 0 ? EndState::not_at_end : EndState::at_end;
}

bool Stream::version(FileVersion& version) const {
  // Read streams only: the size of a file written behind may not be its size yet.
  platform::FileStatus status;
  if (platform::file_status(fd_, status) != 0 || !status.regular) return false;
  version = {status.size, status.modified};
  return true;
}

void Stream::empty_buffer(int statement, bool cut_off) {
  if (out_size_ == 0 && !cut_off) return;
  // Emptied first, so that a failed write is reported once and not retried at the end.
  const std::size_t size = std::exchange(out_size_, 0);
  if (behind_ != nullptr && regular_ && behind_->hand_over(*this, fd_, statement, out_, size, cut_off)) return;
  fail_with(statement, WriteBehind::write_and_cut_off(fd_, {out_.get(), size}, cut_off));
}

void Stream::flush(int statement) {
  empty_buffer(statement);
  if (behind_ != nullptr) behind_->settle();
}

// Emptying at OPEN would cost more: the file system then writes the new
// contents out at CLOSE, and every run of the same year opens full files.
bool Stream::needs_emptying() const {
  return empty_unless_written_ != 0 && last_write_statement_ == 0 &&
         end_state_ == EndState::not_at_end;
}

void Stream::close(int statement) {
  flush(statement);
  if (needs_emptying()) fail_with(statement, platform::cut_off_at(fd_, 0));
  if (owns_fd_ && fd_ >= 0) fail_with(statement, platform::close_file(std::exchange(fd_, -1)));
}

void Stream::close_at_end() {
  close(last_write_statement_ != 0 ? last_write_statement_ : empty_unless_written_);
}

void Stream::flush_quietly() noexcept {
  if (behind_ != nullptr) behind_->settle_quietly();
  platform::write_all(fd_, {out_.get(), out_size_});
  out_size_ = 0;
  if (needs_emptying() && platform::cut_off_at(fd_, 0) == 0) end_state_ = EndState::at_end;
}

void Stream::write_out(int statement, const char* data, std::size_t size) {
  fail_with(statement, platform::write_all(fd_, {data, size}));
}

void Stream::fail_with(int statement, int error) const {
  if (error != 0) fail(statement, platform::error_text(error));
}

void Stream::stop_reading() {
  reading_ = has_rest_ = false;
  in_begin_ = in_end_ = scanned_ = 0;
}

std::int64_t Stream::file_size(int statement) const {
  platform::FileStatus status;
  fail_with(statement, platform::file_status(fd_, status));
  return status.size;
}

}  // namespace tamvek
