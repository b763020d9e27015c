#ifndef _WIN32
#include "runtime/platform.hpp"

#include <execinfo.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamvek::platform {

const char* const null_device = "/dev/null";

Opened open_file(const std::string& path, OpenMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::read_write_create: flags |= O_RDWR | O_CREAT; break;
    case OpenMode::read_only: flags |= O_RDONLY; break;
    case OpenMode::write_only: flags |= O_WRONLY; break;
    case OpenMode::create_new: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
  }
  Opened opened{::open(path.c_str(), flags, 0666)};
  if (opened.fd < 0) opened.failure = open_failure_of(opened.error = errno);
  return opened;
}

std::int64_t read_some(int fd, char* data, std::size_t size, int& error) {
  ssize_t got;
  while ((got = ::read(fd, data, size)) < 0 && errno == EINTR) {}
  if (got < 0) error = errno;
  return got;
}

std::int64_t write_some(int fd, const char* data, std::size_t size, int& error) {
  ssize_t put;
  while ((put = ::write(fd, data, size)) < 0 && errno == EINTR) {}
  if (put < 0) error = errno;
  return put;
}

std::int64_t seek(int fd, std::int64_t offset, SeekFrom from, int& error) {
  const off_t at = ::lseek(fd, offset, from == SeekFrom::start ? SEEK_SET : SEEK_CUR);
  if (at < 0) error = errno;
  return at;
}

int cut_off_at(int fd, std::int64_t size) { return ::ftruncate(fd, size) == 0 ? 0 : errno; }

int file_status(int fd, FileStatus& status) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return errno;
  status.regular = S_ISREG(info.st_mode);
  status.size = info.st_size;
  status.modified = info.st_mtim.tv_sec * std::int64_t{1'000'000'000} + info.st_mtim.tv_nsec;
  return 0;
}

void* allocate_large(std::size_t size) {
  constexpr std::size_t huge_page = std::size_t{2} << 20;
  const std::size_t whole = (size + huge_page - 1) / huge_page * huge_page;
  void* block = std::aligned_alloc(huge_page, whole);
#ifdef MADV_HUGEPAGE
  if (block != nullptr) ::madvise(block, whole, MADV_HUGEPAGE);  // a refusal leaves small pages
#endif
  return block;
}

// A close interrupted by a signal has closed the file all the same.
int close_file(int fd) { return ::close(fd) == 0 || errno == EINTR ? 0 : errno; }

// The names' backslashes become directory separators; the root of the drive is
// the file system's root unless `root` names another directory.
std::string path_of(std::string_view name, std::string_view root, std::string_view workdir) {
  std::string path;
  if (!name.empty() && name.front() == '\\') {
    path = root;
    if (path.empty() || path.back() != '/') path += '/';
    name.remove_prefix(1);
  } else if (!workdir.empty()) {
    path = workdir;
    path += '/';
  }
  for (char c : name) path += c == '\\' ? '/' : c;
  return path;
}

// Linux translates nothing on any stream.
void set_up_standard_streams() {}

// The first call of backtrace loads what it needs, which a signal handler must not do.
void prepare_call_frames() {
  void* frame[1];
  backtrace(frame, 1);
}

void write_call_frames(int fd) {
  void* frames[64];
  backtrace_symbols_fd(frames, backtrace(frames, 64), fd);
}

}  // namespace tamvek::platform
#endif
