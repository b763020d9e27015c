#include "results/output_set.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "results/result_error.hpp"

namespace tamvek::results {

OutputSet::~OutputSet() {
  for (const Pending& file : pending_) std::remove(file.temporary.c_str());
}

void OutputSet::write(const std::string& name, std::string_view text) {
  Pending file{name, io_.path_of(name), {}};
  file.temporary = file.path + std::string(temporary_suffix);
  std::FILE* out = std::fopen(file.temporary.c_str(), "wb");
  if (out == nullptr)
    throw ResultError{name, "cannot be written: " + std::string(std::strerror(errno)) + " (" +
                                file.temporary + ")"};
  pending_.push_back(file);
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  const int write_error = errno;
  const bool closed = std::fclose(out) == 0;
  if (!written || !closed)
    throw ResultError{name, "cannot be written: " +
                                std::string(std::strerror(written ? errno : write_error)) + " (" +
                                file.temporary + ")"};
}

void OutputSet::commit() {
  // What stands in a file's way is found before any file moves, so that the
  // set is put in place whole in all but the rarest failures.
  for (const Pending& file : pending_) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file.path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_symlink(status))
      throw ResultError{file.name, "cannot be put in place: not a regular file (" + file.path + ")"};
  }
  while (!pending_.empty()) {
    const Pending& file = pending_.front();
    std::error_code error;
    std::filesystem::rename(file.temporary, file.path, error);
    if (std::error_code ignored; error && std::filesystem::is_regular_file(file.path, ignored)) {
      // A system whose rename keeps an existing file: the old report goes first.
      std::filesystem::remove(file.path, error);
      std::filesystem::rename(file.temporary, file.path, error);
    }
    if (error)
      throw ResultError{file.name, "cannot be put in place: " + error.message() + " (" +
                                       file.path + ")"};
    pending_.erase(pending_.begin());
  }
}

}  // namespace tamvek::results
