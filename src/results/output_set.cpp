#include "results/output_set.hpp"

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "results/result_error.hpp"
#include "results/sha256.hpp"
#include "runtime/platform.hpp"

namespace tamvek::results {
namespace {

// A name found taken is tried again with another number; so many taken names
// in a row mean something else is wrong.
constexpr int tries = 100;

std::string hex8(std::uint64_t number) {
  char text[17];
  std::snprintf(text, sizeof text, "%08llx", static_cast<unsigned long long>(number & 0xffffffffu));
  return text;
}

[[noreturn]] void cannot_write(const std::string& name, int error, const std::filesystem::path& at) {
  throw ResultError{name, "cannot be written: " + platform::error_text(error) + " (" + at.string() + ")"};
}

}  // namespace

OutputSystem OutputSystem::real() {
  auto engine = std::make_shared<std::mt19937_64>(
      (std::uint64_t{std::random_device{}()} << 32) ^ std::random_device{}());
  return {[engine] { return (*engine)(); },
          [](const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
            std::filesystem::rename(from, to, error);
          }};
}

OutputSet::~OutputSet() {
  for (const Pending& file : pending_) {
    std::error_code ignored;
    if (!file.temporary.empty()) std::filesystem::remove(file.temporary, ignored);
  }
}

OutputSet::Opened OutputSet::create_temporary(const std::string& name,
                                              const std::filesystem::path& path) {
  for (int attempt = 0; attempt < tries; ++attempt) {
    // Appended piece by piece: GCC 12 at -O3 takes a literal put before a
    // temporary string for an overlapping copy.
    std::string suffix = ".";
    suffix += hex8(system_.random());
    suffix += temporary_suffix;
    std::filesystem::path candidate = path;
    candidate += suffix;
    const platform::Opened opened =
        platform::open_file(candidate.string(), platform::OpenMode::create_new);
    if (opened.fd >= 0) return {candidate, opened.fd};
    if (opened.error != EEXIST) cannot_write(name, opened.error, candidate);
  }
  cannot_write(name, EEXIST, path.string() + ".*" + std::string(temporary_suffix));
}

void OutputSet::set_aside(Pending& file, std::error_code& error) {
  file.kept = unused_name(file.path, file.name);
  system_.rename(file.path, file.kept, error);
  if (!error) return;
  std::error_code ignored;
  std::filesystem::remove(file.kept, ignored);
  file.kept.clear();
}

std::filesystem::path OutputSet::unused_name(const std::filesystem::path& path,
                                             const std::string& name) {
  const Opened opened = create_temporary(name, path);
  platform::close_file(opened.fd);
  return opened.temporary;
}

void OutputSet::write(const std::string& name, std::string_view text) {
  const std::filesystem::path path = io_.path_of(name);
  const Opened opened = create_temporary(name, path);
  pending_.push_back({name, path, opened.temporary, {}});
  const bool written = platform::write_all(opened.fd, text) == 0;
  const int write_error = errno;
  const int close_error = platform::close_file(opened.fd);
  if (!written) cannot_write(name, write_error, opened.temporary);
  if (close_error != 0) cannot_write(name, close_error, opened.temporary);
}

std::pair<std::string, std::uint64_t> OutputSet::copy(const std::string& name,
                                                      const std::filesystem::path& source) {
  std::FILE* in = std::fopen(source.string().c_str(), "rb");
  if (in == nullptr)
    throw ResultError{source.generic_string(), "cannot be read to be copied"};
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closing(in, std::fclose);
  const std::filesystem::path path = io_.path_of(name);
  const Opened opened = create_temporary(name, path);
  pending_.push_back({name, path, opened.temporary, {}});
  Sha256 digest;
  std::uint64_t size = 0;
  std::vector<char> block(1 << 16);
  bool written = true;
  int error = 0;
  std::size_t got = 0;
  while (written && (got = std::fread(block.data(), 1, block.size(), in)) > 0) {
    const std::string_view bytes(block.data(), got);
    digest.add(bytes);
    size += got;
    written = platform::write_all(opened.fd, bytes) == 0;
    error = errno;
  }
  const int close_error = platform::close_file(opened.fd);
  if (std::ferror(in) != 0) throw ResultError{source.generic_string(), "cannot be read to be copied"};
  if (!written) cannot_write(name, error, opened.temporary);
  if (close_error != 0) cannot_write(name, close_error, opened.temporary);
  return {digest.hex(), size};
}

void OutputSet::remove_after_commit(const std::filesystem::path& stale) { stale_.push_back(stale); }

void OutputSet::put_back(std::size_t moved, std::string& failure) {
  while (moved-- > 0) {
    Pending& file = pending_[moved];
    std::error_code error;
    if (file.kept.empty()) {
      std::filesystem::remove(file.path, error);
    } else {
      system_.rename(file.kept, file.path, error);
      if (!error) file.kept.clear();
    }
    if (error)
      failure += "; " + file.path.string() + " could not be put back as it was (" + error.message() +
                 (file.kept.empty() ? "" : ", the earlier file is " + file.kept.string()) + ")";
  }
}

std::vector<std::string> OutputSet::commit() {
  // What stands in a file's way is found before any file moves.
  for (const Pending& file : pending_) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file.path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_symlink(status))
      throw ResultError{file.name, "cannot be put in place: not a regular file (" + file.path.string() + ")"};
  }
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    Pending& file = pending_[i];
    const bool last = i + 1 == pending_.size();
    std::error_code error;
    const bool there = std::filesystem::exists(std::filesystem::symlink_status(file.path, error));
    error.clear();  // a file that is not there is no error here
    // The last file replaces its earlier self in one step; the others are
    // set aside first, so that a failure can put the earlier set back.
    if (there && !last) set_aside(file, error);
    if (!error) system_.rename(file.temporary, file.path, error);
    if (error && last && there) {
      // A system whose rename keeps an existing file: the earlier one goes aside first.
      set_aside(file, error);
      if (!error) system_.rename(file.temporary, file.path, error);
    }
    if (error) {
      std::string failure =
          "cannot be put in place: " + error.message() + " (" + file.path.string() + ")";
      if (!file.kept.empty()) {
        std::error_code back;
        system_.rename(file.kept, file.path, back);
        if (!back) file.kept.clear();
      }
      put_back(i, failure);
      throw ResultError{file.name, failure + "; the earlier files are as they were"};
    }
    file.temporary.clear();
  }
  std::vector<std::string> left;
  const auto remove = [&left](const std::filesystem::path& path, const char* what) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) left.push_back(path.string() + ": " + what + " not removed: " + error.message());
  };
  for (const Pending& file : pending_)
    if (!file.kept.empty()) remove(file.kept, "the earlier file, kept while the new one went in, was");
  for (const std::filesystem::path& stale : stale_) remove(stale, "no longer used, and");
  pending_.clear();
  stale_.clear();
  return left;
}

}  // namespace tamvek::results
