#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/io.hpp"

namespace tamvek::results {

// Why a file could not be read whole.
enum class FileFault { none, missing, not_a_file, cannot_open, cannot_read };

// The whole of the file at `path` (a path of this machine) into `text`, whose
// room is used again; `text` is empty unless it returns FileFault::none.
FileFault read_whole_file(const std::string& path, std::string& text);

// A fault as a message gives it after the file's name: "missing", "not a
// regular file", "cannot be opened for reading", "cannot be read".
std::string_view fault_text(FileFault fault);

// The whole of a file the run left, read without creating or changing it.
// Missing, unreadable or (unless `may_be_empty`) empty files are errors.
std::string read_result_file(const Io& io, const std::string& name, bool may_be_empty = false);
// The same into `text`, whose room is used again: a program that reads many
// years' files keeps one buffer instead of taking fresh memory for each.
void read_result_file(const Io& io, const std::string& name, std::string& text,
                      bool may_be_empty = false);

// A file's records one after the other. Each ends with LF, a CR before it
// being part of the record end; a last record without its LF means the file
// was cut off while it was written, and is an error.
class RecordReader {
 public:
  RecordReader(const std::string& name, std::string_view text) : name_(name), text_(text) {}

  // The next record without its end; false at the end of the file.
  bool next(std::string_view& record);
  // Number of the record `next` gave last, from 1.
  std::size_t number() const { return number_; }
  bool at_end() const { return position_ == text_.size(); }

 private:
  const std::string& name_;
  std::string_view text_;
  std::size_t position_ = 0;
  std::size_t number_ = 0;
};

// A text fit for a message: bytes that would disturb a terminal become '?'.
std::string printable(std::string_view text);
// The same in double quotes, as a message quotes what it found.
std::string in_quotes(std::string_view text);

}  // namespace tamvek::results
