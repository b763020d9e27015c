#include "results/result_file.hpp"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "results/result_error.hpp"

namespace tamvek::results {

std::string read_result_file(const Io& io, const std::string& name, bool may_be_empty) {
  std::string text;
  read_result_file(io, name, text, may_be_empty);
  return text;
}

FileFault read_whole_file(const std::string& path, std::string& text) {
  text.clear();
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return FileFault::missing;
  if (!std::filesystem::is_regular_file(status)) return FileFault::not_a_file;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return FileFault::cannot_open;
  // Room for the whole file at once: the years of a series read hundreds of megabytes.
  if (const auto size = std::filesystem::file_size(path, error); !error) text.reserve(size);
  char block[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (!failed) return FileFault::none;
  text.clear();
  return FileFault::cannot_read;
}

std::string_view fault_text(FileFault fault) {
  switch (fault) {
    case FileFault::none: return "";
    case FileFault::missing: return "missing";
    case FileFault::not_a_file: return "not a regular file";
    case FileFault::cannot_open: return "cannot be opened for reading";
    case FileFault::cannot_read: return "cannot be read";
  }
  return "";
}

void read_result_file(const Io& io, const std::string& name, std::string& text,
                      bool may_be_empty) {
  const std::string path = io.path_of(name);
  const FileFault fault = read_whole_file(path, text);
  if (fault == FileFault::missing) throw ResultError{name, "missing (no file " + path + ")"};
  if (fault != FileFault::none)
    throw ResultError{name, std::string(fault_text(fault)) + " (" + path + ")"};
  if (text.empty() && !may_be_empty) throw ResultError{name, "empty"};
}

bool RecordReader::next(std::string_view& record) {
  if (position_ == text_.size()) return false;
  ++number_;
  const std::size_t end = text_.find('\n', position_);
  if (end == std::string_view::npos)
    throw ResultError{name_, "cut short: record " + std::to_string(number_) +
                                 " ends without its record end (the file stops inside it)"};
  record = text_.substr(position_, end - position_);
  if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
  position_ = end + 1;
  return true;
}

std::string printable(std::string_view text) {
  std::string shown;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte < 0x20 || byte >= 0x7f ? '?' : c;
  }
  return shown;
}

std::string in_quotes(std::string_view text) {
  std::string shown = "\"";
  shown += printable(text);
  shown += '"';
  return shown;
}

}  // namespace tamvek::results
