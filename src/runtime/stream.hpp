#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek {

class WriteBehind;

// Where a stream stands relative to the end of its file.
enum class EndState { not_at_end, at_end, past_end };

// What OPEN obtained: read-write, or the fallbacks when access is refused.
enum class Access { read_write, read_only, write_only };

// Status codes of the read and write failures a statement can report.
inline constexpr int status_end_of_file = -1;
inline constexpr int status_after_end = 5001;
inline constexpr int status_wrong_access = 5007;

// The size and the time of the last change of a file: a file whose version is
// the same at two moments is taken not to have changed between them.
struct FileVersion {
  std::int64_t size = 0;
  std::int64_t modified = 0;
  bool operator==(const FileVersion&) const = default;
};

// A failure a statement detected before it moved anything: its code and message.
struct IoFailure {
  int code = 0;
  std::string_view message;
  explicit operator bool() const { return code != 0; }
};

// One numbered connection to a file (or to standard output): sequential text
// records, written through an 8192-byte buffer when the file is a regular file
// and record by record otherwise, read in large blocks one record at a time.
class Stream {
 public:
  static constexpr std::size_t output_buffer_size = 8192;

  // `behind`, when given, makes the writes of full buffers (WriteBehind).
  Stream(int unit, std::string name, int fd, Access access, bool owns_fd, WriteBehind* behind = nullptr);
  ~Stream();

  int unit() const { return unit_; }
  const std::string& name() const { return name_; }
  EndState end_state() const { return end_state_; }

  // Stops the run with this stream's locus line and `message`.
  [[noreturn]] void fail(int statement, std::string_view message) const;

  // One write statement: `records` holds every record it writes, each with its
  // CR LF. On a stream not at its end, the file is cut off after them.
  void write_statement(int statement, std::string_view records);

  // Checks that a read statement may start; a failure is returned, not stopped
  // on, so that a read with a read status can report it.
  IoFailure begin_read() const;

  // The next record without its end (LF, and a CR directly before the LF).
  // At end of file returns false and puts the stream past its end. The text
  // stays valid until the next call on this stream.
  bool next_record(int statement, std::string_view& text);

  // Keeps the unread rest of the current record: the next read statement goes
  // on there instead of at the next record. take_rest hands it over once.
  void keep_rest(std::string_view rest) { rest_ = rest, has_rest_ = true; }
  bool take_rest(std::string_view& rest) {
    if (!has_rest_) return false;
    rest = rest_, has_rest_ = false;
    return true;
  }

  // Bytes after the unread ones that a read may look at (holding nothing of use).
  static constexpr std::size_t read_slack = 64;

  // The read block's unread bytes (perhaps ending in a partial record), for a
  // read statement that takes its record from there; empty when it would start
  // elsewhere (a kept rest, a stream not yet reading), through next_record.
  std::string_view unread_block() const {
    if (has_rest_) return {};
    return {in_.data() + in_begin_, in_end_ - in_begin_};
  }
  // Passes over the first `size` bytes of unread_block(), whole records with
  // their LFs, as next_record would have.
  void pass_over(std::size_t size) { in_begin_ += size, scanned_ = 0; }

  // Forgets what is buffered: the records after a write that failed.
  void drop_unwritten() { out_size_ = 0; }

  // Marks a file that the run opened (at statement `open_statement`) to be
  // written: if no write statement reaches it, closing it empties it, so that
  // it never keeps an earlier run's records.
  void empty_unless_written(int open_statement) { empty_unless_written_ = open_statement; }

  // The version of a regular file; false for any other or when the system cannot tell.
  bool version(FileVersion& version) const;

  void rewind(int statement);
  // Writes out what is buffered and waits for what is written behind.
  void flush(int statement);
  // Writes out what is buffered and detaches the file (the file remains).
  void close(int statement);
  // CLOSE at the end of the run: a failure names the last write statement.
  void close_at_end();

  // Writes out what is buffered, for the processor-fault report, which cannot stop the run.
  void flush_quietly() noexcept;

 private:
  // Writes out what is buffered (hands it over, when written behind); with
  // `cut_off` the file then ends there.
  void empty_buffer(int statement, bool cut_off = false);
  void write_out(int statement, const char* data, std::size_t size);
  void fail_with(int statement, int error) const;  // when `error` is not 0
  void stop_reading();
  void position_for_write(int statement);
  bool refill(int statement);
  std::int64_t file_size(int statement) const;
  bool needs_emptying() const;

  int unit_;
  std::string name_;
  int fd_;
  Access access_;
  bool owns_fd_;
  bool regular_;  // a regular file: buffered and cut off after the first write
  EndState end_state_;
  int last_write_statement_ = 0;
  int empty_unless_written_ = 0;  // the OPEN statement of a file to empty if unwritten

  WriteBehind* behind_ = nullptr;
  std::unique_ptr<char[]> out_;  // pending output of a regular file
  std::size_t out_size_ = 0;

  std::vector<char> in_;          // read block
  std::size_t in_begin_ = 0;      // next unread byte
  std::size_t in_end_ = 0;        // end of the bytes read
  std::size_t scanned_ = 0;       // bytes after in_begin_ known to hold no LF
  std::int64_t in_offset_ = 0;    // file offset of in_[0]
  bool reading_ = false;          // the file position is ahead of the logical one
  bool file_ended_ = false;       // the system reported the end of the file
  std::string_view rest_;
  bool has_rest_ = false;
};

}  // namespace tamvek
