#pragma once

// Text records written through one large buffer: numbers are formatted with
// std::to_chars or from scaled integers, never through a stream per value, and
// decimals never pass through binary floating point, so the bytes depend only
// on the integers drawn.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::generate {

class RecordWriter {
 public:
  RecordWriter(const std::filesystem::path& path, bool crlf)
      : path_(path.string()), crlf_(crlf), file_(std::fopen(path_.c_str(), "wb")) {
    if (file_ == nullptr) throw std::runtime_error("cannot create " + path_);
    buffer_.resize(buffer_size);
  }
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;
  // A writer left without close() (an error elsewhere) keeps what it can.
  ~RecordWriter() {
    if (file_ == nullptr) return;
    std::fwrite(buffer_.data(), 1, used_, file_);
    std::fclose(file_);
  }

  // Writes what is buffered and closes the file; reports a failed write.
  void close() {
    flush();
    const bool failed = std::ferror(file_) != 0;
    const bool close_failed = std::fclose(file_) != 0;
    file_ = nullptr;
    if (failed || close_failed) throw std::runtime_error("cannot write " + path_);
  }

  // List-directed fields: a blank goes between two fields of one record.
  void field(std::string_view text) {
    separate();
    raw(text);
  }
  void field(long long value) {
    separate();
    integer(value);
  }
  // `scaled` / 10^decimals with all its decimals (1523.40).
  void fixed(std::int64_t scaled, int decimals) {
    separate();
    decimal(scaled, decimals, false);
  }
  // The same without trailing zeros, keeping one decimal (40.0, 38.5, 20.25).
  void trimmed(std::int64_t scaled, int decimals) {
    separate();
    decimal(scaled, decimals, true);
  }

  // A right-justified integer in a field of `width` characters, with no
  // separator: the fixed-width fields of the integer grids.
  void padded(long long value, int width) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto length = end - digits; length < width; ++length) put(' ');
    raw(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    started_ = true;
  }

  void end_record() {
    if (crlf_) put('\r');
    put('\n');
    started_ = false;
  }

  void record(std::string_view text) {
    raw(text);
    end_record();
  }

 private:
  static constexpr std::size_t buffer_size = std::size_t{1} << 20;

  void separate() {
    if (started_) put(' ');
    started_ = true;
  }
  void put(char c) {
    if (used_ == buffer_.size()) flush();
    buffer_[used_++] = c;
  }
  void raw(std::string_view text) {
    if (buffer_.size() - used_ < text.size()) flush();
    if (text.size() > buffer_.size()) {
      write_out(text.data(), text.size());
      return;
    }
    text.copy(buffer_.data() + used_, text.size());
    used_ += text.size();
  }
  void integer(long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    raw(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  void decimal(std::int64_t scaled, int decimals, bool trim) {
    std::int64_t power = 1;
    for (int i = 0; i < decimals; ++i) power *= 10;
    if (scaled < 0) {
      put('-');
      scaled = -scaled;
    }
    integer(scaled / power);
    put('.');
    char fraction[19];
    std::int64_t rest = scaled % power;
    for (int i = decimals - 1; i >= 0; --i) {
      fraction[i] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    }
    int length = decimals;
    while (trim && length > 1 && fraction[length - 1] == '0') --length;
    raw(std::string_view(fraction, static_cast<std::size_t>(length)));
  }
  void flush() {
    write_out(buffer_.data(), used_);
    used_ = 0;
  }
  void write_out(const char* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_) != size)
      throw std::runtime_error("cannot write " + path_);
  }

  std::string path_;
  bool crlf_;
  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  bool started_ = false;
};

}  // namespace tamvek::generate
